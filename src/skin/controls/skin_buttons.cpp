#include "skin/controls/skin_buttons.h"

#include "classlib/controls/image_list.h"
#include "classlib/graphics/canvas.h"
#include "classlib/graphics/font.h"
#include "classlib/graphics/types.h"
#include "classlib/pictures/bitmap.h"
#include "platform/window_info.h"
#include "skin/controls/skin_props.h"
#include "skin/form/skin_primitives.h"
#include "skin/skin_data.h"

#include <QAbstractButton>
#include <QEvent>
#include <algorithm>

namespace {
const QString kLineBreak = QStringLiteral("\r\n");

void SizeBuffer(QImage& buffer, const TRect& r)
{
    const QSize size(std::max(1, r.Width()), std::max(1, r.Height()));
    if (buffer.size() != size)
        buffer = QImage(size, QImage::Format_RGB32);
}
} // namespace

TFont FontOfWidget(const QWidget* widget)
{
    TFont f;
    if (!widget)
        return f;
    const QFont qf = widget->font();
    f.SetName(qf.family());
    const int px = qf.pixelSize() > 0 ? qf.pixelSize() : static_cast<int>(qf.pointSizeF() * 96.0 / 72.0 + 0.5);
    f.SetHeight(-std::max(1, px));
    TFontStyles style = 0;
    if (qf.bold())
        style |= FontStyleBit(fsBold);
    if (qf.italic())
        style |= FontStyleBit(fsItalic);
    f.SetStyle(style);
    return f;
}

void DrawSkinCaption(QPainter& dc, const TFont& font, QString& caption, const TRect& r, bool centre, bool focusRect,
                     unsigned rtl)
{
    caption.replace(QStringLiteral("||"), kLineBreak);
    const TRect bounds(r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2);
    unsigned flags = DT_WORDBREAK | DT_EXPANDTABS | (centre ? DT_CENTER : 0u);
    TRect box = bounds;
    TCanvas measure;
    measure.BindPainter(&dc);
    measure.SetFont(&font);
    measure.DrawText(caption, box, flags | DT_CALCRECT | DT_NOCLIP);
    measure.Unbind();
    const int w = box.Width(), h = box.Height();
    box.Top = bounds.Top + (bounds.Height() - h) / 2 - 1;
    box.Bottom = box.Top + h;
    if (centre) {
        box.Left = bounds.Left + (bounds.Width() - w) / 2;
        box.Right = box.Left + w;
    }
    TRect text = box;
    SkinText(dc, font, caption, text, flags | DT_NOCLIP | rtl);
    if (focusRect && !caption.isEmpty()) {
        TCanvas c;
        c.BindPainter(&dc);
        const TInkOverhang ink = InkBeyondLines(font, caption);
        c.DrawFocusRect(TRect(box.Left - 2, box.Top - 2 - ink.Above, box.Right + 2, box.Bottom + 2 + ink.Below));
        c.Unbind();
    }
}

// ---------------------------------------------------------------- TSkinButton

void TSkinButton::InitControl(TWinSkinForm* form, TSkinData* skinData, TCanvas* canvas, bool setColor)
{
    if (Attached())
        return;
    TSkinControl::InitControl(form, skinData, canvas, setColor);
    FCustomFlag = 0;
    if (FControl) {
        const QString cls = FControl->ClassName().toLower();
        if (cls.indexOf(QLatin1String("trz")) == 0 || cls.indexOf(QLatin1String("tel")) == 0)
            FCustomFlag = 1;
    }
    FTransparent = TakesParentImage();
}

void TSkinButton::InitHwnd(HWND window, TSkinData* skinData, TCanvas* canvas, TWinSkinForm* form)
{
    if (Attached())
        return;
    TSkinControl::InitHwnd(window, skinData, canvas, form);
    FTransparent = TakesParentImage();
}

bool TSkinButton::InsideWindow(LPARAM pos) const
{
    const int x = LoWordSigned(pos), y = HiWordSigned(pos);
    if (FGraphicControl)
        return x >= 0 && y >= 0 && x < FGraphicControl->Width() && y < FGraphicControl->Height();
    return FHwnd && x >= 0 && y >= 0 && x < FHwnd->width() && y < FHwnd->height();
}

