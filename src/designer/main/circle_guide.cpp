// Circular text on the main window: the circle guide with its radius and
// rotation handles, and the redraws of both picture-text kinds with this
// window's measuring label and messages.

#include "designer/main/frm_main.h"

#include "classlib/forms/application.h"
#include "classlib/forms/message_box.h"
#include "classlib/pictures/bitmap.h"
#include "classlib/pictures/picture.h"
#include "designer/objects/circ_text_image.h"
#include "designer/objects/object_stream_classes.h"
#include "designer/objects/param_string.h"
#include "designer/objects/text_image.h"
#include "designer/vector_text/circular_text.h"
#include "designer/vector_text/text_image_render.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace {

// The rotation handle's picture: a round arrow on white, 15 x 17.
void DrawRotateIcon(TImage* image)
{
    TCanvas* c = image->Canvas();
    c->Brush()->SetColor(clWhite);
    c->FillRect(TRect(0, 0, 15, 17));
    c->PaintWith([](QPainter& p) {
        p.setRenderHint(QPainter::Antialiasing, true);
        QPen pen(QColor(0, 0, 160));
        pen.setWidthF(1.6);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        const QRectF arc(2.5, 3.5, 10, 10);
        p.drawArc(arc, 100 * 16, 280 * 16);
        QPainterPath head;
        head.moveTo(7.5, 0.5);
        head.lineTo(11.5, 3.5);
        head.lineTo(7.5, 6.5);
        head.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 160));
        p.drawPath(head);
    });
    c->Flush();
}

TCFImage* AsCircText(TControl* c) { return dynamic_cast<TCFImage*>(c); }

} // namespace

void TFrmMain::CreateVectorTextControls()
{
    RegisterObjectStreamClasses();

    Circl1 = Named(new TShape(this), "Circl1");
    Circl1->SetParent(PNLCD);
    Circl1->SetShape(stEllipse);
    Circl1->Brush()->SetStyle(bsClear);
    Circl1->Pen()->SetColor(clTeal);
    Circl1->SetVisible(false);

    Circl2 = Named(new TPanel(this), "Circl2");
    Circl2->SetParent(PNLCD);
    Circl2->SetBevelOuter(bvNone);
    Circl2->SetCaption(QString());
    Circl2->SetColor(clGray);
    Circl2->SetDoubleBuffered(true);
    Circl2->SetAlign(alClient);
    Circl2->SetVisible(false);

    auto radiusHandle = [&](const char* name, TCursor cursor, TMouseMoveEvent move) {
        auto* s = Named(new TShape(this), name);
        s->SetParent(PNLCD);
        s->SetBounds(0, 0, 8, 8);
        s->Brush()->SetColor(clGray);
        s->Pen()->SetColor(clGray);
        s->SetCursor(cursor);
        s->SetVisible(false);
        s->OnMouseDown = [this](TComponent* snd, TMouseButton b, TShiftState sh, int x, int y) {
            CTMouseDown(snd, b, sh, x, y);
        };
        s->OnMouseUp = [this](TComponent* snd, TMouseButton b, TShiftState sh, int x, int y) {
            CTMouseUp(snd, b, sh, x, y);
        };
        s->OnMouseMove = std::move(move);
        return s;
    };
    CT = radiusHandle("CT", crSizeNS, [this](TComponent* s, TShiftState sh, int x, int y) { CTMouseMove(s, sh, x, y); });
    CR = radiusHandle("CR", crSizeWE, [this](TComponent* s, TShiftState sh, int x, int y) { CRMouseMove(s, sh, x, y); });
    CB = radiusHandle("CB", crSizeNS, [this](TComponent* s, TShiftState sh, int x, int y) { CBMouseMove(s, sh, x, y); });
    CL = radiusHandle("CL", crSizeWE, [this](TComponent* s, TShiftState sh, int x, int y) { CLMouseMove(s, sh, x, y); });

    auto rotateHandle = [&](const char* name) {
        auto* i = Named(new TImage(this), name);
        i->SetParent(PNLCD);
        i->SetBounds(0, 0, 15, 17);
        DrawRotateIcon(i);
        i->SetCursor(crSizeAll);
        i->SetVisible(false);
        i->OnMouseDown = [this](TComponent* s, TMouseButton b, TShiftState sh, int x, int y) {
            IR2MouseDown(s, b, sh, x, y);
        };
        i->OnMouseMove = [this](TComponent* s, TShiftState sh, int x, int y) { IR2MouseMove(s, sh, x, y); };
        i->OnMouseUp = [this](TComponent* s, TMouseButton b, TShiftState sh, int x, int y) {
            IR2MouseUp(s, b, sh, x, y);
        };
        return i;
    };
    IR1 = rotateHandle("IR1");
    IR2 = rotateHandle("IR2");
    IR3 = rotateHandle("IR3");
    IR4 = rotateHandle("IR4");

    BindVectorTextCommands();
}

