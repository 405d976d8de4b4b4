// The selection frame: four red lines, eight round handles, the centre lines
// and the mouse catcher, each with a copy inside the mask so they stay visible
// and usable where the mask covers the object.

#include "designer/main/frm_main.h"

#include <initializer_list>

void TFrmMain::CreateSelectionControls()
{
    auto mark = [this](const char* name, TWinControl* parent) {
        auto* s = new TShape(this);
        s->SetName(QString::fromLatin1(name));
        s->SetParent(parent);
        s->Brush()->SetColor(clRed);
        s->Pen()->SetColor(clRed);
        s->Pen()->SetWidth(0);
        s->SetCursor(crArrow);
        s->SetVisible(false);
        return s;
    };
    RT = mark("RT", PNLCD);
    RB = mark("RB", PNLCD);
    RL = mark("RL", PNLCD);
    RR = mark("RR", PNLCD);
    RT1 = mark("RT1", VK1);
    RB1 = mark("RB1", VK1);
    RL1 = mark("RL1", VK1);
    RR1 = mark("RR1", VK1);

    auto handle = [&](const char* name, TWinControl* parent, TCursor cursor, THandleKind kind) {
        TShape* s = mark(name, parent);
        s->SetShape(stCircle);
        s->SetBounds(0, 0, 5, 5);
        s->SetCursor(cursor);
        s->OnMouseDown = [this, kind](TComponent*, TMouseButton, TShiftState, int x, int y) { HandleMouseDown(kind, x, y); };
        s->OnMouseMove = [this, kind](TComponent*, TShiftState sh, int x, int y) { HandleMouseMove(kind, sh, x, y); };
        s->OnMouseUp = [this](TComponent*, TMouseButton, TShiftState, int, int) { HandleMouseUp(); };
        return s;
    };
    PL = handle("PL", PNLCD, crSizeNWSE, hkPL);
    PR = handle("PR", PNLCD, crSizeNESW, hkPR);
    PLB = handle("PLB", PNLCD, crSizeNESW, hkPLB);
    PRB = handle("PRB", PNLCD, crSizeNWSE, hkPRB);
    PT1 = handle("PT1", PNLCD, crSizeNS, hkPT1);
    PB1 = handle("PB1", PNLCD, crSizeNS, hkPB1);
    PL1 = handle("PL1", PNLCD, crSizeWE, hkPL1);
    PR1 = handle("PR1", PNLCD, crSizeWE, hkPR1);
    PLS = handle("PLS", VK1, crSizeNWSE, hkPL);
    PRS = handle("PRS", VK1, crSizeNESW, hkPR);
    PLBS = handle("PLBS", VK1, crSizeNESW, hkPLB);
    PRBS = handle("PRBS", VK1, crSizeNWSE, hkPRB);
    PT2 = handle("PT2", VK1, crSizeNS, hkPT1);
    PB2 = handle("PB2", VK1, crSizeNS, hkPB1);
    PL2 = handle("PL2", VK1, crSizeWE, hkPL1);
    PR2 = handle("PR2", VK1, crSizeWE, hkPR1);

    HK = mark("HK", PNLCD);
    VK = mark("VK", PNLCD);
    for (TShape* s : {HK, VK}) {
        s->Brush()->SetColor(clBlack);
        s->Pen()->SetColor(clWhite);
        s->Pen()->SetWidth(4);
        s->Pen()->SetMode(pmXor);
        s->SetCursor(crDefault);
        // Disabled, a line lets the mouse through to the object it crosses, so
        // a press or double click on the middle of a text reaches the text.
        s->SetEnabled(false);
    }
    H2K = mark("H2K", VK1);
    V2K = mark("V2K", VK1);
    for (TShape* s : {H2K, V2K}) {
        s->Brush()->SetColor(clBlack);
        s->Pen()->SetColor(clBlack);
        s->SetCursor(crDefault);
        s->SetEnabled(false);
    }

    OnShortCut = [this](int key, TShiftState shift, bool& handled) { FormShortCut(key, shift, handled); };

    TOPClk = new TImage(this);
    TOPClk->SetName(QStringLiteral("TOPClk"));
    TOPClk->SetParent(VK1);
    TOPClk->SetStretch(true);
    TOPClk->SetVisible(false);
    TOPClk->OnMouseDown = [this](TComponent* s, TMouseButton b, TShiftState sh, int x, int y) { TOPClkMouseDown(s, b, sh, x, y); };
    TOPClk->OnMouseMove = [this](TComponent* s, TShiftState sh, int x, int y) { TOPClkMouseMove(s, sh, x, y); };
    TOPClk->OnMouseUp = [this](TComponent* s, TMouseButton b, TShiftState sh, int x, int y) { TOPClkMouseUp(s, b, sh, x, y); };
    TOPClk->OnDblClick = [this](TComponent*) {
        // A double click on the part of a text under the mask edits it too.
        if (TControl* o = SelectedObject; IsObject(o) && o->OnDblClick)
            o->OnDblClick(o);
    };
}

