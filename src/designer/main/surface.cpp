// The design surface: millimetres to pixels, the disc and box layouts, the
// guide outlines, the mask over everything outside the label, the rulers and
// the two view switches.

#include "designer/main/frm_main.h"

#include "classlib/forms/application.h"
#include "classlib/pictures/bitmap.h"
#include "classlib/pictures/picture.h"
#include "classlib/sysutils.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {
constexpr int kUnskinnedTag = 99;

// The form's pixels per inch (the screen's).
int ScreenPixelsPerInch() { return Screen ? Screen->PixelsPerInch() : 96; }

// The white backing under the surface takes the surface's bounds.
void LayWhiteBacking(TImage* backing, int left, int top, int width, int height)
{
    backing->SetBounds(left, top, width, height);
    backing->Picture()->Bitmap()->SetSize(std::max(width, 1), std::max(height, 1));
    TCanvas* c = backing->Canvas();
    c->Pen()->SetColor(clWhite);
    c->Brush()->SetColor(clWhite);
    c->Brush()->SetStyle(bsSolid);
    c->FillRect(TRect(0, 0, std::max(width, 1), std::max(height, 1)));
}
} // namespace

void TFrmMain::CreateSurfaceControls()
{
    // Windows on the surface, bottom to top: the mask, then the guides, then the cross.
    VK1 = Named(new TPanel(this), "VK1");
    VK1->SetParent(PNLCD);
    VK1->SetBevelOuter(bvNone);
    VK1->SetColor(TColor(0xF5F5F5));
    VK1->SetCaption(QString());
    VK1->SetAlign(alClient);
    VK1->OnMouseDown = [this](TComponent* s, TMouseButton b, TShiftState sh, int x, int y) { VK1PMouseDown(s, b, sh, x, y); };

    VK1P = Named(new TShape(this), "VK1P");
    VK1P->SetParent(VK1);
    VK1P->SetAlign(alClient);
    VK1P->Brush()->SetColor(TColor(0xCACACA));
    VK1P->Brush()->SetStyle(bsDiagCross);
    VK1P->Pen()->SetStyle(psClear);
    VK1P->OnMouseDown = [this](TComponent* s, TMouseButton b, TShiftState sh, int x, int y) { VK1PMouseDown(s, b, sh, x, y); };

    VK1T = Named(new TImage(this), "VK1T");
    VK1T->SetParent(VK1);
    VK1T->SetAlign(alClient);
    VK1T->OnClick = [this](TComponent* s) { VK1TClick(s); };
    VK1T->OnMouseDown = [this](TComponent* s, TMouseButton b, TShiftState sh, int x, int y) { VK1TMouseDown(s, b, sh, x, y); };
    VK1T->OnMouseMove = [this](TComponent* s, TShiftState sh, int x, int y) { VK1TMouseMove(s, sh, x, y); };
    VK1T->OnMouseUp = [this](TComponent* s, TMouseButton b, TShiftState sh, int x, int y) { VK1TMouseUp(s, b, sh, x, y); };

    // The guides and the centre cross keep their own red and blue under any
    // skin: the skin's tag for controls it leaves alone (99).
    auto guide = [&](const char* name, TColor color) {
        auto* p = Named(new TPanel(this), name);
        p->SetTag(kUnskinnedTag);
        p->SetParent(PNLCD);
        p->SetBevelOuter(bvNone);
        p->SetCaption(QString());
        p->SetColor(color);
        p->SetAlign(alClient);
        p->SetVisible(false);
        return p;
    };
    C1Min = guide("C1Min", clRed);
    C1Max = guide("C1Max", clBlue);
    C2Max = guide("C2Max", clBlue);
    C2Min = guide("C2Min", clRed);
    K1 = guide("K1", clRed);
    K1->SetAlign(alNone);
    K2 = guide("K2", clRed);
    K2->SetAlign(alNone);

    VRull = Named(new TImage(this), "VRull");
    VRull->SetParent(BckPnl);
    VRull->SetAlign(alClient);
    VRull->SetVisible(false);

    btnLayer01 = Named(new TToolButton(this), "btnLayer01");
    btnLayer01->SetParent(ToolBar1);
    btnLayer01->SetStyle(tbsCheck);
    btnLayer01->SetHint(QStringLiteral("Ořez CD"));
    btnLayer01->SetCaption(btnLayer01->Hint());
    btnLayer01->OnClick = [this](TComponent* s) { btnLayer01Click(s); };
    btnKriz = Named(new TToolButton(this), "btnKriz");
    btnKriz->SetParent(ToolBar1);
    btnKriz->SetStyle(tbsCheck);
    btnKriz->SetHint(QStringLiteral("Pomocná mřížka"));
    btnKriz->SetCaption(btnKriz->Hint());
    btnKriz->OnClick = [this](TComponent* s) { btnKrizClick(s); };
}

