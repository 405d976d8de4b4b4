#include "skin/controls/skin_combo_edit.h"

#include "classlib/graphics/types.h"
#include "platform/system_metrics.h"
#include "platform/window_info.h"
#include "skin/controls/skin_bars.h"
#include "skin/controls/skin_scroll.h"
#include "skin/form/skin_primitives.h"
#include "skin/skin_data.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <algorithm>

namespace {
// The class library's command notice and the combo box notifications in it.
constexpr unsigned CN_COMMAND = 0xBD11;
enum : unsigned { CBN_DROPDOWN = 7, CBN_CLOSEUP = 8 };
// The edits' print request: the control paints itself into the given context.
constexpr unsigned kEditPrintRequest = 0xBC4A;
constexpr LPARAM kSkinPrintMagic = 0x41A2;

// Frame (from 1) of a strip that was mirrored as a whole: its cells run backwards.
int MirroredFrame(int frame, int frames) { return std::max(1, frames) + 1 - frame; }

void FrameRect(QPainter& dc, const TRect& r, const QColor& c)
{
    if (r.IsEmpty())
        return;
    dc.fillRect(QRect(r.Left, r.Top, r.Width(), 1), c);
    dc.fillRect(QRect(r.Left, r.Bottom - 1, r.Width(), 1), c);
    dc.fillRect(QRect(r.Left, r.Top, 1, r.Height()), c);
    dc.fillRect(QRect(r.Right - 1, r.Top, 1, r.Height()), c);
}

TRect Shrunk(const TRect& r, int d) { return TRect(r.Left + d, r.Top + d, r.Right - d, r.Bottom - d); }
} // namespace

bool GetComboBoxInfo(HWND combo, COMBOBOXINFO& info)
{
    auto* cb = qobject_cast<QComboBox*>(combo);
    if (!cb)
        return false;
    QStyleOptionComboBox opt;
    opt.initFrom(cb);
    opt.editable = cb->isEditable();
    opt.frame = cb->hasFrame();
    opt.subControls = QStyle::SC_All;
    QStyle* style = cb->style();
    info.rcItem = TRect::From(style->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, cb));
    info.rcButton = TRect::From(style->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxArrow, cb));
    info.stateButton = cb->view() && cb->view()->isVisible() ? STATE_SYSTEM_PRESSED : 0u;
    info.hwndCombo = cb;
    info.hwndItem = cb->lineEdit();
    info.hwndList = cb->view();
    return true;
}

// ---------------------------------------------------------------- TSkinComBox

TSkinComBox::~TSkinComBox()
{
    UnsubclassEdit();
    UnhookPopup();
    delete FListScroll;
    delete FDropDownScroll;
    FListScroll = nullptr;
    FDropDownScroll = nullptr;
}

void TSkinComBox::Notification(TComponent* component, TOperation operation)
{
    TSkinControl::Notification(component, operation);
    if (operation != TOperation::opRemove)
        return;
    // The list skinners belong to the control, which may free them first.
    if (component == FListScroll)
        FListScroll = nullptr;
    if (component == FDropDownScroll)
        FDropDownScroll = nullptr;
}

void TSkinComBox::InitControl(TWinSkinForm* form, TSkinData* skinData, TCanvas* canvas, bool setColor)
{
    if (Attached())
        return;
    TSkinControl::InitControl(form, skinData, canvas, setColor);
    if (!Attached())
        return;
    FStyle = static_cast<uint32_t>(WindowLong(GWL_STYLE));
    FListScroll = nullptr;
    if ((FStyle & 3) == CBS_SIMPLE) {
        if (GetComboBoxInfo(FHwnd, FInfo)) {
            FListWindow = FInfo.hwndList;
            const auto listStyle = static_cast<uint32_t>(GetWindowLong(FInfo.hwndList, GWL_STYLE));
            if (FInfo.hwndList && !IsFloatingWindow(FInfo.hwndList) && (listStyle & WS_CHILD)) {
                FListScroll = new TSkinScrollbarH(FControl);
                FListScroll->FreeNotification(this);
                FListScroll->InitHwnd(FInfo.hwndList, skinData, canvas, form);
            }
        }
    } else if ((FStyle & 2) && GetComboBoxInfo(FHwnd, FInfo) && FInfo.hwndList) {
        FDropDownScroll = new TComboxScrollBar(FControl);
        FDropDownScroll->FreeNotification(this);
        FDropDownScroll->InitHwnd(FInfo.hwndList, skinData, canvas, form);
    }
    if (!FUnicode)
        SubclassEdit();
    if ((FStyle & 3) != CBS_SIMPLE)
        FListWindow = nullptr;
    Prepare();
}

