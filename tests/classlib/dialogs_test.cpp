// The common dialogs driven as a user drives them: the real Qt dialog opens,
// is read and answered with mouse and key events.

#include "classlib/controls/std_controls.h"
#include "classlib/forms/dialogs.h"
#include "classlib/forms/form.h"
#include "classlib/forms/message_box.h"

#include <QApplication>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QLocale>
#include <QMap>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTextLayout>
#include <QTimer>
#include <QTranslator>
#include <QTreeView>
#include <functional>
#include <gtest/gtest.h>

namespace {
// Runs the font dialog; while it is open, act gets the Qt dialog, then its
// OK button is clicked.
// Qt's own texts in Czech, as the program has them: the dialog's style
// names are translated then.
class TCzechQtTexts {
public:
    TCzechQtTexts()
    {
        if (FTexts.load(QLocale(QLocale::Czech, QLocale::CzechRepublic), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            Installed = QCoreApplication::installTranslator(&FTexts);
    }
    ~TCzechQtTexts()
    {
        if (Installed)
            QCoreApplication::removeTranslator(&FTexts);
    }
    bool Installed = false;

private:
    QTranslator FTexts;
};

bool RunFontDialog(TFontDialog& d, const std::function<void(QFontDialog*)>& act)
{
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
        if (!dlg)
            return;
        seen = true;
        act(dlg);
        auto* box = dlg->findChild<QDialogButtonBox*>();
        QPushButton* ok = box ? box->button(QDialogButtonBox::Ok) : nullptr;
        if (ok)
            QTest::mouseClick(ok, Qt::LeftButton);
        else
            dlg->reject();
    });
    const bool result = d.Execute();
    EXPECT_TRUE(seen);
    return result;
}

// Whether the machine has a file of the face in that style.
bool FaceHasStyle(const QString& family, bool bold, bool italic)
{
    for (const QString& style : QFontDatabase::styles(family))
        if (QFontDatabase::italic(family, style) == italic &&
            (QFontDatabase::weight(family, style) >= QFont::DemiBold) == bold)
            return true;
    return false;
}

QLineEdit* EditShowing(QFontDialog* dlg, const QString& text)
{
    for (QLineEdit* e : dlg->findChildren<QLineEdit*>())
        if (e->text() == text)
            return e;
    return nullptr;
}
} // namespace

TEST(FontDialog, OpensOnTheFontItIsGivenAndOkWithoutAChangeKeepsItExactly)
{
    struct TCase {
        const char* Name;
        int Height;
        TFontStyles Style;
    };
    // Arial is drawn with a metric twin, Tahoma with whatever fontconfig
    // picks; the heights are not whole point sizes at 96 pixels per inch.
    const TCase cases[] = {
        {"Arial", -27, FontStyleBit(fsBold)},
        {"Arial", -27, 0},
        {"Tahoma", -15, TFontStyles(FontStyleBit(fsItalic) | FontStyleBit(fsUnderline))},
        {"DejaVu Serif", -16, TFontStyles(FontStyleBit(fsBold) | FontStyleBit(fsItalic))},
    };
    auto roundTrips = [&](const char* texts) {
        for (const TCase& c : cases) {
            TFontDialog d(nullptr);
            TFont* font = d.Font();
            font->SetName(QString::fromLatin1(c.Name));
            font->SetHeight(c.Height);
            font->SetStyle(c.Style);
            font->SetColor(clNavy);
            const QString drawnFamily = QFontInfo(font->ToQFont()).family();
            QFont shown;
            ASSERT_TRUE(RunFontDialog(d, [&](QFontDialog* dlg) { shown = dlg->currentFont(); })) << c.Name;
            // The dialog shows the face that draws the font, its style (when
            // the machine has a file of that style) and size.
            const bool bold = c.Style & FontStyleBit(fsBold), italic = c.Style & FontStyleBit(fsItalic);
            EXPECT_EQ(shown.family().toStdString(), drawnFamily.toStdString()) << c.Name << texts;
            if (FaceHasStyle(drawnFamily, bold, italic)) {
                EXPECT_EQ(shown.bold(), bold) << c.Name << texts;
                EXPECT_EQ(shown.italic(), italic) << c.Name << texts;
            }
            EXPECT_EQ(shown.pointSize(), font->Size()) << c.Name << texts;
            // OK gives back the font as it was, its stored name included.
            EXPECT_EQ(font->Name().toStdString(), c.Name) << texts;
            EXPECT_EQ(font->Height(), c.Height) << c.Name << texts;
            EXPECT_EQ(font->Style(), c.Style) << c.Name << texts;
            EXPECT_EQ(font->Color(), clNavy) << c.Name << texts;
        }
    };
    roundTrips(" with Qt's texts");
    TCzechQtTexts czech;
    ASSERT_TRUE(czech.Installed);
    roundTrips(" with Qt's Czech texts");
}

