// Texts of the windows from the language file: the loaders' tables, the reading
// rules, and the language file shipped beside the program.

#include "designer_fixture.h"

#include "catalogue/cd_database_form.h"
#include "classlib/forms/application.h"
#include "classlib/forms/menus.h"
#include "classlib/inifiles.h"
#include "classlib/strings.h"
#include "classlib/forms/message_box.h"
#include "classlib/sysutils.h"
#include "designer/forms/frm_edit_sablona.h"
#include "designer/forms/frm_edit_sablona_box.h"
#include "designer/forms/frm_export.h"
#include "designer/forms/frm_ins_dir.h"
#include "designer/forms/frm_ins_files.h"
#include "designer/forms/frm_ins_text.h"
#include "designer/forms/frm_invisible.h"
#include "designer/forms/frm_korekce.h"
#include "designer/forms/frm_nastav_objekt.h"
#include "designer/forms/frm_new.h"
#include "designer/forms/frm_o_programu.h"
#include "designer/forms/frm_progress.h"
#include "designer/forms/frm_roz_obr.h"
#include "designer/forms/frm_skin_chooser.h"
#include "designer/forms/frm_srafovani.h"
#include "designer/forms/frm_start.h"
#include "designer/forms/frm_vlastnosti_img.h"
#include "designer/localisation/language_texts.h"
#include "test_support.h"

#include <QFile>
#include <QSet>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {
QString SourceLanguageFile() { return TestSupport::SourceDir() + QStringLiteral("/data/language.ini"); }

// Every window of the program, created in the program entry's order.
class TProgramWindows {
public:
    TProgramWindows()
    {
        Add<TFrmInsText, TFrmNew, TFrmNastavObjekt, TFrmSrafovani, TFrmVlastnostiIMG, TFrmProgress, TFrmInsDir,
            TFrmKorekce, TFrmRozObr, TFrmEditSablona, TFrmStart, TFrmOProgramu, TFrmInvisible, TFrmExport,
            TFrmInsFiles, TForm21, TCDDatabaseForm, TFrmEditSablonaBox>();
        FOldTitle = Application->Title();
    }
    ~TProgramWindows()
    {
        Application->SetTitle(FOldTitle);
        while (!FForms.empty())
            FForms.pop_back();
    }
    TFrmMain* Main() const { return FMainWindow.Main(); }
    // Points the main window's program folder at a folder holding this file.
    void UseLanguageFile(const QByteArray& content)
    {
        const QString dir = TestSupport::MakeTempDir();
        QFile f(dir + QStringLiteral("/language.ini"));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
        Main()->AppDir = dir;
    }
    void UseNoLanguageFile() { Main()->AppDir = TestSupport::MakeTempDir(); }

private:
    template <typename... T>
    void Add()
    {
        (FForms.push_back(std::make_unique<T>(nullptr)), ...);
    }
    TMainWindowFixture FMainWindow; // the main window comes first
    std::vector<std::unique_ptr<TForm>> FForms;
    QString FOldTitle;
};

void RunAllLoaders() { LoadLanguageTexts(); }

// The named component of a window; a stand-in of kind T when the window does
// not have it yet, so the rules can be checked on every target.
template <typename T>
TComponent* Target(TForm* window, const char* name)
{
    if (TComponent* c = window->FindComponent(QString::fromLatin1(name)))
        return c;
    auto* c = new T(window);
    c->SetName(QString::fromLatin1(name));
    if constexpr (std::is_base_of_v<TControl, T>)
        c->SetParent(window);
    return c;
}

QString TextOf(const TComponent* c, bool hint)
{
    if (auto* control = dynamic_cast<const TControl*>(c))
        return hint ? control->Hint() : control->Caption();
    auto* item = dynamic_cast<const TMenuItem*>(c);
    return hint ? item->Hint() : item->Caption();
}
QString CaptionOf(const TComponent* c) { return TextOf(c, false); }
QString HintOf(const TComponent* c) { return TextOf(c, true); }

