// Direct manipulation of label objects: selecting with the mouse, dragging,
// resizing by the eight handles (with Shift keeping the aspect ratio),
// nudging with the arrow keys, and deleting.

#include "designer/main/frm_main.h"

#include "classlib/forms/menus.h"
#include "platform/messages.h"

#include <algorithm>

namespace {
bool IsClass(const TControl* c, const char* name) { return c && c->ClassName() == QLatin1String(name); }
} // namespace

// ---------------------------------------------------------------- press, drag, release

void TFrmMain::ObjectMouseDown(TControl* object, bool leavesTextMode, int x, int y)
{
    if (leavesTextMode) {
        if (SetTextModeButton)
            SetTextModeButton(false);
        else
            TextEditMode = false;
    }
    if (IsClass(SelectedObject, "TLabel") && SelectedObject->Hint() == QLatin1String("1")) {
        SelectedObject->SetVisible(true);
        SelectedObject->SetHint(QString());
    }
    if (HideTextEditor)
        HideTextEditor();
    ShowCentreLines(false);
    HideSelectionFrame();
    Vrstvy->SetItemIndex(LayerIndexOf(object->ComponentIndex()));
    SelectedObject = object;
    if (object->Tag() == 2)
        return; // locked: selected, without a frame, never dragged
    DownX = x;
    DownY = y;
    Dragging = true;
    if (IsClass(object, "TCFImage")) {
        if (ShowCircleGuide)
            ShowCircleGuide(object);
    } else {
        ShowSelectionFrame(object->Left(), object->Top(), object->Width(), object->Height());
    }
    if (IsClass(object, "TLabel") && TextEditMode) {
        Dragging = false;
        object->SetMouseCapture(false);
        if (OpenTextEditor)
            OpenTextEditor(object);
    } else if (HideTextEditor) {
        HideTextEditor();
    }
    BuildPropertyLinks();
}

void TFrmMain::ObjectMouseMove(TControl*, int x, int y)
{
    if (!Dragging || !IsObject(SelectedObject))
        return;
    TControl* o = SelectedObject;
    HideSelectionFrame();
    SetModified();
    DragObject(o, x - DownX, y - DownY);
    ShowCentreLines(true);
}

void TFrmMain::DragObject(TControl* o, int dx, int dy)
{
    int left = o->Left() + dx;
    int top = o->Top() + dy;
    if (left + DownX < 0)
        left = -DownX;
    if (left + DownX > PNLCD->Width())
        left = PNLCD->Width() - DownX;
    if (top + DownY < 0)
        top = -DownY;
    if (top + DownY > PNLCD->Height())
        top = PNLCD->Height() - DownY;
    o->SetBounds(left, top, o->Width(), o->Height());
}

void TFrmMain::ObjectMouseUp(TControl* object)
{
    if (object && object->Tag() == 2)
        return;
    Dragging = false;
    if (object)
        object->SetMouseCapture(false);
    if (IsObject(SelectedObject))
        ShowSelectionFrame(SelectedObject->Left(), SelectedObject->Top(), SelectedObject->Width(),
                           SelectedObject->Height());
}

void TFrmMain::LabelMouseDown(TComponent* sender, TMouseButton, TShiftState, int x, int y)
{
    ObjectMouseDown(static_cast<TControl*>(sender), false, x, y);
}
void TFrmMain::LabelMouseMove(TComponent* sender, TShiftState, int x, int y)
{
    ObjectMouseMove(static_cast<TControl*>(sender), x, y);
}
void TFrmMain::LabelMouseUp(TComponent*, TMouseButton, TShiftState, int, int)
{
    // The selection is the object the press went to (also through the catcher).
    ObjectMouseUp(IsClass(SelectedObject, "TLabel") ? SelectedObject : nullptr);
}
void TFrmMain::LabelDblClick(TComponent*)
{
    if (IsClass(SelectedObject, "TLabel") && SetTextModeButton)
        SetTextModeButton(true);
}

void TFrmMain::ImageMouseDown(TComponent* sender, TMouseButton, TShiftState, int x, int y)
{
    ObjectMouseDown(static_cast<TControl*>(sender), true, x, y);
}
void TFrmMain::ImageMouseMove(TComponent* sender, TShiftState, int x, int y)
{
    ObjectMouseMove(static_cast<TControl*>(sender), x, y);
}
void TFrmMain::ImageMouseUp(TComponent*, TMouseButton, TShiftState, int, int)
{
    ObjectMouseUp(IsClass(SelectedObject, "TImage") ? SelectedObject : nullptr);
}