namespace {
// A fontconfig file that shows a program the fonts of the setup script's
// font packages and nothing else (the aliases of the system's configuration
// stay): links to the packages' font files in a folder of its own.
QString SetupFontsOnlyConfig(std::string& why)
{
    QFile setup(QStringLiteral(TV_SOURCE_DIR "/scripts/setup"));
    if (!setup.open(QIODevice::ReadOnly)) {
        why = "scripts/setup cannot be read";
        return {};
    }
    QStringList packages;
    const QRegularExpression name(QStringLiteral("\\b(fonts-[a-z0-9.+-]+)"));
    for (auto it = name.globalMatch(QString::fromUtf8(setup.readAll())); it.hasNext();)
        packages << it.next().captured(1);
    packages.removeDuplicates();
    QProcess list;
    list.start(QStringLiteral("dpkg-query"), QStringList{QStringLiteral("-L")} + packages);
    if (packages.isEmpty() || !list.waitForFinished(30000) || list.exitCode() != 0) {
        why = "the files of the setup script's font packages cannot be listed: " + packages.join(' ').toStdString();
        return {};
    }
    static int serial = 0;
    const QString root = QDir::tempPath() + QStringLiteral("/tv-setup-fonts-%1-%2").arg(QCoreApplication::applicationPid()).arg(++serial);
    QDir().mkpath(root + QStringLiteral("/fonts"));
    int fonts = 0;
    for (const QString& file : QString::fromUtf8(list.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts)) {
        if (!QRegularExpression(QStringLiteral("\\.(ttf|otf|ttc|pfb)$"), QRegularExpression::CaseInsensitiveOption).match(file).hasMatch())
            continue;
        fonts += QFile::link(file, root + QStringLiteral("/fonts/%1-%2").arg(fonts).arg(QFileInfo(file).fileName()));
    }
    if (fonts == 0) {
        why = "the setup script's font packages hold no fonts";
        return {};
    }
    const QString config = root + QStringLiteral("/fonts.conf");
    QFile out(config);
    if (!out.open(QIODevice::WriteOnly)) {
        why = "cannot write a fontconfig file";
        return {};
    }
    out.write(QStringLiteral("<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"urn:fontconfig:fonts.dtd\">\n"
                             "<fontconfig>\n  <dir>%1/fonts</dir>\n  <cachedir>%1/cache</cachedir>\n"
                             "  <include ignore_missing=\"yes\">/etc/fonts/conf.d</include>\n</fontconfig>\n")
                  .arg(root)
                  .toUtf8());
    return config;
}
} // namespace

// A machine set up by the setup script alone has no italic file of the faces
// that stand in for Tahoma and DejaVu Serif: the dialog opens on a style the
// face has, and OK must still give back the stored style. Fontconfig is read
// once per process, so the round trip runs again in a child process that
// sees only those fonts.
TEST(FontDialog, UnderTheSetupScriptsFontsAloneOkStillKeepsTheStoredStyle)
{
    std::string why;
    const QString config = SetupFontsOnlyConfig(why);
    ASSERT_FALSE(config.isEmpty()) << why;
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("FONTCONFIG_FILE"), config);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=FontDialog.OpensOnTheFontItIsGivenAndOkWithoutAChangeKeepsItExactly")});
    ASSERT_TRUE(child.waitForFinished(90000));
    const QString output = QString::fromUtf8(child.readAll());
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("[  PASSED  ] 1 test"))) << output.toStdString();
    QDir(QFileInfo(config).absolutePath()).removeRecursively();
}