QByteArray SourceFileBytes()
{
    const QByteArray bytes = TestSupport::ReadFile(SourceLanguageFile());
    EXPECT_FALSE(bytes.isEmpty());
    return bytes;
}
} // namespace

TEST(LanguageTables, TwelveLoadersInStartUpOrderWithTheirEntryCounts)
{
    struct Expected {
        const char* Name;
        int Count;
    };
    const Expected expected[] = {
        {"LoadMainFormStrings", 148}, {"LoadFrmInsTextStrings", 20},    {"LoadFrmNewStrings", 6},
        {"LoadFrmNastavObjektStrings", 21}, {"LoadFrmSrafovaniStrings", 6}, {"LoadFrmVlastnostiIMGStrings", 13},
        {"LoadFrmProgressStrings", 1}, {"LoadFrmInsDirStrings", 3},      {"LoadFrmKorekceStrings", 5},
        {"LoadFrmRozObrStrings", 5},   {"LoadFrmStartStrings", 5},       {"LoadFrmOProgramuStrings", 4},
    };
    const auto loaders = LanguageLoaders();
    ASSERT_EQ(loaders.size(), std::size(expected));
    size_t total = 0;
    for (size_t i = 0; i < loaders.size(); ++i) {
        EXPECT_STREQ(loaders[i].Name, expected[i].Name);
        EXPECT_EQ(static_cast<int>(loaders[i].Entries.size()), expected[i].Count) << loaders[i].Name;
        total += loaders[i].Entries.size();
    }
    EXPECT_EQ(total, 237u);
}

TEST(LanguageTables, OnlyTheTitleUntitledAndFileButtonsHaveTheirOwnDefaults)
{
    QMap<QString, QString> ownDefaults;
    for (const TLanguageLoader& l : LanguageLoaders())
        for (const TLanguageEntry& e : l.Entries)
            if (QString::fromUtf8(e.Default) != QLatin1String("Error"))
                ownDefaults.insert(QString::fromLatin1(e.Key), QString::fromUtf8(e.Default));
    const QMap<QString, QString> expected{{"sAppTitle", "Untitled"}, {"sUntitled", "Untitled"},
                                          {"hBtnNovy", "New"},       {"hBtnOpen", "Open"},
                                          {"hBtnSave", "Save"},
                                          // The lookup's failure texts: Czech, since they came later.
                                          {"sCDDBNezdar", "Vyhledání CD v databázi CDDB se nezdařilo, zobrazí se uložená databáze."},
                                          {"sCDDBNeodpovida", "Server CDDB neodpověděl."},
                                          {"sCDDBChybaHTTP", "Server CDDB ohlásil chybu HTTP %1."},
                                          {"sCDDBNesrozumitelna", "Odpovědi serveru CDDB program nerozumí."},
                                          {"sCDDBPrerusena", "Odpověď serveru CDDB nepřišla celá."},
                                          {"sCDDBPomala", "Server CDDB posílal odpověď příliš pomalu."},
                                          {"sCDDBPrilisVelka", "Odpověď serveru CDDB je příliš velká."}};
    EXPECT_EQ(ownDefaults, expected);
}

TEST(LanguageFile, HoldsEveryKeyWithCzechTextAndNothingElse)
{
    TIniFile ini(SourceLanguageFile());
    TStringList fileKeys;
    ini.ReadSection(QStringLiteral("Czech"), fileKeys);
    QSet<QString> inFile;
    for (int i = 0; i < fileKeys.Count(); ++i) {
        const QString key = fileKeys[i];
        EXPECT_FALSE(inFile.contains(key)) << "twice: " << key.toStdString();
        inFile.insert(key);
    }
    QSet<QString> used;
    for (const TLanguageLoader& l : LanguageLoaders())
        for (const TLanguageEntry& e : l.Entries) {
            const QString key = QString::fromLatin1(e.Key);
            used.insert(key);
            EXPECT_TRUE(inFile.contains(key)) << "missing: " << e.Key;
            const QString text = ini.ReadString(QStringLiteral("Czech"), key, QStringLiteral("Error"));
            EXPECT_FALSE(text.isEmpty()) << e.Key;
            EXPECT_NE(text, QStringLiteral("Error")) << e.Key;
        }
    for (const QString& key : inFile)
        EXPECT_TRUE(used.contains(key)) << "no window reads " << key.toStdString();
}

