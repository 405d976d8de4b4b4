#pragma once
// The main window: the label document (objects owned by the window, in
// stacking order), the design surface and every command of the designer.
// The class is large by nature; its parts live in one source file per area.

#include "classlib/controls/com_controls.h"
#include "classlib/controls/ext_controls.h"
#include "classlib/controls/image.h"
#include "classlib/controls/std_controls.h"
#include "classlib/controls/trans_memo.h"
#include "classlib/forms/dialogs.h"
#include "classlib/forms/form.h"
#include "classlib/forms/menus.h"
#include "catalogue/cddb_entry.h"
#include "skin/skin_data.h"

#include <functional>
#include <memory>
#include <vector>

class TBitmap;

class TFrmMain : public TForm {
public:
    TV_CLASS_NAME(TFrmMain)
    explicit TFrmMain(TComponent* owner);
    ~TFrmMain() override;

    // ------------------------------------------------ start-up and closing
    // Application-wide values of the main window.
    QString StartDir;      // current directory at start-up
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
    // A skin file named in the settings: a relative name lies in AppDir.
    QString SkinFilePath(const QString& name) const;

    void FormCreate(TComponent* sender);
    void FormShow(TComponent* sender);
    void FormCloseQuery(TComponent* sender, bool& canClose);
    void FormDestroy(TComponent* sender);
    void mnExitClick(TComponent* sender);
    // Gives the skin component the skin file the settings name; one that
    // cannot be read is named to the user, with skinning on, once.
    void ApplySettingsSkinFile(const QString& fileName, bool report);
    QString FReportedSkinFile;

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
    // A design has a template once it holds its parameters (an empty project has none).
    bool HasTemplate() const;
    // What a print says of a design without a template, and what an export
    // asked to cut one says.
    static QString sBezSablony();
    static QString sBezSablonyOrez();
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
    QString sCDDBNezdar = QStringLiteral("Vyhledání CD v databázi CDDB se nezdařilo, zobrazí se uložená databáze.");
    QString sCDDBNeodpovida = QStringLiteral("Server CDDB neodpověděl.");
    QString sCDDBChybaHTTP = QStringLiteral("Server CDDB ohlásil chybu HTTP %1.");
    QString sCDDBNesrozumitelna = QStringLiteral("Odpovědi serveru CDDB program nerozumí.");
    QString sCDDBPrerusena = QStringLiteral("Odpověď serveru CDDB nepřišla celá.");
    QString sCDDBPomala = QStringLiteral("Server CDDB posílal odpověď příliš pomalu.");
    QString sCDDBPrilisVelka = QStringLiteral("Odpověď serveru CDDB je příliš velká.");

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
    // Millimetres to screen pixels: Trunc(pixels per inch * mm / 25,4).
    int MmToPixels(double mm) const;
    void SetupCDSurface(double outer, double hole);
    void SetupBoxSurface(bool sirka, double left, double top, double w, double h, double left2, double top2,
                         double width2, double height2);
    // A guide's window region: the one-pixel outline of the shape with corners (x1, y1), (x2, y2).
    void SetRectGuideRegion(TPanel* guide, int x1, int y1, int x2, int y2);
    void SetEllipseGuideRegion(TPanel* guide, int x1, int y1, int x2, int y2);
    void SetDiscMaskRegion(bool bleed, double outer, double hole);
    void DrawRulers();
    void btnLayer01Click(TComponent* sender);
    void btnKrizClick(TComponent* sender);
    void vis1Click(TComponent* sender);
    void bck2Click(TComponent* sender);
    void bck3Click(TComponent* sender);
    void VK1PMouseDown(TComponent* sender, TMouseButton button, TShiftState shift, int x, int y);
    void PopupMenuIMGPopup(TComponent* sender);
    void PopupMenuBckPopup(TComponent* sender);

    TPanel* VK1 = nullptr;    // the mask over everything outside the label
    TShape* VK1P = nullptr;   // its hatch
    TImage* VK1T = nullptr;   // takes the mouse on the masked area
    TPanel* C1Min = nullptr;  // label edge
    TPanel* C1Max = nullptr;  // bleed edge (the panel's edge)
    TPanel* C2Min = nullptr;  // hole, or the inner rectangle of a box
    TPanel* C2Max = nullptr;  // hole less the bleed into it
    TPanel* K1 = nullptr;     // centre cross, vertical
    TPanel* K2 = nullptr;     // centre cross, horizontal
    TImage* VRull = nullptr;  // the rulers
    TToolButton* btnLayer01 = nullptr; // outline view
    TToolButton* btnKriz = nullptr;    // bleed view with the centre cross
    void CreateSurfaceControls();
    // ==== end surface

