#include "designer/forms/frm_start.h"

#include "classlib/forms/application.h"
#include "classlib/forms/message_box.h"
#include "designer/forms/frm_new.h"
#include "designer/forms/window_art.h"
#include "designer/main/frm_main.h"
#include "platform/messages.h"
#include "platform/shell.h"

TFrmStart* FrmStart = nullptr;
const QString MakerWebAddress = QStringLiteral("https://tessavik.example/");

TFrmStart::TFrmStart(TComponent* owner) : TForm(owner)
{
    SetName(QStringLiteral("FrmStart"));
    SetBorderStyle(bsNone);
    SetPosition(poScreenCenter);
    SetClientSize(400, 400);
    SetColor(RGB(40, 62, 102));

    auto named = [this](auto* c, const char* name, int l, int t, int w, int h) {
        return Placed(c, name, this, l, t, w, h);
    };
    Image1 = named(new TImage(this), "Image1", 0, 0, 400, 400);
    Image1->SetAlign(alClient);
    LoadWindowArt(Image1->Picture(), QStringLiteral("start.jpg"));
    MaxShp = named(new TShape(this), "MaxShp", 28, 28, 344, 344);
    MaxShp->SetShape(stCircle);
    MaxShp->SetVisible(false);
    stred = named(new TShape(this), "stred", 179, 179, 43, 42);
    stred->SetShape(stEllipse);
    stred->SetVisible(false);
    auto choiceFrame = [&](const char* name, int l, int t, int w, int h) {
        TShape* s = named(new TShape(this), name, l, t, w, h);
        s->Pen()->SetColor(clWhite);
        s->Brush()->SetStyle(bsClear);
        s->SetVisible(false);
        return s;
    };
    shpNew = choiceFrame("shpNew", 64, 208, 73, 41);
    shpOpen = choiceFrame("shpOpen", 260, 208, 79, 41);
    shpKonec = choiceFrame("shpKonec", 161, 270, 79, 41);
    auto choice = [&](const char* name, const char* text, int l, int t, int w, int h) {
        TLabel* lbl = named(new TLabel(this), name, l, t, w, h);
        lbl->SetAutoSize(false);
        lbl->SetCaption(QString::fromUtf8(text));
        lbl->Font()->SetName(QStringLiteral("Arial"));
        lbl->Font()->SetHeight(-21);
        lbl->Font()->SetStyle(FontStyleBit(fsBold));
        lbl->Font()->SetColor(clWhite);
        lbl->SetAlignment(taCenter);
        lbl->SetTransparent(true);
        lbl->SetCursor(crHandPoint);
        return lbl;
    };
    lblNew = choice("lblNew", "Nový", 64, 216, 73, 24);
    lblOpen = choice("lblOpen", "Otevřít", 260, 216, 79, 24);
    lblExit = choice("lblExit", "Konec", 160, 279, 81, 24);
    lblNew->OnMouseMove = [this](TComponent* s, TShiftState sh, int x, int y) { lblNewMouseMove(s, sh, x, y); };
    lblNew->OnMouseLeave = [this](TComponent* s) { lblNewMouseLeave(s); };
    lblOpen->OnMouseMove = [this](TComponent* s, TShiftState sh, int x, int y) { lblOpenMouseMove(s, sh, x, y); };
    lblOpen->OnMouseLeave = [this](TComponent* s) { lblOpenMouseLeave(s); };
    lblExit->OnMouseMove = [this](TComponent* s, TShiftState sh, int x, int y) { lblExitMouseMove(s, sh, x, y); };
    lblExit->OnMouseLeave = [this](TComponent* s) { lblExitMouseLeave(s); };
    lblNew->OnClick = [this](TComponent* s) { lblNewClick(s); };
    lblOpen->OnClick = [this](TComponent* s) { lblOpenClick(s); };
    lblExit->OnClick = [this](TComponent* s) { lblExitClick(s); };
    Image2 = named(new TImage(this), "Image2", 150, 323, 94, 28);
    Image2->SetCursor(crHandPoint);
    Image2->OnClick = [this](TComponent* s) { Image2Click(s); };
    lblVer = named(new TLabel(this), "lblVer", 320, 160, 40, 16);
    lblVer->Font()->SetName(QStringLiteral("Arial"));
    lblVer->Font()->SetHeight(-13);
    lblVer->Font()->SetStyle(FontStyleBit(fsBold));
    lblVer->Font()->SetColor(clWhite);
    lblVer->SetTransparent(true);

    OnShow = [this](TComponent* s) { FormShow(s); };
    OnCloseQuery = [this](TComponent* s, bool& canClose) { FormCloseQuery(s, canClose); };
    // A window without a frame gets no Alt+F4 from the window manager: it
    // closes itself, and its close query ends the program.
    OnShortCut = [this](int key, TShiftState shift, bool& handled) {
        if (key == VK_F4 && shift == TShiftState(ssAlt)) {
            handled = true;
            Close();
        }
    };
    if (!FrmStart)
        FrmStart = this;
}