TEST(LanguageFile, ReadsTheSameSavedAsUtf8OrWindows1250)
{
    const QByteArray utf8 = SourceFileBytes();
    const QString text = QString::fromUtf8(utf8);
    // Every character has a place in the Czech code page.
    ASSERT_EQ(AnsiToUnicode(UnicodeToAnsi(text)), text);
    const QByteArray ansi = UnicodeToAnsi(text);
    ASSERT_NE(ansi, utf8);

    const QString dir = TestSupport::MakeTempDir();
    QFile f(dir + "/ansi.ini");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(ansi);
    f.close();
    TIniFile fromUtf8(SourceLanguageFile());
    TIniFile fromAnsi(dir + "/ansi.ini");
    for (const TLanguageLoader& l : LanguageLoaders())
        for (const TLanguageEntry& e : l.Entries)
            EXPECT_EQ(fromAnsi.ReadString("Czech", e.Key, "?"), fromUtf8.ReadString("Czech", e.Key, "!")) << e.Key;
    EXPECT_EQ(fromAnsi.ReadString("Czech", "lbSirka", ""), QString::fromUtf8("Šířka okraje"));
}

// No file, or all keys in another section: every target takes its default.
TEST(LanguageLoaders, WithoutTheSectionCzechEveryTargetTakesItsDefault)
{
    QByteArray otherSection = SourceFileBytes();
    otherSection.replace("[Czech]", "[English]");
    for (const QByteArray& content : {QByteArray(), "[Slovak]\nsUntitled=Bez mena\n" + otherSection}) {
        TProgramWindows w;
        if (content.isEmpty())
            w.UseNoLanguageFile();
        else
            w.UseLanguageFile(content);
        TComponent* btnNew = Target<TToolButton>(w.Main(), "btnNew");
        TComponent* btnPrint = Target<TToolButton>(w.Main(), "btnPrint");
        TComponent* mnFile = Target<TMenuItem>(w.Main(), "mnFile");
        w.Main()->sDotaz = QStringLiteral("before");
        RunAllLoaders();
        EXPECT_EQ(Application->Title(), QStringLiteral("Untitled"));
        EXPECT_EQ(w.Main()->sUntitled, QStringLiteral("Untitled"));
        EXPECT_EQ(w.Main()->sDotaz, QStringLiteral("Error"));
        EXPECT_EQ(HintOf(btnNew), QStringLiteral("New"));
        EXPECT_EQ(HintOf(btnPrint), QStringLiteral("Error"));
        EXPECT_EQ(CaptionOf(mnFile), QStringLiteral("Error"));
        EXPECT_EQ(FrmStart->lblVer->Caption(), QStringLiteral("Error"));
        EXPECT_EQ(FrmStart->lblNew->Caption(), QStringLiteral("Error"));
        EXPECT_EQ(FrmOProgramu->Caption(), QStringLiteral("Error"));
    }
}

