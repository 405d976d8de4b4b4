#include "designer_fixture.h"

#include "catalogue/cd_database.h"
#include "catalogue/cddb_connect.h"
#include "classlib/forms/application.h"
#include "classlib/forms/dialogs.h"
#include "classlib/forms/message_box.h"
#include "classlib/inifiles.h"
#include "classlib/sysutils.h"
#include "test_support.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {
TLabel* AddLabel(TFrmMain* m, const QString& text, int tag = 1)
{
    auto* l = new TLabel(m);
    l->SetCaption(text);
    l->SetTag(tag);
    l->SetParent(m->PNLCD);
    return l;
}

// Objects in front, in order, named C0.. and nothing else before them.
void ExpectStackingInvariant(TFrmMain* m, const std::vector<TComponent*>& expected)
{
    ASSERT_EQ(m->ObjectCount(), static_cast<int>(expected.size()));
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(m->Components(static_cast<int>(i)), expected[i]) << i;
        EXPECT_EQ(m->Components(static_cast<int>(i))->Name(), QStringLiteral("C%1").arg(i));
    }
}
} // namespace

TEST(Document, RenumberingBringsObjectsToTheFrontInTheirOrder)
{
    TMainWindowFixture f;
    TFrmMain* m = f.Main();
    TLabel* a = AddLabel(m, "A");
    auto* helper = new TLabel(m); // a window control made after the first object
    helper->SetName("Helper");
    TLabel* b = AddLabel(m, "B", 2);
    auto* shape = new TShape(m);
    shape->SetTag(1);
    shape->SetParent(m->PNLCD);
    m->RenumberObjects();
    ExpectStackingInvariant(m, {a, b, shape});
    EXPECT_EQ(m->FindComponent("Helper"), helper);
    EXPECT_GT(helper->ComponentIndex(), 2);
}

TEST(Document, DeletingStyleObjectsKeepsTheUsersOwnInOrder)
{
    TMainWindowFixture f;
    TFrmMain* m = f.Main();
    TLabel* mine1 = AddLabel(m, "mine 1");
    TLabel* style1 = AddLabel(m, "style 1");
    style1->SetDragCursor(crHandPoint);
    TLabel* mine2 = AddLabel(m, "mine 2");
    auto* style2 = new TShape(m);
    style2->SetTag(1);
    style2->SetParent(m->PNLCD);
    style2->SetDragCursor(crHandPoint);
    auto* notStyle = new TShape(m); // marked, but a locked object of the user is not a style object unless marked
    notStyle->SetTag(2);
    notStyle->SetParent(m->PNLCD);
    m->RenumberObjects();
    m->SelectedObject = style1;
    m->DeleteObjects(false);
    ExpectStackingInvariant(m, {mine1, mine2, notStyle});
    EXPECT_TRUE(m->NothingSelected());
    m->DeleteObjects(true);
    EXPECT_EQ(m->ObjectCount(), 0);
}

TEST(Document, DeleteAllResetsTheBackgroundToWhite)
{
    TMainWindowFixture f;
    TFrmMain* m = f.Main();
    m->IMGBck->Canvas()->Brush()->SetColor(clRed);
    m->IMGBck->Canvas()->FillRect(TRect(0, 0, 10, 10));
    m->DeleteObjects(false);
    EXPECT_EQ(m->IMGBck->Canvas()->Pixel(1, 1), clRed);
    m->DeleteObjects(true);
    EXPECT_EQ(m->IMGBck->Canvas()->Pixel(1, 1), clWhite);
}

