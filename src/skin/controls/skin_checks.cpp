#include "skin/controls/skin_checks.h"

#include "classlib/controls/std_controls.h"
#include "classlib/graphics/font.h"
#include "classlib/graphics/types.h"
#include "platform/button_messages.h"
#include "platform/window_info.h"
#include "skin/controls/skin_buttons.h"
#include "skin/controls/skin_props.h"
#include "skin/form/skin_primitives.h"
#include "skin/skin_data.h"

#include <algorithm>

namespace {
// Notices of the class library after which the glyph is drawn again.
enum : unsigned { CM_CHECKNOTICE = 0xB01B, CM_STATENOTICE = 0xB0D0 };

void RegisterCheckProperties()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    RegisterEnumProperty<TCheckBox>(
        QStringLiteral("State"), {QStringLiteral("cbUnchecked"), QStringLiteral("cbChecked"), QStringLiteral("cbGrayed")},
        [](TCheckBox* c) { return static_cast<int64_t>(c->State()); },
        [](TCheckBox* c, int64_t v) { c->SetState(static_cast<TCheckBoxState>(v)); });
    RegisterBoolProperty<TCheckBox>(QStringLiteral("Checked"), [](TCheckBox* c) { return c->Checked(); },
                                    [](TCheckBox* c, bool v) { c->SetChecked(v); });
    RegisterBoolProperty<TRadioButton>(QStringLiteral("Checked"), [](TRadioButton* c) { return c->Checked(); },
                                       [](TRadioButton* c, bool v) { c->SetChecked(v); });
}
} // namespace

// ---------------------------------------------------------------- shared

void TSkinCheckGlyph::InitControl(TWinSkinForm* form, TSkinData* skinData, TCanvas* canvas, bool)
{
    if (Attached())
        return;
    RegisterCheckProperties();
    // The control keeps its own Color: a check box's Color is stored when its
    // form is saved, and what a program saves must not depend on the skin it
    // ran under. The skinner fills the face itself when it paints; the
    // control's own painting does not use Color.
    TSkinControl::InitControl(form, skinData, canvas, false);
    if (!Attached())
        return;
    FTransparent = TakesParentImage();
    const QImage* strip = Strip();
    FCustomFlag = FControl && strip && !strip->isNull() ? 1 : 0;
    Repaint();
}

void TSkinCheckGlyph::InitHwnd(HWND window, TSkinData* skinData, TCanvas* canvas, TWinSkinForm* form)
{
    if (Attached())
        return;
    TSkinControl::InitHwnd(window, skinData, canvas, form);
    FTransparent = TakesParentImage();
    FCustomFlag = 0;
}

bool TSkinCheckGlyph::Disabled() const { return (static_cast<uint32_t>(WindowLong(GWL_STYLE)) & WS_DISABLED) != 0; }

bool TSkinCheckGlyph::BeforeProc(TMessage& m)
{
    if (!TSkinControl::BeforeProc(m))
        return false;
    switch (m.Msg) {
    case WM_ERASEBKGND:
        if (!FTransparent)
            return true;
        if (auto* dc = reinterpret_cast<QPainter*>(m.WParam); dc && FHwnd) {
            const TRect r(0, 0, FHwnd->width(), FHwnd->height());
            if (FControl)
                PaintParentImage(*dc, r);
            else
                FillParentColor(*dc, r);
        }
        m.Result = 1;
        return false;
    case WM_PAINT:
    case WM_PRINT:
        if (!DrawsCaption())
            return true;
        PaintWindow(reinterpret_cast<QPainter*>(m.WParam));
        m.Result = 1;
        return false;
    default:
        return true;
    }
}

void TSkinCheckGlyph::AfterProc(TMessage& m)
{
    switch (m.Msg) {
    case BM_SETCHECK:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case CM_CHECKNOTICE:
    case CM_STATENOTICE:
        Repaint();
        break;
    default:
        TSkinControl::AfterProc(m);
        break;
    }
}

void TSkinCheckGlyph::CellLayout(const TRect& r, TRect& cell, TRect& text) const
{
    const QImage* strip = Strip();
    const int frames = std::max(1, StripFrames());
    const int cw = strip ? strip->width() / frames : 0;
    const int ch = strip ? strip->height() : 0;
    const int top = r.Top + (r.Height() - ch) / 2;
    if (static_cast<uint32_t>(WindowLong(GWL_STYLE)) & BS_LEFTTEXT) {
        cell = TRect(r.Right - cw, top, r.Right, top + ch);
        text = TRect(r.Left, r.Top, cell.Left - 2, r.Bottom);
    } else {
        cell = TRect(r.Left, top, r.Left + cw, top + ch);
        text = TRect(cell.Right + 2, r.Top, r.Right, r.Bottom);
    }
}