TFrmStart::~TFrmStart()
{
    if (FrmStart == this)
        FrmStart = nullptr;
}

void TFrmStart::FormShow(TComponent*)
{
    // Only the ring between the outer circle and the hole is part of the window.
    TRegion outer = CreateEllipticRgn(MaxShp->Left(), MaxShp->Top(), MaxShp->Left() + MaxShp->Width(), MaxShp->Top() + MaxShp->Height());
    TRegion hole = CreateEllipticRgn(stred->Left(), stred->Top(), stred->Left() + stred->Width(), stred->Top() + stred->Height());
    CombineRgn(hole, outer, hole, RGN_XOR);
    SetWindowRgn(hole);
    StartWindowOpen = true;
}

void TFrmStart::FormCloseQuery(TComponent*, bool& canClose)
{
    canClose = true;
    // Closed by the keyboard or the system rather than by a choice: the program ends.
    if (StartWindowOpen) {
        StartWindowOpen = false;
        if (FrmMain)
            FrmMain->Close();
    }
}

void TFrmStart::btnCloseClick(TComponent*)
{
    StartWindowOpen = false;
    Close();
    if (FrmMain)
        FrmMain->Close();
}

void TFrmStart::btnNewClick(TComponent*)
{
    StartWindowOpen = false;
    Hide();
    Close();
    if (!FrmMain)
        return;
    auto confirmed = [] { return FrmNew && FrmNew->IsConfirmed(); };
    FrmMain->mnNewClick(nullptr);
    if (confirmed())
        return;
    Application->MessageBox(QString::fromUtf8("Nebyla zvolena šablona ! Pro pokračování zvolte šablonu."),
                            QStringLiteral("Pozor"), MB_OK);
    FrmMain->mnNewClick(nullptr);
    if (!confirmed())
        FrmMain->Close();
}

void TFrmStart::btnOpenClick(TComponent*)
{
    StartWindowOpen = false;
    Hide();
    Close();
    if (!FrmMain)
        return;
    // Whether a file was chosen, not whether it could be read, decides.
    FrmMain->btnOpenClick(nullptr);
    if (!FrmMain->OpenDialog->FileName.isEmpty())
        return;
    Application->MessageBox(QString::fromUtf8("Nebyl zvolen žádný soubor ! Pro pokračování zvolte soubor."),
                            QStringLiteral("Pozor"), MB_OK);
    FrmMain->btnOpenClick(nullptr);
    if (FrmMain->OpenDialog->FileName.isEmpty())
        FrmMain->Close();
}

void TFrmStart::lblNewClick(TComponent* sender) { btnNewClick(sender); }

void TFrmStart::lblOpenClick(TComponent* sender) { btnOpenClick(sender); }

void TFrmStart::lblExitClick(TComponent* sender) { btnCloseClick(sender); }

void TFrmStart::lblNewMouseMove(TComponent*, TShiftState, int, int) { shpNew->SetVisible(true); }
void TFrmStart::lblNewMouseLeave(TComponent*) { shpNew->SetVisible(false); }
void TFrmStart::lblOpenMouseMove(TComponent*, TShiftState, int, int) { shpOpen->SetVisible(true); }
void TFrmStart::lblOpenMouseLeave(TComponent*) { shpOpen->SetVisible(false); }
void TFrmStart::lblExitMouseMove(TComponent*, TShiftState, int, int) { shpKonec->SetVisible(true); }
void TFrmStart::lblExitMouseLeave(TComponent*) { shpKonec->SetVisible(false); }

void TFrmStart::Image2Click(TComponent*) { ShellOpen(MakerWebAddress); }