TEST(LanguageLoaders, EmptyValueGivesEmptyTextAndMissingKeyOnlyItsDefault)
{
    TProgramWindows w;
    // Values are taken as they stand: no escapes, no splitting of hints.
    w.UseLanguageFile("[czech]\r\nsUntitled=\r\nsAppTitle=  Tessavik  \r\nhBtnNovy=Nový|Nový dokument\r\n"
                      "sChyba=a\\nb\r\nlblVer=\r\nFrmNew=Výběr\r\n");
    TComponent* btnNew = Target<TToolButton>(w.Main(), "btnNew");
    TComponent* btnOpen = Target<TToolButton>(w.Main(), "btnOpen");
    RunAllLoaders();
    EXPECT_EQ(w.Main()->sUntitled, QString());
    EXPECT_EQ(Application->Title(), QStringLiteral("Tessavik"));
    EXPECT_EQ(HintOf(btnNew), QString::fromUtf8("Nový|Nový dokument"));
    EXPECT_EQ(HintOf(btnOpen), QStringLiteral("Open"));
    EXPECT_EQ(w.Main()->sChyba, QStringLiteral("a\\nb"));
    EXPECT_EQ(w.Main()->sDotaz, QStringLiteral("Error"));
    EXPECT_EQ(FrmStart->lblVer->Caption(), QString());
    EXPECT_EQ(FrmNew->Caption(), QString::fromUtf8("Výběr"));
    EXPECT_EQ(FrmInsText->Caption(), QStringLiteral("Error"));
}

TEST(LanguageLoaders, AKeyServingTwoTargetsGivesBothTheSameText)
{
    TProgramWindows w;
    w.UseLanguageFile("[Czech]\nbtnOK=Ano\nbtnStorno=Ne\nbtnPouzit=Hned\nlbBack=Zpět\nP3L3=Teď:\nlblNazevProg=Program 9\n");
    struct Pair {
        TForm* Window;
        const char* First;
        const char* Second;
        const char* Text;
    };
    const Pair pairs[] = {
        {FrmInsText, "BtnOK", "btnOK2", "Ano"},           {FrmInsText, "btnStorno", "btnStorno2", "Ne"},
        {FrmNastavObjekt, "btnOK", "btnOK2", "Ano"},      {FrmNastavObjekt, "btnPouzit", "btnPouzit2", "Hned"},
        {w.Main(), "SLblBack", "SbLblBack", "Zpět"},
        {w.Main(), "P3L3", "P4L2", "Teď:"},               {FrmOProgramu, "lblNazevProg", "lblNazevProg2", "Program 9"},
    };
    std::vector<std::pair<TComponent*, TComponent*>> targets;
    for (const Pair& p : pairs)
        targets.emplace_back(Target<TLabel>(p.Window, p.First), Target<TLabel>(p.Window, p.Second));
    RunAllLoaders();
    for (size_t i = 0; i < targets.size(); ++i) {
        EXPECT_EQ(CaptionOf(targets[i].first), QString::fromUtf8(pairs[i].Text)) << pairs[i].First;
        EXPECT_EQ(CaptionOf(targets[i].second), QString::fromUtf8(pairs[i].Text)) << pairs[i].Second;
    }
    EXPECT_EQ(HintOf(targets[4].second), QString::fromUtf8("Zpět")); // SbLblBack
}

TEST(LanguageLoaders, MenuItemsAndPanelLinksShowTheirTextAsHintPopupItemsDoNot)
{
    TProgramWindows w;
    w.UseLanguageFile(SourceFileBytes());
    TComponent* tiskRam = Target<TMenuItem>(w.Main(), "TiskRam");
    TComponent* p3l1 = Target<TLabel>(w.Main(), "P3L1");
    TComponent* imgKlic = Target<TImage>(w.Main(), "imgKlic");
    auto* smazat = static_cast<TMenuItem*>(Target<TMenuItem>(w.Main(), "mnuSmazat1"));
    smazat->SetHint(QStringLiteral("own hint"));
    RunAllLoaders();
    EXPECT_EQ(CaptionOf(tiskRam), QString::fromUtf8("Tisknout orámování"));
    EXPECT_EQ(HintOf(tiskRam), QString::fromUtf8("Tisknout orámování"));
    EXPECT_EQ(CaptionOf(p3l1), QString::fromUtf8("Žádné pozadí"));
    EXPECT_EQ(HintOf(p3l1), QString::fromUtf8("Žádné pozadí"));
    EXPECT_EQ(HintOf(imgKlic), QString::fromUtf8("Zamknout nebo odemknout vybraný objekt"));
    EXPECT_EQ(CaptionOf(smazat), QStringLiteral("Smazat"));
    EXPECT_EQ(smazat->Hint(), QStringLiteral("own hint"));
}

