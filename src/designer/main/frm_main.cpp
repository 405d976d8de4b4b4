#include "designer/main/frm_main.h"

#include "catalogue/cddb_connect.h"
#include "classlib/forms/application.h"
#include "classlib/forms/message_box.h"
#include "classlib/inifiles.h"
#include "classlib/sysutils.h"
#include "classlib/system_errors.h"
#include "designer/forms/frm_start.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <cerrno>
#include <utility>

TFrmMain* FrmMain = nullptr;

TFrmMain::TFrmMain(TComponent* owner) : TForm(owner)
{
    SetName(QStringLiteral("FrmMain"));
    SetCaption(QStringLiteral("Tessavik"));
    SetBounds(0, 0, 1024, 740);
    SetPosition(poScreenCenter);
    SetShowHint(true);
    Font()->SetName(QStringLiteral("Tahoma"));
    CreateStartupControls();
    CreateSurfaceControls();
    CreateSelectionControls();
    CreateCreatingControls();
    CreateLayersControls();
    CreateSidePanelControls();
    CreateFilesControls();
    CreateCommandsControls();
    // Each area adds its controls here, in this order (it decides the stacking
    // of windows on the surface): surface, selection, creating, layers,
    // sidepanel, files, commands, printing, textedit, vectortext, catalogue, other.
    CreatePrintingControls();
    CreateTextEditControls();
    CreateVectorTextControls();
    CreateCatalogueControls();
    BindCloneCommands();
    BindShapeCommands();
    CreateFileListControls();
    CreateExportControls();
    // The window is read: its components take up their loaded state.
    SkinData1->Loaded();
    // The menus and tool bars take their order once every area has made its part.
    ArrangeCommands();
    OnCreate = [this](TComponent* s) { FormCreate(s); };
    OnShow = [this](TComponent* s) { FormShow(s); };
    OnCloseQuery = [this](TComponent* s, bool& canClose) { FormCloseQuery(s, canClose); };
    OnDestroy = [this](TComponent* s) { FormDestroy(s); };
    if (!FrmMain)
        FrmMain = this;
}

TFrmMain::~TFrmMain()
{
    // The destroy handler and the controls' handlers call into this class: run
    // the one and free the others while the window is still whole.
    RunDestroyHandler();
    delete FRubberBand; // a bare widget on the surface: no control frees it
    DestroyComponents();
    if (FrmMain == this)
        FrmMain = nullptr;
}

