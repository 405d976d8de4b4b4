// The loaders' tables: every text of the localised windows, in reading order.
// A key is read once per row, so a key that serves two targets has two rows.

#include "classlib/forms/application.h"
#include "classlib/forms/message_box.h"
#include "classlib/inifiles.h"
#include "designer/forms/frm_ins_dir.h"
#include "designer/forms/frm_ins_text.h"
#include "designer/forms/frm_korekce.h"
#include "designer/forms/frm_nastav_objekt.h"
#include "designer/forms/frm_new.h"
#include "designer/forms/frm_o_programu.h"
#include "designer/forms/frm_progress.h"
#include "designer/forms/frm_roz_obr.h"
#include "designer/forms/frm_srafovani.h"
#include "designer/forms/frm_start.h"
#include "designer/forms/frm_vlastnosti_img.h"
#include "designer/localisation/language_texts.h"
#include "designer/main/frm_main.h"

namespace {
constexpr const char* Err = "Error";

constexpr TLanguageEntry AppTitle(const char* key, const char* def)
{
    return {key, TTextTarget::AppTitle, nullptr, nullptr, def};
}
constexpr TLanguageEntry Field(const char* key, TMainFormText field, const char* def = Err)
{
    return {key, TTextTarget::MainField, nullptr, field, def};
}
constexpr TLanguageEntry WindowCaption(const char* key)
{
    return {key, TTextTarget::WindowCaption, nullptr, nullptr, Err};
}
// Without a control the key is the control's own name.
constexpr TLanguageEntry Caption(const char* key, const char* control = nullptr)
{
    return {key, TTextTarget::Caption, control ? control : key, nullptr, Err};
}
constexpr TLanguageEntry Hint(const char* key, const char* control = nullptr, const char* def = Err)
{
    return {key, TTextTarget::Hint, control ? control : key, nullptr, def};
}

const TLanguageEntry MainFormTexts[] = {
    // Title and message texts.
    AppTitle("sAppTitle", "Untitled"),
    Field("sUntitled", &TFrmMain::sUntitled, "Untitled"),
    Field("sSouborNeniUlozen", &TFrmMain::sSouborNeniUlozen),
    Field("sDotaz", &TFrmMain::sDotaz),
    Field("sChyba", &TFrmMain::sChyba),
    Field("sChybaVypocetRadius", &TFrmMain::sChybaVypocetRadius),
    Field("sChybaVypocetRadiusZobrazeni", &TFrmMain::sChybaVypocetRadiusZobrazeni),
    Field("sNelzePrecistObjekt", &TFrmMain::sNelzePrecistObjekt),
    Field("sZadnePozadi", &TFrmMain::sZadnePozadi),
    Field("sZadnyStyl", &TFrmMain::sZadnyStyl),
    Field("sChybaCteniPozadi", &TFrmMain::sChybaCteniPozadi),
    Field("sChybaCteniSablony", &TFrmMain::sChybaCteniSablony),
    Field("sTiskOramovani", &TFrmMain::sTiskOramovani),
    Field("sPrintTitle", &TFrmMain::sPrintTitle),
    Field("sObdelnik", &TFrmMain::sObdelnik),
    Field("sKruh", &TFrmMain::sKruh),
    Field("sZaoblenyObdelnik", &TFrmMain::sZaoblenyObdelnik),
    Field("sVyberteSlozku", &TFrmMain::sVyberteSlozku),
    Field("sCDDBNezdar", &TFrmMain::sCDDBNezdar,
          "Vyhledání CD v databázi CDDB se nezdařilo, zobrazí se uložená databáze."),
    Field("sCDDBNeodpovida", &TFrmMain::sCDDBNeodpovida, "Server CDDB neodpověděl."),
    Field("sCDDBChybaHTTP", &TFrmMain::sCDDBChybaHTTP, "Server CDDB ohlásil chybu HTTP %1."),
    Field("sCDDBNesrozumitelna", &TFrmMain::sCDDBNesrozumitelna, "Odpovědi serveru CDDB program nerozumí."),
    Field("sCDDBPrerusena", &TFrmMain::sCDDBPrerusena, "Odpověď serveru CDDB nepřišla celá."),
    Field("sCDDBPomala", &TFrmMain::sCDDBPomala, "Server CDDB posílal odpověď příliš pomalu."),
    Field("sCDDBPrilisVelka", &TFrmMain::sCDDBPrilisVelka, "Odpověď serveru CDDB je příliš velká."),
    // Tool bar hints.
    Hint("hBtnNovy", "btnNew", "New"),
    Hint("hBtnOpen", "btnOpen", "Open"),
    Hint("hBtnSave", "btnSave", "Save"),
    Hint("hbtnLayer01", "btnLayer01"),
    Hint("hbtnKriz", "btnKriz"),
    Hint("hbtnPrint", "btnPrint"),
    Hint("hBtnPozadi", "BtnPozadi"),
    Hint("hbtnImg", "btnImg"),
    Hint("hbtnTextImg", "btnTextImg"),
    Hint("hbtnText", "btnText"),
    Hint("hbtnKruhText", "btnKruhText"),
    Hint("hbtnRound", "btnRound"),
    Hint("hbtnRect", "btnRect"),
    Hint("hbtnCircl", "btnCircl"),
    // Popup menus: captions only.
    Caption("txt1"), Caption("txt2"), Caption("txt3"), Caption("txt4", "mnuSmazat1"),
    Caption("img1"), Caption("img2"), Caption("img3"),
    Caption("bck1"), Caption("bck2"), Caption("bck3"),
    Caption("shp1"), Caption("shp2"), Caption("shp3"), Caption("shp4"),
    Caption("crc1"), Caption("crc2"), Caption("crc3"),
    // Main menu: captions, then the same keys for the hints.
    Caption("mnFile"), Caption("mnEdit"), Caption("mnSet"), Caption("mnVis"), Caption("mnIns"),
    Caption("mnHelp"), Caption("mnNew"), Caption("sbr1"), Caption("sbr2"), Caption("mnuSaveAs"),
    Caption("sbr3"), Caption("sbr4"), Caption("mnExit"), Caption("mnuSmazat"), Caption("upr1"),
    Caption("upr2"), Caption("mnKorTisk"), Caption("vis1"), Caption("vis2", "TiskRam"), Caption("vl1"),
    Caption("vl2"), Caption("ComObal"), Caption("vl3"), Caption("vl4"), Caption("vl5"),
    Caption("vl6"), Caption("vl7"), Caption("vl8"), Caption("hl1"), Caption("hl2"),
    Hint("mnFile"), Hint("mnEdit"), Hint("mnSet"), Hint("mnVis"), Hint("mnIns"),
    Hint("mnHelp"), Hint("mnNew"), Hint("sbr1"), Hint("sbr2"), Hint("mnuSaveAs"),
    Hint("sbr3"), Hint("sbr4"), Hint("mnExit"), Hint("mnuSmazat"), Hint("upr1"),
    Hint("upr2"), Hint("mnKorTisk"), Hint("vis1"), Hint("vis2", "TiskRam"), Hint("vl1"),
    Hint("vl2"), Hint("ComObal"), Hint("vl3"), Hint("vl4"), Hint("vl5"),
    Hint("vl6"), Hint("vl7"), Hint("vl8"), Hint("hl1"), Hint("hl2"),
    // Side panel: captions, the two pictures' hints, then the labels' hints.
    Caption("PP1"), Caption("PP2"), Caption("PP3"), Caption("PP4"), Caption("TxZamkni"),
    Caption("txSkrytZobrazit"), Caption("P3L1"), Caption("P3L2"), Caption("P3L3"),
    Caption("lbBack", "SLblBack"), Caption("blNext", "SLblNext"), Caption("P4L1"),
    Caption("P3L3", "P4L2"), Caption("lbBack", "SbLblBack"), Caption("blNext", "SbLblNext"),
    Hint("imgBryle"), Hint("imgKlic"),
    Hint("PP1"), Hint("PP2"), Hint("PP3"), Hint("PP4"), Hint("TxZamkni"),
    Hint("txSkrytZobrazit"), Hint("P3L1"), Hint("P3L2"), Hint("P3L3"),
    Hint("lbBack", "SLblBack"), Hint("blNext", "SLblNext"), Hint("P4L1"),
    Hint("P3L3", "P4L2"), Hint("lbBack", "SbLblBack"), Hint("blNext", "SbLblNext"),
};

const TLanguageEntry FrmInsTextTexts[] = {
    WindowCaption("FrmInsText"),
    Caption("Tab1"), Caption("GB1"), Caption("GB2"), Caption("btnFont"), Caption("btnColor"),
    Caption("btnOK", "BtnOK"), Caption("btnStorno"),
    Caption("GB3"), Caption("GB4"), Caption("TabRotace1"),
    Caption("AutoSize"), Caption("Aliasing"), Caption("Filling"),
    Caption("Rot0"), Caption("Rot90"), Caption("Rot180"), Caption("Rot270"),
    Caption("btnOK", "btnOK2"), Caption("btnStorno", "btnStorno2"),
};

const TLanguageEntry FrmNewTexts[] = {
    WindowCaption("FrmNew"),
    Caption("lbNadpis"), Caption("lbText"), Caption("lbNahled"),
    Caption("btnOK"), Caption("btnStorno"),
};

const TLanguageEntry FrmNastavObjektTexts[] = {
    WindowCaption("FrmNastavObjekt"),
    Caption("TabSheet1"), Caption("btnOK"), Caption("btnStorno"), Caption("btnPouzit"),
    Caption("GroupBox2"), Caption("GroupBox1"), Caption("lbSirka"), Caption("VizRam"), Caption("PrPozadi"),
    Caption("btnClOkraj"), Caption("btnClPozadi"), Caption("btnSraf"),
    Caption("btnOK", "btnOK2"), Caption("btnStorno", "btnStorno2"), Caption("btnPouzit", "btnPouzit2"),
    Caption("TabSheet2"), Caption("lbTop"), Caption("lbLeft"), Caption("lbWidth"), Caption("lbHeight"),
};

const TLanguageEntry FrmSrafovaniTexts[] = {
    WindowCaption("FrmSrafovani"),
    Caption("OGroupBox1"), Caption("OGroupBox2"), Caption("OTabSheet1"),
    Caption("btnOK"), Caption("btnStorno"),
};

const TLanguageEntry FrmVlastnostiIMGTexts[] = {
    WindowCaption("FrmVlastnostiIMG"),
    Caption("ImgGroupBox1"), Caption("ImgTabSheet"), Caption("Trans"), Caption("ChStretch"), Caption("ChAutosize"),
    Caption("btnOK"), Caption("btnStorno"), Caption("btnPouzit"),
    Caption("ImgTabSheet2", "TabSheet1"), Caption("ImgGroupBox2"), Caption("txSirka"), Caption("txVyska"),
};

// The progress window has no title bar.
const TLanguageEntry FrmProgressTexts[] = {
    Caption("lblProbihaTisk"),
};

const TLanguageEntry FrmInsDirTexts[] = {
    WindowCaption("FrmInsDir"),
    Caption("btnStorno"), Caption("btnVlozit"),
};

const TLanguageEntry FrmKorekceTexts[] = {
    WindowCaption("FrmKorekce"),
    Caption("lbPrKor1"), Caption("lbPrKor2"),
    Caption("btnOK", "btnOK1"), Caption("btnStorno", "btnStorno1"),
};

const TLanguageEntry FrmRozObrTexts[] = {
    WindowCaption("FrmRozObr"),
    Caption("lblIntenzita"),
    Caption("btnOK", "btnOK1"), Caption("btnStorno", "btnStorno1"), Caption("btnNahled", "BtnNahled"),
};

const TLanguageEntry FrmStartTexts[] = {
    WindowCaption("FrmStart"),
    Caption("lblNew"), Caption("lblOpen"), Caption("lblExit"), Caption("lblVer"),
};

// The program name and its shadow copy take the same text.
const TLanguageEntry FrmOProgramuTexts[] = {
    WindowCaption("FrmOProgramu"),
    Caption("lblNazevProg"), Caption("lblNazevProg", "lblNazevProg2"),
    Caption("btnClose"),
};

const TLanguageLoader Loaders[] = {
    {"LoadMainFormStrings", "TFrmMain", []() -> TCustomForm* { return FrmMain; }, MainFormTexts},
    {"LoadFrmInsTextStrings", "TFrmInsText", []() -> TCustomForm* { return FrmInsText; }, FrmInsTextTexts},
    {"LoadFrmNewStrings", "TFrmNew", []() -> TCustomForm* { return FrmNew; }, FrmNewTexts},
    {"LoadFrmNastavObjektStrings", "TFrmNastavObjekt", []() -> TCustomForm* { return FrmNastavObjekt; }, FrmNastavObjektTexts},
    {"LoadFrmSrafovaniStrings", "TFrmSrafovani", []() -> TCustomForm* { return FrmSrafovani; }, FrmSrafovaniTexts},
    {"LoadFrmVlastnostiIMGStrings", "TFrmVlastnostiIMG", []() -> TCustomForm* { return FrmVlastnostiIMG; }, FrmVlastnostiIMGTexts},
    {"LoadFrmProgressStrings", "TFrmProgress", []() -> TCustomForm* { return FrmProgress; }, FrmProgressTexts},
    {"LoadFrmInsDirStrings", "TFrmInsDir", []() -> TCustomForm* { return FrmInsDir; }, FrmInsDirTexts},
    {"LoadFrmKorekceStrings", "TFrmKorekce", []() -> TCustomForm* { return FrmKorekce; }, FrmKorekceTexts},
    {"LoadFrmRozObrStrings", "TFrmRozObr", []() -> TCustomForm* { return FrmRozObr; }, FrmRozObrTexts},
    {"LoadFrmStartStrings", "TFrmStart", []() -> TCustomForm* { return FrmStart; }, FrmStartTexts},
    {"LoadFrmOProgramuStrings", "TFrmOProgramu", []() -> TCustomForm* { return FrmOProgramu; }, FrmOProgramuTexts},
};
} // namespace