    // ==== selection: selection frame, handles, moving, resizing, nudging, delete
    void ShowSelectionFrame(int left, int top, int width, int height);
    void HideSelectionFrame();
    void ShowCentreLines(bool visible);
    void ShowCircleCentreLines(bool visible);
    void TOPClkMouseDown(TComponent* sender, TMouseButton button, TShiftState shift, int x, int y);
    void TOPClkMouseMove(TComponent* sender, TShiftState shift, int x, int y);
    void TOPClkMouseUp(TComponent* sender, TMouseButton button, TShiftState shift, int x, int y);
    void VK1TClick(TComponent* sender);

    // Mouse handlers of the object kinds.
    void LabelMouseDown(TComponent* sender, TMouseButton button, TShiftState shift, int x, int y);
    void LabelMouseMove(TComponent* sender, TShiftState shift, int x, int y);
    void LabelMouseUp(TComponent* sender, TMouseButton button, TShiftState shift, int x, int y);
    void LabelDblClick(TComponent* sender);
    void ImageMouseDown(TComponent* sender, TMouseButton button, TShiftState shift, int x, int y);
    void ImageMouseMove(TComponent* sender, TShiftState shift, int x, int y);
    void ImageMouseUp(TComponent* sender, TMouseButton button, TShiftState shift, int x, int y);
    void TextImgMouseDown(TComponent* sender, TMouseButton button, TShiftState shift, int x, int y);
    void TextImgMouseMove(TComponent* sender, TShiftState shift, int x, int y);
    void TextImgMouseUp(TComponent* sender, TMouseButton button, TShiftState shift, int x, int y);
    void ShapeMouseDown(TComponent* sender, TMouseButton button, TShiftState shift, int x, int y);
    void ShapeMouseMove(TComponent* sender, TShiftState shift, int x, int y);
    void ShapeMouseUp(TComponent* sender, TMouseButton button, TShiftState shift, int x, int y);
    void ShapeContextPopup(TComponent* sender, TPoint mousePos, bool& handled);
    // The shared bodies (circular text uses the press and release ends too).
    void ObjectMouseDown(TControl* object, bool leavesTextMode, int x, int y);
    void ObjectMouseMove(TControl* object, int x, int y);
    // Moves the object by (dx, dy), keeping its grab point on the surface.
    void DragObject(TControl* object, int dx, int dy);
    void ObjectMouseUp(TControl* object);