TEST(Document, FitProportional)
{
    int w = 0, h = 0;
    TFrmMain::FitProportional(200, 100, 100, 100, w, h);
    EXPECT_EQ(std::make_pair(w, h), std::make_pair(100, 50));
    TFrmMain::FitProportional(100, 200, 100, 100, w, h);
    EXPECT_EQ(std::make_pair(w, h), std::make_pair(50, 100));
    TFrmMain::FitProportional(300, 200, 150, 100, w, h); // same aspect
    EXPECT_EQ(std::make_pair(w, h), std::make_pair(150, 100));
    TFrmMain::FitProportional(3, 2, 100, 100, w, h); // 66.67 rounds up
    EXPECT_EQ(std::make_pair(w, h), std::make_pair(100, 67));
}

TEST(Document, CaptionShowsTheFileNameAndTitle)
{
    TMainWindowFixture f;
    Application->SetTitle("Tessavik");
    f.Main()->SetDocumentFileName("/home/user/disky/moje.tvk");
    EXPECT_EQ(f.Main()->Caption(), "moje.tvk - Tessavik");
}

TEST(TemplateParams, NumbersAsTextWithCommaAndLookups)
{
    TMainWindowFixture f;
    TFrmMain* m = f.Main();
    m->CreateTemplateParams(true, false, 44.5, 118.0, 21.8, 0, 0, 0, 0, 0, 2, "Obal");
    EXPECT_EQ(m->GetTemplateParam("Okraj"), "44,5");
    EXPECT_EQ(m->GetTemplateParam("okraj"), "44,5");
    EXPECT_EQ(m->GetTemplateParam("STRED"), "118");
    EXPECT_EQ(m->GetTemplateParam("Left"), "21,8");
    EXPECT_EQ(m->GetTemplateParam("Verze"), "1.0");
    EXPECT_EQ(m->GetTemplateParam("Typ"), "2");
    EXPECT_EQ(m->GetTemplateParam("sNazevSablony"), "Obal");
    EXPECT_TRUE(m->GetTemplateFlag("iskrab"));
    EXPECT_FALSE(m->GetTemplateFlag("Sirka"));
    EXPECT_EQ(m->GetTemplateParam("nothing"), "0");
    // A second set: the later one wins.
    m->CreateTemplateParams(false, true, 120, 15, 0, 0, 0, 0, 0, 0, 0, "Druhá");
    EXPECT_EQ(m->GetTemplateParam("Okraj"), "120");
    EXPECT_FALSE(m->GetTemplateFlag("isKrab"));
    EXPECT_TRUE(m->GetTemplateFlag("Sirka"));
    int params = 0;
    for (int i = 0; i < m->ComponentCount(); ++i)
        params += m->Components(i)->Tag() == 5;
    EXPECT_EQ(params, 26);
    m->DeleteTemplateParams();
    EXPECT_EQ(m->GetTemplateParam("Okraj"), "0");
    EXPECT_FALSE(m->GetTemplateFlag("isKrab"));
    for (int i = 0; i < m->ComponentCount(); ++i)
        EXPECT_NE(m->Components(i)->Tag(), 5);
}

TEST(StartUp, SettingsDefaultsWithoutAFile)
{
    TMainWindowFixture f;
    TFrmMain* m = f.Main();
    EXPECT_FALSE(QFile::exists(m->SettingsFileName()));
    EXPECT_EQ(m->PrintCorrX, 0);
    EXPECT_EQ(m->PrintCorrY, 0);
    EXPECT_EQ(m->StartDir, QDir::currentPath());
    EXPECT_EQ(m->AppDir, QCoreApplication::applicationDirPath());
    EXPECT_TRUE(m->NothingSelected());
    EXPECT_FALSE(m->Modified);
    EXPECT_EQ(m->ObjectParent, m->PNLCD);
}

TEST(StartUp, PrintCorrectionComesFromTheSettingsFile)
{
    const QString dir = TestSupport::MakeTempDir();
    const QByteArray old = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", dir.toUtf8());
    {
        TIniFile ini(dir + "/tessavik/velkaro3.ini");
        ini.WriteInteger("Setting", "KorX", 3);
        ini.WriteInteger("Setting", "KorY", -2);
    }
    TFrmMain m(nullptr);
    m.DoCreate();
    EXPECT_EQ(m.PrintCorrX, 3);
    EXPECT_EQ(m.PrintCorrY, -2);
    qputenv("XDG_CONFIG_HOME", old);
}