std::span<const TLanguageLoader> LanguageLoaders() { return Loaders; }

void LoadMainFormStrings() { ApplyLanguageTexts(Loaders[0]); }
void LoadFrmInsTextStrings() { ApplyLanguageTexts(Loaders[1]); }
void LoadFrmNewStrings() { ApplyLanguageTexts(Loaders[2]); }
void LoadFrmNastavObjektStrings() { ApplyLanguageTexts(Loaders[3]); }
void LoadFrmSrafovaniStrings() { ApplyLanguageTexts(Loaders[4]); }
void LoadFrmVlastnostiIMGStrings() { ApplyLanguageTexts(Loaders[5]); }
void LoadFrmProgressStrings() { ApplyLanguageTexts(Loaders[6]); }
void LoadFrmInsDirStrings() { ApplyLanguageTexts(Loaders[7]); }
void LoadFrmKorekceStrings() { ApplyLanguageTexts(Loaders[8]); }
void LoadFrmRozObrStrings() { ApplyLanguageTexts(Loaders[9]); }
void LoadFrmStartStrings() { ApplyLanguageTexts(Loaders[10]); }
void LoadFrmOProgramuStrings() { ApplyLanguageTexts(Loaders[11]); }

void LoadLanguageTexts()
{
    // One reading of the file serves all twelve loaders: nothing changes it
    // between them.
    const TLanguageFile file(LanguageFileName());
    // A file refused for its size reads as missing: every text its default.
    if (!file.ReadError().isEmpty() && Application)
        Application->MessageBox(file.ReadError(), QStringLiteral("Chyba"), MB_OK | MB_ICONERROR);
    for (const TLanguageLoader& loader : Loaders)
        ApplyLanguageTexts(loader, file);
}
