#include "skin/controls/skin_control.h"

#include "classlib/graphics/canvas.h"
#include "classlib/graphics/types.h"
#include "platform/window_info.h"
#include "skin/controls/skin_props.h"
#include "skin/form/skin_form.h"
#include "skin/form/skin_messages.h"
#include "skin/form/skin_primitives.h"
#include "skin/skin_data.h"

#include <QEvent>
#include <algorithm>

namespace {
bool& UnicodeMode()
{
    static bool on = VersionIsNT(GetVersion());
    return on;
}

// Sets a flag for the length of a scope, giving back the value it had.
class TFlagScope {
public:
    TFlagScope(bool& flag, bool value) : FFlag(flag), FSaved(flag) { FFlag = value; }
    ~TFlagScope() { FFlag = FSaved; }
    TFlagScope(const TFlagScope&) = delete;
    TFlagScope& operator=(const TFlagScope&) = delete;

private:
    bool& FFlag;
    bool FSaved;
};
} // namespace

bool SkinUnicodeMode() { return UnicodeMode(); }
void SetSkinUnicodeMode(bool on) { UnicodeMode() = on; }

TSkinControl::TSkinControl(TComponent* owner) : TComponent(owner) {}

TSkinControl::~TSkinControl()
{
    // A control that frees us while it goes has no procedure left to give
    // back; one that lives on (skinning switched off) gets its own again.
    if (FSavedWindowMethod) {
        if (FControl && Owner() == FControl)
            FControl->WindowProc = FSavedWindowMethod;
        FSavedWindowMethod = nullptr;
    }
    if (FProcInstance) {
        if (FHwnd)
            SetWindowLong(FHwnd.data(), GWL_WNDPROC, FOldProc);
        FProcInstance = nullptr;
        FOldProc = nullptr;
    }
    if (FSkinForm)
        FSkinForm->RemoveControl(this);
}

void TSkinControl::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    // The owner's removal notice reaches us too, before the form's own
    // destructor frees its skinners: those must still leave its list then.
    if (operation == TOperation::opRemove && component == FSkinForm && component->IsDestroying())
        FSkinForm = nullptr;
}

void TSkinControl::SetMouseFlag(uint8_t flag, bool on)
{
    FMouseState = on ? static_cast<uint8_t>(FMouseState | flag) : static_cast<uint8_t>(FMouseState & ~flag);
    // The form ends the hover of the control that last had it when the
    // window goes inactive (the mouse may leave without a notice then).
    if (on && (flag & msHover) && FSkinForm)
        FSkinForm->SetHotControl(this);
    Repaint();
}

void TSkinControl::JoinForm(TWinSkinForm* form)
{
    FSkinForm = form;
    if (form) {
        FreeNotification(form);
        form->AddControl(this);
    }
}

void TSkinControl::InitControl(TWinSkinForm* form, TSkinData* skinData, TCanvas* canvas, bool setColor)
{
    if (FAttached)
        return;
    FSkinData = skinData;
    FWorkCanvas = canvas;
    FSetColor = setColor;
    FControl = dynamic_cast<TControl*>(Owner());
    if (!FControl)
        return;
    if (auto* wc = dynamic_cast<TWinControl*>(FControl)) {
        FHwnd = wc->Handle();
        FUnicode = IsWindowUnicode(FHwnd);
    }
    FSavedWindowMethod = FControl->WindowProc;
    FControl->WindowProc = [this](TMessage& m) { SkinWndProc(m); };
    JoinForm(form);
    if (setColor) {
        SwitchParentBackgroundOff();
        FSavedColor = FControl->Color();
        FControl->SetColor(FaceColour());
        if (FParentBackgroundWasOn)
            FCustomFlag = 1;
    }
    FControl->Invalidate();
    FAttached = true;
    FLifeState = lsAttached;
}