void TFrmMain::RenderCircularText(TControl* object, int radius, int angle, const QString& text)
{
    TCFImage* o = AsCircText(object);
    if (!o)
        return;
    TCircTextHost host;
    host.IsWinNT = IsWinNT;
    host.LineHeight = [this](const TFont& font, const QString& line) {
        SizeLabel->SetFont(&font);
        SizeLabel->SetCaption(line);
        return SizeLabel->Height();
    };
    // Drawing fails where measuring failed: one redraw warns once.
    bool warned = false;
    host.Warn = [this, &warned](const QString& key) {
        if (warned)
            return;
        warned = true;
        const QString& message = key == QLatin1String("sChybaVypocetRadiusZobrazeni") ? sChybaVypocetRadiusZobrazeni
                                                                                       : sChybaVypocetRadius;
        Application->MessageBox(message, Application->Title(), MB_OK | MB_ICONWARNING);
    };
    ::RenderCircularText(o, radius, angle, text, host);
}

void TFrmMain::RedrawCircularText(TControl* object)
{
    RenderCircularText(object, GetParamField(object->HelpKeyword(), 2), GetParamField(object->HelpKeyword(), 3),
                       object->Hint());
}

void TFrmMain::RenderTextImage(TControl* object, const TFont* font, int angle, const QString& text)
{
    auto* o = dynamic_cast<TFImage*>(object);
    if (!o || !font)
        return;
    // The font may be the object's own, which the selected object takes below.
    TFont f;
    f.Assign(font);
    SizeLabel->SetFont(&f);
    SizeLabel->SetCaption(text);
    const QSize extent(SizeLabel->Width(), SizeLabel->Height());
    auto* selected = dynamic_cast<TFImage*>(SelectedObject);
    const int flags = TextImageStyleFlags(selected ? *selected : *o);
    ::RenderTextImage(o, &f, angle, text, flags, extent);
    if (selected)
        selected->SetMFFont(&f);
}

void TFrmMain::SetCircleRingRegion(TWinControl* control, int left, int top, int right, int bottom)
{
    if (!control)
        return;
    control->SetDoubleBuffered(true);
    control->SetAlign(alClient);
    const TRegion inner = CreateEllipticRgn(left, top, right + 1, bottom + 1);
    const TRegion outer = CreateEllipticRgn(left - 1, top - 1, right + 2, bottom + 2);
    TRegion ring;
    CombineRgn(ring, inner, outer, RGN_XOR);
    control->SetWindowRgn(ring);
}

void TFrmMain::PlaceCircleGuide(TControl* object)
{
    TCFImage* o = AsCircText(object);
    if (!o)
        return;
    for (TControl* h : {static_cast<TControl*>(CT), static_cast<TControl*>(CR), static_cast<TControl*>(CB),
                        static_cast<TControl*>(CL), static_cast<TControl*>(IR1), static_cast<TControl*>(IR2),
                        static_cast<TControl*>(IR3), static_cast<TControl*>(IR4)}) {
        h->BringToFront();
        h->SetVisible(true);
    }
    for (TShape* h : {CT, CR, CB, CL})
        h->SetBounds(h->Left(), h->Top(), 8, 8);

    CircTextExtents.Reset();
    const int cx = ClampCircTextCoord(GetParamField(o->HelpKeyword(), 0));
    const int cy = ClampCircTextCoord(GetParamField(o->HelpKeyword(), 1));
    const int radius = GetParamField(o->HelpKeyword(), 2);
    const int angle = GetParamField(o->HelpKeyword(), 3);
    TCanvas* canvas = o->Canvas();
    SizeLabel->SetFont(canvas->Font());
    SizeLabel->SetCaption(o->Hint());
    const int m = ClampCircTextCoord(SizeLabel->Height());

    // The anchors of a ring of zeros trace the circle the text stands on.
    try {
        MeasureCircularText(canvas, cx, cy, radius, angle, QString(165, QLatin1Char('0')), IsWinNT);
    } catch (const EInvalidOp&) {
        Application->MessageBox(sChybaVypocetRadius, Application->Title(), MB_OK | MB_ICONWARNING);
    }
    TCircTextExtents e = CircTextExtents;
    if (e.Empty()) {
        // Nothing measured: the guide shrinks to the centre.
        e.MinX = e.MaxX = cx;
        e.MinY = e.MaxY = cy;
    }
    Circl1->SetBounds(cx - (e.MaxX - e.MinX) / 2 - m, e.MinY - m, e.MaxX - e.MinX + 2 * m, (cy - e.MinY) * 2 + 2 * m);
    const int l = Circl1->Left(), t = Circl1->Top(), w = Circl1->Width(), h = Circl1->Height();
    SetCircleRingRegion(Circl2, l, t, l + w, t + h);

    CL->SetBounds(l - 8, t + h / 2 - 4, 8, 8);
    CT->SetBounds(l + w / 2 - 4, t - 8, 8, 8);
    CR->SetBounds(l + w, t + h / 2 - 4, 8, 8);
    CB->SetBounds(l + w / 2 - 4, t + h, 8, 8);
    IR1->SetBounds(l + w / 8, t + h / 8, IR1->Width(), IR1->Height());
    IR2->SetBounds(l + w - w / 8 - 15, t + h / 8, IR2->Width(), IR2->Height());
    IR3->SetBounds(l + w - w / 8 - 15, t + h - h / 8 - 17, IR3->Width(), IR3->Height());
    IR4->SetBounds(l + w / 8, t + h - h / 8 - 17, IR4->Width(), IR4->Height());

    CircTextExtents.Reset();
    Circl2->SetVisible(true);
}