    // The eight handles; each copy inside the mask shares its mark's handlers.
    enum THandleKind { hkPRB, hkPLB, hkPR, hkPL, hkPR1, hkPB1, hkPL1, hkPT1 };
    void HandleMouseDown(THandleKind kind, int x, int y);
    void HandleMouseMove(THandleKind kind, TShiftState shift, int x, int y);
    void HandleMouseUp();
    void PRBMouseDown(TComponent*, TMouseButton, TShiftState, int x, int y) { HandleMouseDown(hkPRB, x, y); }
    void PLBMouseDown(TComponent*, TMouseButton, TShiftState, int x, int y) { HandleMouseDown(hkPLB, x, y); }
    void PRMouseDown(TComponent*, TMouseButton, TShiftState, int x, int y) { HandleMouseDown(hkPR, x, y); }
    void PLMouseDown(TComponent*, TMouseButton, TShiftState, int x, int y) { HandleMouseDown(hkPL, x, y); }
    void PR1MouseDown(TComponent*, TMouseButton, TShiftState, int x, int y) { HandleMouseDown(hkPR1, x, y); }
    void PB1MouseDown(TComponent*, TMouseButton, TShiftState, int x, int y) { HandleMouseDown(hkPB1, x, y); }
    void PL1MouseDown(TComponent*, TMouseButton, TShiftState, int x, int y) { HandleMouseDown(hkPL1, x, y); }
    void PT1MouseDown(TComponent*, TMouseButton, TShiftState, int x, int y) { HandleMouseDown(hkPT1, x, y); }
    void PRBMouseMove(TComponent*, TShiftState s, int x, int y) { HandleMouseMove(hkPRB, s, x, y); }
    void PLBMouseMove(TComponent*, TShiftState s, int x, int y) { HandleMouseMove(hkPLB, s, x, y); }
    void PRMouseMove(TComponent*, TShiftState s, int x, int y) { HandleMouseMove(hkPR, s, x, y); }
    void PLMouseMove(TComponent*, TShiftState s, int x, int y) { HandleMouseMove(hkPL, s, x, y); }
    void PR1MouseMove(TComponent*, TShiftState s, int x, int y) { HandleMouseMove(hkPR1, s, x, y); }
    void PB1MouseMove(TComponent*, TShiftState s, int x, int y) { HandleMouseMove(hkPB1, s, x, y); }
    void PL1MouseMove(TComponent*, TShiftState s, int x, int y) { HandleMouseMove(hkPL1, s, x, y); }
    void PT1MouseMove(TComponent*, TShiftState s, int x, int y) { HandleMouseMove(hkPT1, s, x, y); }
    void PRBMouseUp(TComponent*, TMouseButton, TShiftState, int, int) { HandleMouseUp(); }
    void PLBMouseUp(TComponent*, TMouseButton, TShiftState, int, int) { HandleMouseUp(); }
    void PRMouseUp(TComponent*, TMouseButton, TShiftState, int, int) { HandleMouseUp(); }
    void PLMouseUp(TComponent*, TMouseButton, TShiftState, int, int) { HandleMouseUp(); }
    void PR1MouseUp(TComponent*, TMouseButton, TShiftState, int, int) { HandleMouseUp(); }
    void PB1MouseUp(TComponent*, TMouseButton, TShiftState, int, int) { HandleMouseUp(); }
    void PL1MouseUp(TComponent*, TMouseButton, TShiftState, int, int) { HandleMouseUp(); }
    void PT1MouseUp(TComponent*, TMouseButton, TShiftState, int, int) { HandleMouseUp(); }

    void FormShortCut(int key, TShiftState shift, bool& handled);
    void mnuSmazat1Click(TComponent* sender);
    void mnEditClick(TComponent* sender);
    void PopupMenuTxtPopup(TComponent* sender);

    bool Dragging = false;          // a drag of the selected object is under way
    int DownX = 0, DownY = 0;       // the grab point inside the object
    bool Resizing = false;          // a resize by a handle is under way
    int ResizeA = 0, ResizeB = 0, ResizeC = 0, ResizeD = 0; // stored at the handle press

    // Frame lines, handles, centre lines and their copies inside the mask.
    TShape *RT = nullptr, *RB = nullptr, *RL = nullptr, *RR = nullptr;
    TShape *RT1 = nullptr, *RB1 = nullptr, *RL1 = nullptr, *RR1 = nullptr;
    TShape *PL = nullptr, *PR = nullptr, *PLB = nullptr, *PRB = nullptr;
    TShape *PT1 = nullptr, *PB1 = nullptr, *PL1 = nullptr, *PR1 = nullptr;
    TShape *PLS = nullptr, *PRS = nullptr, *PLBS = nullptr, *PRBS = nullptr;
    TShape *PT2 = nullptr, *PB2 = nullptr, *PL2 = nullptr, *PR2 = nullptr;
    TShape *HK = nullptr, *VK = nullptr, *H2K = nullptr, *V2K = nullptr;
    TImage* TOPClk = nullptr; // mouse catcher over the selected object, inside the mask

    // Hooks of the areas that keep their own marks and editor; empty until
    // those areas fill them in.
    std::function<void()> HideCircleMarks;             // the circle guide and its handles
    std::function<void(TControl*)> ShowCircleGuide;    // a circular text's guide
    std::function<void(TControl*, int, int)> MoveCircleCentre; // keyboard step of a circular text
    std::function<void(TControl*)> RedrawTextImage;    // text as picture at its new size
    std::function<bool()> TextEditorShowing;           // the in-place editor is shown
    std::function<void()> HideTextEditor;
    std::function<void(bool)> SetTextModeButton;       // press or release text mode and run its action
    std::function<void(TControl*)> OpenTextEditor;     // a press on a text object in text mode
    std::function<void(TControl*)> PlaceTextEditor;    // the editor takes the object's bounds
    bool EditorShowing() const { return TextEditorShowing && TextEditorShowing(); }
    void CreateSelectionControls();
    // ==== end selection

