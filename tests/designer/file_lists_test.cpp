// Inserting the files of a folder and a list of folders as one text object.
#include "designer_fixture.h"

#include "classlib/forms/dialogs.h"
#include "designer/forms/frm_ins_dir.h"
#include "designer/forms/frm_ins_files.h"
#include "designer/forms/frm_ins_text.h"
#include "test_support.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QTimer>
#include <QTreeView>
#include <fcntl.h>
#include <sys/stat.h>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {
QString MakeFolder(const QStringList& files, const QStringList& folders = {})
{
    const QString dir = TestSupport::MakeTempDir();
    for (const QString& name : files) {
        QFile file(dir + QLatin1Char('/') + name);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << name.toStdString();
    }
    for (const QString& name : folders)
        EXPECT_TRUE(QDir(dir).mkpath(name)) << name.toStdString();
    return dir;
}

// Answers the next file-list dialog: sets it up, then "Pokračovat".
void AnswerFilesDialog(std::function<void(TFrmInsFiles&)> setup)
{
    QTimer::singleShot(10, [setup] {
        setup(*FrmInsFiles);
        FrmInsFiles->Button1->Click();
    });
}

// Answers the folder browser with this folder (empty: cancel); keeps its title.
QString gBrowserTitle;
void AnswerBrowser(const QString& folder)
{
    SelectDirectoryHook = [folder](const QString& title, const QString&) {
        gBrowserTitle = title;
        return folder;
    };
}

struct HookReset {
    ~HookReset() { SelectDirectoryHook = nullptr; }
};

TLabel* OnlyText(TFrmMain* m)
{
    return m->ObjectCount() == 1 ? dynamic_cast<TLabel*>(m->Components(0)) : nullptr;
}
} // namespace

TEST(FileList, Mp3FilesWithoutExtensionsInEightPointsOfTheTextFont)
{
    HookReset reset;
    TMainWindowFixture f;
    TFrmInsText text(nullptr);
    TFrmInsFiles files(nullptr);
    f.ShowWindow();
    TFrmMain* m = f.Main();
    EXPECT_TRUE(m->upr1->Enabled());
    const QString dir = MakeFolder({QStringLiteral("02.mp3"), QStringLiteral("01.mp3"), QStringLiteral("obal.jpg")});
    AnswerBrowser(dir);
    AnswerFilesDialog([](TFrmInsFiles& d) { d.Button2->Click(); });
    m->upr1->Click();
    TLabel* l = OnlyText(m);
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(l->Caption(), QStringLiteral("01\r\n02"));
    EXPECT_EQ(l->Font()->Size(), 8);
    EXPECT_EQ(l->Font()->Name(), text.Memo->Font()->Name());
    EXPECT_EQ(gBrowserTitle, m->sVyberteSlozku);
    EXPECT_EQ(m->SelectedObject, l);
    EXPECT_TRUE(m->Modified);
}