bool TSkinButton::MovedOff(LPARAM pos)
{
    if (InsideWindow(pos))
        return false;
    if (FMouseState & (msHover | msPressed))
        SetMouseFlag(msHover | msPressed, false);
    return true;
}

bool TSkinButton::NoFocusRect() const { return FSkinData && FSkinData->Options().Contains(xoNoFocusRect); }

int TSkinButton::ButtonFrame() const
{
    int frame = 1;
    if (FWindowFocused)
        frame = 5;
    if (FMouseState & msPressed)
        frame = 2;
    else if (FMouseState & msHover)
        frame = 4;
    if (!FWindowEnabled)
        frame = 3;
    return frame;
}

int TSkinMenuButton::ButtonFrame() const
{
    int frame = 1;
    if (FWindowFocused)
        frame = 4;
    if (FMouseState & msPressed)
        frame = 2;
    else if (FMouseState & msHover)
        frame = 4;
    if (!FWindowEnabled)
        frame = 3;
    return frame;
}

TColor TSkinButton::CaptionColour(int frame, TColor fontColour) const
{
    const TDataSkinButton* b = FSkinData ? FSkinData->Buttons.get() : nullptr;
    TColor colour = fontColour;
    if (b) {
        if (frame == 1 && b->NormalColour2Set)
            colour = b->NormalColour2;
        else if (frame == 4 && b->MouseOverColour2Set)
            colour = b->MouseOverColour2;
        else if (frame == 2 && b->PressedColour2Set)
            colour = b->PressedColour2;
    }
    if (frame == 3)
        colour = clBtnShadow;
    return colour;
}

void TSkinButton::ReadState()
{
    if (FHwnd) {
        FWindowFocused = GetFocus() == FHwnd ? 1 : 0;
        FWindowEnabled = (WindowLong(GWL_STYLE) & WS_DISABLED) ? 0 : 1;
    }
    if (FControl) {
        FCaption = GetWideStrProp(FControl, QStringLiteral("Caption"));
        FMultiLine = PropIsTrue(FControl, QStringLiteral("MultiLine"));
    } else if (FHwnd) {
        FCaption = ReadWindowText();
    }
}

TFont TSkinButton::CaptionFont() const
{
    TControl* c = FControl ? FControl : FGraphicControl;
    if (auto* f = dynamic_cast<TFont*>(GetObjectProp(c, QStringLiteral("Font")))) {
        TFont copy;
        copy.Assign(f);
        return copy;
    }
    TFont f = FontOfWidget(FHwnd);
    f.SetColor(FSkinData ? FSkinData->Colours.ButtonText : clBtnText);
    return f;
}

bool TSkinButton::PaintFace(QPainter& buffer, const TRect& r, int frame)
{
    const TDataSkinButton* b = FSkinData ? FSkinData->Buttons.get() : nullptr;
    if (!HasSkinImage(b))
        return false;
    if (FTransparent)
        PaintParentImage(buffer, r);
    else
        FillFace(buffer, r);
    DrawSkinPart(buffer, r, b, frame);
    return true;
}

void TSkinButton::DrawControl(QPainter& dc, const TRect& r)
{
    if (!FSkinData || !HasSkinImage(FSkinData->Buttons.get()) || r.IsEmpty())
        return;
    ReadState();
    const int frame = ButtonFrame();
    SizeBuffer(FBackBuffer, r);
    const TRect local(0, 0, r.Width(), r.Height());
    {
        QPainter buffer(&FBackBuffer);
        PaintFace(buffer, local, frame);
        DrawCaption(buffer, local, frame);
    }
    dc.drawImage(r.Left, r.Top, FBackBuffer);
}

void TSkinButton::DrawCaption(QPainter& buffer, const TRect& local, int frame)
{
    TFont font = CaptionFont();
    font.SetColor(CaptionColour(frame, font.Color()));
    DrawSkinCaption(buffer, font, FCaption, local, true, FWindowFocused && !NoFocusRect(), RtlFlag());
}