    // ==== creating: text, pictures, logos, cover, background, shapes, popup menus
    // Adds a text object on top and selects it; fontSize 0 keeps the dialog font's size.
    void AddTextObject(const QString& text, int fontSize);
    void btnText2Click(TComponent* sender);
    void btnImg2Click(TComponent* sender);
    void ComObalClick(TComponent* sender);
    void Logo1Click(TComponent* sender);
    void BtnPozadi2Click(TComponent* sender);
    void btnRect2Click(TComponent* sender);
    void btnRound2Click(TComponent* sender);
    void btnCircl2Click(TComponent* sender);
    void vl6Click(TComponent* sender);
    void vl7Click(TComponent* sender);
    void vl8Click(TComponent* sender);
    void VK1TMouseDown(TComponent* sender, TMouseButton button, TShiftState shift, int x, int y);
    void VK1TMouseMove(TComponent* sender, TShiftState shift, int x, int y);
    void VK1TMouseUp(TComponent* sender, TMouseButton button, TShiftState shift, int x, int y);
    TRect NormalizeDragRect(TPoint start, TPoint end) const;
    // The common end of every creation: select, renumber, list, links, frame.
    void FinishNewObject(TControl* object, bool showFrame = true, bool buildLinks = true);
    void SetObjectHandlers(TControl* object);

    bool ShapeDragging = false;
    TPoint ShapeDragStart, ShapeDragEnd; // PNLCD client pixels
    // The rubber band of the shape tools, drawn over the surface.
    QImage& RubberBandImage();
    void DrawRubberBand(const TRect& r);

    TPopupMenu *PopupMenuTxt = nullptr, *PopupMenuBck = nullptr, *PopupMenuIMG = nullptr;
    TPopupMenu *PopupMenuSHP = nullptr, *PopupMenuCircl = nullptr, *PopupMenuTxtImg = nullptr;
    TMenuItem *txt1 = nullptr, *txt2 = nullptr, *txt3 = nullptr, *mnuSmazat1 = nullptr;
    TMenuItem *bck1 = nullptr, *bck2 = nullptr, *bck3 = nullptr;
    TMenuItem *img1 = nullptr, *img2 = nullptr, *img3 = nullptr;
    TMenuItem *shp1 = nullptr, *shp2 = nullptr, *shp3 = nullptr, *shp4 = nullptr;
    TMenuItem *crc1 = nullptr, *crc2 = nullptr, *crc3 = nullptr;
    TMenuItem *tim1 = nullptr, *tim2 = nullptr, *tim3 = nullptr;
    TOpenPictureDialog* OpenPictureDialog = nullptr;
    TOpenPictureDialog* OpenPictureLogo = nullptr;
    TToolButton *BtnPozadi = nullptr, *btnImg = nullptr, *btnText = nullptr;
    TToolButton *btnRound = nullptr, *btnRect = nullptr, *btnCircl = nullptr;
    TToolButton *ToolButton7 = nullptr, *ToolButton10 = nullptr;
    TImageList* ToolBarImages = nullptr;
    void CreateCreatingControls();

private:
    enum TPictureKind { pkPicture, pkLogo, pkCover };
    void InsertPicture(TPictureKind kind);
    void EndShapeTool();
    QWidget* FRubberBand = nullptr;

public:
    // ==== end creating

    // ==== layers: the layer list
    // Line i of the list stands for the object at component index N-1-i (and back); 0 outside.
    int LayerIndexOf(int index) const;
    // An object's name as its layer line shows it: a text's lines stand apart.
    static QString LayerName(const TControl* c);
    void RebuildLayerList();
    void SelectObjectByIndex(int componentIndex);
    void VrstvyClick(TComponent* sender);
    void VrstvyDragOver(TComponent* sender, TComponent* source, int x, int y, TDragState state, bool& accept);
    void VrstvyDragDrop(TComponent* sender, TComponent* source, int x, int y);
    void VrstvyDrawItem(TComponent* control, int index, TRect rect, TOwnerDrawState state);
    void VrstvyMouseUp(TComponent* sender, TMouseButton button, TShiftState shift, int x, int y);
    void btnZobrazeniClick(TComponent* sender);
    void btnZamkniClick(TComponent* sender);
    void txSkrytZobrazitClick(TComponent* sender);
    void TxZamkniClick(TComponent* sender);
    void ScrollBoxClick(TComponent* sender);
    // The look of a link label under the mouse and after it.
    void LinkMouseMove(TComponent* sender, TShiftState shift, int x, int y);
    void LinkMouseLeave(TComponent* sender);