void TSkinComBox::InitHwnd(HWND window, TSkinData* skinData, TCanvas* canvas, TWinSkinForm* form)
{
    if (Attached())
        return;
    TSkinControl::InitHwnd(window, skinData, canvas, form);
    FStyle = static_cast<uint32_t>(WindowLong(GWL_STYLE));
    if ((FStyle & 3) == CBS_SIMPLE) {
        if (GetComboBoxInfo(FHwnd, FInfo))
            FListWindow = FInfo.hwndList;
    } else if (!FUnicode) {
        SubclassEdit();
    }
    Prepare();
}

void TSkinComBox::Prepare()
{
    if (!FHwnd)
        return;
    // Hover on the drop button needs moves without a button held.
    FSavedTracking = FHwnd->hasMouseTracking();
    FHwnd->setMouseTracking(true);
    // The drop-down list takes the release of the press that opened it.
    if (auto* cb = qobject_cast<QComboBox*>(FHwnd.data()); cb && cb->view() && cb->view()->parentWidget()) {
        FPopup = cb->view()->parentWidget();
        FPopupProc = [this](TMessage& m) {
            TWndProc old = FOldPopupProc;
            CallWindowProc(old, m);
            if (m.Msg == WM_SHOWWINDOW && m.WParam == 0 && (FMouseState & msPressed)) {
                SetMouseFlag(msPressed, false);
            }
        };
        FOldPopupProc = SetWindowProc(FPopup.data(), FPopupProc);
    }
}

void TSkinComBox::UnhookPopup()
{
    if (FPopup && FPopupProc)
        SetWindowProc(FPopup.data(), FOldPopupProc);
    FPopup = nullptr;
    FPopupProc = nullptr;
    FOldPopupProc = nullptr;
}

void TSkinComBox::Restore()
{
    TSkinControl::Restore();
    UnsubclassEdit();
    if (FLifeState != lsDestroying) {
        UnhookPopup();
        if (FHwnd)
            FHwnd->setMouseTracking(FSavedTracking);
    }
    FreeListSkinners();
}

void TSkinComBox::FreeListSkinners()
{
    for (TSkinControl* s : {static_cast<TSkinControl*>(FListScroll), static_cast<TSkinControl*>(FDropDownScroll)}) {
        if (!s)
            continue;
        if (FLifeState != lsDestroying)
            s->Restore();
        RemoveFreeNotification(s);
        delete s;
    }
    FListScroll = nullptr;
    FDropDownScroll = nullptr;
}

void TSkinComBox::SubclassEdit()
{
    HWND edit = GetTopWindow(FHwnd);
    if (!edit)
        return;
    FEditWindow = edit;
    FEditProc = [this](TMessage& m) { EditProc(m); };
    FOldEditProc = SetWindowProc(edit, FEditProc);
}

void TSkinComBox::UnsubclassEdit()
{
    if (FEditWindow && FEditProc)
        SetWindowProc(FEditWindow.data(), FOldEditProc);
    FEditWindow = nullptr;
    FEditProc = nullptr;
    FOldEditProc = nullptr;
}

void TSkinComBox::EditProc(TMessage& m)
{
    TWndProc old = FOldEditProc;
    CallWindowProc(old, m);
    switch (m.Msg) {
    case WM_PAINT:
        PaintWindow(nullptr);
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        SetMouseFlag(msPressed, true);
        break;
    case WM_LBUTTONUP:
        SetMouseFlag(msPressed, false);
        break;
    default:
        break;
    }
}

int TSkinComBox::ButtonFrame() const
{
    const TDataSkinBorder* cb = FSkinData ? FSkinData->ComboButton.get() : nullptr;
    const bool focused = FHwnd && (GetFocus() == FHwnd.data() || (GetFocus() && FHwnd->isAncestorOf(GetFocus())));
    const bool disabled = (static_cast<uint32_t>(WindowLong(GWL_STYLE)) & WS_DISABLED) != 0;
    int frame = 1;
    if (cb && cb->Style == 1) {
        // Flat: pressed and hover win over the disabled look.
        frame = focused ? 4 : !disabled ? 1 : 3;
        if (FMouseState & msPressed)
            frame = 2;
        else if (FMouseState & msHover)
            frame = 4;
        return frame;
    }
    if (focused)
        frame = 4;
    if (FMouseState & msPressed)
        frame = 2;
    else if (FMouseState & msHover)
        frame = 4;
    if (disabled)
        frame = 3;
    return frame;
}