TEST(LanguageLoaders, TheShippedFileGivesTheWindowsTheirCzechTexts)
{
    TProgramWindows w;
    w.UseLanguageFile(SourceFileBytes());
    RunAllLoaders();
    EXPECT_EQ(w.Main()->sObdelnik, QString::fromUtf8("Obdélník"));
    EXPECT_EQ(FrmStart->lblOpen->Caption(), QString::fromUtf8("Otevřít"));
    EXPECT_EQ(FrmStart->lblVer->Caption(), QStringLiteral("v3.20"));
    EXPECT_EQ(FrmRozObr->Caption(), QString::fromUtf8("Rozmazání obrázku"));
    // Windows the file does not serve keep their own titles.
    EXPECT_EQ(FrmInsFiles->Caption(), QString::fromUtf8("Vložit seznam souborů"));
    // An untitled document's caption: the file's untitled name and title.
    w.Main()->SetDocumentFileName(w.Main()->sUntitled);
    EXPECT_EQ(w.Main()->Caption(), QString::fromUtf8("Bez názvu - Tessavik"));
}

// Every target the language file names exists in the running program.
TEST(LanguageLoaders, EveryTargetExistsInTheRunningProgram)
{
    TProgramWindows w;
    QStringList missing;
    for (const TLanguageLoader& l : LanguageLoaders())
        missing += MissingLanguageTargets(l);
    EXPECT_TRUE(missing.isEmpty()) << missing.join(", ").toStdString();
}

TEST(LanguageLoaders, ALanguageFileTooLargeToReadIsToldOnceAndEveryTextTakesItsDefault)
{
    TProgramWindows w;
    w.UseLanguageFile(SourceFileBytes());
    const QString file = w.Main()->AppDir + QStringLiteral("/language.ini");
    ASSERT_TRUE(QFile::resize(file, MaxProfileFileBytes + 1)); // the rest is a sparse hole
    QStringList messages;
    SetMessageBoxHook([&](const QString& text, const QString&, unsigned) {
        messages << text;
        return IDOK;
    });
    RunAllLoaders();
    SetMessageBoxHook([](const QString&, const QString&, unsigned) { return IDOK; });
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(file)) << messages[0].toStdString();
    EXPECT_EQ(w.Main()->sDotaz, QStringLiteral("Error"));
}


TEST(LanguageLoaders, TheStartUpReadsTheFileOnceForAllTwelveLoadersWithTheProfileServicesRules)
{
    TProgramWindows w;
    // The first section "Czech" counts and in it the first of a key, its
    // letter case ignored.
    w.UseLanguageFile(QString::fromUtf8("[czech]\nSDOTAZ=první\nsDotaz=druhý\nFrmStart=Start\nbtnClose=Zavřít\n"
                                        "[Czech]\nsChyba=jiná sekce\n")
                          .toUtf8());
    TOpenCounter counter(w.Main()->AppDir + QStringLiteral("/language.ini"));
    ASSERT_TRUE(counter.Ok());
    RunAllLoaders();
    EXPECT_EQ(counter.Opens(), 1);
    EXPECT_EQ(w.Main()->sDotaz, QString::fromUtf8("první"));
    EXPECT_EQ(w.Main()->sChyba, QStringLiteral("Error"));
    EXPECT_EQ(FrmStart->Caption(), QStringLiteral("Start"));
    EXPECT_EQ(FrmOProgramu->btnClose->Caption(), QString::fromUtf8("Zavřít"));
}
