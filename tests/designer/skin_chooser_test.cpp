// The skin chooser: what it lists, which entry it opens on, what Apply and OK
// store, and how it copes with a missing preview or a stored position beyond
// the list.

#include "designer_fixture.h"

#include "classlib/forms/message_box.h"
#include "classlib/inifiles.h"
#include "classlib/pictures/picture.h"
#include "classlib/sysutils.h"
#include "designer/forms/frm_skin_chooser.h"
#include "skin/form/skin_form.h"
#include "skin/form/skin_manager.h"
#include "skin/skin_data.h"
#include "skin/skin_test_helpers.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace {
class SkinChooser : public ::testing::Test {
protected:
    SkinChooser() : FWindow(std::make_unique<TForm21>(nullptr))
    {
        // The skins lie beside the program, whatever the start folder.
        F.Main()->AppDir = FStart;
        F.Main()->StartDir = TestSupport::MakeTempDir();
        QDir().mkpath(FStart + "/skiny");
        // Boxes are errors here: count them.
        SetMessageBoxHook([this](const QString& text, const QString&, unsigned) {
            Errors << text;
            return IDOK;
        });
    }
    ~SkinChooser() override { SetMessageBoxHook([](const QString&, const QString&, unsigned) { return IDOK; }); }

    // An archive of the shipped skins under another name, with or without its preview.
    void AddSkin(const QString& name, const char* from = "grafit", bool preview = true)
    {
        const QString src = TestSupport::SourceDir() + "/data/skiny/" + from;
        ASSERT_TRUE(QFile::copy(src + ".skn", FStart + "/skiny/" + name + ".skn"));
        if (preview) {
            ASSERT_TRUE(QFile::copy(src + ".jpg", FStart + "/skiny/" + name + ".jpg"));
        }
    }
    QString Setting(const char* key) const
    {
        return TIniFile(F.Main()->SettingsFileName()).ReadString("Setting", key, "(none)");
    }
    void Store(const char* key, const QString& value)
    {
        TIniFile(F.Main()->SettingsFileName()).WriteString("Setting", key, value);
    }
    QStringList Names() const
    {
        QStringList r;
        for (int i = 0; i < FWindow->ListBox->Items()->Count(); ++i)
            r << FWindow->ListBox->Items()->Strings(i);
        return r;
    }
    void Select(int index)
    {
        FWindow->ListBox->SetItemIndex(index);
        FWindow->ListBoxClick(FWindow->ListBox);
    }

    TMainWindowFixture F;
    QString FStart = TestSupport::MakeTempDir();
    std::unique_ptr<TForm21> FWindow;
    QStringList Errors;
};
} // namespace

TEST_F(SkinChooser, ListsTheArchivesByNameAndPreselectsTheStoredPosition)
{
    AddSkin("zelena", "zelena");
    AddSkin("Modra");
    AddSkin("mxskin20", "mxskin20");
    QFile(FStart + "/skiny/notes.txt").open(QIODevice::WriteOnly);
    Store("SkinIndex", "1");
    FWindow->FormShow(nullptr);
    EXPECT_EQ(Names(), QStringList({"Modra", "mxskin20", "zelena"}));
    EXPECT_EQ(FWindow->ListBox->ItemIndex(), 1);
    EXPECT_EQ(FWindow->ImageNahled->Picture()->Width(), 200);
    EXPECT_EQ(FWindow->ImageNahled->Width(), 200);
    EXPECT_TRUE(Errors.isEmpty()) << Errors.join("\n").toStdString();

    // The stored choice is a position: an archive sorting first moves it on.
    AddSkin("azur");
    FWindow->FormShow(nullptr);
    EXPECT_EQ(FWindow->ListBox->Items()->Strings(FWindow->ListBox->ItemIndex()), "Modra");
}