void TSkinButton::Click()
{
    if (FControl) {
        FControl->Click();
        return;
    }
    if (!FHwnd)
        return;
    HWND window = FHwnd;
    HWND parent = window->parentWidget();
    const WPARAM id = GetClassName(window).toLower() == QLatin1String("tbutton")
                          ? 0
                          : static_cast<WPARAM>(GetWindowLong(window, GWL_ID));
    PostMessage(parent, WM_COMMAND, id, LParamOf(window));
    // Nothing in our dialogs answers WM_COMMAND: the button clicks itself,
    // as the dialog would have done for the command.
    if (auto* b = qobject_cast<QAbstractButton*>(window))
        b->click();
}

bool TSkinButton::BeforeProc(TMessage& m)
{
    switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (!FWindowFocused && FHwnd)
            SetFocus(FHwnd.data());
        FMouseState |= msPressed;
        PaintWindow(nullptr);
        if (!ForeignButton() && FControl)
            ForwardMouseDown(m);
        return false;
    case WM_PAINT:
        if (FHwnd)
            GetWindowRect(FHwnd, FWindowRect);
        PaintNow(reinterpret_cast<QPainter*>(m.WParam));
        return false;
    case WM_ERASEBKGND:
        m.Result = 1;
        return false;
    case WM_TIMER:
        return false;
    default:
        return TSkinControl::BeforeProc(m);
    }
}

void TSkinButton::AfterProc(TMessage& m)
{
    switch (m.Msg) {
    case WM_MOUSEMOVE:
        if (MovedOff(m.LParam))
            break;
        [[fallthrough]];
    case CM_MOUSEENTER:
        // Our windows report the mouse coming in; a moving mouse needs tracking.
        if (FHwnd && IsWindowEnabled(FHwnd) && !(FMouseState & msHover)) {
            SetMouseFlag(msHover, true);
        }
        break;
    case WM_MOUSELEAVE:
    case CM_MOUSELEAVE:
        FMouseState &= static_cast<uint8_t>(~(msHover | msPressed));
        Repaint();
        break;
    case WM_LBUTTONUP:
        if (FMouseState & msPressed) {
            SetMouseFlag(msPressed, false);
            // Let go elsewhere: no click, whatever the moves on the way said.
            if (InsideWindow(m.LParam))
                Click();
        }
        break;
    case WM_KEYDOWN:
        if (m.WParam == VK_SPACE) {
            SetMouseFlag(msPressed, true);
        }
        break;
    case WM_KEYUP:
        if (m.WParam == VK_SPACE) {
            SetMouseFlag(msPressed, false);
        }
        break;
    case WM_SETTEXT:
        PaintWindow(nullptr);
        break;
    case CM_DIALOGKEY:
    case CM_FOCUSCHANGED:
        Repaint();
        break;
    default:
        TSkinControl::AfterProc(m);
        break;
    }
}

// ---------------------------------------------------------------- TSkinBitButton

TSkinBitButton::TLayout TSkinBitButton::LayoutGlyph(const TRect& r, QSize glyph, QSize text, const QString& layout,
                                                    int margin, int spacing, bool centred)
{
    TLayout out;
    const TRect client(r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2);
    const QString lay = layout.toLower();
    const bool vertical = lay == QLatin1String("blglyphtop") || lay == QLatin1String("blglyphbottom");
    const bool far = lay == QLatin1String("blglyphright") || lay == QLatin1String("blglyphbottom");
    if (glyph.isEmpty() || text.isEmpty())
        spacing = 0;
    const int axis = vertical ? client.Height() : client.Width();
    const int g = vertical ? glyph.height() : glyph.width();
    const int t = vertical ? text.height() : text.width();
    if (centred) {
        if (spacing == -1) {
            margin = (axis - (g + t)) / 3;
            spacing = margin;
        } else {
            margin = (axis - (g + spacing + t)) / 2;
        }
    } else if (spacing == -1) {
        spacing = (axis - (margin + g + t)) / 2;
    }
    int glyphPos = margin;
    int textPos = margin + g + spacing;
    if (far) {
        glyphPos = axis - margin - g;
        textPos = glyphPos - spacing - t;
    }
    const int cross = vertical ? client.Width() : client.Height();
    const int gc = ((cross - (vertical ? glyph.width() : glyph.height())) + 1) / 2;
    const int tc = ((cross - (vertical ? text.width() : text.height())) + 1) / 2;
    if (vertical) {
        out.Glyph = Bounds(client.Left + gc, client.Top + glyphPos, glyph.width(), glyph.height());
        out.Text = Bounds(client.Left + tc, client.Top + textPos, text.width(), text.height());
    } else {
        out.Glyph = Bounds(client.Left + glyphPos, client.Top + gc, glyph.width(), glyph.height());
        out.Text = Bounds(client.Left + textPos, client.Top + tc, text.width(), text.height());
    }
    out.TextFlags = DT_WORDBREAK;
    if (lay == QLatin1String("blglyphright"))
        out.TextFlags |= DT_RIGHT;
    if (vertical)
        out.TextFlags |= DT_CENTER;
    return out;
}