TEST(StartUp, DiscDriveAndLookupServerComeFromTheSettingsFile)
{
    const QString dir = TestSupport::MakeTempDir();
    const QByteArray old = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", dir.toUtf8());
    TCDDatabase::SetDefaultFolder(TestSupport::MakeTempDir());
    QString defaultServer;
    {
        TFrmMain m(nullptr);
        m.DoCreate();
        // Without the keys: the default drive and the built-in server.
        EXPECT_EQ(m.CDDBConnect1->DeviceName(), QString());
        defaultServer = m.CDDBConnect1->Server();
        EXPECT_TRUE(defaultServer.startsWith("http://"));
    }
    {
        TIniFile ini(dir + "/tessavik/velkaro3.ini");
        ini.WriteString("Setting", "CDDevice", "/tmp/disc.cue");
        ini.WriteString("Setting", "CDDBServer", "http://127.0.0.1:8880");
    }
    {
        TFrmMain m(nullptr);
        m.DoCreate();
        EXPECT_EQ(m.CDDBConnect1->DeviceName(), "/tmp/disc.cue");
        EXPECT_EQ(m.CDDBConnect1->Server(), "http://127.0.0.1:8880");
    }
    {
        // An empty server key keeps the built-in server rather than posting to nowhere.
        TIniFile ini(dir + "/tessavik/velkaro3.ini");
        ini.WriteString("Setting", "CDDBServer", "");
    }
    {
        TFrmMain m(nullptr);
        m.DoCreate();
        EXPECT_EQ(m.CDDBConnect1->Server(), defaultServer);
    }
    qputenv("XDG_CONFIG_HOME", old);
}

TEST(StartUp, ExpandLongPathNameLooksComponentsUp)
{
    const QString dir = TestSupport::MakeTempDir();
    QDir(dir).mkpath("Moje~Disky/Sub");
    QFile(dir + "/Moje~Disky/Sub/a.tvk").open(QIODevice::WriteOnly);
    // Found: letter case follows the disk.
    EXPECT_EQ(TFrmMain::ExpandLongPathName(dir + "/moje~disky/sub/a.tvk"), dir + "/Moje~Disky/Sub/a.tvk");
    // A missing "~" component: the path comes back exactly as it came in.
    EXPECT_EQ(TFrmMain::ExpandLongPathName(dir + "/Jine~1/a.tvk"), dir + "/Jine~1/a.tvk");
    EXPECT_EQ(TFrmMain::ExpandLongPathName(dir + "/Moje~Disky/chybi.tvk"), dir + "/Moje~Disky/chybi.tvk");
    // Without "~" nothing is looked up.
    EXPECT_EQ(TFrmMain::ExpandLongPathName("/nowhere/x.tvk"), "/nowhere/x.tvk");
    EXPECT_EQ(TFrmMain::ExpandLongPathName(""), "");
}

TEST(Closing, UnmodifiedDocumentClosesWithoutAQuestion)
{
    TMainWindowFixture f;
    bool asked = false;
    SetMessageBoxHook([&](const QString&, const QString&, unsigned) {
        asked = true;
        return IDCANCEL;
    });
    bool canClose = false;
    f.Main()->FormCloseQuery(f.Main(), canClose);
    EXPECT_TRUE(canClose);
    EXPECT_FALSE(asked);
}