void TSkinControl::InitHwnd(HWND window, TSkinData* skinData, TCanvas* canvas, TWinSkinForm* form)
{
    if (FAttached || !window)
        return;
    FHwnd = window;
    FSkinData = skinData;
    FWorkCanvas = canvas;
    FWindowEnabled = 1;
    FCustomFlag = 0;
    JoinForm(form);
    FUnicode = IsWindowUnicode(window);
    FCaption = ReadWindowText();
    FProcInstance = [this](TMessage& m) { SkinWndProc(m); };
    FOldProc = SetWindowLong(window, GWL_WNDPROC, FProcInstance);
    InvalidateRect(window, nullptr, true);
    FAttached = true;
    FLifeState = lsAttached;
}

void TSkinControl::Restore()
{
    if (!FSetColor || !FControl)
        return;
    SwitchParentBackgroundOn();
    FControl->SetColor(FSavedColor);
}

void TSkinControl::ApplyColor()
{
    if (FSetColor && FControl)
        FControl->SetColor(FaceColour());
    Repaint();
}

void TSkinControl::SkinWndProc(TMessage& m)
{
    if (m.Msg == WM_SKINENABLE) {
        FSkinningOn = m.WParam > 0;
        // Off too: the control's own look must replace the skin's at once.
        Repaint();
        return;
    }
    if (!FSkinningOn) {
        CallOldProc(m);
        return;
    }
    const bool paintEvent = m.Msg == WM_PAINT && m.Event && m.Event->type() == QEvent::Paint;
    TFlagScope scope(FPaintEvent, paintEvent || FPaintEvent);
    if (BeforeProc(m)) {
        CallOldProc(m);
        AfterProc(m);
    }
}

bool TSkinControl::BeforeProc(TMessage& m)
{
    switch (m.Msg) {
    case WM_NCDESTROY:
        CallOldProc(m);
        FSkinningOn = false;
        FLifeState = lsDestroying;
        Restore();
        return false;
    case WM_SKINQUERY:
        m.Result = 1;
        return false;
    default:
        return true;
    }
}

void TSkinControl::AfterProc(TMessage& m)
{
    switch (m.Msg) {
    case WM_PAINT:
        PaintWindow(reinterpret_cast<QPainter*>(m.WParam));
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case CM_ENABLEDCHANGED:
        Repaint();
        break;
    case WM_SKINENABLE:
        FSkinningOn = m.WParam > 0;
        break;
    default:
        break;
    }
}

void TSkinControl::PaintWindow(QPainter* dc)
{
    if (!FHwnd)
        return;
    TRect wr;
    if (!GetWindowRect(FHwnd, wr))
        return;
    FWindowRect = wr;
    PaintNow(dc);
}

void TSkinControl::PaintNow(QPainter* dc)
{
    if (!FHwnd)
        return;
    const TRect r(0, 0, FHwnd->width(), FHwnd->height());
    if (dc) {
        DrawControl(*dc, r);
        return;
    }
    if (FPaintEvent) {
        QPainter p(FHwnd.data());
        DrawControl(p, r);
        return;
    }
    // Outside a paint our windows cannot be drawn on: ask for one.
    FHwnd->update();
}

void TSkinControl::DrawControl(QPainter&, const TRect&) {}

void TSkinControl::Repaint()
{
    if (FGraphicControl) {
        FGraphicControl->Invalidate();
        return;
    }
    if (!FHwnd)
        return;
    InvalidateRect(FHwnd, nullptr, true);
    UpdateWindow(FHwnd);
}

void TSkinControl::CallOldProc(TMessage& m)
{
    if (FSavedWindowMethod) {
        // Held by value: the call may free this skinner.
        TWndMethod method = FSavedWindowMethod;
        method(m);
        return;
    }
    if (FOldProc) {
        TWndProc old = FOldProc;
        CallWindowProc(old, m);
    }
}

void TSkinControl::SendMouseLeave()
{
    if (FHwnd)
        SendMessage(FHwnd, CM_MOUSELEAVE, 0, 0);
}