QImage TSkinBitButton::GlyphCell(int askedCell, int& numGlyphs) const
{
    TControl* c = FControl ? FControl : FGraphicControl;
    const QString name = PropertyName.isEmpty() ? QStringLiteral("Glyph") : PropertyName;
    auto* bmp = dynamic_cast<TBitmap*>(GetObjectProp(c, name));
    if (!bmp || bmp->Empty())
        return {};
    numGlyphs = PropertyName.isEmpty() ? static_cast<int>(GetOrdProp(c, QStringLiteral("NumGlyphs"))) : 1;
    if (numGlyphs < 1)
        numGlyphs = 1;
    const QImage& strip = bmp->Image();
    const int cw = strip.width() / numGlyphs;
    if (cw < 1)
        return {};
    const int cell = askedCell > numGlyphs ? 1 : askedCell;
    QImage out = strip.copy((cell - 1) * cw, 0, cw, strip.height()).convertToFormat(QImage::Format_RGB32);
    if (askedCell == 2) {
        for (int y = 0; y < out.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
            for (int x = 0; x < out.width(); ++x) {
                const int v = (qRed(line[x]) + qGreen(line[x]) + qBlue(line[x])) / 3;
                line[x] = qRgb(v, v, v);
            }
        }
    }
    return out;
}

void TSkinBitButton::PaintGlyphAndCaption(QPainter& buffer, const TRect& r, int frame, int cell, bool withImages)
{
    TControl* c = FControl ? FControl : FGraphicControl;
    int numGlyphs = 1;
    QImage glyph = GlyphCell(cell, numGlyphs);
    TImageList* images = nullptr;
    int imageIndex = -1;
    if (glyph.isNull() && withImages) {
        images = dynamic_cast<TImageList*>(GetObjectProp(c, QStringLiteral("Images")));
        imageIndex = static_cast<int>(GetOrdProp(c, QStringLiteral("ImageIndex")));
        if (images && (imageIndex < 0 || imageIndex >= images->Count()))
            images = nullptr;
    }
    const QSize glyphSize = !glyph.isNull() ? glyph.size() : images ? QSize(images->Width(), images->Height()) : QSize();

    TFont font = CaptionFont();
    font.SetColor(CaptionColour(frame, font.Color()));
    FCaption.replace(QStringLiteral("||"), kLineBreak);
    const QString layout = GetPropValue(c, QStringLiteral("Layout"));
    const QString lay = layout.isEmpty() ? QStringLiteral("blGlyphLeft") : layout;
    const bool vertical = lay.toLower() == QLatin1String("blglyphtop") || lay.toLower() == QLatin1String("blglyphbottom");
    const TRect client(r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2);
    QSize textSize;
    if (!FCaption.isEmpty()) {
        const int avail = vertical ? client.Width() : client.Width() - glyphSize.width() - 2;
        TRect box(0, 0, std::max(0, avail), 0);
        TCanvas measure;
        measure.BindPainter(&buffer);
        measure.SetFont(&font);
        measure.DrawText(FCaption, box, DT_CALCRECT | DT_WORDBREAK);
        measure.Unbind();
        textSize = QSize(box.Width(), box.Height());
    }
    int margin = HasProperty(c, QStringLiteral("Margin")) ? static_cast<int>(GetOrdProp(c, QStringLiteral("Margin"))) : -1;
    int spacing = HasProperty(c, QStringLiteral("Spacing")) ? static_cast<int>(GetOrdProp(c, QStringLiteral("Spacing"))) : 4;
    const bool centred = margin == -1 || GetPropValue(c, QStringLiteral("Alignment")).toLower() == QLatin1String("tacenter");
    const TLayout place = LayoutGlyph(r, glyphSize, textSize, lay, margin, spacing, centred);

    if (!glyph.isNull()) {
        const QRgb key = glyph.pixel(0, glyph.height() - 1);
        DrawTransparentBitmap(buffer, place.Glyph, glyph, RGB(qRed(key), qGreen(key), qBlue(key)));
    } else if (images) {
        TCanvas canvas;
        canvas.BindPainter(&buffer);
        const bool enabled = frame != 3;
        int index = imageIndex;
        const int disabledIndex = HasProperty(c, QStringLiteral("DisabledIndex"))
                                      ? static_cast<int>(GetOrdProp(c, QStringLiteral("DisabledIndex")))
                                      : -1;
        if (!enabled && disabledIndex != -1 && disabledIndex < images->Count())
            images->Draw(&canvas, place.Glyph.Left, place.Glyph.Top, disabledIndex, true);
        else
            images->Draw(&canvas, place.Glyph.Left, place.Glyph.Top, index, enabled);
        canvas.Unbind();
    }
    if (!FCaption.isEmpty()) {
        TRect text = place.Text;
        SkinText(buffer, font, FCaption, text, place.TextFlags | DT_NOCLIP | RtlFlag());
        if (FWindowFocused && !NoFocusRect()) {
            TCanvas canvas;
            canvas.BindPainter(&buffer);
            const TInkOverhang ink = InkBeyondLines(font, FCaption);
            canvas.DrawFocusRect(TRect(place.Text.Left - 2, place.Text.Top - 2 - ink.Above, place.Text.Right + 2,
                                       place.Text.Bottom + 2 + ink.Below));
            canvas.Unbind();
        }
    }
}