    TListBox* Vrstvy = nullptr;
    TImageList* ImageListV = nullptr; // 0 visible, 1 locked, 2 hidden
    TButton* btnZamkni = nullptr;     // hidden
    TButton* btnZobrazeni = nullptr;  // hidden
    TLabel* TxZamkni = nullptr;
    TLabel* txSkrytZobrazit = nullptr;
    TImage* imgBryle = nullptr;
    TImage* imgKlic = nullptr;
    void CreateLayersControls();
    // ==== end layers

    // ==== sidepanel: background and style lists, collapsible panels, property links
    void FillBackgroundList();
    void FillStyleList();
    void lComboPozadiChange(TComponent* sender);
    void LbtnR1Click(TComponent* sender);
    void LbtnL1Click(TComponent* sender);
    void P3L1Click(TComponent* sender);
    void LbtnPozadiClick(TComponent* sender);
    void P4L1Click(TComponent* sender);
    void CollapsePanel(TPanel* panel);
    void ExpandPanel(TPanel* panel, int height);
    void SwapArrowImages(TImage* up, TImage* down);
    void i1upClick(TComponent* sender);
    void i1downClick(TComponent* sender);
    void i2upClick(TComponent* sender);
    void i2downClick(TComponent* sender);
    void i3upClick(TComponent* sender);
    void i3downClick(TComponent* sender);
    void i4upClick(TComponent* sender);
    void i4downClick(TComponent* sender);
    void BuildPropertyLinks();
    void FormResize(TComponent* sender);
    void ApplicationHint(TComponent* sender);
    // Gives a link label the look of one of the three font holders.
    static void SetLinkLook(TLabel* link, const TLabel* look);
    // The end marks of a list's previous/next links.
    void MarkListEnds(TComboBox* list, TLabel* back, TLabel* next);

    TComboBox* lComboPozadi = nullptr;
    TComboBox* lComboStyly = nullptr;
    TButton* LbtnPozadi = nullptr;
    TButton* LbtnStyly = nullptr;
    TLabel *NormalFont = nullptr, *MouseFont = nullptr, *DisableFont = nullptr;
    TPanel *pnlVrstvy = nullptr, *pnlVlastnosti = nullptr, *PnlPozadi = nullptr, *PnlSablony = nullptr;
    TImage *TPnlVrstvy = nullptr, *TPnlVlastnosti = nullptr, *TPnlPozadi = nullptr, *TPnlSablony = nullptr;
    TLabel *PP1 = nullptr, *PP2 = nullptr, *PP3 = nullptr, *PP4 = nullptr;
    TImage *i1up = nullptr, *i1down = nullptr, *i2up = nullptr, *i2down = nullptr;
    TImage *i3up = nullptr, *i3down = nullptr, *i4up = nullptr, *i4down = nullptr;
    TLabel *P3L1 = nullptr, *P3L2 = nullptr, *P3L3 = nullptr, *NazevPozadi = nullptr;
    TLabel *SLblBack = nullptr, *SLblNext = nullptr;
    TLabel *P4L1 = nullptr, *P4L2 = nullptr, *NazevSablony = nullptr;
    TLabel *SbLblBack = nullptr, *SbLblNext = nullptr;
    int PanelOffset1 = 0, PanelOffset2 = 0, PanelOffset3 = 0; // how far the first three panels are rolled up
    void CreateSidePanelControls();

private:
    int* PanelOffset(TPanel* panel);
    void FreeOldLinks();
    std::function<void()> FPlaceSidePanels;
    std::vector<TLabel*> FOldLinks; // links taken off the panel, freed after the command
    bool FFreeLinksQueued = false;

public:
    // ==== end sidepanel

    // ==== files: New, Open, change of template, styles, rebuilders
    void mnNewClick(TComponent* sender);
    void btnOpenClick(TComponent* sender);
    // Reads a project file into the window: objects, background, template.
    void OtevriSoubor(const QString& fileName);
    void sbr3Click(TComponent* sender);
    void lComboStylyChange(TComponent* sender);
    void LbtnR2Click(TComponent* sender);
    void LbtnL2Click(TComponent* sender);
    void LbtnStylyClick(TComponent* sender);
    // Rebuilders: a live object of the record's kind, selected, with the
    // handlers and popup menu of its kind.
    TControl* CreateImageFrom(TComponent* source);
    TControl* CreateLabelFrom(TComponent* source);
    TControl* CreateShapeFrom(TComponent* source);
    // (CreateTextImgFrom and CreateCircTextFrom live with the picture texts.)
    void CreateFilesControls();