void TFrmMain::ShowSelectionFrame(int L, int T, int W, int H)
{
    if (NothingSelected())
        return;
    for (TControl* c : std::initializer_list<TControl*>{PL, PR, PLB, PRB, PR1, PL1, PT1, PB1, PLS, PRS, PLBS, PRBS, RR,
                                                        RL, RT, RB, RR1, RL1, RT1, RB1, PR2, PL2, PT2, PB2, TOPClk})
        c->SetVisible(true);
    for (TControl* c : std::initializer_list<TControl*>{RR, RL, RT, RB, PL, PR, PLB, PRB, PL1, PR1, PT1, PB1, PLS, PRS,
                                                        PLBS, PRBS, TOPClk, PR2, PL2, PT2, PB2})
        c->BringToFront();
    auto place = [](TShape* s, int x, int y) {
        s->SetShape(stCircle);
        s->SetBounds(x, y, 5, 5);
    };
    place(PL, L - 2, T - 2);
    place(PLS, L - 2, T - 2);
    place(PR, L - 2 + W, T - 2);
    place(PRS, L - 2 + W, T - 2);
    place(PLB, L - 2, T - 2 + H);
    place(PLBS, L - 2, T - 2 + H);
    place(PRB, L - 2 + W, T - 2 + H);
    place(PRBS, L - 2 + W, T - 2 + H);
    place(PL1, L - 2, T - 2 + H / 2);
    place(PR1, L - 2 + W, T - 2 + H / 2);
    place(PB1, L - 2 + W / 2, T - 2 + H);
    place(PT1, L - 2 + W / 2, T - 2);
    RR->SetBounds(L + W, T, 1, H);
    RL->SetBounds(L - 1, T, 1, H + 1);
    RT->SetBounds(L - 1, T - 1, W + 1, 1);
    RB->SetBounds(L, T + H, W, 1);
    RT1->SetBoundsRect(RT->BoundsRect());
    RL1->SetBoundsRect(RL->BoundsRect());
    RB1->SetBoundsRect(RB->BoundsRect());
    RR1->SetBoundsRect(RR->BoundsRect());
    PR2->SetBoundsRect(PR1->BoundsRect());
    PL2->SetBoundsRect(PL1->BoundsRect());
    PT2->SetBoundsRect(PT1->BoundsRect());
    PB2->SetBoundsRect(PB1->BoundsRect());
    TOPClk->SetBounds(L - 1, T - 1, W, H);
    if (!(SelectedObject->ClassName() == QLatin1String("TLabel") && TextEditMode))
        ShowCentreLines(true);
}

void TFrmMain::HideSelectionFrame()
{
    for (TControl* c : std::initializer_list<TControl*>{TOPClk, PL, PR, PLB, PRB, PT1, PB1, PL1, PR1, PLS, PRS, PLBS,
                                                        PRBS, PT2, PB2, PL2, PR2, RT, RB, RL, RR, RT1, RB1, RL1, RR1})
        c->SetVisible(false);
    if (HideCircleMarks)
        HideCircleMarks();
    if (EditorShowing()) {
        if (HideTextEditor)
            HideTextEditor();
        if (SelectedObject && SelectedObject->ClassName() == QLatin1String("TLabel") &&
            SelectedObject->Hint() == QLatin1String("1")) {
            SelectedObject->SetVisible(true);
            SelectedObject->SetHint(QString());
        }
    }
}

namespace {
void PlaceCentreLines(TShape* vertical, TShape* horizontal, bool visible, int L, int T, int W, int H)
{
    vertical->SetVisible(visible);
    vertical->SetBounds(L + W / 2, T + 3, 1, H - 6);
    horizontal->SetVisible(visible);
    horizontal->SetBounds(L + 3, T + H / 2, W - 6, 1);
}
} // namespace

void TFrmMain::ShowCentreLines(bool visible)
{
    HK->BringToFront();
    VK->BringToFront();
    const TControl* o = SelectedObject ? SelectedObject : SizeLabel;
    PlaceCentreLines(HK, VK, visible, o->Left(), o->Top(), o->Width(), o->Height());
    PlaceCentreLines(H2K, V2K, visible, o->Left(), o->Top(), o->Width(), o->Height());
    VK1P->Repaint();
    PNLCD->Repaint();
}

void TFrmMain::ShowCircleCentreLines(bool visible)
{
    // The circle guide's bounds stand in for the object's.
    auto* guide = dynamic_cast<TControl*>(FindComponent(QStringLiteral("Circl1")));
    if (!guide) {
        ShowCentreLines(visible);
        return;
    }
    HK->BringToFront();
    VK->BringToFront();
    PlaceCentreLines(HK, VK, visible, guide->Left(), guide->Top(), guide->Width(), guide->Height());
    PlaceCentreLines(H2K, V2K, visible, guide->Left(), guide->Top(), guide->Width(), guide->Height());
    VK1P->Repaint();
    PNLCD->Repaint();
}

// ---------------------------------------------------------------- the mouse catcher

void TFrmMain::TOPClkMouseDown(TComponent*, TMouseButton button, TShiftState shift, int x, int y)
{
    TControl* o = SelectedObject;
    if (IsObject(o) && o->OnMouseDown)
        o->OnMouseDown(o, button, shift, x, y);
}

void TFrmMain::TOPClkMouseMove(TComponent* sender, TShiftState shift, int x, int y)
{
    TControl* o = SelectedObject;
    if (IsObject(o) && o->OnMouseMove)
        o->OnMouseMove(sender, shift, x, y);
}

void TFrmMain::TOPClkMouseUp(TComponent* sender, TMouseButton button, TShiftState shift, int x, int y)
{
    TControl* o = SelectedObject;
    if (IsObject(o) && o->OnMouseUp)
        o->OnMouseUp(sender, button, shift, x, y);
}

void TFrmMain::VK1TClick(TComponent*)
{
    if (Vrstvy->ItemIndex() < 0)
        SelectedObject = SizeLabel;
    HideSelectionFrame();
    if (SetTextModeButton)
        SetTextModeButton(false);
    else
        TextEditMode = false;
    ShowCentreLines(false);
    RenumberObjects();
    RebuildLayerList();
    SelectedObject = SizeLabel;
    BuildPropertyLinks();
}