TEST(FontDialog, AnotherSizeTypedKeepsTheFaceNameAndStyle)
{
    TFontDialog d(nullptr);
    TFont* font = d.Font();
    font->SetName(QStringLiteral("Arial"));
    font->SetSize(20);
    font->SetStyle(FontStyleBit(fsBold));
    ASSERT_TRUE(RunFontDialog(d, [](QFontDialog* dlg) {
        QLineEdit* size = EditShowing(dlg, QStringLiteral("20"));
        ASSERT_NE(size, nullptr);
        size->setFocus();
        QTest::keyClick(size, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(size, QStringLiteral("24"));
    }));
    EXPECT_EQ(font->Name().toStdString(), "Arial");
    EXPECT_EQ(font->Size(), 24);
    EXPECT_EQ(font->Style(), FontStyleBit(fsBold));
}

// Qt's file dialog lists a folder's dates, sizes and kinds in Czech, as the
// program's own windows speak, whatever the system's locale.
TEST(FileDialog, ListsDatesSizesAndKindsInCzech)
{
    TCzechQtTexts texts;
    ASSERT_TRUE(texts.Installed);
    const QString dir = QDir::tempPath() + QStringLiteral("/tv-file-dialog-%1").arg(QCoreApplication::applicationPid());
    QDir(dir).removeRecursively();
    ASSERT_TRUE(QDir().mkpath(dir + QStringLiteral("/Hudba")));
    const QDateTime when(QDate(2025, 12, 9), QTime(14, 5));
    QFile data(dir + QStringLiteral("/pisen.txt"));
    ASSERT_TRUE(data.open(QIODevice::WriteOnly));
    data.write(QByteArray(2000, 'a'));
    data.close();
    {
        QFile f(dir + QStringLiteral("/pisen.txt"));
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(when, QFileDevice::FileModificationTime));
    }
    QMap<QString, QStringList> rows;
    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dlg)
            return;
        auto* view = dlg->findChild<QTreeView*>(QStringLiteral("treeView"));
        for (int i = 0; view && i < 100 && view->model()->rowCount(view->rootIndex()) < 2; ++i)
            QTest::qWait(50);
        for (int r = 0; view && r < view->model()->rowCount(view->rootIndex()); ++r) {
            QStringList columns;
            for (int c = 0; c < 4; ++c)
                columns << view->model()->index(r, c, view->rootIndex()).data().toString();
            rows[columns.first()] = columns;
        }
        dlg->reject();
    });
    TOpenDialog d(nullptr);
    d.InitialDir = dir;
    d.Filter = QStringLiteral("Vše|*");
    EXPECT_FALSE(d.Execute());
    ASSERT_TRUE(rows.contains(QStringLiteral("Hudba"))) << rows.keys().join(' ').toStdString();
    ASSERT_TRUE(rows.contains(QStringLiteral("pisen.txt")));
    const QLocale czech(QLocale::Czech, QLocale::CzechRepublic);
    EXPECT_EQ(rows["Hudba"][2], QStringLiteral("Složka"));
    EXPECT_EQ(rows["pisen.txt"][2], QString::fromUtf8("prostý textový dokument"));
    EXPECT_EQ(rows["pisen.txt"][1], czech.formattedDataSize(2000));
    EXPECT_TRUE(rows["pisen.txt"][1].contains(QLatin1Char(','))) << rows["pisen.txt"][1].toStdString(); // 1,95 KiB
    EXPECT_EQ(rows["pisen.txt"][3], czech.toString(when, QLocale::ShortFormat));
    EXPECT_FALSE(rows["pisen.txt"][3].contains(QStringLiteral("Dec")));
    // The program's own locale is as it was once the dialog is gone.
    EXPECT_EQ(QLocale().name(), QLocale::system().name());
    QDir(dir).removeRecursively();
}