void TSkinComBox::DrawControl(QPainter& dc, const TRect& r)
{
    const TDataSkinBorder* cb = FSkinData ? FSkinData->ComboButton.get() : nullptr;
    if (!HasSkinImage(cb))
        return;
    FStyle = static_cast<uint32_t>(WindowLong(GWL_STYLE));
    FExStyle = static_cast<uint32_t>(WindowLong(GWL_EXSTYLE));
    if (GetComboBoxInfo(FHwnd, FInfo) && (FInfo.stateButton & STATE_SYSTEM_INVISIBLE))
        return;
    const int frame = ButtonFrame();
    const bool left = (FExStyle & WS_EX_LEFTSCROLLBAR) != 0;
    const int frames = std::max(1, cb->Frame);
    const int bw = GetSystemMetrics(SM_CXHSCROLL);
    dc.save();
    if (cb->Style == 1) {
        DrawFlat(dc, r, left);
    } else if (cb->Style == 2) {
        const TDataSkinObject* e = left ? FSkinData->SunkEdge.get() : static_cast<const TDataSkinObject*>(cb);
        if (HasSkinImage(e)) {
            // The edit field of the combined strip is the magenta key.
            NineGridDraw(dc, r, e->Image, false, e->Tile != 0, true, std::max(1, e->Frame),
                         left ? MirroredFrame(frame, e->Frame) : frame,
                         TSkinMargins{e->LeftWidth, e->TopHeight, e->RightWidth, e->BottomHeight});
        }
        FButtonRect = left ? TRect(r.Left + 2, r.Top, r.Left + bw + 2, r.Bottom)
                           : TRect(r.Right - bw - 2, r.Top, r.Right - 2, r.Bottom);
    } else {
        const TRect text = left ? TRect(r.Left + bw + 4, r.Top + 2, r.Right - 2, r.Bottom - 2)
                                : TRect(r.Left + 2, r.Top + 2, r.Right - bw - 4, r.Bottom - 2);
        dc.setClipRegion(QRegion(r.ToQRect()) - QRegion(text.ToQRect()), Qt::IntersectClip);
        DrawSkinPart(dc, r, FSkinData->SunkEdge.get(), frame);
        FButtonRect = left ? TRect(2, r.Top, bw + 2, r.Bottom) : TRect(r.Right - bw - 2, r.Top, r.Right - 2, r.Bottom);
        if (left)
            DrawFrameStretched(dc, FButtonRect, cb->Image2, true, frames, MirroredFrame(frame, frames));
        else
            DrawFrameStretched(dc, FButtonRect, cb->Image, true, frames, frame);
        if (const TDataSkinObject* extra = FSkinData->ExtraImages.get(); HasSkinImage(extra))
            DrawFrameCentered(dc, FButtonRect, extra->Image, true, std::max(1, extra->Frame), frame);
    }
    dc.restore();
}

void TSkinComBox::DrawFlat(QPainter& dc, const TRect& r, bool left)
{
    const TDataSkinBorder* cb = FSkinData->ComboButton.get();
    const int frames = std::max(1, cb->Frame);
    const int frame = ButtonFrame();
    // The context's brush: the field's own colour.
    const QColor brush = FHwnd ? FHwnd->palette().color(QPalette::Base) : QColor(Qt::white);
    FrameRect(dc, Shrunk(r, 1), brush);
    const TRect inner = Shrunk(r, 2);
    const int bw = GetSystemMetrics(SM_CYVTHUMB);
    const TRect button = left ? TRect(inner.Left, inner.Top, inner.Left + bw, inner.Bottom)
                              : TRect(inner.Right - bw, inner.Top, inner.Right, inner.Bottom);
    dc.fillRect(button.ToQRect(), brush);
    FrameRect(dc, r, ToQColor(FSkinData->Colours.ButtonShadow));
    const int cw = cb->Image.width() / frames, ch = cb->Image.height();
    TRect image = left ? TRect(button.Left, button.Top, button.Left + cw, button.Bottom)
                       : TRect(button.Right - cw, button.Top, button.Right, button.Bottom);
    if (button.Height() > ch)
        image.Bottom = image.Top + ch;
    FButtonRect = image;
    if (left)
        DrawFrameStretched(dc, image, cb->Image2, true, frames, MirroredFrame(frame, frames));
    else
        DrawFrameStretched(dc, image, cb->Image, true, frames, frame);
}