void TFrmMain::HideCircleGuide()
{
    for (TControl* c : {static_cast<TControl*>(Circl1), static_cast<TControl*>(Circl2), static_cast<TControl*>(CL),
                        static_cast<TControl*>(CT), static_cast<TControl*>(CB), static_cast<TControl*>(CR),
                        static_cast<TControl*>(IR1), static_cast<TControl*>(IR2), static_cast<TControl*>(IR3),
                        static_cast<TControl*>(IR4)})
        if (c)
            c->SetVisible(false);
}

void TFrmMain::IR2MouseDown(TComponent*, TMouseButton, TShiftState, int, int)
{
    ShowCentreLines(false);
    // A press without a move must not turn the text: start from its own angle.
    TCFImage* o = AsCircText(SelectedObject);
    RotateAngle = o ? GetParamField(o->HelpKeyword(), 3) : 0;
    RotateActive = true;
}

void TFrmMain::IR2MouseMove(TComponent* sender, TShiftState, int x, int y)
{
    if (!RotateActive)
        return;
    TCFImage* o = AsCircText(SelectedObject);
    auto* handle = dynamic_cast<TControl*>(sender);
    if (!o || !handle)
        return;
    SetModified();
    PNLCD->Repaint();
    const int cx = ClampCircTextCoord(GetParamField(o->HelpKeyword(), 0));
    const int cy = ClampCircTextCoord(GetParamField(o->HelpKeyword(), 1));
    // The pointer in the panel's coordinates (the handles lie on the panel).
    const int px = handle->Left() + x;
    const int py = handle->Top() + y;
    // On a line through the centre no angle is computed: the last one stays.
    if (py != cy && px != cx) {
        const int dx = px - cx;
        const double deg = std::atan(double(py - cy) / dx) * 180.0 / M_PI;
        RotateAngle = int(Trunc(deg + (dx >= 1 ? 90.0 : 270.0)));
    }
    RenderCircularText(o, GetParamField(o->HelpKeyword(), 2), RotateAngle, o->Hint());
}

void TFrmMain::IR2MouseUp(TComponent*, TMouseButton, TShiftState, int, int)
{
    if (!RotateActive)
        return;
    RotateActive = false;
    if (TCFImage* o = AsCircText(SelectedObject))
        o->SetHelpKeyword(SetParamField(o->HelpKeyword(), RotateAngle, 3));
}

void TFrmMain::CTMouseDown(TComponent*, TMouseButton, TShiftState, int, int)
{
    RadiusActive = true;
    RadiusWarned = false;
}

void TFrmMain::CTMouseUp(TComponent*, TMouseButton, TShiftState, int, int) { RadiusActive = false; }

void TFrmMain::RadiusHandleMove(int delta)
{
    TCFImage* o = AsCircText(SelectedObject);
    if (!o)
        return;
    // A radius on which the text cannot be laid out would lose the text for
    // good (also in the saved file): the handle stops at the last radius that
    // fits, and one drag warns once.
    const QString moved = ShiftParamField(o->HelpKeyword(), delta, 2);
    if (!CircularTextFits(o, GetParamField(moved, 2))) {
        if (!RadiusWarned) {
            RadiusWarned = true;
            Application->MessageBox(sChybaVypocetRadius, Application->Title(), MB_OK | MB_ICONWARNING);
        }
        return;
    }
    SetModified();
    PNLCD->Repaint();
    o->SetHelpKeyword(moved);
    RedrawCircularText(o);
    PlaceCircleGuide(o);
}

bool TFrmMain::CircularTextFits(TControl* object, int radius)
{
    TCFImage* o = AsCircText(object);
    if (!o)
        return false;
    const TCircTextExtents kept = CircTextExtents;
    bool fits = true;
    try {
        MeasureCircularText(o->Canvas(), 0, 0, radius, GetParamField(o->HelpKeyword(), 3), o->Hint(), IsWinNT);
    } catch (const EInvalidOp&) {
        fits = false;
    }
    CircTextExtents = kept;
    return fits;
}

// The new radius of each handle is the old one moved by the pointer.
void TFrmMain::CTMouseMove(TComponent*, TShiftState, int, int y)
{
    if (RadiusActive)
        RadiusHandleMove(-y + 2);
}

void TFrmMain::CRMouseMove(TComponent*, TShiftState, int x, int)
{
    if (RadiusActive)
        RadiusHandleMove(x - 3);
}

void TFrmMain::CBMouseMove(TComponent*, TShiftState, int, int y)
{
    if (RadiusActive)
        RadiusHandleMove(y - 3);
}

void TFrmMain::CLMouseMove(TComponent*, TShiftState, int x, int)
{
    if (RadiusActive)
        RadiusHandleMove(-x + 2);
}