namespace {
// Sizes a document may ask for that no label sheet has are cut to this, so a
// damaged file cannot ask for a surface of millions of pixels.
constexpr double kLargestLabelMm = 1000.0;
double SaneMm(double mm)
{
    if (!std::isfinite(mm))
        return 0.0;
    return std::clamp(mm, -kLargestLabelMm, kLargestLabelMm);
}
} // namespace

int TFrmMain::MmToPixels(double mm) const
{
    if (!std::isfinite(mm))
        mm = 0.0;
    // The product and quotient in extended precision, then cut toward zero. The
    // divisor has the argument's precision, so a whole inch gives whole pixels.
    const long double px = static_cast<long double>(ScreenPixelsPerInch()) *
                           (static_cast<long double>(mm) / static_cast<long double>(25.4));
    // Saturated, so a huge value cannot overflow; callers judge what is too large.
    constexpr long double kLimit = 1e9L;
    return static_cast<int>(std::trunc(std::clamp(px, -kLimit, kLimit)));
}

void TFrmMain::SetRectGuideRegion(TPanel* guide, int x1, int y1, int x2, int y2)
{
    guide->SetAlign(alClient);
    TRegion a = CreateRectRgn(0, 0, x2, y2);
    CombineRgn(a, a, CreateRectRgn(0, 0, x2, y2), RGN_XOR);
    CombineRgn(a, a, CreateRectRgn(x1, y1, x2 + 1, y2 + 1), RGN_XOR);
    CombineRgn(a, a, CreateRectRgn(x1 - 1, y1 - 1, x2 + 2, y2 + 2), RGN_XOR);
    guide->SetWindowRgn(a);
}

void TFrmMain::SetEllipseGuideRegion(TPanel* guide, int x1, int y1, int x2, int y2)
{
    guide->SetAlign(alClient);
    TRegion a = CreateRectRgn(0, 0, x2, y2);
    CombineRgn(a, a, CreateRectRgn(0, 0, x2, y2), RGN_XOR);
    CombineRgn(a, a, CreateEllipticRgn(x1, y1, x2 + 1, y2 + 1), RGN_XOR);
    CombineRgn(a, a, CreateEllipticRgn(x1 - 1, y1 - 1, x2 + 2, y2 + 2), RGN_XOR);
    guide->SetWindowRgn(a);
}

void TFrmMain::SetDiscMaskRegion(bool bleed, double outer, double hole)
{
    const int W = PNLCD->Width(), H = PNLCD->Height();
    TRegion outerRgn, holeRgn;
    if (!bleed) {
        outerRgn = CreateEllipticRgn(MmToPixels(2), MmToPixels(2), MmToPixels(2) + MmToPixels(outer),
                                     MmToPixels(2) + MmToPixels(outer));
        const int hx = (W - MmToPixels(hole)) / 2, hy = (H - MmToPixels(hole)) / 2;
        holeRgn = CreateEllipticRgn(hx, hy, hx + MmToPixels(hole), hy + MmToPixels(hole));
    } else {
        outerRgn = CreateEllipticRgn(0, 0, MmToPixels(outer + 4), MmToPixels(outer + 4));
        const int x1 = (W - MmToPixels(hole)) / 2 + MmToPixels(2) + 1;
        const int y1 = (H - MmToPixels(hole)) / 2 + MmToPixels(2) + 1;
        holeRgn = CreateEllipticRgn(x1, y1, x1 + MmToPixels(hole - 4) - 1, y1 + MmToPixels(hole - 4) - 1);
    }
    TRegion mask = CreateRectRgn(0, 0, W, H);
    CombineRgn(mask, mask, outerRgn, RGN_XOR);
    CombineRgn(mask, mask, holeRgn, RGN_XOR);
    VK1->SetWindowRgn(mask);
}