TEST(Closing, ModifiedDocumentAsksYesNoCancel)
{
    TMainWindowFixture f;
    TFrmMain* m = f.Main();
    m->sSouborNeniUlozen = "Soubor není uložen. Uložit?";
    m->sDotaz = "Dotaz";
    m->SetDocumentFileName(m->sUntitled);
    QString text, caption;
    unsigned flags = 0;
    int answer = IDNO;
    SetMessageBoxHook([&](const QString& t, const QString& c, unsigned fl) {
        text = t;
        caption = c;
        flags = fl;
        return answer;
    });
    int saveDialogs = 0;
    TCommonDialog::ExecuteHook = [&](TCommonDialog*) {
        ++saveDialogs;
        return false; // the user cancels Save As
    };

    // No: closes without saving.
    m->SetModified();
    bool canClose = false;
    m->FormCloseQuery(m, canClose);
    EXPECT_TRUE(canClose);
    EXPECT_EQ(text, "Soubor není uložen. Uložit?");
    EXPECT_EQ(caption, "Dotaz");
    EXPECT_EQ(flags, unsigned(MB_YESNOCANCEL | MB_ICONQUESTION));
    EXPECT_EQ(saveDialogs, 0);

    // Cancel: the close is aborted silently.
    answer = IDCANCEL;
    m->SetModified();
    EXPECT_THROW(m->FormCloseQuery(m, canClose), EAbort);
    EXPECT_TRUE(m->Modified);

    // Yes on an untitled document: Save As; cancelling it keeps the window
    // open and the design unsaved, so nothing is lost.
    answer = IDYES;
    canClose = false;
    EXPECT_THROW(m->FormCloseQuery(m, canClose), EAbort);
    EXPECT_EQ(saveDialogs, 1);
    EXPECT_TRUE(m->Modified);
}

TEST(Closing, AFailedSaveKeepsTheDesignUnsavedAndTheWindowOpen)
{
    TMainWindowFixture f;
    TFrmMain* m = f.Main();
    // A file in a folder that does not exist cannot be written.
    m->SetDocumentFileName(TestSupport::MakeTempDir() + "/chybi/navrh.tvk");
    m->SetModified();
    SetMessageBoxHook([](const QString&, const QString&, unsigned) { return IDYES; });
    bool canClose = false;
    EXPECT_ANY_THROW(m->FormCloseQuery(m, canClose));
    EXPECT_TRUE(m->Modified);
    // The plain Save command too.
    EXPECT_ANY_THROW(m->btnSaveClick(m));
    EXPECT_TRUE(m->Modified);
}

TEST(Closing, YesSavesATitledDocumentUnderItsName)
{
    TMainWindowFixture f;
    TFrmMain* m = f.Main();
    const QString file = TestSupport::MakeTempDir() + "/navrh.tvk";
    m->SetDocumentFileName(file);
    m->SetModified();
    SetMessageBoxHook([](const QString&, const QString&, unsigned) { return IDYES; });
    bool canClose = false;
    m->FormCloseQuery(m, canClose);
    EXPECT_TRUE(canClose);
    EXPECT_FALSE(m->Modified);
    EXPECT_TRUE(QFile::exists(file));
}

TEST(Closing, ClosingTheShownWindowGoesThroughTheQuestion)
{
    TMainWindowFixture f;
    f.ShowWindow();
    TFrmMain* m = f.Main();
    int asked = 0;
    SetMessageBoxHook([&](const QString&, const QString&, unsigned) {
        ++asked;
        return IDCANCEL;
    });
    m->SetModified();
    SafeCall([&] { m->mnExitClick(m); }); // as a menu command runs
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(m->Visible());
}

TEST(StartUp, TheMainWindowCarriesTheDefaultSkinAndTakesTheSettingsSkin)
{
    TMainWindowFixture f;
    TFrmMain* m = f.Main();
    ASSERT_NE(m->SkinData1, nullptr);
    EXPECT_TRUE(m->SkinData1->SkinRead()); // the embedded default skin is loaded
    // The first show names the skin file of the settings (default: beside the
    // program, whatever the start folder).
    f.ShowWindow();
    EXPECT_EQ(m->SkinData1->SkinFile(), m->AppDir + "/Skiny/mxskin20.skn");
    EXPECT_TRUE(m->SkinData1->Active());
}