    // Reading a project or style file and checking what it holds needs no
    // window: everything that can fail on the file's content fails here.
    using TRecordList = std::vector<std::unique_ptr<TComponent>>;
    // Reads records to the end of the stream; false when one cannot be read
    // (those before it are in the list).
    static bool ReadRecordList(QIODevice& stream, TRecordList& records);
    // The records of a project or style file; false when it cannot be read
    // whole, with the reason in refusal when it was refused for its size or
    // kind or could not be opened (empty for a damaged file).
    static bool ReadRecordFile(const QString& fileName, TRecordList& records, QString& refusal);
    // The disc sizes and box numbers a project's records will give, checked
    // before anything is built from them; false when a number the design
    // converts later (a length, the template type) is none.
    static bool CheckProjectRecords(const TRecordList& records, double& outer, double& hole, double box[8]);

private:
    // Replaces the design with what the checked records hold.
    void BuildFromRecords(TRecordList& records, double outer, double hole, const double box[8]);
    // Builds what one record holds into the design; false when it cannot.
    bool ApplyDesignRecord(TComponent* record, bool style);
    TControl* RebuildObject(TComponent* source);

public:
    // ==== end files

    // ==== commands: main menu, tool bars, shortcuts, help
    void mnVisClick(TComponent* sender);
    void hl1Click(TComponent* sender);
    void hl2Click(TComponent* sender);
    void Skinprogramu1Click(TComponent* sender);

    TMainMenu* MainMenu1 = nullptr;
    TMenuItem *mnFile = nullptr, *mnNew = nullptr, *sbr1 = nullptr, *sbr2 = nullptr, *mnuSaveAs = nullptr;
    TMenuItem *N8 = nullptr, *sbr3 = nullptr, *N1 = nullptr, *sbr4 = nullptr, *Export1 = nullptr, *N2 = nullptr;
    TMenuItem *mnExit = nullptr;
    TMenuItem *mnEdit = nullptr, *mnuSmazat = nullptr, *Klonovatobjekt1 = nullptr, *N12 = nullptr, *upr1 = nullptr;
    TMenuItem *upr2 = nullptr, *VloitobsahCDzCDDB1 = nullptr;
    TMenuItem *mnSet = nullptr, *mnKorTisk = nullptr, *N13 = nullptr, *Skinprogramu1 = nullptr;
    TMenuItem *mnVis = nullptr, *vis1 = nullptr, *N11 = nullptr;
    TMenuItem *mnIns = nullptr, *vl1 = nullptr, *vl2 = nullptr, *ComObal = nullptr, *Logo1 = nullptr, *N10 = nullptr;
    TMenuItem *vl3 = nullptr, *vl4 = nullptr, *vl5 = nullptr, *N9 = nullptr, *vl6 = nullptr, *vl7 = nullptr;
    TMenuItem *vl8 = nullptr;
    TMenuItem *mnHelp = nullptr, *hl1 = nullptr, *N3 = nullptr, *hl2 = nullptr, *Zjistitnovouverzi1 = nullptr;
    TToolButton *btnNew = nullptr, *btnOpen = nullptr, *btnSave = nullptr;
    TToolButton* btnTextMode = nullptr; // hidden; down while text mode is on
    TToolButton *btnPrint = nullptr, *ToolButton8 = nullptr;
    void CreateCommandsControls();
    // Puts the menus and tool bars in their order, once every area has made
    // its items and buttons; runs last in the constructor.
    void ArrangeCommands();
    // ==== end commands

    // ==== printing: print command, print correction
    void mnKorTiskClick(TComponent* sender);
    // The print command: the design on one page at the template's place on the
    // sheet plus the print correction, white outside the label, cut frames.
    void btnPrintClick(TComponent* sender);
    // Printer pixels from screen pixels, by the printer's resolution per axis.
    int PrnScaleX(int n);
    int PrnScaleY(int n);
    // Where a surface position lands on the page: label place and correction
    // added, scaled, less the printer's unprintable margin.
    int PageX(long long x);
    int PageY(long long y);
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
    void CreatePrintingControls();
    // ==== end printing