void TFrmMain::SetupCDSurface(double outer, double hole)
{
    outer = std::max(0.0, SaneMm(outer));
    hole = std::max(0.0, SaneMm(hole));
    PNLCD->SetVisible(false);
    ShowCentreLines(false);
    HideSelectionFrame();
    for (TControl* c : std::initializer_list<TControl*>{VK1, VK1P, VK1T, IMGBck, TopVSA})
        c->SetAlign(alClient);

    PNLCD->SetWidth(MmToPixels(outer + 4));
    PNLCD->SetHeight(MmToPixels(outer + 4));
    const int W = PNLCD->Width(), H = PNLCD->Height();

    {
        const int x1 = (W - MmToPixels(hole)) / 2, y1 = (H - MmToPixels(hole)) / 2;
        SetEllipseGuideRegion(C2Min, x1, y1, x1 + MmToPixels(hole) - 1, y1 + MmToPixels(hole) - 1);
    }
    SetEllipseGuideRegion(C1Min, MmToPixels(2) + 1, MmToPixels(2) + 1, MmToPixels(outer + 2) - 3,
                          MmToPixels(outer + 2) - 3);
    SetEllipseGuideRegion(C1Max, 1, 1, MmToPixels(outer + 4) - 3, MmToPixels(outer + 4) - 3);
    SetEllipseGuideRegion(C2Max, (W - MmToPixels(hole - 4)) / 2, (H - MmToPixels(hole - 4)) / 2,
                          MmToPixels(hole) - 1 + (W - MmToPixels(hole + 4)) / 2,
                          MmToPixels(hole) - 1 + (H - MmToPixels(hole + 4)) / 2);

    int left = (ScrollBox->Width() - W) / 2, top = (ScrollBox->Height() - H) / 2;
    if (top < 0)
        top = 0;
    if (left < 0)
        left = 0;
    PNLCD->SetBounds(left, top, W, H);
    BckPnl->SetBounds(left - 23, top - 23, W + 23, H + 23);

    SetDiscMaskRegion(false, outer, hole);
    LayWhiteBacking(BckImg, left, top, W, H);
    DrawRulers();

    K1->SetBounds(W / 2, 0, 1, H);
    K2->SetBounds(0, H / 2, W, 1);
    PNLCD->SetVisible(true);
    btnLayer01->SetDown(false);
    btnLayer01Click(btnLayer01);
}

void TFrmMain::SetupBoxSurface(bool sirka, double left, double top, double w, double h, double left2, double top2,
                               double width2, double height2)
{
    w = std::max(0.0, SaneMm(w));
    h = std::max(0.0, SaneMm(h));
    for (double* v : {&left, &top, &left2, &top2, &width2, &height2})
        *v = SaneMm(*v);
    ScrollBox->SetHorzPosition(0);
    ScrollBox->SetVertPosition(0);
    PNLCD->SetVisible(false);
    ShowCentreLines(false);
    HideSelectionFrame();
    for (TControl* c : std::initializer_list<TControl*>{VK1, VK1P, VK1T, IMGBck, TopVSA})
        c->SetAlign(alClient);
    if (sirka) {
        std::swap(w, h);
        std::swap(left, top);
        std::swap(left2, top2);
        std::swap(width2, height2);
    }
    PNLCD->SetWidth(MmToPixels(w + 4));
    PNLCD->SetHeight(MmToPixels(h + 4));
    const int W = PNLCD->Width(), H = PNLCD->Height();

    SetRectGuideRegion(C1Min, MmToPixels(2) + 1, MmToPixels(2) + 1, MmToPixels(w + 2) - 3, MmToPixels(h + 2) - 3);
    SetRectGuideRegion(C1Max, 1, 1, MmToPixels(w + 4) - 4, MmToPixels(h + 4) - 4);
    SetRectGuideRegion(C2Max, 1, 1, MmToPixels(w + 4) - 4, MmToPixels(h + 4) - 4);
    {
        const int dx = MmToPixels(left2 - left), dy = MmToPixels(top2) - MmToPixels(top);
        SetRectGuideRegion(C2Min, dx + MmToPixels(2) + 1, dy + MmToPixels(2) + 1, dx + MmToPixels(width2 + 2) - 3,
                           dy + MmToPixels(height2 + 2) - 3);
    }

    int pl = (ScrollBox->Width() - W) / 2, pt = (ScrollBox->Height() - H) / 2;
    if (pt < 0)
        pt = 0;
    if (pl < 0)
        pl = 0;
    PNLCD->SetBounds(pl, pt, W, H);
    BckPnl->SetBounds(pl - 23, pt - 23, W + 23, H + 23);

    TRegion mask = CreateRectRgn(0, 0, W, H);
    CombineRgn(mask, mask,
               CreateRectRgn(MmToPixels(2), MmToPixels(2), MmToPixels(2) + MmToPixels(w), MmToPixels(2) + MmToPixels(h)),
               RGN_XOR);
    VK1->SetWindowRgn(mask);

    LayWhiteBacking(BckImg, pl, pt, W, H);
    DrawRulers();
    K1->SetBounds(W / 2, 0, 1, H);
    K2->SetBounds(0, H / 2, W, 1);
    PNLCD->SetVisible(true);
    btnLayer01->SetDown(false);
    btnLayer01Click(btnLayer01);
}