QString TSkinControl::ReadWindowText() const
{
    if (!FHwnd)
        return {};
    if (SkinUnicodeMode()) {
        const int n = GetWindowTextLength(FHwnd) + 1;
        return GetWindowText(FHwnd).left(n);
    }
    QString buffer;
    SendMessage(FHwnd, WM_GETTEXT, 1000, LParamOf(&buffer));
    return buffer.left(999);
}

intptr_t TSkinControl::WindowLong(int index) const { return FHwnd ? GetWindowLong(FHwnd.data(), index) : 0; }

TColor TSkinControl::FaceColour() const { return FSkinData ? FSkinData->Colours.ButtonFace : clBtnFace; }

void TSkinControl::FillColor(QPainter& dc, const TRect& r, TColor color) const
{
    if (r.IsEmpty())
        return;
    dc.fillRect(r.ToQRect(), ToQColor(color));
}

void TSkinControl::FillFace(QPainter& dc, const TRect& r) const { FillColor(dc, r, FaceColour()); }

TColor TSkinControl::ParentColor() const
{
    TControl* c = FControl ? FControl : FGraphicControl;
    if (c && c->Parent() && HasProperty(c->Parent(), QStringLiteral("Color")))
        return static_cast<TColor>(GetOrdProp(c->Parent(), QStringLiteral("Color")));
    return FaceColour();
}

void TSkinControl::FillParentColor(QPainter& dc, const TRect& r) const { FillColor(dc, r, ParentColor()); }

void TSkinControl::DrawFocusAroundText(QPainter& dc, const TFont& font, unsigned flags, const TRect& bounds,
                                       const TRect* clip) const
{
    TCanvas canvas;
    canvas.BindPainter(&dc);
    canvas.SetFont(&font);
    TRect box = bounds;
    canvas.DrawText(FCaption, box, (flags | DT_CALCRECT | DT_NOCLIP) & ~DT_RTLREADING);
    const int w = box.Width(), h = box.Height();
    if (flags & DT_CENTER) {
        box.Left = bounds.Left + (bounds.Width() - w) / 2;
        box.Top = bounds.Top + (bounds.Height() - h) / 2 - 1;
        box.Right = box.Left + w;
        box.Bottom = box.Top + h;
    } else if (flags & DT_RIGHT) {
        box.Left += bounds.Width() - w;
        box.Right += bounds.Width() - w;
    }
    const TInkOverhang ink = InkBeyondLines(font, FCaption);
    box = TRect(box.Left - 2, box.Top - 1 - ink.Above, box.Right + 2, box.Bottom + 1 + ink.Below);
    const TRect& limit = clip ? *clip : bounds;
    box = TRect(std::max(box.Left, limit.Left), std::max(box.Top, limit.Top), std::min(box.Right, limit.Right),
                std::min(box.Bottom, limit.Bottom));
    canvas.DrawFocusRect(box);
    canvas.Unbind();
}

void TSkinControl::ForwardMouseDown(const TMessage& m) const
{
    if (!FControl)
        return;
    int x = LoWordSigned(m.LParam), y = HiWordSigned(m.LParam);
    if (FControl->Width() >= 32769 || FControl->Height() >= 32769) {
        const TPoint p = FControl->ScreenToClient(GetCursorPos());
        x = p.X;
        y = p.Y;
    }
    FControl->MouseDown(mbLeft, ShiftStateFromKeys(m.WParam), x, y);
}

bool TSkinControl::TakesParentImage() const
{
    const TControl* c = FControl ? FControl : FGraphicControl;
    const bool tagged = c && c->Tag() == kSkinParentImageTag;
    return tagged || (FSkinData && FSkinData->Options().Contains(xoTransparent));
}

