// Commands of the two picture-text kinds: inserting them, their property and
// colour commands, the mouse of a circular text, and rebuilding both from
// the records of a project or style file.

#include "designer/main/frm_main.h"

#include "classlib/pictures/bitmap.h"
#include "classlib/pictures/picture.h"
#include "designer/forms/frm_ins_text.h"
#include "designer/objects/circ_text_image.h"
#include "designer/objects/param_string.h"
#include "designer/objects/text_image.h"

#include <QPainter>
#include <QPainterPath>

namespace {

TCFImage* AsCircText(TControl* c) { return dynamic_cast<TCFImage*>(c); }

int DialogRotation(const TFrmInsText& d)
{
    if (d.Rot90->Checked())
        return 90;
    if (d.Rot180->Checked())
        return 180;
    if (d.Rot270->Checked())
        return 270;
    return 0;
}

// Glyphs of the two insert buttons, 16 x 16 like the other tool glyphs.
QImage VectorTextGlyph()
{
    QImage img(16, 16, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(15);
    f.setBold(true);
    QPainterPath path;
    path.addText(QPointF(2, 14), f, QStringLiteral("A"));
    p.setPen(QPen(QColor(30, 50, 90), 1));
    p.setBrush(QColor(60, 130, 210));
    p.drawPath(path);
    return img;
}

QImage CircularTextGlyph()
{
    QImage img(16, 16, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(QColor(30, 50, 90), 1.2));
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    p.setPen(QPen(QColor(200, 60, 40), 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(3.5, 3.5, 9, 9), 30 * 16, 120 * 16);
    p.setPen(QPen(QColor(30, 50, 90), 1));
    p.drawEllipse(QRectF(6.5, 6.5, 3, 3));
    return img;
}

} // namespace

void TFrmMain::BindVectorTextCommands()
{
    auto button = [this](const char* name, const QString& hint, const QImage& glyph) {
        auto* b = new TToolButton(this);
        b->SetName(QString::fromLatin1(name));
        b->SetParent(ToolBar2);
        b->SetStyle(tbsButton);
        b->SetHint(hint);
        b->SetCaption(hint);
        if (ToolBarImages)
            b->SetImageIndex(ToolBarImages->AddImage(glyph));
        return b;
    };
    btnTextImg = button("btnTextImg", QStringLiteral("Vložit vektorový text"), VectorTextGlyph());
    btnTextImg->OnClick = [this](TComponent* s) { btnTextImgClick(s); };
    btnKruhText = button("btnKruhText", QStringLiteral("Vložit kulatý text"), CircularTextGlyph());
    btnKruhText->OnClick = [this](TComponent* s) { btnKruhText2Click(s); };
    // Their places: after the picture button, the plain text between them.
    for (TControl* b : {static_cast<TControl*>(btnText), static_cast<TControl*>(btnKruhText),
                        static_cast<TControl*>(btnRound), static_cast<TControl*>(btnRect),
                        static_cast<TControl*>(btnCircl)})
        if (b && b->Parent() == ToolBar2)
            b->BringToFront();
    ToolBar2->ArrangeButtons();

    if (crc1)
        crc1->OnClick = [this](TComponent* s) { crc1Click(s); };
    if (crc2)
        crc2->OnClick = [this](TComponent* s) { crc2Click(s); };
    if (tim1)
        tim1->OnClick = [this](TComponent* s) { tim1Click(s); };
    if (tim2)
        tim2->OnClick = [this](TComponent* s) { tim2Click(s); };

    HideCircleMarks = [this] { HideCircleGuide(); };
    ShowCircleGuide = [this](TControl* o) { PlaceCircleGuide(o); };
    MoveCircleCentre = [](TControl* o, int dx, int dy) {
        o->SetHelpKeyword(ShiftParamField(ShiftParamField(o->HelpKeyword(), dx, 0), dy, 1));
    };
    RedrawTextImage = [this](TControl* o) {
        if (auto* t = dynamic_cast<TFImage*>(o))
            RenderTextImage(t, t->MFFont(), t->HelpContext(), t->Hint());
    };
}

// ---------------------------------------------------------------- circular text

void TFrmMain::SetCircTextHandlers(TControl* o)
{
    o->OnMouseDown = [this](TComponent* s, TMouseButton b, TShiftState sh, int x, int y) {
        CircTextMouseDown(s, b, sh, x, y);
    };
    o->OnMouseMove = [this](TComponent* s, TShiftState sh, int x, int y) { CircTextMouseMove(s, sh, x, y); };
    o->OnMouseUp = [this](TComponent* s, TMouseButton b, TShiftState sh, int x, int y) {
        CircTextMouseUp(s, b, sh, x, y);
    };
    o->OnDblClick = [](TComponent*) {};
    o->SetPopupMenu(PopupMenuCircl);
}

void TFrmMain::btnKruhText2Click(TComponent*)
{
    EndShapeTool();
    if (!FrmInsText)
        return;
    FrmInsText->Memo->SetText(QString());
    FrmInsText->ShowPropertiesTab(false);
    FrmInsText->PageControl1->SetActivePage(FrmInsText->Tab1);
    FrmInsText->ShowModal();
    if (!FrmInsText->IsConfirmed())
        return;
    HideSelectionFrame();
    SetModified();
    AddCircText(FrmInsText->Memo->Font(), FrmInsText->Memo->Text());
}

void TFrmMain::AddCircText(const TFont* font, const QString& text)
{
    auto* o = new TCFImage(this);
    o->SetTag(1);
    o->SetParent(ObjectParent);
    // The first size is the size of its bitmap for good.
    o->SetBounds(80, 80, PNLCD->Width(), PNLCD->Height());
    o->SetTransparent(true);
    // Centred on the panel, radius 150, angle 0.
    o->SetHelpKeyword(QStringLiteral("%1;%2;150;0;").arg(PNLCD->Width() / 2).arg(PNLCD->Height() / 2));
    SetCircTextHandlers(o);
    o->Canvas()->SetFont(font);
    o->SetHint(text);
    SelectedObject = o;
    RedrawCircularText(o);
    FinishNewObject(o, false, true);
    PlaceCircleGuide(o);
}

void TFrmMain::crc1Click(TComponent*)
{
    TCFImage* o = AsCircText(SelectedObject);
    if (!o || !FrmInsText)
        return;
    FrmInsText->Memo->SetText(o->Hint());
    FrmInsText->Memo->Font()->Assign(o->Canvas()->Font());
    FrmInsText->ShowPropertiesTab(false);
    FrmInsText->PageControl1->SetActivePage(FrmInsText->Tab1);
    FrmInsText->ShowModal();
    if (!FrmInsText->IsConfirmed())
        return;
    SetModified();
    o->SetHint(FrmInsText->Memo->Text());
    o->Canvas()->SetFont(FrmInsText->Memo->Font());
    RedrawCircularText(o);
    RenumberObjects();
    RebuildLayerList();
    PlaceCircleGuide(o);
}

void TFrmMain::crc2Click(TComponent*)
{
    TCFImage* o = AsCircText(SelectedObject);
    if (!o)
        return;
    // The window's colour dialog; made on first use when no area has one.
    auto* dialog = dynamic_cast<TColorDialog*>(FindComponent(QStringLiteral("ColorDialog")));
    if (!dialog) {
        dialog = new TColorDialog(this);
        dialog->SetName(QStringLiteral("ColorDialog"));
    }
    dialog->Color = o->Canvas()->Font()->Color();
    if (!dialog->Execute())
        return;
    o->MFFont()->SetColor(dialog->Color);
    o->Canvas()->Font()->SetColor(dialog->Color);
    RedrawCircularText(o);
    RenumberObjects();
    RebuildLayerList();
    PlaceCircleGuide(o);
    SetModified();
}

void TFrmMain::CircTextMouseDown(TComponent* sender, TMouseButton, TShiftState, int x, int y)
{
    auto* o = dynamic_cast<TControl*>(sender);
    if (!o)
        return;
    ObjectMouseDown(o, true, x, y);
    CircPressLeft = o->Left();
    CircPressTop = o->Top();
    GuidePressLeft = Circl1->Left();
    GuidePressTop = Circl1->Top();
}

void TFrmMain::CircTextMouseMove(TComponent*, TShiftState, int x, int y)
{
    TControl* o = SelectedObject;
    if (!Dragging || !AsCircText(o) || !IsObject(o))
        return;
    HideSelectionFrame();
    SetModified();
    const int dx = x - DownX, dy = y - DownY;
    DragObject(o, dx, dy);
    // The guide follows without the clamp; it only places the centre lines.
    Circl1->SetBounds(Circl1->Left() + dx, Circl1->Top() + dy, Circl1->Width(), Circl1->Height());
    ShowCircleCentreLines(true);
}

void TFrmMain::CircTextMouseUp(TComponent*, TMouseButton, TShiftState, int, int)
{
    ShowCentreLines(false);
    TCFImage* o = AsCircText(SelectedObject);
    if (!o || o->Tag() == 2)
        return;
    const bool wasDragging = Dragging;
    Dragging = false;
    o->SetMouseCapture(false);
    if (wasDragging) {
        // The centre moves with the object.
        const long long dx = static_cast<long long>(o->Left()) - CircPressLeft;
        const long long dy = static_cast<long long>(o->Top()) - CircPressTop;
        o->SetHelpKeyword(ShiftParamField(ShiftParamField(o->HelpKeyword(), dx, 0), dy, 1));
    }
    PlaceCircleGuide(o);
}

// ---------------------------------------------------------------- text as picture

void TFrmMain::btnTextImgClick(TComponent*)
{
    EndShapeTool();
    if (!FrmInsText)
        return;
    TFrmInsText& d = *FrmInsText;
    d.Memo->SetText(QString());
    d.ShowPropertiesTab(true);
    d.PageControl1->SetActivePage(d.Tab1);
    d.ShowModal();
    if (!d.IsConfirmed())
        return;
    SetModified();
    HideSelectionFrame();
    const QString text = d.Memo->Text();
    SizeLabel->SetFont(d.Memo->Font());
    SizeLabel->SetCaption(text);

    auto* o = new TFImage(this);
    o->SetTag(1);
    o->SetParent(ObjectParent);
    o->SetBounds(PNLCD->Width() / 2 - SizeLabel->Width() / 2, 80, SizeLabel->Width(), SizeLabel->Height());
    o->SetTransparent(true);
    o->SetHelpKeyword(QStringLiteral("1"));
    SetObjectHandlers(o);
    o->SetStretch(true);
    o->SetHelpContext(DialogRotation(d));
    o->SetHelpKeyword(d.AutoSize->Checked() ? QStringLiteral("1") : QStringLiteral("0"));
    o->SetPopupMenu(PopupMenuTxtImg);
    o->SetHint(text);
    SelectedObject = o;
    o->SetAliasing(d.Aliasing->Checked());
    o->SetFilling(d.Filling->Checked());

    SizeLabel->SetFont(d.Memo->Font());
    SizeLabel->SetCaption(text);
    const int w = SizeLabel->Width(), h = SizeLabel->Height();
    if (o->HelpContext() == 90 || o->HelpContext() == 270)
        o->SetBounds(o->Left(), o->Top(), h, w);
    else
        o->SetBounds(o->Left(), o->Top(), w, h);
    RenderTextImage(o, d.Memo->Font(), o->HelpContext(), text);
    FinishNewObject(o, true, true);
}

void TFrmMain::EditTextImage(int page)
{
    auto* o = dynamic_cast<TFImage*>(SelectedObject);
    if (!o || !FrmInsText)
        return;
    TFrmInsText& d = *FrmInsText;
    d.Memo->SetText(o->Hint());
    d.Memo->Font()->Assign(o->MFFont());
    d.ShowPropertiesTab(true);
    switch (o->HelpContext()) {
    case 0: d.Rot0->SetChecked(true); break;
    case 90: d.Rot90->SetChecked(true); break;
    case 180: d.Rot180->SetChecked(true); break;
    case 270: d.Rot270->SetChecked(true); break;
    default: break;
    }
    d.AutoSize->SetChecked(o->HelpKeyword() == QLatin1String("1"));
    d.Aliasing->SetChecked(o->Aliasing());
    d.Filling->SetChecked(o->Filling());
    d.PageControl1->SetActivePageIndex(page);
    d.ShowModal();
    if (!d.IsConfirmed())
        return;
    SetModified();
    const QString text = d.Memo->Text();
    o->SetHint(text);
    if (dynamic_cast<TBitmap*>(o->Picture()->Graphic()))
        o->Canvas()->SetFont(d.Memo->Font());
    o->SetMFFont(d.Memo->Font());
    o->SetHelpContext(DialogRotation(d));
    o->SetHelpKeyword(d.AutoSize->Checked() ? QStringLiteral("1") : QStringLiteral("0"));
    o->SetAliasing(d.Aliasing->Checked());
    o->SetFilling(d.Filling->Checked());
    if (o->HelpKeyword() == QLatin1String("1")) {
        SizeLabel->SetFont(o->MFFont());
        SizeLabel->SetCaption(o->Hint());
        const int w = SizeLabel->Width(), h = SizeLabel->Height();
        if (o->HelpContext() == 90 || o->HelpContext() == 270)
            o->SetBounds(o->Left(), o->Top(), h, w);
        else
            o->SetBounds(o->Left(), o->Top(), w, h);
    }
    RenderTextImage(o, d.Memo->Font(), o->HelpContext(), text);
    RenumberObjects();
    RebuildLayerList();
    ShowSelectionFrame(o->Left(), o->Top(), o->Width(), o->Height());
}

void TFrmMain::tim1Click(TComponent*) { EditTextImage(0); }

void TFrmMain::tim2Click(TComponent*) { EditTextImage(1); }

// ---------------------------------------------------------------- rebuilders

void TFrmMain::CreateTextImgFrom(TComponent* read)
{
    auto* r = dynamic_cast<TFImage*>(read);
    if (!r)
        return;
    auto* o = new TFImage(this);
    o->SetParent(ObjectParent);
    SetObjectHandlers(o);
    o->SetPopupMenu(PopupMenuTxtImg);
    SelectedObject = o;
    // The stored picture is taken as it is, not drawn again.
    o->SetPicture(r->Picture());
    o->SetTag(r->Tag());
    o->SetHint(r->Hint());
    o->SetBounds(r->Left(), r->Top(), r->Width(), r->Height());
    o->SetVisible(r->Visible());
    o->SetHelpKeyword(r->HelpKeyword());
    o->SetHelpContext(r->HelpContext());
    o->SetMFFont(r->MFFont());
    if (dynamic_cast<TBitmap*>(o->Picture()->Graphic()))
        o->Canvas()->SetFont(r->MFFont());
    o->SetAliasing(r->Aliasing());
    o->SetFilling(r->Filling());
    o->SetTransparent(true);
    o->SetStretch(true);
}

void TFrmMain::CreateCircTextFrom(TComponent* read)
{
    auto* r = dynamic_cast<TCFImage*>(read);
    if (!r)
        return;
    auto* o = new TCFImage(this);
    o->SetParent(ObjectParent);
    SetCircTextHandlers(o);
    SelectedObject = o;
    o->SetTag(r->Tag());
    // The text is drawn again: a picture of another kind than a bitmap (which
    // the program never stores here) is dropped for a new bitmap.
    if (dynamic_cast<TBitmap*>(r->Picture()->Graphic()))
        o->SetPicture(r->Picture());
    o->SetHint(r->Hint());
    o->SetBounds(r->Left(), r->Top(), r->Width(), r->Height());
    o->SetStretch(r->Stretch());
    o->SetAutoSize(r->AutoSize());
    o->SetTransparent(r->Transparent());
    o->SetVisible(r->Visible());
    o->SetHelpKeyword(r->HelpKeyword());
    o->SetMFFont(r->MFFont());
    o->Canvas()->SetFont(r->MFFont());
    RedrawCircularText(o);
}