void TFrmMain::TextImgMouseDown(TComponent* sender, TMouseButton, TShiftState, int x, int y)
{
    ObjectMouseDown(static_cast<TControl*>(sender), true, x, y);
}
void TFrmMain::TextImgMouseMove(TComponent* sender, TShiftState, int x, int y)
{
    ObjectMouseMove(static_cast<TControl*>(sender), x, y);
}
void TFrmMain::TextImgMouseUp(TComponent*, TMouseButton, TShiftState, int, int)
{
    ObjectMouseUp(IsClass(SelectedObject, "TFImage") ? SelectedObject : nullptr);
}

void TFrmMain::ShapeMouseDown(TComponent* sender, TMouseButton, TShiftState, int x, int y)
{
    ObjectMouseDown(static_cast<TControl*>(sender), true, x, y);
}
void TFrmMain::ShapeMouseMove(TComponent* sender, TShiftState, int x, int y)
{
    ObjectMouseMove(static_cast<TControl*>(sender), x, y);
}
void TFrmMain::ShapeMouseUp(TComponent*, TMouseButton, TShiftState, int, int)
{
    ObjectMouseUp(IsClass(SelectedObject, "TShape") ? SelectedObject : nullptr);
}

void TFrmMain::ShapeContextPopup(TComponent* sender, TPoint mousePos, bool& handled)
{
    auto* shape = static_cast<TControl*>(sender);
    const TPoint p = PNLCD->ClientToScreen(mousePos);
    const TControl* o = IsObject(SelectedObject) ? SelectedObject : shape;
    PopupMenuSHP->SetPopupComponent(shape);
    PopupMenuSHP->Popup(p.X + o->Left(), p.Y + o->Top());
    handled = true;
}

// ---------------------------------------------------------------- handles

void TFrmMain::HandleMouseDown(THandleKind kind, int, int)
{
    Resizing = true;
    if (!IsObject(SelectedObject))
        return;
    TControl* o = SelectedObject;
    o->SetVisible(true);
    const int L0 = o->Left(), T0 = o->Top(), W0 = o->Width(), H0 = o->Height();
    int& a = ResizeA;
    int& b = ResizeB;
    int& c = ResizeC;
    int& d = ResizeD;
    switch (kind) {
    case hkPRB: a = W0 - 2; b = H0 - 2; c = 0; d = 0; break;
    case hkPLB: a = L0 - 2; b = W0 + 3; c = T0; d = H0 - 2; break;
    case hkPR: a = L0; b = W0 - 2; c = T0 - 2; d = H0 + 3; break;
    case hkPL: a = L0 - 2; b = W0 + 3; c = T0 - 2; d = H0 + 3; break;
    case hkPR1:
    case hkPB1: a = L0 - 2; b = W0 - 2; c = T0 - 2; d = H0 - 2; break;
    case hkPL1: a = L0 - 2; b = W0 + 3; c = T0 - 2; d = H0 + 2; break;
    case hkPT1: a = L0 - 2; b = W0 + 3; c = T0 - 2; d = H0 + 3; break;
    }
}

void TFrmMain::HandleMouseMove(THandleKind kind, TShiftState shift, int X, int Y)
{
    if (!Resizing || !IsObject(SelectedObject))
        return;
    TControl* o = SelectedObject;
    const int a = ResizeA, b = ResizeB, c = ResizeC, d = ResizeD;
    SetModified();
    ShowCentreLines(true);
    // An offset that would make the plain size negative counts as none.
    switch (kind) {
    case hkPRB:
        if (a + X < 0) X = 0;
        if (b + Y < 0) Y = 0;
        break;
    case hkPLB:
        if (b - X - 1 < 0) X = 0;
        if (d + Y < 0) Y = 0;
        break;
    case hkPR:
        if (b + X < 0) X = 0;
        if (d - Y - 1 < 0) Y = 0;
        break;
    case hkPL:
        if (b - X - 1 < 0) X = 0;
        if (d - Y - 1 < 0) Y = 0;
        break;
    case hkPR1:
        if (b + X < 0) X = 0;
        break;
    case hkPB1:
        if (d + Y < 0) Y = 0;
        break;
    case hkPL1:
        if (b - X - 1 < 0) X = 0;
        break;
    case hkPT1:
        if (d - Y - 1 < 0) Y = 0;
        break;
    }
    HideSelectionFrame();
    int L = o->Left(), T = o->Top(), W = o->Width(), H = o->Height();
    // Keeping the aspect ratio needs one; a flat object has none and resizes plainly.
    const bool keepAspect = (shift & ssShift) && W > 0 && H > 0;
    if (!keepAspect) {
        switch (kind) {
        case hkPRB: W = a + X; H = b + Y; break;
        case hkPLB: L = a + X; W = b - X - 1; H = d + Y; break;
        case hkPR: T = c + Y; H = d - Y - 1; W = b + X; break;
        case hkPL: T = c + Y; H = d - Y - 1; L = a + X; W = b - X - 1; break;
        case hkPR1: W = b + X; break;
        case hkPB1: H = d + Y; break;
        case hkPL1: L = a + X; W = b - X - 1; break;
        case hkPT1: T = c + Y; H = d - Y - 1; break;
        }
    } else {
        int bw = 0, bh = 0;
        switch (kind) {
        case hkPRB: bw = a + X; bh = b + Y; break;
        case hkPLB: bw = b - X + 1; bh = d - X + 4; break;
        case hkPR: bw = b + X; bh = d - Y - 1; break;
        case hkPL: bw = b - X - 1; bh = d - Y - 1; break;
        case hkPR1: bw = b + X; bh = b + X; break;
        case hkPB1: bw = b + Y + 2; bh = d + Y + 5; break;
        case hkPL1: bw = b - X - 1; bh = d - X - 1; break;
        case hkPT1: bw = b - Y - 1; bh = d - Y - 1; break;
        }
        FitProportional(W, H, bw, bh, W, H);
        // A box turned inside out gives no size, never a negative one.
        W = std::max(W, 0);
        H = std::max(H, 0);
        switch (kind) {
        case hkPLB: L = a + b - W; break;
        case hkPR: T = c + d - 1 - H; break;
        case hkPL:
            T = c + d - 1 - H;
            L = a + b - W;
            break;
        case hkPL1:
            T = c + d - 1 - H;
            L = a + b - W;
            break;
        case hkPT1: T = c + d - 1 - H; break;
        default: break;
        }
    }
    o->SetBounds(L, T, W, H);
    if (TextEditMode && PlaceTextEditor)
        PlaceTextEditor(o);
    if (IsClass(o, "TFImage") && RedrawTextImage)
        RedrawTextImage(o);
}