    // ==== textedit: in-place text editing
    void btnTextModeClick(TComponent* sender);
    void txt1Click(TComponent* sender); // object mode
    void txt2Click(TComponent* sender); // text mode, and the editor over a selected text
    void txt3Click(TComponent* sender); // the font of the selected text
    void EditMemoChange(TComponent* sender);
    // Sizes the editor and the selected text object to the object's text.
    void FitTextEditor();
    void SizeLabelMouseDown(TComponent* sender, TMouseButton button, TShiftState shift, int x, int y);
    // A press on a text object in text mode: the editor takes its place.
    void OpenEditMemo(TControl* object);
    // The selection is a text object (the measuring label is none).
    bool TextSelected() const;

    TTransMemo* EditMemo = nullptr;       // the in-place editor
    TFontDialog* TextFontDialog = nullptr;
    void CreateTextEditControls();

private:
    void SetEditMemoRect();
    void SetDeleteShortCut(bool on);
    // Hides the editor and shows the text it stood over again.
    void EndTextEditing();
    TControl* FEditedObject = nullptr; // the text under the editor, while it is open

public:
    // ==== end textedit

    // ==== vectortext: circular text and text drawn as a vector picture
    // The circle guide of a selected circular text: Circl1 holds the circle's
    // bounds (never shown), Circl2 shows it as a one-pixel ring; radius
    // handles CT, CR, CB, CL and rotation handles IR1..IR4.
    TShape* Circl1 = nullptr;
    TPanel* Circl2 = nullptr;
    TShape *CT = nullptr, *CR = nullptr, *CB = nullptr, *CL = nullptr;
    TImage *IR1 = nullptr, *IR2 = nullptr, *IR3 = nullptr, *IR4 = nullptr;
    bool RotateActive = false;
    int RotateAngle = 0;
    bool RadiusActive = false;
    bool RadiusWarned = false; // the radius drag under way has warned
    // Whether the object's text can be laid out on a circle of that radius.
    bool CircularTextFits(TControl* object, int radius);
    void CreateVectorTextControls();
    // The redraws of the two kinds, measuring with SizeLabel and warning with
    // this window's texts. RenderTextImage takes the style flags from the
    // selected object and gives it the font.
    void RenderCircularText(TControl* object, int radius, int angle, const QString& text);
    // A circular text drawn again from its own radius, angle and text.
    void RedrawCircularText(TControl* object);
    void RenderTextImage(TControl* object, const TFont* font, int angle, const QString& text);
    // Places and shows the guide ring and the eight handles for a circular text.
    void PlaceCircleGuide(TControl* object);
    void HideCircleGuide();
    void SetCircleRingRegion(TWinControl* control, int left, int top, int right, int bottom);
    void IR2MouseDown(TComponent* sender, TMouseButton button, TShiftState shift, int x, int y);
    void IR2MouseMove(TComponent* sender, TShiftState shift, int x, int y);
    void IR2MouseUp(TComponent* sender, TMouseButton button, TShiftState shift, int x, int y);
    void CTMouseDown(TComponent* sender, TMouseButton button, TShiftState shift, int x, int y);
    void CTMouseUp(TComponent* sender, TMouseButton button, TShiftState shift, int x, int y);
    void CTMouseMove(TComponent* sender, TShiftState shift, int x, int y);
    void CRMouseMove(TComponent* sender, TShiftState shift, int x, int y);
    void CBMouseMove(TComponent* sender, TShiftState shift, int x, int y);
    void CLMouseMove(TComponent* sender, TShiftState shift, int x, int y);
    // Moves the radius of the selected circular text by delta and redraws it.
    void RadiusHandleMove(int delta);

    TToolButton *btnTextImg = nullptr, *btnKruhText = nullptr;
    // The insert buttons, the popup commands and the hooks of the other areas.
    void BindVectorTextCommands();
    void btnKruhText2Click(TComponent* sender);
    void btnTextImgClick(TComponent* sender);
    void crc1Click(TComponent* sender);
    void crc2Click(TComponent* sender);
    void tim1Click(TComponent* sender);
    void tim2Click(TComponent* sender);
    // The properties of the selected text as picture, the dialog opened on page.
    void EditTextImage(int page);
    // Mouse of a circular text: a drag moves the centre in its parameter string.
    void CircTextMouseDown(TComponent* sender, TMouseButton button, TShiftState shift, int x, int y);
    void CircTextMouseMove(TComponent* sender, TShiftState shift, int x, int y);
    void CircTextMouseUp(TComponent* sender, TMouseButton button, TShiftState shift, int x, int y);
    int CircPressLeft = 0, CircPressTop = 0;     // the object at the press
    int GuidePressLeft = 0, GuidePressTop = 0;   // Circl1 at the press
    void SetCircTextHandlers(TControl* object);
    // A new circular text of the font and text, centred on the panel at radius
    // 150 and angle 0, made the selection and listed.
    void AddCircText(const TFont* font, const QString& text);
    // Rebuilders of project and style files: a new object from a read one.
    void CreateTextImgFrom(TComponent* read);
    void CreateCircTextFrom(TComponent* read);
    // ==== end vectortext