void TSkinControl::PaintParentImage(QPainter& dc, const TRect& r) const
{
    if (FHwnd && !FGraphicControl) {
        dc.save();
        dc.setClipRect(r.ToQRect(), Qt::IntersectClip);
        PaintParentBackground(FHwnd, dc);
        dc.restore();
        return;
    }
    // A control without a window has no place of its own in its parent's
    // painting: the parent's colour stands for its image.
    FillParentColor(dc, r);
}

unsigned TSkinControl::RtlFlag() const
{
    const TControl* c = FControl ? FControl : FGraphicControl;
    return c && c->BiDiMode() == bdRightToLeft ? DT_RTLREADING : 0u;
}

void TSkinControl::SwitchParentBackgroundOff()
{
    if (!FControl || (FSkinData && FSkinData->Options().Contains(xoParentBackGround)) ||
        !HasProperty(FControl, QStringLiteral("ParentBackground")))
        return;
    FParentBackgroundWasOn = GetPropValue(FControl, QStringLiteral("ParentBackground")).toLower() == QLatin1String("true");
    if (FParentBackgroundWasOn)
        SetPropValue(FControl, QStringLiteral("ParentBackground"), QStringLiteral("False"));
}

void TSkinControl::SwitchParentBackgroundOn()
{
    if (!FControl || (FSkinData && FSkinData->Options().Contains(xoParentBackGround)) ||
        !HasProperty(FControl, QStringLiteral("ParentBackground")))
        return;
    if (FParentBackgroundWasOn)
        SetPropValue(FControl, QStringLiteral("ParentBackground"), QStringLiteral("True"));
}

// ---------------------------------------------------------------- helpers

bool HasSkinImage(const TDataSkinObject* element) { return element && !element->Image.isNull(); }

void DrawSkinPart(QPainter& dc, const TRect& r, const TDataSkinObject* element, int frame)
{
    if (!HasSkinImage(element) || r.Right < r.Left || r.Bottom < r.Top)
        return;
    const TSkinMargins margins{element->LeftWidth, element->TopHeight, element->RightWidth, element->BottomHeight};
    NineGridDraw(dc, r, element->Image, false, element->Tile != 0, element->Trans == 1, std::max(1, element->Frame),
                 frame, margins);
}

void CopyBitmap(const QImage& source, QImage& target)
{
    target = QImage(source.size(), source.format());
    if (source.isNull())
        return;
    QPainter p(&target);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(0, 0, source);
}

bool IsFloatingWindow(HWND window)
{
    if (!window)
        return false;
    const auto style = static_cast<uint32_t>(GetWindowLong(window, GWL_STYLE));
    return (style & WS_POPUP) != 0 || (window->isWindow() && !GetParent(window));
}

TInkOverhang InkBeyondLines(const TFont& font, const QString& text)
{
    TInkOverhang out;
    QString plain = text;
    plain.remove(QLatin1Char('\r'));
    if (plain.isEmpty())
        return out;
    const QFontMetrics fm(font.ToQFont());
    const QRect first = fm.boundingRect(plain.section(QLatin1Char('\n'), 0, 0));
    const QRect last = fm.boundingRect(plain.section(QLatin1Char('\n'), -1, -1));
    // One pixel more each way for the smoothing around the glyphs' edges.
    out.Above = std::max(0, -first.top() + 1 - fm.ascent());
    out.Below = std::max(0, last.bottom() + 2 - fm.descent());
    return out;
}

int SkinText(QPainter& dc, const TFont& font, const QString& text, TRect& r, unsigned flags)
{
    TCanvas canvas;
    canvas.BindPainter(&dc);
    canvas.SetFont(&font);
    const Qt::LayoutDirection saved = dc.layoutDirection();
    if (flags & DT_RTLREADING)
        dc.setLayoutDirection(Qt::RightToLeft);
    const int h = canvas.DrawText(text, r, flags & ~DT_RTLREADING);
    dc.setLayoutDirection(saved);
    canvas.Unbind();
    return h;
}