// The window's own controls, as its layout resource would make them.
void TFrmMain::CreateStartupControls()
{
    ToolBar1 = Named(new TToolBar(this), "ToolBar1");
    ToolBar1->SetParent(this);
    ToolBar1->SetHeight(26);
    ToolBar1->SetAlign(alTop);

    StatusBar = Named(new TStatusBar(this), "StatusBar");
    StatusBar->SetParent(this);
    StatusBar->AddPanel(700);
    StatusBar->AddPanel(100, taCenter);

    ToolBar2 = Named(new TToolBar(this), "ToolBar2");
    ToolBar2->SetParent(this);
    ToolBar2->SetAlign(alLeft); // a tool bar starts aligned to the top: turn it first
    ToolBar2->SetWidth(30);

    PNLR = Named(new TPanel(this), "PNLR");
    PNLR->SetParent(this);
    PNLR->SetWidth(200);
    PNLR->SetBevelOuter(bvNone);
    PNLR->SetAlign(alRight);
    PNLR->SetColor(clWhite);

    ScrollBox = Named(new TScrollBox(this), "ScrollBox");
    ScrollBox->SetParent(this);
    ScrollBox->SetAlign(alClient);
    ScrollBox->SetColor(clAppWorkSpace);

    BckImg = Named(new TImage(this), "BckImg");
    BckImg->SetParent(ScrollBox);
    BckImg->SetStretch(true);

    BckPnl = Named(new TPanel(this), "BckPnl");
    BckPnl->SetParent(ScrollBox);
    BckPnl->SetBevelOuter(bvNone);
    BckPnl->SetVisible(false);

    PNLCD = Named(new TPanel(this), "PNLCD");
    PNLCD->SetParent(ScrollBox);
    PNLCD->SetBevelOuter(bvNone);
    PNLCD->SetBorderStyle(bsSingleBorder);
    PNLCD->SetCaption(QStringLiteral(" "));
    PNLCD->SetColor(clWhite);
    PNLCD->SetBounds(1, 1, 461, 461);

    IMGBck = Named(new TImage(this), "IMGBck");
    IMGBck->SetParent(PNLCD);
    IMGBck->SetTag(3);
    IMGBck->SetStretch(true);
    IMGBck->SetAlign(alClient);

    TopVSA = Named(new TImage(this), "TopVSA");
    TopVSA->SetParent(PNLCD);
    TopVSA->SetAlign(alClient);
    TopVSA->SetVisible(false);

    PanelStyl = Named(new TPanel(this), "PanelStyl");
    PanelStyl->SetParent(this);
    PanelStyl->SetVisible(false);

    BilyImg = Named(new TImage(this), "BilyImg");
    BilyImg->SetParent(PanelStyl);
    BilyImg->SetVisible(false);
    {
        // The plain white picture that stands for "no background".
        TCanvas* c = BilyImg->Canvas();
        c->Brush()->SetColor(clWhite);
        c->FillRect(TRect(0, 0, BilyImg->Width(), BilyImg->Height()));
    }

    SizeLabel = Named(new TLabel(this), "SizeLabel");
    SizeLabel->SetParent(PanelStyl);
    SizeLabel->SetVisible(false);
    // It measures the objects' texts, which show "&" as it stands.
    SizeLabel->SetPlainText(true);

    SizeImage = Named(new TImage(this), "SizeImage");
    SizeImage->SetParent(PanelStyl);
    SizeImage->SetVisible(false);

    const QString filter = QStringLiteral("Tessavik [*.tvk]|*.tvk|Vše [*.*]|*.*");
    OpenDialog = Named(new TOpenDialog(this), "OpenDialog");
    OpenDialog->DefaultExt = QStringLiteral("*.tvk");
    OpenDialog->Filter = filter;
    SaveDialog = Named(new TSaveDialog(this), "SaveDialog");
    SaveDialog->DefaultExt = QStringLiteral("*.tvk");
    SaveDialog->Filter = filter;
    SaveDialog->Options = ofOverwritePrompt | ofHideReadOnly | ofEnableSizing;

    // The skin component carries the default skin as its stored skin stream;
    // it is decoded only once a window needs it: the settings may switch
    // skinning off or name another skin first.
    SkinData1 = Named(new TSkinData(this), "SkinData1");
    SkinData1->SetActive(true);
    SkinData1->HoldSkin(QString());
}

QString TFrmMain::ConfigDir()
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/tessavik");
}

QString TFrmMain::SettingsFileName() const { return WinDir + QStringLiteral("/velkaro3.ini"); }

void TFrmMain::FormCreate(TComponent*)
{
    StartDir = QDir::currentPath();
    SetDecimalSeparator(QLatin1Char(','));
    WinDir = ConfigDir().left(260);
    AppDir = QCoreApplication::applicationDirPath();
    ObjectParent = PNLCD;
    PNLCD->SetDoubleBuffered(true);
    BckPnl->SetDoubleBuffered(true);
    TextEditMode = false;
    SelectedObject = SizeLabel;
    IsWinNT = true;
    CorrOffsetX = CorrOffsetY = LabelOffsetX = LabelOffsetY = PhysOffsetX = PhysOffsetY = 0;
    FirstShow = true;
    {
        TIniFile ini(SettingsFileName());
        PrintCorrX = ini.ReadInteger(QStringLiteral("Setting"), QStringLiteral("KorX"), 0);
        PrintCorrY = ini.ReadInteger(QStringLiteral("Setting"), QStringLiteral("KorY"), 0);
        // A machine may have its drive elsewhere than libcdio's default, or a disc
        // image in its place, and its own lookup server; both keys are optional.
        if (CDDBConnect1) {
            CDDBConnect1->SetDeviceName(ini.ReadString(QStringLiteral("Setting"), QStringLiteral("CDDevice"), QString()));
            const QString server = ini.ReadString(QStringLiteral("Setting"), QStringLiteral("CDDBServer"), QString());
            if (!server.isEmpty())
                CDDBConnect1->SetServer(server);
        }
    }
    Modified = false;
    OpenDialog->InitialDir = IncludeTrailingPathDelimiter(AppDir);
    SaveDialog->InitialDir = IncludeTrailingPathDelimiter(AppDir);
    if (Application)
        Application->OnHint = [this](TComponent* s) { ApplicationHint(s); };
}