namespace {
// Shows a message box with this text and lays its label's text out as the
// label does, at the label's width; gives the label's text and its lines.
QString ShowAndLayOut(const QString& text, QList<QPair<int, int>>& lines)
{
    QString shown;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        if (auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
            shown = label->text();
            QTextLayout layout(shown, label->font());
            QTextOption option;
            option.setWrapMode(QTextOption::WordWrap);
            layout.setTextOption(option);
            layout.beginLayout();
            for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
                line.setLineWidth(label->contentsRect().width());
                lines.append({line.textStart(), line.textStart() + line.textLength()});
            }
            layout.endLayout();
        }
        QTest::keyClick(box, Qt::Key_Return);
    });
    EXPECT_EQ(ShowMessageBox(nullptr, text, QStringLiteral("Tessavik"), MB_OK), IDOK);
    return shown;
}
} // namespace

TEST(MessageBox, AWebAddressIsNeverBrokenAcrossLines)
{
    // The newer-version message, with more and more words before the address,
    // so that the box's line end falls at every place of the address in turn.
    int wrapped = 0;
    for (int extra = 0; extra < 24; ++extra) {
        const QString text = QString::fromUtf8("Vyšla nová verze programu. Stáhnout ji ") +
                             QString::fromUtf8("i ").repeated(extra) +
                             QString::fromUtf8("můžete na stránkách https://tessavik.example/download.");
        QList<QPair<int, int>> lines;
        const QString shown = ShowAndLayOut(text, lines);
        ASSERT_FALSE(shown.isEmpty());
        // The same words to read.
        EXPECT_EQ(QString(shown).remove(QChar(0x2060)).toStdString(), text.toStdString());
        wrapped += lines.size() > 1;
        // The address, with its full stop, lies within one line.
        const int start = static_cast<int>(shown.indexOf(QStringLiteral("https:")));
        const int end = static_cast<int>(shown.size()) - 1;
        ASSERT_GE(start, 0);
        bool whole = false;
        for (const auto& [from, to] : lines)
            whole = whole || (from <= start && end < to);
        EXPECT_TRUE(whole) << extra;
    }
    EXPECT_GT(wrapped, 0);
}

TEST(MessageBox, AFilesPathIsNeverBrokenAtAHyphenOrASlash)
{
    // The help message names the page to open by hand; the program may lie in
    // a folder with hyphens in its name.
    const QString path = QStringLiteral("/home/jana/programy/tessavik-3.20-linux-x86-64/build-release/Help/index.html");
    int wrapped = 0;
    for (int extra = 0; extra < 24; ++extra) {
        const QString text = QString::fromUtf8("Nápovědu se nepodařilo otevřít. ") + QString::fromUtf8("a ").repeated(extra) +
                             QString::fromUtf8("Otevřete v prohlížeči soubor ") + path + QLatin1Char('.');
        QList<QPair<int, int>> lines;
        const QString shown = ShowAndLayOut(text, lines);
        ASSERT_FALSE(shown.isEmpty());
        EXPECT_EQ(QString(shown).remove(QChar(0x2060)).toStdString(), text.toStdString());
        wrapped += lines.size() > 1;
        const int start = static_cast<int>(shown.indexOf(QLatin1Char('/')));
        const int end = static_cast<int>(shown.size()) - 1;
        bool whole = false;
        for (const auto& [from, to] : lines)
            whole = whole || (from <= start && end < to);
        EXPECT_TRUE(whole) << extra;
    }
    EXPECT_GT(wrapped, 0);
    // Quoted, as the file messages name a file, it is kept whole too; a
    // slash between words is left alone.
    QList<QPair<int, int>> lines;
    const QString quoted = ShowAndLayOut(QStringLiteral("Soubor \"") + path + QStringLiteral("\" a/b"), lines);
    EXPECT_TRUE(quoted.contains(QStringLiteral("a/b")));
    EXPECT_GT(quoted.count(QChar(0x2060)), 5);
}

// Without a window manager nothing activates the window a dialog was opened
// over once the dialog goes: keys would go nowhere until a click.
TEST(ModalDialogs, EscapeGivesTheWindowThatHadTheKeyboardItsActivationBack)
{
    QWidget window;
    window.resize(300, 200);
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_EQ(QApplication::activeWindow(), &window);
    auto escapeOnTheDialog = [] {
        QTimer::singleShot(30, [] {
            if (QWidget* dlg = QApplication::activeModalWidget()) {
                QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : dlg;
                QTest::keyClick(target, Qt::Key_Escape);
            }
        });
    };
    for (int round = 0; round < 2; ++round) {
        TFontDialog font(nullptr);
        escapeOnTheDialog();
        EXPECT_FALSE(font.Execute());
        QTest::qWait(20);
        EXPECT_EQ(QApplication::activeWindow(), &window) << round;

        escapeOnTheDialog();
        EXPECT_EQ(ShowMessageBox(&window, QStringLiteral("Otázka"), QStringLiteral("Tessavik"), MB_OKCANCEL),
                  IDCANCEL);
        QTest::qWait(20);
        EXPECT_EQ(QApplication::activeWindow(), &window) << round;
    }
}

