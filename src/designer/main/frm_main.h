#pragma once
// The main window: the label document (objects owned by the window, in
// stacking order), the design surface and every command of the designer.
// The class is large by nature; its parts live in one source file per area.

#include "classlib/controls/com_controls.h"
#include "classlib/controls/ext_controls.h"
#include "classlib/controls/image.h"
#include "classlib/controls/std_controls.h"
#include "classlib/forms/dialogs.h"
#include "classlib/forms/form.h"
#include "classlib/forms/menus.h"
#include "catalogue/cddb_entry.h"
#include "skin/skin_data.h"

#include <memory>

class TBitmap;

class TFrmMain : public TForm {
public:
    TV_CLASS_NAME(TFrmMain)
    explicit TFrmMain(TComponent* owner);
    ~TFrmMain() override;

    // ------------------------------------------------ start-up and closing
    // Application-wide values of the main window.
    QString StartDir;      // current directory at start-up; base of the skin folder
    QString WinDir;        // folder of the settings file
    QString AppDir;        // folder of the program file, without trailing separator
    QString StartFile;     // the file named on the command line
    bool FirstShow = true; // the window has not been shown yet
    bool IsWinNT = true;
    int PrintCorrX = 0, PrintCorrY = 0;       // print correction, whole millimetres
    int CorrOffsetX = 0, CorrOffsetY = 0;     // the correction for the current print, screen pixels
    int LabelOffsetX = 0, LabelOffsetY = 0;   // the surface corner on the sheet, screen pixels
    int PhysOffsetX = 0, PhysOffsetY = 0;     // minus the printer's physical page offset
    std::unique_ptr<TAccessDBEntry> LastEntry; // the current disc record

    void SetStartFile(const QString& fileName) { StartFile = fileName; }
    QString GetStartDir() const { return StartDir; }
    QString GetAppDir() const { return AppDir; }
    // The path with its "~" components replaced by the names found on disk.
    static QString ExpandLongPathName(const QString& path);
    // The settings file "velkaro3.ini" in WinDir.
    QString SettingsFileName() const;
    // The folder of the settings file: the user's configuration folder.
    static QString ConfigDir();

    void FormCreate(TComponent* sender);
    void FormShow(TComponent* sender);
    void FormCloseQuery(TComponent* sender, bool& canClose);
    void FormDestroy(TComponent* sender);
    void mnExitClick(TComponent* sender);

    // ------------------------------------------------ label document
    bool Modified = false;
    TWinControl* ObjectParent = nullptr;
    TControl* SelectedObject = nullptr;
    bool TextEditMode = false;
    QString DocumentFileName;

    void SetModified();
    void SetDocumentFileName(const QString& fileName);
    // Asks whether to save a modified document; Cancel ends the calling command (EAbort).
    void AskSaveChanges();
    void RenumberObjects();
    void DeleteObjects(bool all);
    static void FitProportional(int imageWidth, int imageHeight, int boxWidth, int boxHeight, int& width, int& height);
    // Objects: the components with Tag 1 or 2.
    int ObjectCount() const;
    static bool IsObject(const TComponent* c) { return c && (c->Tag() == 1 || c->Tag() == 2); }
    bool NothingSelected() const { return SelectedObject == SizeLabel; }

    // ------------------------------------------------ template parameters
    void CreateTemplateParams(bool isKrab, bool sirka, double okraj, double stred, double left, double top,
                              double left2, double top2, double width2, double height2, int typ, const QString& name);
    QString GetTemplateParam(const QString& key) const;
    bool GetTemplateFlag(const QString& key) const;
    void DeleteTemplateParams();

    // ------------------------------------------------ project and style files
    void btnSaveClick(TComponent* sender);
    void mnuSaveAsClick(TComponent* sender);
    // Writes the project file: one record per saved component.
    void UlozSoubor(const QString& fileName);

    // ------------------------------------------------ language texts
    QString sUntitled = QStringLiteral("Untitled");
    QString sSouborNeniUlozen = QStringLiteral("Error");
    QString sDotaz = QStringLiteral("Error");
    QString sChyba = QStringLiteral("Error");
    QString sChybaVypocetRadius = QStringLiteral("Error");
    QString sChybaVypocetRadiusZobrazeni = QStringLiteral("Error");
    QString sNelzePrecistObjekt = QStringLiteral("Error");
    QString sZadnePozadi = QStringLiteral("Error");
    QString sZadnyStyl = QStringLiteral("Error");
    QString sChybaCteniPozadi = QStringLiteral("Error");
    QString sChybaCteniSablony = QStringLiteral("Error");
    QString sTiskOramovani = QStringLiteral("Error");
    QString sPrintTitle = QStringLiteral("Error");
    QString sObdelnik = QStringLiteral("Error");
    QString sKruh = QStringLiteral("Error");
    QString sZaoblenyObdelnik = QStringLiteral("Error");
    QString sVyberteSlozku = QStringLiteral("Error");