TEST(FileList, NamesAreListedAsTheyAreAndLoseExactlyFourCharacters)
{
    HookReset reset;
    TMainWindowFixture f;
    TFrmInsText text(nullptr);
    TFrmInsFiles files(nullptr);
    f.ShowWindow();
    TFrmMain* m = f.Main();
    const QString czech = QStringLiteral("Píseň č. 1 – Žluťoučký kůň.ogg");
    const QString dir = MakeFolder({QStringLiteral("a.flac"), czech, QStringLiteral("Bez přípony"),
                                    QStringLiteral(".skryty.mp3")},
                                   {QStringLiteral("podsložka.mp3")});
    // A name from an old Central European system: "Píšeň.mp3" in Windows-1250, no UTF-8.
    const QByteArray legacy = QFile::encodeName(dir) + "/P\xED\x9A" "e\xF2.mp3";
    const int fd = ::open(legacy.constData(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ::close(fd);
    // Qt's temporary folder cannot name it to remove it.
    struct Unlink {
        QByteArray Path;
        ~Unlink() { ::unlink(Path.constData()); }
    } unlinkLegacy{legacy};
    AnswerBrowser(dir);
    AnswerFilesDialog([](TFrmInsFiles& d) { d.Button4->Click(); });
    m->upr1Click(m);
    TLabel* l = OnlyText(m);
    ASSERT_NE(l, nullptr);
    // Sorted as the list shows them; hidden files and folders are not files of the list.
    EXPECT_EQ(l->Caption(), QStringLiteral("a.\r\nBez pří\r\nPíseň č. 1 – Žluťoučký kůň\r\nPíšeň"));

    // With the extensions kept the names stand exactly as on the disc.
    delete l;
    AnswerBrowser(dir);
    AnswerFilesDialog([](TFrmInsFiles& d) {
        d.maska->SetText(QStringLiteral("*.OGG"));
        d.delext->SetChecked(false);
    });
    m->upr1Click(m);
    l = OnlyText(m);
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(l->Caption(), czech);

    TMemo memo(nullptr);
    memo.Lines()->SetFromQStringList(
        {QStringLiteral("abcd"), QStringLiteral("ab"), QStringLiteral("x.wav"), QString::fromUtf8("\xF0\x9F\x8E\xB5.mp3")});
    TFrmMain::StripFileExtensions(&memo);
    EXPECT_EQ(memo.Lines()->ToQStringList(),
              QStringList({QString(), QString(), QStringLiteral("x"), QString::fromUtf8("\xF0\x9F\x8E\xB5")}));
}

TEST(FileList, ACancelledBrowserInsertsNothing)
{
    HookReset reset;
    TMainWindowFixture f;
    TFrmInsText text(nullptr);
    TFrmInsFiles files(nullptr);
    f.ShowWindow();
    TFrmMain* m = f.Main();
    AnswerBrowser(QString());
    AnswerFilesDialog([](TFrmInsFiles& d) { d.Button3->Click(); });
    m->upr1Click(m);
    EXPECT_EQ(files.maska->Text(), QStringLiteral("*.wav"));
    EXPECT_EQ(m->ObjectCount(), 0);
    EXPECT_FALSE(m->Modified);
}

TEST(FolderList, TheChainFromTheRootThenTheSubfoldersEditableBeforeInserting)
{
    TMainWindowFixture f;
    TFrmInsText text(nullptr);
    TFrmInsDir dirs(nullptr);
    f.ShowWindow();
    TFrmMain* m = f.Main();
    EXPECT_TRUE(m->upr2->Enabled());
    const QString dir = MakeFolder({QStringLiteral("soubor.txt")},
                                   {QStringLiteral("b"), QStringLiteral("Čísla"), QStringLiteral("A disk"),
                                    QStringLiteral(".skryta"), QStringLiteral("Cesta")});
    const QByteArray legacy = QFile::encodeName(dir) + "/\x8A" "a"; // "Ša" in Windows-1250
    ASSERT_EQ(::mkdir(legacy.constData(), 0755), 0);
    struct Rmdir {
        QByteArray Path;
        ~Rmdir() { ::rmdir(Path.constData()); }
    } rmdirLegacy{legacy};
    QStringList chain = QDir::cleanPath(dir).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QStringList atRoot, chosen;
    QTimer::singleShot(10, [&] {
        atRoot = dirs.SList->Lines()->ToQStringList();
        dirs.STree->SetPath(dir);
        chosen = dirs.SList->Lines()->ToQStringList();
        dirs.SList->Lines()->Add(QStringLiteral("Připsáno"));
        dirs.btnVlozit->Click();
    });
    m->upr2->Click();
    // Shown first at the root: its folders.
    EXPECT_TRUE(atRoot.contains(chain.first())) << atRoot.join(QLatin1Char(',')).toStdString();
    EXPECT_EQ(chosen, chain + QStringList({QStringLiteral("A disk"), QStringLiteral("b"), QStringLiteral("Cesta"),
                                           QStringLiteral("Čísla"), QStringLiteral("Ša")}));
    TLabel* l = OnlyText(m);
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(l->Caption(), (chosen + QStringList(QStringLiteral("Připsáno"))).join(QStringLiteral("\r\n")));
    EXPECT_EQ(l->Font()->Size(), 8);
    EXPECT_TRUE(m->Modified);

    // Storno inserts nothing.
    m->Modified = false;
    QTimer::singleShot(10, [&] { dirs.btnStorno->Click(); });
    m->upr2Click(m);
    EXPECT_EQ(m->ObjectCount(), 1);
    EXPECT_FALSE(m->Modified);
}

// The folder window is made at start with the others; its tree reads the
// disk only once the window is shown, and then from the root.
TEST(FolderList, TheTreeReadsNoFolderUntilTheWindowIsFirstShown)
{
    TFrmInsDir dirs(nullptr);
    QTreeView* tree = dirs.STree->Tree();
    ASSERT_NE(tree, nullptr);
    QApplication::processEvents();
    EXPECT_TRUE(tree->findChildren<QFileSystemModel*>().isEmpty());
    EXPECT_EQ(qobject_cast<QFileSystemModel*>(tree->model()), nullptr);
    // A path given before the first showing is shown once the tree is there.
    const QString dir = MakeFolder({}, {QStringLiteral("Hudba")});
    dirs.STree->SetPath(dir + QStringLiteral("/Hudba"));
    dirs.Show();
    QApplication::processEvents();
    auto* model = qobject_cast<QFileSystemModel*>(tree->model());
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(model->rootPath(), QDir::rootPath());
    EXPECT_EQ(model->filePath(tree->currentIndex()), QDir::cleanPath(dir + QStringLiteral("/Hudba")));
    dirs.Hide();
}