namespace {
struct TFrmKeys : TForm {
    TV_CLASS_NAME(TFrmKeys)
    explicit TFrmKeys(TComponent* owner, int left) : TForm(owner)
    {
        SetBounds(left, 40, 300, 200);
        Edit = new TEdit(this);
        Edit->SetParent(this);
        SetActiveControl(Edit);
    }
    TEdit* Edit = nullptr;
};

// Escape on the next modal dialog once it has the keyboard (a file dialog
// opening the first time takes a while).
void EscapeTheNextDialog()
{
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [poll] {
        QWidget* dlg = QApplication::activeModalWidget();
        if (!dlg || QApplication::activeWindow() != dlg)
            return;
        poll->deleteLater();
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : dlg, Qt::Key_Escape);
    });
    poll->start(20);
}

bool HasTheKeyboard(TFrmKeys& form)
{
    return QTest::qWaitFor(
        [&] { return QApplication::activeWindow() == form.Window() && QApplication::focusWidget() == form.Edit->Handle(); },
        1000);
}
} // namespace

// Whatever window goes (one of Qt's dialogs run by hand as the folder browser
// runs it, a window that is not modal, a progress window the program shows
// and hides itself), the window that had the keyboard before takes it back:
// without a window manager nobody else would.
TEST(ModalDialogs, AnyWindowThatGoesGivesTheKeyboardBackToTheOneThatHadItBefore)
{
    TFrmKeys main(nullptr, 20);
    main.Show();
    ASSERT_TRUE(HasTheKeyboard(main));

    // The folder browser: a QFileDialog of its own, answered with Escape.
    EscapeTheNextDialog();
    QFileDialog folders(main.Window(), QStringLiteral("Vyberte složku"));
    folders.setOption(QFileDialog::DontUseNativeDialog, true);
    folders.setFileMode(QFileDialog::Directory);
    EXPECT_EQ(folders.exec(), QDialog::Rejected);
    EXPECT_TRUE(HasTheKeyboard(main)) << "after the folder browser";

    // A window that is not modal, closed with Alt+F4 from its own keyboard.
    TFrmKeys other(nullptr, 400);
    other.Show();
    ASSERT_TRUE(HasTheKeyboard(other));
    QTest::keyClick(other.Window()->windowHandle(), Qt::Key_F4, Qt::AltModifier);
    EXPECT_FALSE(other.Visible());
    EXPECT_TRUE(HasTheKeyboard(main)) << "after the window that is not modal";

    // Two of them: the second goes, the first (not the main one) had the keyboard before.
    other.Show();
    TFrmKeys third(nullptr, 600);
    third.Show();
    ASSERT_TRUE(HasTheKeyboard(third));
    third.Close();
    EXPECT_TRUE(HasTheKeyboard(other)) << "after the second window";
    other.Close();
    EXPECT_TRUE(HasTheKeyboard(main));

    // A progress window shown and hidden by the program right after a dialog,
    // before the window system reported it active.
    EscapeTheNextDialog();
    TFontDialog font(nullptr);
    EXPECT_FALSE(font.Execute());
    other.Show();
    other.Hide();
    EXPECT_TRUE(HasTheKeyboard(main)) << "after the progress window";

    // A window hidden while another one has the keyboard changes nothing.
    other.Show();
    ASSERT_TRUE(HasTheKeyboard(other));
    third.Show();
    ASSERT_TRUE(HasTheKeyboard(third));
    main.BringToFront();
    ASSERT_TRUE(HasTheKeyboard(main));
    other.Hide();
    QTest::qWait(50);
    EXPECT_EQ(QApplication::activeWindow(), main.Window());
    third.Hide();
}
