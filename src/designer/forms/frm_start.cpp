#include "designer/forms/frm_start.h"

#include "designer/main/frm_main.h"

TFrmStart* FrmStart = nullptr;

TFrmStart::TFrmStart(TComponent* owner) : TForm(owner)
{
    SetName(QStringLiteral("FrmStart"));
    SetBorderStyle(bsNone);
    SetPosition(poScreenCenter);
    SetClientSize(400, 400);
    SetColor(RGB(40, 62, 102));

    auto named = [this](auto* c, const char* name, int l, int t, int w, int h) {
        c->SetName(QString::fromLatin1(name));
        c->SetParent(this);
        c->SetBounds(l, t, w, h);
        return c;
    };
    Image1 = named(new TImage(this), "Image1", 0, 0, 400, 400);
    Image1->SetAlign(alClient);
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
    auto choice = [&](const char* name, const char* text, int l, int t, int w, int h, TShape* frame) {
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
        lbl->OnMouseMove = [frame](TComponent*, TShiftState, int, int) { frame->SetVisible(true); };
        lbl->OnMouseLeave = [frame](TComponent*) { frame->SetVisible(false); };
        return lbl;
    };
    lblNew = choice("lblNew", "Nový", 64, 216, 73, 24, shpNew);
    lblOpen = choice("lblOpen", "Otevřít", 260, 216, 79, 24, shpOpen);
    lblExit = choice("lblExit", "Konec", 160, 279, 81, 24, shpKonec);
    lblExit->OnClick = [this](TComponent* s) { btnCloseClick(s); };
    Image2 = named(new TImage(this), "Image2", 150, 323, 94, 28);
    Image2->SetCursor(crHandPoint);
    lblVer = named(new TLabel(this), "lblVer", 320, 160, 40, 16);
    lblVer->Font()->SetName(QStringLiteral("Arial"));
    lblVer->Font()->SetHeight(-13);
    lblVer->Font()->SetStyle(FontStyleBit(fsBold));
    lblVer->Font()->SetColor(clWhite);
    lblVer->SetTransparent(true);

    OnShow = [this](TComponent* s) { FormShow(s); };
    OnCloseQuery = [this](TComponent* s, bool& canClose) { FormCloseQuery(s, canClose); };
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