void TSkinBitButton::DrawControl(QPainter& dc, const TRect& r)
{
    if (!FSkinData || !HasSkinImage(FSkinData->Buttons.get()) || r.IsEmpty())
        return;
    ReadState();
    const int frame = ButtonFrame();
    const int cell = frame == 3 ? 2 : frame == 2 ? 3 : 1;
    SizeBuffer(FBackBuffer, r);
    const TRect local(0, 0, r.Width(), r.Height());
    {
        QPainter buffer(&FBackBuffer);
        PaintFace(buffer, local, frame);
        PaintGlyphAndCaption(buffer, local, frame, cell, true);
    }
    dc.drawImage(r.Left, r.Top, FBackBuffer);
}

// ---------------------------------------------------------------- TSkinSpeedButton

TSkinSpeedButton::~TSkinSpeedButton() { GiveBackWindowProc(); }

void TSkinSpeedButton::GiveBackWindowProc()
{
    if (FSavedWindowMethod && FGraphicControl && Owner() == FGraphicControl)
        FGraphicControl->WindowProc = FSavedWindowMethod;
    FSavedWindowMethod = nullptr;
}

void TSkinSpeedButton::InitSpeedButton(TWinSkinForm* form, TSkinData* skinData, TCanvas* canvas)
{
    if (Attached())
        return;
    FGraphicControl = dynamic_cast<TControl*>(Owner());
    if (!FGraphicControl)
        return;
    FSkinData = skinData;
    FWorkCanvas = canvas;
    FSavedWindowMethod = FGraphicControl->WindowProc;
    FGraphicControl->WindowProc = [this](TMessage& m) { SkinWndProc(m); };
    JoinForm(form);
    FAttached = true;
    FLifeState = lsAttached;
    FTransparent = TakesParentImage();
    FGraphicControl->Invalidate();
}

int TSkinSpeedButton::ButtonFrame() const
{
    int frame = 1;
    if (FMouseState & msPressed)
        frame = 2;
    else if (FMouseState & msHover)
        frame = 4;
    if (FGraphicControl && !PropIsTrue(FGraphicControl, QStringLiteral("Enabled")))
        frame = 3;
    if (FGraphicControl && PropIsTrue(FGraphicControl, QStringLiteral("Down")))
        frame = 2;
    return frame;
}