TEST_F(SkinChooser, ApplyStoresTheFileTheSwitchAndThePositionAndOkTheSwitch)
{
    AddSkin("grafit");
    AddSkin("zelena", "zelena");
    TSkinData* skin = F.Main()->SkinData1;
    FWindow->FormShow(nullptr);
    FWindow->ButtonVypnoutClick(nullptr);
    EXPECT_FALSE(skin->Active());
    Select(1);
    FWindow->ButtonPouzitClick(nullptr);
    const QString path = FStart + "/skiny/zelena.skn";
    EXPECT_EQ(skin->SkinFile(), path);
    EXPECT_FALSE(skin->Active()); // Apply leaves the switch alone
    EXPECT_EQ(Setting("SkinFileName"), path);
    EXPECT_EQ(Setting("SkinEnabled"), "0");
    EXPECT_EQ(Setting("SkinIndex"), "1");

    FWindow->ButtonZapnoutClick(nullptr);
    EXPECT_TRUE(skin->Active());
    EXPECT_EQ(Setting("SkinEnabled"), "0"); // on and off write nothing
    FWindow->btnOKClick(nullptr);
    EXPECT_EQ(Setting("SkinEnabled"), "1");
    FWindow->ButtonVypnoutClick(nullptr);
    FWindow->btnOKClick(nullptr);
    EXPECT_EQ(Setting("SkinEnabled"), "0");
    EXPECT_EQ(Setting("SkinFileName"), path);
    EXPECT_TRUE(Errors.isEmpty()) << Errors.join("\n").toStdString();
}

TEST_F(SkinChooser, AMissingPreviewIsReportedAndAPositionBeyondTheListOpensOnTheFirstEntry)
{
    AddSkin("grafit");
    AddSkin("Modra", "zelena", false);
    Store("SkinIndex", "5");
    TForm21* w = FWindow.get();
    bool openAfterErrors = false;
    int errorsWhileOpen = -1;
    int selectedWhenOpen = -2;
    QTimer::singleShot(10, [&, w] {
        errorsWhileOpen = Errors.size();
        selectedWhenOpen = w->ListBox->ItemIndex();
        TestSupport::MouseClick(w->ListBox->Handle(), QPoint(20, 29)); // Modra, without preview
        openAfterErrors = w->Visible();
        w->ButtonPouzitClick(nullptr);
        w->btnOKClick(nullptr);
    });
    QTimer fallback;
    fallback.setSingleShot(true);
    QObject::connect(&fallback, &QTimer::timeout, [w] { w->Close(); });
    fallback.start(5000);
    w->ShowModal();
    // A skin deleted from the folder: the chooser opens on the first entry,
    // with no error, so that another skin can be chosen.
    EXPECT_EQ(errorsWhileOpen, 0);
    EXPECT_EQ(selectedWhenOpen, 0);
    ASSERT_EQ(Errors.size(), 1);
    EXPECT_TRUE(Errors[0].contains("Modra.jpg")) << Errors[0].toStdString();
    EXPECT_TRUE(openAfterErrors);
    EXPECT_EQ(Setting("SkinFileName"), FStart + "/skiny/Modra.skn");
    EXPECT_EQ(Setting("SkinIndex"), "1");

    // Nothing to choose: the window opens empty and Apply stores nothing.
    Errors.clear();
    QFile::remove(FStart + "/skiny/grafit.skn");
    QFile::remove(FStart + "/skiny/Modra.skn");
    FWindow->FormShow(nullptr);
    EXPECT_EQ(FWindow->ListBox->ItemIndex(), -1);
    EXPECT_TRUE(Errors.isEmpty()) << Errors.join("\n").toStdString();
    EXPECT_THROW(FWindow->ButtonPouzitClick(nullptr), EComponentError);
    EXPECT_EQ(Setting("SkinFileName"), FStart + "/skiny/Modra.skn");
}

// Where no position is stored yet (the default settings), or the stored one
// names another skin or none, the chooser opens on the skin in effect:
// "Použít skin" must not switch to a skin nobody chose.
TEST_F(SkinChooser, OpensOnTheSkinInEffectWhereTheStoredPositionDoesNotNameIt)
{
    AddSkin("grafit");
    AddSkin("mxskin20", "mxskin20");
    AddSkin("zelena", "zelena");
    TSkinData* skin = F.Main()->SkinData1;
    // The default skin file is written "Skiny"; the folder is "skiny".
    skin->SetSkinFile(FStart + "/Skiny/mxskin20.skn");
    ASSERT_TRUE(skin->SkinRead());
    TIniFile(F.Main()->SettingsFileName()).DeleteKey("Setting", "SkinIndex");
    for (const char* stored : {"", "0", "1", "2", "99999", "-5", "abc"}) {
        SCOPED_TRACE(stored);
        if (*stored)
            Store("SkinIndex", stored);
        FWindow->FormShow(nullptr);
        EXPECT_EQ(FWindow->ListBox->ItemIndex(), 1);
        EXPECT_EQ(FWindow->ImageNahled->Picture()->Width(), 200);
    }
    EXPECT_TRUE(Errors.isEmpty()) << Errors.join("\n").toStdString();
    FWindow->ButtonPouzitClick(nullptr);
    EXPECT_EQ(Setting("SkinFileName"), FStart + "/skiny/mxskin20.skn");
    EXPECT_EQ(Setting("SkinIndex"), "1");

    // A skin in effect from elsewhere: the stored position holds where it
    // lies in the list, else the first entry.
    const QString elsewhere = TestSupport::MakeTempDir() + "/vlastni.skn";
    ASSERT_TRUE(QFile::copy(TestSupport::SourceDir() + "/data/skiny/zelena.skn", elsewhere));
    skin->SetSkinFile(elsewhere);
    ASSERT_EQ(skin->SkinFile(), elsewhere);
    for (const auto& [stored, selected] : {std::pair{"2", 2}, {"0", 0}, {"99999", 0}, {"-5", 0}}) {
        SCOPED_TRACE(stored);
        Store("SkinIndex", stored);
        FWindow->FormShow(nullptr);
        EXPECT_EQ(FWindow->ListBox->ItemIndex(), selected);
    }
    EXPECT_TRUE(Errors.isEmpty()) << Errors.join("\n").toStdString();
}