void TSkinCheckGlyph::DrawControl(QPainter& dc, const TRect& r)
{
    const QImage* strip = Strip();
    const int cell = StateCell();
    if (!strip || strip->isNull() || cell < 1 || r.IsEmpty())
        return;
    TRect cellRect, textRect;
    CellLayout(r, cellRect, textRect);
    if (!DrawsCaption()) {
        // The control paints its caption and background; only the glyph is ours.
        DrawFrameStretched(dc, cellRect, *strip, true, std::max(1, StripFrames()), cell);
        return;
    }
    const TRect local(0, 0, r.Width(), r.Height());
    if (FBackBuffer.size() != QSize(r.Width(), r.Height()))
        FBackBuffer = QImage(r.Width(), r.Height(), QImage::Format_RGB32);
    {
        QPainter buffer(&FBackBuffer);
        if (FTransparent)
            PaintParentImage(buffer, local);
        else
            FillFace(buffer, local);
        const TRect lc(cellRect.Left - r.Left, cellRect.Top - r.Top, cellRect.Right - r.Left, cellRect.Bottom - r.Top);
        const TRect lt(textRect.Left - r.Left, textRect.Top - r.Top, textRect.Right - r.Left, textRect.Bottom - r.Top);
        DrawFrameStretched(buffer, lc, *strip, true, std::max(1, StripFrames()), cell);
        QString caption = ReadWindowText();
        if (FControl && HasProperty(FControl, QStringLiteral("Caption")))
            caption = GetWideStrProp(FControl, QStringLiteral("Caption"));
        FCaption = caption;
        TFont font;
        if (auto* f = dynamic_cast<TFont*>(GetObjectProp(FControl, QStringLiteral("Font"))))
            font.Assign(f);
        else
            font = FontOfWidget(FHwnd);
        if (Disabled())
            font.SetColor(clBtnShadow);
        unsigned flags = DT_WORDBREAK | DT_EXPANDTABS;
        if ((static_cast<uint32_t>(WindowLong(GWL_STYLE)) & BS_LEFTTEXT) && RtlFlag())
            flags |= DT_RIGHT | DT_RTLREADING;
        TRect measured = lt;
        SkinText(buffer, font, caption, measured, (flags | DT_CALCRECT | DT_NOCLIP) & ~DT_RTLREADING);
        const int h = measured.Height();
        const TRect at(lt.Left, lt.Top + (lt.Height() - h) / 2, lt.Right, lt.Top + (lt.Height() - h) / 2 + h);
        FWindowFocused = FHwnd && GetFocus() == FHwnd.data();
        if (FWindowFocused && !caption.isEmpty()) {
            // The rectangle and the accents reaching over the line may take
            // the rest of the text area.
            DrawFocusAroundText(buffer, font, flags & ~DT_RTLREADING, at, &lt);
        }
        TRect textAt = at;
        SkinText(buffer, font, caption, textAt, flags);
    }
    dc.drawImage(r.Left, r.Top, FBackBuffer);
}

// ---------------------------------------------------------------- check box

const QImage* TSkinCheckBox::Strip() const { return FSkinData && FSkinData->Buttons ? &FSkinData->Buttons->CheckImage : nullptr; }

int TSkinCheckBox::StripFrames() const { return FSkinData && FSkinData->Buttons ? FSkinData->Buttons->CheckButtonFrame : 0; }

void TSkinCheckBox::AfterProc(TMessage& m)
{
    if (m.Msg == BM_SETCHECK)
        FLastSetState = static_cast<int>(m.WParam) + 1;
    TSkinCheckGlyph::AfterProc(m);
}

int TSkinCheckBox::StateCell() const
{
    const QImage* strip = Strip();
    if (!strip || strip->isNull() || !FHwnd)
        return 0;
    const auto state = static_cast<unsigned>(SendMessage(FHwnd, BM_GETSTATE));
    int n = (state & BST_CHECKED) ? 2 : 1;
    if (FControl) {
        if (HasProperty(FControl, QStringLiteral("State"))) {
            const QString v = GetPropValue(FControl, QStringLiteral("State")).toLower();
            if (v.contains(QLatin1String("uncheck")))
                n = 1;
            else if (v.contains(QLatin1String("check")))
                n = 2;
            else if (v.contains(QLatin1String("gray")))
                n = 4;
        } else if (HasProperty(FControl, QStringLiteral("Checked"))) {
            n = PropIsTrue(FControl, QStringLiteral("Checked")) ? 2 : 1;
        }
        if (HasProperty(FControl, QStringLiteral("DataField")) && FLastSetState != 0)
            n = FLastSetState == 3 ? 4 : FLastSetState;
        if (HasProperty(FControl, QStringLiteral("DataBinding")))
            n = 1;
    }
    const bool disabled = Disabled();
    if (disabled)
        n += 2;
    const bool indeterminate = (state & BST_INDETERMINATE) != 0;
    if (indeterminate)
        n = 4;
    if (StripFrames() == 12) {
        if (indeterminate)
            n = disabled ? 12 : 9;
        else if (n == 2)
            n = 5;
        else if (n == 3)
            n = 4;
        else if (n == 4)
            n = 8;
    }
    // A state the strip has no cell for shows its last cell.
    return std::clamp(n, 1, std::max(1, StripFrames()));
}

// ---------------------------------------------------------------- radio button

const QImage* TSkinRadioButton::Strip() const { return FSkinData && FSkinData->Buttons ? &FSkinData->Buttons->RadioImage : nullptr; }

int TSkinRadioButton::StripFrames() const { return FSkinData && FSkinData->Buttons ? FSkinData->Buttons->RadioButtonFrame : 0; }

int TSkinRadioButton::StateCell() const
{
    const QImage* strip = Strip();
    if (!strip || strip->isNull() || !FHwnd)
        return 0;
    int n = (static_cast<unsigned>(SendMessage(FHwnd, BM_GETCHECK)) & BST_CHECKED) ? 2 : 1;
    if (FControl && HasProperty(FControl, QStringLiteral("Checked")))
        n = PropIsTrue(FControl, QStringLiteral("Checked")) ? 2 : 1;
    if (Disabled())
        n += 2;
    if (StripFrames() == 8)
        n = n == 2 ? 5 : n == 3 ? 4 : n == 4 ? 8 : n;
    return std::clamp(n, 1, std::max(1, StripFrames()));
}