void TSkinSpeedButton::PaintWindow(QPainter* dc)
{
    if (!FGraphicControl)
        return;
    // The parent hands its painter set to the control's origin, in the
    // control's place among its siblings.
    if (!dc) {
        FGraphicControl->Invalidate();
        return;
    }
    DrawControl(*dc, TRect(0, 0, FGraphicControl->Width(), FGraphicControl->Height()));
}

void TSkinSpeedButton::DrawControl(QPainter& dc, const TRect& r)
{
    const TDataSkinButton* b = FSkinData ? FSkinData->Buttons.get() : nullptr;
    if (!HasSkinImage(b) || FPainting || !FGraphicControl || r.Width() < 1 || r.Height() < 1)
        return;
    FPainting = true;
    const int frame = ButtonFrame();
    int cell = frame == 2 ? 3 : frame == 3 ? 2 : 1;
    if (PropIsTrue(FGraphicControl, QStringLiteral("Down")))
        cell = 4;
    FCaption = GetWideStrProp(FGraphicControl, QStringLiteral("Caption"));
    FWindowFocused = 0;
    SizeBuffer(FBackBuffer, r);
    const TRect local(0, 0, r.Width(), r.Height());
    {
        QPainter buffer(&FBackBuffer);
        if (FTransparent)
            PaintParentImage(buffer, local);
        else
            FillFace(buffer, local);
        if (!PropIsTrue(FGraphicControl, QStringLiteral("Flat")) || frame == 2 || frame == 4)
            DrawSkinPart(buffer, local, b, frame);
        PaintGlyphAndCaption(buffer, local, frame, cell, false);
    }
    dc.drawImage(r.Left, r.Top, FBackBuffer);
    FPainting = false;
}

bool TSkinSpeedButton::BeforeProc(TMessage& m)
{
    switch (m.Msg) {
    case WM_PAINT:
        if (m.WParam)
            PaintWindow(reinterpret_cast<QPainter*>(m.WParam));
        m.Result = 1;
        return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        CallOldProc(m);
        SetMouseFlag(msPressed, true);
        return false;
    case WM_LBUTTONUP:
        return true;
    default:
        return TSkinButton::BeforeProc(m);
    }
}

void TSkinSpeedButton::AfterProc(TMessage& m)
{
    switch (m.Msg) {
    case CM_MOUSEENTER:
        SetMouseFlag(msHover, true);
        break;
    case CM_MOUSELEAVE:
        FMouseState &= static_cast<uint8_t>(~(msHover | msPressed));
        if (FGraphicControl && FGraphicControl->Visible())
            Repaint();
        break;
    case WM_LBUTTONUP:
        SetMouseFlag(msPressed, false);
        break;
    case WM_KEYDOWN:
    case WM_KEYUP:
        TSkinButton::AfterProc(m);
        break;
    case WM_ENABLE:
    case CM_ENABLEDCHANGED:
    case CM_FOCUSCHANGED:
        break;
    case WM_NCDESTROY:
    case CM_CONTROLCHANGE_B021:
        GiveBackWindowProc();
        break;
    case WM_MOUSEMOVE:
        if (MovedOff(m.LParam))
            break;
        if (!(FMouseState & msHover) && FGraphicControl && FGraphicControl->Enabled()) {
            SetMouseFlag(msHover, true);
        }
        break;
    default:
        TSkinControl::AfterProc(m);
        break;
    }
}

// ---------------------------------------------------------------- TSkinMenuButton

void TSkinMenuButton::DrawCaption(QPainter& buffer, const TRect& local, int frame)
{
    TFont font = CaptionFont();
    font.SetColor(CaptionColour(frame, font.Color()));
    const TRect textArea(local.Left, local.Top, local.Right - 15, local.Bottom);
    DrawSkinCaption(buffer, font, FCaption, textArea, true, FWindowFocused && !NoFocusRect(), RtlFlag());
    const int right = local.Right, middle = local.Top + local.Height() / 2;
    const QColor arrow = ToQColor(frame == 3 ? clBtnShadow : font.Color());
    const QPoint tri[3] = {QPoint(right - 12, middle), QPoint(right - 15, middle - 3), QPoint(right - 9, middle - 3)};
    buffer.setPen(arrow);
    buffer.setBrush(arrow);
    buffer.drawPolygon(tri, 3);
}