void TFrmMain::FormShow(TComponent*)
{
    {
        TIniFile ini(SettingsFileName());
        const bool enabled = ini.ReadBool(QStringLiteral("Setting"), QStringLiteral("SkinEnabled"), true);
        const QString skinFile = SkinFilePath(
            ini.ReadString(QStringLiteral("Setting"), QStringLiteral("SkinFileName"), QStringLiteral("Skiny/mxskin20.skn")));
        // A skin switched off is read only when it is switched on.
        if (enabled)
            ApplySettingsSkinFile(skinFile, enabled);
        else
            SkinData1->HoldSkin(skinFile);
        SkinData1->SetActive(enabled);
    }
    LastEntry = std::make_unique<TAccessDBEntry>();
    FillBackgroundList();
    FillStyleList();
    StatusBar->SetPanelWidth(0, Width() - 250);
    SetDoubleBuffered(true);
    RenumberObjects();
    RebuildLayerList();
    SetupCDSurface(118.0, 44.0);
    CreateTemplateParams(false, false, 118.0, 44.0, 0, 0, 0, 0, 0, 0, 0, QStringLiteral("None"));
    DeleteObjects(true);
    ShowCentreLines(false);
    // A document is untitled until it is saved or opened (also when the file
    // named on the command line cannot be read).
    if (DocumentFileName.isEmpty())
        SetDocumentFileName(sUntitled);
    if (FirstShow) {
        if (StartFile.isEmpty() && FrmStart)
            FrmStart->ShowModal();
        FirstShow = false;
    }
    FormResize(this);
    AppDir = QCoreApplication::applicationDirPath();
    StartFile = ExpandLongPathName(StartFile);
    if (!StartFile.isEmpty())
        OtevriSoubor(StartFile);
}

QString TFrmMain::SkinFilePath(const QString& name) const
{
    // The program's folders are found from the program, not from wherever it
    // was started.
    QString path = name;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (!path.isEmpty() && QFileInfo(path).isRelative())
        path = IncludeTrailingPathDelimiter(AppDir) + path;
    return ResolvePathCase(path);
}

void TFrmMain::ApplySettingsSkinFile(const QString& fileName, bool report)
{
    // A file that is there but cannot be read or used the skin component
    // names itself; it passes over a missing one without a word.
    QString reason;
    if (!fileName.isEmpty()) {
        const QFileInfo info(fileName);
        if (info.isDir())
            reason = SystemErrorText(EISDIR);
        else if (!info.exists())
            reason = SystemErrorText(ENOENT);
    }
    // The skin component decides what a window shows without its file.
    SkinData1->SetSkinFile(fileName);
    if (reason.isEmpty() || !report || fileName == FReportedSkinFile)
        return;
    FReportedSkinFile = fileName;
    if (Application)
        Application->MessageBox(
            QStringLiteral("Soubor vzhledu \"%1\" nelze načíst: %2.").arg(fileName, reason),
            Application->Title(), MB_OK | MB_ICONWARNING);
}

void TFrmMain::FormCloseQuery(TComponent*, bool& canClose)
{
    // Cancel in the question ends the close (AskSaveChanges aborts).
    AskSaveChanges();
    canClose = true;
}

void TFrmMain::FormDestroy(TComponent*) {}

void TFrmMain::mnExitClick(TComponent*) { Close(); }

QString TFrmMain::ExpandLongPathName(const QString& path)
{
    const int t = path.indexOf(QLatin1Char('~'));
    if (path.isEmpty() || t < 0)
        return path;
    const int b = path.lastIndexOf(QLatin1Char('/'), t) + 1; // up to and including that "/"
    QString result = path.left(b);
    int componentStart = b;
    for (int i = b; i < path.size(); ++i) {
        const bool atSep = path[i] == QLatin1Char('/');
        const bool atEnd = i == path.size() - 1;
        if (!atSep && !atEnd)
            continue;
        const QString name = path.mid(componentStart, (atSep ? i : i + 1) - componentStart);
        componentStart = i + 1;
        if (name.isEmpty())
            return path; // an empty component cannot be looked up
        // Look the entry up in the folder found so far, letter case aside, as
        // the platform's directory search does.
        const QString folder = result.isEmpty() ? QStringLiteral(".") : result;
        QString found;
        if (QFileInfo::exists(IncludeTrailingPathDelimiter(folder) + name)) {
            found = name;
        } else {
            const QStringList entries = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
            for (const QString& e : entries)
                if (e.compare(name, Qt::CaseInsensitive) == 0) {
                    found = e;
                    break;
                }
        }
        if (found.isEmpty())
            return path;
        result += found;
        if (atSep)
            result += QLatin1Char('/');
    }
    return result;
}