    // ==== catalogue: audio-disc lookup and the catalogue window
    class TCDInfo* CDInfo1 = nullptr;           // the disc reader
    class TCDDBConnect* CDDBConnect1 = nullptr; // the lookup client; its DeviceName names the drive
    class TCDDatabase* CDDatabase1 = nullptr;   // makes sure the catalogue file exists
    void CreateCatalogueControls();
    // "Vložit obsah CD z CDDB": looks the disc up and shows the catalogue window.
    void VloitobsahCDzCDDB1Click(TComponent* sender);
    // Finds the disc in the drive in the catalogue or online; errors are swallowed.
    // Looks the disc up; empty when it was found, entered or left by the user,
    // else the message that says why the lookup failed.
    QString LookupInsertedCD();
    // The disc reader on the lookup client's drive (reopened when that changes).
    class TCDInfo& DiscReader();
    // Lets the catalogue window insert into this window's design.
    void ConnectCatalogueWindow(class TCDDatabaseForm* form);
    // ==== end catalogue

    // ==== other: cloning, shape and picture properties, lists, export, skin
    // ---- picture properties and blur (img1, img2)
    // The selection when it is exactly a picture object, else null.
    TImage* SelectedPicture() const;
    void img1Click(TComponent* sender);
    void img2Click(TComponent* sender);
    // "Použít" of the properties window: its three check boxes onto the picture.
    void ApplyImageSettings();
    // ---- cloning (Klonovatobjekt1, ToolButton8), shape properties (shp1, shp2, shp3),
    //      file and folder lists (upr1, upr2)
    void BindCloneCommands();
    void BindShapeCommands();
    void CreateFileListControls();
    void Klonovatobjekt1Click(TComponent* sender);
    void CloneTextImg(class TFImage* source);
    void CloneLabel(TLabel* source);
    void CloneCircText(class TCFImage* source);
    void CloneShape(TShape* source);
    void shp1Click(TComponent* sender);
    void shp2Click(TComponent* sender);
    void shp3Click(TComponent* sender);
    // Copies the shape settings dialog to the selected shape; a bound that is
    // no number stops it with EConvertError after what was applied before it.
    void ApplyShapeSettings();
    TShape* SelectedShape() const;
    // The window's colour dialog, made on first use.
    TColorDialog* MainColorDialog();
    void upr1Click(TComponent* sender);
    void upr2Click(TComponent* sender);
    // The folder browser; path is empty when it is cancelled.
    void BrowseForFolder(const QString& title, int flags, QString& path);
    // Removes the last four characters of every line.
    static void StripFileExtensions(TMemo* memo);
    class TFileListBox* FileListBox = nullptr; // hidden: the files of a folder
    TMemo* FileMemo = nullptr;                 // hidden: the lines being inserted
    // ---- end cloning, shape properties, file and folder lists
    // ---- bitmap export (Export1)
    // The design at screen scale into a picture of the surface's size, saved
    // as a Windows bitmap; the options window chooses what goes in.
    void Export1Click(TComponent* sender);
    void ExportPaintBackground(TCanvas* canvas, TImage* image);
    void ExportPaintText(TCanvas* canvas, TLabel* label);
    void ExportPaintImage(TCanvas* canvas, TImage* image);
    void ExportPaintShape(TCanvas* canvas, TShape* shape);
    // Whitens everything outside the label (and its bleed).
    void ExportPaintCutMask(TCanvas* canvas);
    TSavePictureDialog* SavePictureDialog1 = nullptr;
    void CreateExportControls();
    // ---- version check (Zjistitnovouverzi1)
    void Zjistitnovouverzi1Click(TComponent* sender);
    // ==== end other

private:
    void CreateStartupControls();
};

// The main window of the running program (the form variable).
extern TFrmMain* FrmMain;