    // ------------------------------------------------ controls of the window
    TToolBar* ToolBar1 = nullptr;   // top tool bar
    TToolBar* ToolBar2 = nullptr;   // left tool bar
    TStatusBar* StatusBar = nullptr;
    TPanel* PNLR = nullptr;         // the right-hand column (layers, side panels)
    TScrollBox* ScrollBox = nullptr;
    TImage* BckImg = nullptr;       // white backing under the surface
    TPanel* BckPnl = nullptr;       // holder of the rulers
    TPanel* PNLCD = nullptr;        // the design surface
    TImage* IMGBck = nullptr;       // the background picture (Tag 3)
    TImage* TopVSA = nullptr;       // rubber band surface of the shape tools
    TPanel* PanelStyl = nullptr;    // hidden holder of helper controls
    TImage* BilyImg = nullptr;      // a plain white picture
    TLabel* SizeLabel = nullptr;    // measures text; stands for "nothing selected"
    TImage* SizeImage = nullptr;    // measures pictures
    TOpenDialog* OpenDialog = nullptr;
    TSaveDialog* SaveDialog = nullptr;
    TSkinData* SkinData1 = nullptr;  // the skin of every window; holds the default skin

    // ======== Areas of the window. Each area keeps its members and handlers
    // between its markers and its code in its own source file; its controls
    // are made by its Create...() function, called from the constructor.

    // ==== surface: design surface geometry, mask, guides, rulers, view switches
    // ==== end surface

    // ==== selection: selection frame, handles, moving, resizing, nudging, delete
    // ==== end selection

    // ==== creating: text, pictures, logos, cover, background, shapes, popup menus
    // ==== end creating

    // ==== layers: the layer list
    // ==== end layers

    // ==== sidepanel: background and style lists, collapsible panels, property links
    // ==== end sidepanel

    // ==== files: New, Open, change of template, styles, rebuilders
    // ==== end files

    // ==== commands: main menu, tool bars, shortcuts, help
    // ==== end commands

    // ==== printing: print command, print correction
    void mnKorTiskClick(TComponent* sender);
    // The print command: the design on one page at the template's place on the
    // sheet plus the print correction, white outside the label, cut frames.
    void btnPrintClick(TComponent* sender);
    // Printer pixels from screen pixels, by the printer's resolution per axis.
    int PrnScaleX(int n);
    int PrnScaleY(int n);
    void PrintLabel(TLabel* label);
    void PrintMemoLines(TMemo* memo);
    void PrintImage(TCanvas* canvas, TImage* image);
    void PrintTransparentImage(TCanvas* canvas, TImage* image);
    void PrintShape(TShape* shape);
    void PrintBackground(TImage* image);
    void DrawBitmapDIB(TCanvas* canvas, const TRect& rect, TBitmap* bitmap);
    void PrintWhiteMask();
    void PrintCutFrame();
    void PrintInnerCutFrame();
    void TiskRamClick(TComponent* sender);
    void Barvarmovn1Click(TComponent* sender);
    TMenuItem* TiskRam = nullptr;     // "Tisknout orámování": print the cut frames of a box
    TMenuItem* Barvarmovn1 = nullptr; // "Barva rámování": colour of the guides and cut frames
    TColorDialog* BarvaRamu = nullptr;
    TPrintDialog* PrintDialog = nullptr;
    TMemo* PrintMemo = nullptr;       // splits a text object's caption into lines
    TColor CutFrameColor = clRed;     // the guides' colour, until the guides are on the window
    void CreatePrintingControls();
    // ==== end printing

    // ==== textedit: in-place text editing
    // ==== end textedit

    // ==== vectortext: circular text and text drawn as a vector picture
    // ==== end vectortext

    // ==== catalogue: audio-disc lookup and the catalogue window
    // ==== end catalogue

    // ==== other: cloning, shape and picture properties, lists, export, skin
    // ==== end other

private:
    void CreateStartupControls();
};

// The main window of the running program (the form variable).
extern TFrmMain* FrmMain;