void TFrmMain::DrawRulers()
{
    VRull->SetAlign(alClient);
    VRull->SetBounds(0, 0, BckPnl->ClientWidth(), BckPnl->ClientHeight());
    const int Wr = VRull->Width(), Hr = VRull->Height();
    if (Wr <= 0 || Hr <= 0)
        return;
    VRull->Picture()->Bitmap()->SetSize(Wr, Hr);
    TCanvas* c = VRull->Canvas();
    c->Lock();
    // A line is a one-pixel rectangle in the pen's colour, both ends included.
    auto line = [c](int x1, int y1, int x2, int y2, TColor color) {
        if (x2 < x1 || y2 < y1)
            return;
        c->Brush()->SetColor(color);
        c->FillRect(TRect(x1, y1, x2 + 1, y2 + 1));
    };
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(clBtnFace);
    c->Pen()->SetColor(clBlack);
    c->Rectangle(0, 0, Wr, Hr);
    line(1, 1, Wr - 2, 1, clBtnShadow);
    line(1, 2, 1, Hr - 2, clBtnShadow);
    line(2, 2, Wr - 2, 2, clWhite);
    line(2, 2, 2, Hr - 2, clWhite);
    // Top strip.
    line(23, 5, Wr - 2, 5, clBtnShadow);
    line(23, 18, Wr - 2, 18, clBtnShadow);
    line(23, 6, Wr - 2, 6, clWhite);
    line(23, 19, Wr - 2, 19, clWhite);
    line(23, 5, 23, 18, clBtnShadow);
    // Left strip.
    line(6, 25, 6, Hr - 2, clBtnShadow);
    line(19, 25, 19, Hr - 2, clBtnShadow);
    line(7, 25, 7, Hr - 2, clWhite);
    line(20, 25, 20, Hr - 2, clWhite);
    line(6, 25, 18, 25, clBtnShadow);
    // Ticks every 5 mm.
    line(24, 8, 24, 15, clBlack);
    line(9, 26, 15, 26, clBlack);
    for (int d = 5; d <= 280; d += 5) {
        const int x = MmToPixels(d) + 24;
        line(x, 10, x, 13, clBlack);
        const int y = MmToPixels(d) + 26;
        line(10, y, 14, y, clBlack);
    }
    c->Unlock();
    VRull->Invalidate();
}

// ---------------------------------------------------------------- view switches

void TFrmMain::btnLayer01Click(TComponent*)
{
    if (btnKriz->Down() && btnLayer01->Down()) {
        btnKriz->SetDown(false);
        btnKrizClick(btnKriz);
        btnLayer01->SetDown(true);
    }
    if (btnLayer01->Down()) {
        VK1->SetVisible(false);
        C1Max->SetVisible(true);
        C2Max->SetVisible(true);
        C1Min->SetVisible(true);
        C2Min->SetVisible(true);
    } else {
        C1Max->SetVisible(false);
        C2Max->SetVisible(false);
        if (!GetTemplateFlag(QStringLiteral("isKrab"))) {
            C1Min->SetVisible(false);
            C2Min->SetVisible(false);
        }
        VK1->SetVisible(true);
    }
}

void TFrmMain::btnKrizClick(TComponent*)
{
    if (btnKriz->Down() && btnLayer01->Down()) {
        btnLayer01->SetDown(false);
        btnLayer01Click(btnLayer01);
        btnKriz->SetDown(true);
    }
    const int W = PNLCD->Width(), H = PNLCD->Height();
    K1->SetLeft(W / 2);
    K2->SetTop(H / 2);
    if (GetTemplateFlag(QStringLiteral("isKrab"))) {
        K1->SetVisible(btnKriz->Down());
        K2->SetVisible(btnKriz->Down());
        return;
    }
    const double outer = StrToFloat(GetTemplateParam(QStringLiteral("Okraj")));
    const double hole = StrToFloat(GetTemplateParam(QStringLiteral("Stred")));
    const bool on = btnKriz->Down();
    K1->SetVisible(on);
    K2->SetVisible(on);
    SetDiscMaskRegion(on, outer, hole);
    for (TPanel* g : {C1Min, C1Max, C2Min, C2Max})
        g->SetVisible(on);
}

void TFrmMain::vis1Click(TComponent*)
{
    btnLayer01->SetDown(!btnLayer01->Down());
    btnLayer01Click(btnLayer01);
}

void TFrmMain::bck3Click(TComponent*) { vis1Click(this); }

void TFrmMain::bck2Click(TComponent*)
{
    btnKriz->SetDown(!btnKriz->Down());
    btnKrizClick(btnKriz);
}

void TFrmMain::VK1PMouseDown(TComponent*, TMouseButton, TShiftState, int, int) { HideSelectionFrame(); }

void TFrmMain::PopupMenuIMGPopup(TComponent*) {}

void TFrmMain::PopupMenuBckPopup(TComponent*) {}