TEST(StartUp, ARelativeSkinFileLiesBesideTheProgramAndAnUnreadableOneIsNamedOnce)
{
    TMainWindowFixture f;
    TFrmMain* m = f.Main();
    const QString app = TestSupport::MakeTempDir();
    QDir().mkpath(app + "/skiny");
    ASSERT_TRUE(QFile::copy(TestSupport::SourceDir() + "/data/skiny/zelena.skn", app + "/skiny/zelena.skn"));
    m->AppDir = app;
    {
        TIniFile ini(m->SettingsFileName());
        ini.WriteString("Setting", "SkinFileName", "skiny\\zelena.skn");
        ini.WriteBool("Setting", "SkinEnabled", false);
    }
    // The other boxes say that the lists' folders are missing here.
    QStringList boxes;
    SetMessageBoxHook([&](const QString& text, const QString&, unsigned) {
        if (text.contains(QStringLiteral("vzhled")))
            boxes << text;
        return IDOK;
    });
    f.ShowWindow();
    EXPECT_EQ(m->SkinData1->SkinFile(), app + "/skiny/zelena.skn");
    EXPECT_TRUE(m->SkinData1->SkinRead());
    EXPECT_TRUE(boxes.isEmpty()) << boxes.join('\n').toStdString();

    // A file that is not there, with skinning on: one message that names it.
    const QString missing = app + "/skiny/chybi.skn";
    TIniFile(m->SettingsFileName()).WriteString("Setting", "SkinFileName", missing);
    TIniFile(m->SettingsFileName()).WriteBool("Setting", "SkinEnabled", true);
    m->FormShow(m);
    m->FormShow(m);
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(boxes[0], QStringLiteral("Soubor vzhledu \"%1\" nelze načíst: soubor nebo složka neexistuje.").arg(missing));
    EXPECT_EQ(m->SkinData1->SkinFile(), missing);
    SetMessageBoxHook(nullptr);
}

// A skin switched off in the settings is not read at start, neither the
// settings' file nor the built-in skin: it is read when switched on.
TEST(StartUp, WithSkinningSwitchedOffNoSkinIsReadUntilItIsSwitchedOn)
{
    TMainWindowFixture f;
    TFrmMain* m = f.Main();
    const QString app = TestSupport::MakeTempDir();
    QDir().mkpath(app + "/skiny");
    const QString file = app + "/skiny/zelena.skn";
    ASSERT_TRUE(QFile::copy(TestSupport::SourceDir() + "/data/skiny/zelena.skn", file));
    m->AppDir = app;
    {
        TIniFile ini(m->SettingsFileName());
        ini.WriteString("Setting", "SkinFileName", "skiny/zelena.skn");
        ini.WriteBool("Setting", "SkinEnabled", false);
    }
    TOpenCounter opens(file);
    ASSERT_TRUE(opens.Ok());
    SetMessageBoxHook([](const QString&, const QString&, unsigned) { return IDOK; });
    f.ShowWindow();
    EXPECT_FALSE(m->SkinData1->Active());
    EXPECT_EQ(opens.Opens(), 0);
    EXPECT_TRUE(m->SkinData1->SkinStream().isEmpty()); // the built-in skin not unpacked either
    EXPECT_EQ(m->SkinData1->SkinFile(), file);

    // Switched on (as the skin chooser does): the settings' skin is read then.
    m->SkinData1->SetActive(true);
    EXPECT_EQ(opens.Opens(), 1);
    EXPECT_TRUE(m->SkinData1->SkinRead());
    EXPECT_EQ(m->SkinData1->SkinFile(), file);
    EXPECT_FALSE(m->SkinData1->SkinStream().isEmpty());
    m->SkinData1->SetActive(false);
    SetMessageBoxHook(nullptr);
}