TEST_F(SkinChooser, ASkinThatCannotBeUsedIsReportedAndNotStored)
{
    AddSkin("grafit");
    AddSkin("zelena", "zelena");
    TSkinData* skin = F.Main()->SkinData1;
    FWindow->FormShow(nullptr);
    Select(1);
    FWindow->ButtonPouzitClick(nullptr);
    const QString good = FStart + "/skiny/zelena.skn";
    ASSERT_EQ(Setting("SkinFileName"), good);
    // A damaged archive under the first name, chosen and applied with the mouse.
    QFile damaged(FStart + "/skiny/grafit.skn");
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
    damaged.write(QByteArray("\x10\x27\x00\x00garbage, not a packed skin at all", 37));
    damaged.close();
    // Showing the window selects the stored position again.
    FWindow->Show();
    Select(0);
    TestSupport::MouseClick(FWindow->ButtonPouzit->Handle(), QPoint(10, 10));
    FWindow->Close();
    ASSERT_EQ(Errors.size(), 1);
    EXPECT_TRUE(Errors[0].contains(FStart + "/skiny/grafit.skn")) << Errors[0].toStdString();
    EXPECT_FALSE(Errors[0].contains("Older")) << Errors[0].toStdString();
    EXPECT_EQ(Setting("SkinFileName"), good);
    EXPECT_EQ(Setting("SkinIndex"), "1");
    EXPECT_EQ(skin->SkinFile(), good);
    EXPECT_TRUE(skin->SkinRead());
}

TEST_F(SkinChooser, ApplyAndOkOntoAFullDiskSayWhyAndKeepTheSettingsFile)
{
    AddSkin("grafit");
    AddSkin("zelena", "zelena");
    const QString dir = TestSupport::MakeTempDir() + "/plny";
    TestSupport::TFullDisk disk(dir);
    F.Main()->WinDir = dir;
    const QString settings = F.Main()->SettingsFileName();
    Store("SkinIndex", "0");
    Store("KorX", "3");
    const QByteArray before = TestSupport::ReadFile(settings);
    FWindow->Show();
    Select(1);
    disk.Fill();
    const QString expected = QStringLiteral("Soubor \"%1\" nelze uložit: %2. Původní soubor zůstal beze změny.")
                                 .arg(settings, disk.Reason());
    TestSupport::MouseClick(FWindow->ButtonPouzit->Handle(), QPoint(5, 5));
    EXPECT_EQ(Errors, QStringList({expected}));
    Errors.clear();
    TestSupport::MouseClick(FWindow->btnOK->Handle(), QPoint(5, 5));
    EXPECT_EQ(Errors, QStringList({expected}));
    disk.Release();
    EXPECT_EQ(TestSupport::ReadFile(settings), before);
    FWindow->Close();
}