void TSkinComBox::AfterProc(TMessage& m)
{
    const bool enabled = !(static_cast<uint32_t>(WindowLong(GWL_STYLE)) & WS_DISABLED);
    switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        SetMouseFlag(msPressed, true);
        break;
    case WM_LBUTTONUP:
        SetMouseFlag(msPressed, false);
        break;
    case WM_MOUSEMOVE: {
        const int x = LoWordSigned(m.LParam), y = HiWordSigned(m.LParam);
        const bool inside = FButtonRect.Contains(x, y);
        if (!(FMouseState & msHover)) {
            if (inside && enabled) {
                SetMouseFlag(msHover, true);
            }
        } else if (!inside && enabled) {
            SetMouseFlag(msHover, false);
        }
        break;
    }
    case CM_MOUSELEAVE:
        if (FMouseState & msHover) {
            SetMouseFlag(msHover, false);
        }
        break;
    case CN_COMMAND:
        if (HiWord(m.WParam) == CBN_DROPDOWN)
            FDropped = true;
        else if (HiWord(m.WParam) == CBN_CLOSEUP)
            FDropped = false;
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        break;
    case WM_DRAWITEM:
    case WM_NCPAINT:
        Repaint();
        break;
    default:
        TSkinControl::AfterProc(m);
        break;
    }
}

// ---------------------------------------------------------------- TSkinEdit

bool TSkinEdit::HasBorder() const
{
    if (!FHwnd)
        return false;
    TRect wr, cr;
    GetWindowRect(FHwnd, wr);
    GetClientRect(FHwnd, cr);
    if (cr.Width() < wr.Width() && cr.Height() < wr.Height())
        return true;
    // Qt's line edits and spin boxes draw their border inside their client.
    if (auto* spin = qobject_cast<QAbstractSpinBox*>(FHwnd.data()))
        return spin->hasFrame();
    return (static_cast<uint32_t>(WindowLong(GWL_EXSTYLE)) & WS_EX_CLIENTEDGE) != 0;
}

void TSkinEdit::DrawControl(QPainter& dc, const TRect& r)
{
    if (!FHwnd)
        return;
    if (FSkinData && FSkinData->SkinControls().Contains(xcSpin) && !FUpDown) {
        std::vector<HWND> candidates;
        // A spin box holds its arrows itself.
        if (qobject_cast<QAbstractSpinBox*>(FHwnd.data()))
            candidates.push_back(FHwnd);
        for (HWND child = GetTopWindow(FHwnd); child; child = GetWindow(child, GW_HWNDNEXT))
            candidates.push_back(child);
        for (HWND w : candidates) {
            const QString cls = GetClassName(w).toLower();
            if (cls == QLatin1String("msctls_updown32") || cls.contains(QLatin1String("spin")) ||
                cls.contains(QLatin1String("updown"))) {
                TComponent* owner = FControl && FControl->Owner() ? FControl->Owner() : Owner();
                FUpDown = new TSkinUpDown(owner);
                FUpDown->Embedded = true;
                FUpDown->InitHwnd(w, FSkinData, FWorkCanvas, FSkinForm);
                break;
            }
        }
    }
    if (!HasBorder())
        return;
    FrameRect(dc, r, ToQColor(FSkinData ? FSkinData->Colours.ButtonShadow : clBtnShadow));
    FrameRect(dc, Shrunk(r, 1), Qt::white);
    FrameRect(dc, Shrunk(r, 2), Qt::white);
}

void TSkinEdit::AfterProc(TMessage& m)
{
    switch (m.Msg) {
    case WM_PAINT:
        PaintWindow(reinterpret_cast<QPainter*>(m.WParam));
        break;
    case WM_PRINT: {
        auto* dc = reinterpret_cast<QPainter*>(m.WParam);
        if (!dc || !FHwnd)
            break;
        TRect wr, cr;
        GetWindowRect(FHwnd, wr);
        GetClientRect(FHwnd, cr);
        if (wr.Width() - cr.Width() >= 2 && wr.Height() - cr.Height() >= 2) {
            const TRect r(0, 0, wr.Width(), wr.Height());
            FrameRect(*dc, Shrunk(r, 1), FHwnd->palette().color(QPalette::Base));
            FrameRect(*dc, r, ToQColor(FSkinData ? FSkinData->Colours.ButtonShadow : clBtnShadow));
        }
        break;
    }
    case kEditPrintRequest:
        if (m.LParam == kSkinPrintMagic) {
            if (m.WParam) {
                TMessage paint;
                paint.Msg = WM_PRINT;
                paint.WParam = m.WParam;
                CallOldProc(paint);
            }
            m.Result = kSkinPrintMagic;
        }
        break;
    default:
        TSkinControl::AfterProc(m);
        break;
    }
}