void TFrmMain::HandleMouseUp()
{
    Resizing = false;
    if (!IsObject(SelectedObject))
        return;
    SelectedObject->SetVisible(true);
    ShowSelectionFrame(SelectedObject->Left(), SelectedObject->Top(), SelectedObject->Width(), SelectedObject->Height());
}

// ---------------------------------------------------------------- keyboard

void TFrmMain::FormShortCut(int key, TShiftState shift, bool& handled)
{
    TControl* o = SelectedObject;
    if (!o || o->Tag() == 0 || o->Tag() == 2 || EditorShowing())
        return;
    if (key != VK_LEFT && key != VK_UP && key != VK_RIGHT && key != VK_DOWN)
        return;
    int dx = 0, dy = 0;
    if (shift & ssShift) {
        int w = o->Width(), h = o->Height();
        switch (key) {
        case VK_LEFT: --w; break;
        case VK_UP: --h; break;
        case VK_RIGHT: ++w; break;
        default: ++h; break;
        }
        // Never below nothing.
        o->SetBounds(o->Left(), o->Top(), std::max(w, 0), std::max(h, 0));
    } else {
        switch (key) {
        case VK_LEFT: dx = -1; break;
        case VK_UP: dy = -1; break;
        case VK_RIGHT: dx = 1; break;
        default: dy = 1; break;
        }
        o->SetBounds(o->Left() + dx, o->Top() + dy, o->Width(), o->Height());
    }
    handled = true;
    if (IsClass(o, "TCFImage")) {
        if ((dx || dy) && MoveCircleCentre)
            MoveCircleCentre(o, dx, dy);
        if (ShowCircleGuide)
            ShowCircleGuide(o);
    } else {
        ShowSelectionFrame(o->Left(), o->Top(), o->Width(), o->Height());
    }
    if (IsClass(o, "TFImage") && RedrawTextImage)
        RedrawTextImage(o);
    SetModified();
}

// ---------------------------------------------------------------- delete

void TFrmMain::mnuSmazat1Click(TComponent*)
{
    SetModified();
    if (Vrstvy->Items()->Count() == 0) {
        VK1TClick(this);
        return;
    }
    if (EditorShowing())
        return;
    HideSelectionFrame();
    ShowCentreLines(false);
    TControl* victim = IsObject(SelectedObject) ? SelectedObject : nullptr;
    SelectedObject = SizeLabel;
    // With nothing selected there is nothing to free (the measuring label is no object).
    delete victim;
    RenumberObjects();
    RebuildLayerList();
    if (ObjectCount() > 0) {
        Vrstvy->SetItemIndex(0);
        VrstvyClick(Vrstvy);
    } else {
        VK1TClick(this);
    }
}

void TFrmMain::mnEditClick(TComponent*)
{
    // The Edit menu's Delete item lives with the main menu.
    if (auto* item = dynamic_cast<TMenuItem*>(FindComponent(QStringLiteral("mnuSmazat"))))
        item->SetEnabled(!EditorShowing() && Vrstvy->ItemIndex() >= 0);
}

void TFrmMain::PopupMenuTxtPopup(TComponent*) { mnuSmazat1->SetEnabled(!TextEditMode); }