TEST_F(SkinChooser, ASkinWhoseWindowsWouldBeBlankIsReportedNotAppliedAndNotStored)
{
    F.ShowWindow();
    TFrmMain* m = F.Main();
    m->AppDir = FStart; // the first show finds the program's own folder
    Errors.clear();     // what the first show tells about the data beside the tests
    AddSkin("zelena", "zelena");
    const QString dir = TestSupport::MakeTempDir();
    const auto unusable = SkinTest::UnusableSkinFiles(dir);
    for (const auto& u : unusable) {
        const QString name = FStart + "/skiny/" + QFileInfo(u.first).completeBaseName();
        ASSERT_TRUE(QFile::copy(u.first, name + ".skn"));
        ASSERT_TRUE(QFile::copy(FStart + "/skiny/zelena.jpg", name + ".jpg"));
    }
    TSkinData* skin = m->SkinData1;
    FWindow->FormShow(nullptr);
    const QStringList names = Names();
    const int zelena = static_cast<int>(names.indexOf("zelena"));
    ASSERT_GE(zelena, 0);
    Select(zelena);
    FWindow->ButtonPouzitClick(nullptr);
    skin->SetActive(true);
    FWindow->Show();
    QTest::qWait(400);
    TWinSkinForm* sf = SkinManager()->FindForm(m->Window());
    ASSERT_TRUE(sf);
    ASSERT_EQ(sf->State(), TWinSkinForm::stSkinned);
    ASSERT_TRUE(Errors.isEmpty()) << Errors.join("\n").toStdString();
    const QString settings = m->SettingsFileName();
    const QByteArray stored = TestSupport::ReadFile(settings);
    ASSERT_TRUE(stored.contains("zelena.skn"));

    // The bottom-left corner as zelena's own bitmaps give it: the left side's
    // bottom margin and the bottom side's left margin, unstretched.
    const QImage left = skin->Left->Image;
    const QImage bottom = skin->Bottom->Image;
    const int leftFrames = std::max(1, skin->Left->Frame);
    const int bottomFrames = std::max(1, skin->Bottom->Frame);
    const int lw = left.width() / leftFrames;
    const int bh = bottom.height() / bottomFrames;
    const int cornerRows = std::min(skin->Left->BottomHeight, bh);
    const int cornerColumns = skin->Bottom->LeftWidth;
    ASSERT_GT(cornerRows, 0);
    ASSERT_GT(cornerColumns, 0);
    auto checkCorner = [&](const QImage& shot, const QString& file) {
        const int frame = sf->FormActive() ? 1 : 2;
        int compared = 0;
        for (int k = 0; k < cornerRows; ++k) {
            for (int x = 0; x < lw; ++x) {
                const QRgb want = left.pixel((frame - 1) * lw + x, left.height() - 1 - k);
                if ((want & 0xFFFFFF) == 0xFF00FF)
                    continue; // cut away by the window's region
                EXPECT_EQ(shot.pixel(x, shot.height() - 1 - k) & 0xFFFFFF, want & 0xFFFFFF)
                    << file.toStdString() << " left " << x << "," << k;
                ++compared;
            }
            for (int x = 0; x < cornerColumns; ++x) {
                const QRgb want = bottom.pixel(x, frame * bh - 1 - k);
                if ((want & 0xFFFFFF) == 0xFF00FF)
                    continue;
                EXPECT_EQ(shot.pixel(lw + x, shot.height() - 1 - k) & 0xFFFFFF, want & 0xFFFFFF)
                    << file.toStdString() << " bottom " << x << "," << k;
                ++compared;
            }
        }
        EXPECT_GT(compared, 10);
    };
    const QImage before = m->Window()->grab().toImage();
    checkCorner(before, "zelena");

    for (const auto& [source, reason] : unusable) {
        const QString file = FStart + "/skiny/" + QFileInfo(source).fileName();
        Errors.clear();
        FWindow->FormShow(nullptr);
        Select(static_cast<int>(Names().indexOf(QFileInfo(file).completeBaseName())));
        TestSupport::MouseClick(FWindow->ButtonPouzit->Handle(), QPoint(10, 10));
        ASSERT_EQ(Errors.size(), 1) << file.toStdString();
        EXPECT_TRUE(Errors[0].contains(file)) << Errors[0].toStdString();
        EXPECT_TRUE(Errors[0].contains(reason)) << Errors[0].toStdString();
        // Nothing stored, the skin in effect kept, and after the refresh a skin
        // change schedules the frame is drawn as before.
        EXPECT_EQ(TestSupport::ReadFile(settings), stored) << file.toStdString();
        EXPECT_EQ(skin->SkinFile(), FStart + "/skiny/zelena.skn");
        QTest::qWait(400);
        ASSERT_EQ(SkinManager()->FindForm(m->Window()), sf);
        EXPECT_EQ(sf->State(), TWinSkinForm::stSkinned);
        const QImage after = m->Window()->grab().toImage();
        checkCorner(after, file);
        EXPECT_TRUE(after == before) << file.toStdString();
    }
    FWindow->Close();
}
