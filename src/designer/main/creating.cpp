// Creating objects: text, pictures, logos, the whole-cover picture, the
// background picture, and the three shapes drawn with a rubber band; the
// popup menus of the object kinds.

#include "designer/main/frm_main.h"

#include "classlib/pictures/picture.h"
#include "classlib/sysutils.h"
#include "designer/forms/frm_ins_text.h"

#include <QPainter>
#include <QPainterPath>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <memory>

namespace {
enum TToolGlyph { tgOutline, tgGrid, tgCover, tgLogo, tgBackground, tgPicture, tgText, tgRound, tgRect, tgCircle };

const QString kPictureFilter = QStringLiteral(
    "Vše (*.gif;*.jpg;*.jpeg;*.bmp;*.emf;*.wmf)|*.gif;*.jpg;*.jpeg;*.bmp;*.emf;*.wmf|"
    "GIF obrázky (*.gif)|*.gif|JPEG obrázky (*.jpg)|*.jpg|JPEG obrázky (*.jpeg)|*.jpeg|"
    "Bitmapy (*.bmp)|*.bmp|Rozšířené metasoubory (*.emf)|*.emf|Metasoubory (*.wmf)|*.wmf");

// The rubber band of the shape tools: focus rectangles drawn by inversion over
// everything on the surface, windows included.
class TRubberBandOverlay : public QWidget {
public:
    explicit TRubberBandOverlay(QWidget* parent) : QWidget(parent)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
    }
    QImage Image; // the focus rectangles as drawn: lit pixels where a dot lies

    // Takes the drawn dots for display.
    void Refresh()
    {
        // The inverting pen lights colour only: every lit pixel becomes opaque white.
        FDots = QImage(Image.size(), QImage::Format_ARGB32_Premultiplied);
        for (int y = 0; y < Image.height(); ++y) {
            const auto* src = reinterpret_cast<const QRgb*>(Image.constScanLine(y));
            auto* dst = reinterpret_cast<QRgb*>(FDots.scanLine(y));
            for (int x = 0; x < Image.width(); ++x)
                dst[x] = (src[x] & 0x00FFFFFFu) ? 0xFFFFFFFFu : 0u;
        }
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (FDots.isNull())
            return;
        QPainter p(this);
        // White dots invert what lies beneath; clear pixels leave it alone.
        p.setCompositionMode(QPainter::CompositionMode_Difference);
        p.drawImage(0, 0, FDots);
    }

private:
    QImage FDots;
};

// Tool-bar glyphs, 16 x 16, in the order of TToolGlyph.
QImage ToolGlyph(TToolGlyph glyph)
{
    QImage img(16, 16, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QColor ink(30, 50, 90), accent(60, 130, 210), warm(230, 150, 40);
    switch (glyph) {
    case tgOutline:
        p.setPen(QPen(ink, 1.4));
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        p.setPen(QPen(Qt::red, 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(3.5, 3.5, 9, 9));
        p.setPen(QPen(ink, 1));
        p.drawEllipse(QRectF(6.5, 6.5, 3, 3));
        break;
    case tgGrid:
        p.setPen(QPen(accent, 1));
        p.drawRect(QRectF(1.5, 1.5, 13, 13));
        p.setPen(QPen(Qt::red, 1.2));
        p.drawLine(QPointF(8, 1), QPointF(8, 15));
        p.drawLine(QPointF(1, 8), QPointF(15, 8));
        break;
    case tgCover:
        p.setPen(QPen(ink, 1));
        p.setBrush(QColor(120, 170, 230));
        p.drawRect(QRectF(1.5, 2.5, 13, 11));
        p.setBrush(warm);
        p.setPen(Qt::NoPen);
        p.drawEllipse(QRectF(9, 4, 4, 4));
        break;
    case tgLogo: {
        QPainterPath star;
        for (int i = 0; i < 10; ++i) {
            const double a = -M_PI / 2 + i * M_PI / 5, r = (i % 2) ? 3.0 : 7.0;
            const QPointF pt(8 + r * std::cos(a), 8.5 + r * std::sin(a));
            i ? star.lineTo(pt) : star.moveTo(pt);
        }
        star.closeSubpath();
        p.setPen(QPen(QColor(150, 30, 40), 1));
        p.setBrush(QColor(220, 60, 60));
        p.drawPath(star);
        break;
    }
    case tgBackground:
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(200, 225, 250));
        p.drawRect(QRectF(1, 1, 14, 14));
        p.setBrush(QColor(60, 140, 70));
        p.drawPolygon(QPolygonF({QPointF(1, 15), QPointF(6, 7), QPointF(10, 12), QPointF(12, 9), QPointF(15, 15)}));
        p.setPen(QPen(ink, 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(0.5, 0.5, 15, 15));
        break;
    case tgPicture:
        p.setPen(QPen(ink, 1));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(1.5, 2.5, 13, 11));
        p.setPen(Qt::NoPen);
        p.setBrush(warm);
        p.drawEllipse(QRectF(3.5, 4.5, 4, 4));
        p.setBrush(accent);
        p.drawPolygon(QPolygonF({QPointF(2, 13), QPointF(7, 8), QPointF(10, 11), QPointF(14, 7), QPointF(14, 13)}));
        break;
    case tgText: {
        QFont f(QStringLiteral("Liberation Serif"));
        f.setPixelSize(15);
        f.setBold(true);
        p.setFont(f);
        p.setPen(ink);
        p.drawText(QRectF(0, 0, 16, 16), Qt::AlignCenter, QStringLiteral("T"));
        break;
    }
    case tgRound:
        p.setPen(QPen(ink, 1.4));
        p.drawRoundedRect(QRectF(1.5, 3.5, 13, 9), 3.5, 3.5);
        break;
    case tgRect:
        p.setPen(QPen(ink, 1.4));
        p.drawRect(QRectF(1.5, 3.5, 13, 9));
        break;
    case tgCircle:
        p.setPen(QPen(ink, 1.4));
        p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        break;
    }
    return img;
}
} // namespace

void TFrmMain::CreateCreatingControls()
{
    auto popup = [&](const char* name) {
        auto* m = Named(new TPopupMenu(this), name);
        return m;
    };
    auto item = [&](TPopupMenu* menu, const char* name, const QString& caption) {
        auto* i = new TMenuItem(this);
        if (name)
            i->SetName(QString::fromLatin1(name));
        i->SetCaption(caption);
        menu->Items()->Add(i);
        return i;
    };
    auto line = [&](TPopupMenu* menu) { item(menu, nullptr, QStringLiteral("-")); };
    auto del = [this](TMenuItem* i) { i->OnClick = [this](TComponent* s) { mnuSmazat1Click(s); }; };

    PopupMenuTxt = popup("PopupMenuTxt");
    txt1 = item(PopupMenuTxt, "txt1", QStringLiteral("Objektový mód"));
    txt2 = item(PopupMenuTxt, "txt2", QStringLiteral("Editační mód"));
    line(PopupMenuTxt);
    txt3 = item(PopupMenuTxt, "txt3", QStringLiteral("Změnit písmo"));
    line(PopupMenuTxt);
    mnuSmazat1 = item(PopupMenuTxt, "mnuSmazat1", QStringLiteral("Smazat"));
    del(mnuSmazat1);
    PopupMenuTxt->OnPopup = [this](TComponent* s) { PopupMenuTxtPopup(s); };

    PopupMenuBck = popup("PopupMenuBck");
    bck1 = item(PopupMenuBck, "bck1", QStringLiteral("Objektový mód"));
    line(PopupMenuBck);
    bck2 = item(PopupMenuBck, "bck2", QStringLiteral("Pomocná mřížka"));
    bck2->OnClick = [this](TComponent* s) { bck2Click(s); };
    bck3 = item(PopupMenuBck, "bck3", QStringLiteral("Ořez CD"));
    bck3->OnClick = [this](TComponent* s) { bck3Click(s); };
    PopupMenuBck->OnPopup = [this](TComponent* s) { PopupMenuBckPopup(s); };

    PopupMenuIMG = popup("PopupMenuIMG");
    img1 = item(PopupMenuIMG, "img1", QStringLiteral("Vlastnosti objektu"));
    img2 = item(PopupMenuIMG, "img2", QStringLiteral("Rozmazání obrázku"));
    img3 = item(PopupMenuIMG, "img3", QStringLiteral("Smazat"));
    img1->OnClick = [this](TComponent* s) { img1Click(s); };
    img2->OnClick = [this](TComponent* s) { img2Click(s); };
    del(img3);
    PopupMenuIMG->OnPopup = [this](TComponent* s) { PopupMenuIMGPopup(s); };

    PopupMenuSHP = popup("PopupMenuSHP");
    shp1 = item(PopupMenuSHP, "shp1", QStringLiteral("Vlastnosti objektu"));
    shp2 = item(PopupMenuSHP, "shp2", QStringLiteral("Barva pozadí"));
    shp3 = item(PopupMenuSHP, "shp3", QStringLiteral("Barva okraje"));
    shp4 = item(PopupMenuSHP, "shp4", QStringLiteral("Smazat"));
    del(shp4);
    PopupMenuSHP->OnPopup = [this](TComponent* s) { PopupMenuBckPopup(s); };

    PopupMenuCircl = popup("PopupMenuCircl");
    crc1 = item(PopupMenuCircl, "crc1", QStringLiteral("Vlastnosti objektu"));
    crc2 = item(PopupMenuCircl, "crc2", QStringLiteral("Změnti barvu"));
    crc3 = item(PopupMenuCircl, "crc3", QStringLiteral("Smazat"));
    del(crc3);
    PopupMenuCircl->OnPopup = [this](TComponent* s) { PopupMenuBckPopup(s); };

    PopupMenuTxtImg = popup("PopupMenuTxtImg");
    tim1 = item(PopupMenuTxtImg, "tim1", QStringLiteral("Vlastnosti objektu"));
    tim2 = item(PopupMenuTxtImg, "tim2", QStringLiteral("Vlastnosti textu"));
    tim3 = item(PopupMenuTxtImg, "tim3", QStringLiteral("Smazat"));
    del(tim3);
    PopupMenuTxtImg->OnPopup = [this](TComponent* s) { PopupMenuBckPopup(s); };

    OpenPictureDialog = Named(new TOpenPictureDialog(this), "OpenPictureDialog");
    OpenPictureDialog->Filter = kPictureFilter;
    OpenPictureLogo = Named(new TOpenPictureDialog(this), "OpenPictureLogo");
    OpenPictureLogo->Filter = kPictureFilter;

    // Glyphs of the tool buttons of the surface and of creating objects.
    ToolBarImages = Named(new TImageList(this), "ToolBarImages");
    for (int g = tgOutline; g <= tgCircle; ++g)
        ToolBarImages->AddImage(ToolGlyph(static_cast<TToolGlyph>(g)));
    for (TToolBar* bar : {ToolBar1, ToolBar2})
        if (!bar->Images())
            bar->SetImages(ToolBarImages);
    btnLayer01->SetImageIndex(tgOutline);
    btnKriz->SetImageIndex(tgGrid);

    // The tool buttons that reach these commands.
    auto button = [&](TToolBar* bar, const char* name, const QString& hint, TToolButtonStyle style) {
        auto* b = Named(new TToolButton(this), name);
        b->SetParent(bar);
        b->SetStyle(style);
        b->SetHint(hint);
        b->SetCaption(hint);
        return b;
    };
    ToolButton7 = button(ToolBar1, "ToolButton7", QStringLiteral("Vložit kompletní obal"), tbsButton);
    ToolButton7->SetImageIndex(tgCover);
    ToolButton7->OnClick = [this](TComponent* s) { ComObalClick(s); };
    ToolButton10 = button(ToolBar1, "ToolButton10", QStringLiteral("Vložit logo"), tbsButton);
    ToolButton10->SetImageIndex(tgLogo);
    ToolButton10->OnClick = [this](TComponent* s) { Logo1Click(s); };
    BtnPozadi = button(ToolBar2, "BtnPozadi", QStringLiteral("Vložit pozadí"), tbsButton);
    BtnPozadi->SetImageIndex(tgBackground);
    BtnPozadi->OnClick = [this](TComponent* s) { BtnPozadi2Click(s); };
    btnImg = button(ToolBar2, "btnImg", QStringLiteral("Vložit obrázek"), tbsButton);
    btnImg->SetImageIndex(tgPicture);
    btnImg->OnClick = [this](TComponent* s) { btnImg2Click(s); };
    btnText = button(ToolBar2, "btnText", QStringLiteral("Vložit textové pole / seznam"), tbsButton);
    btnText->SetImageIndex(tgText);
    btnText->OnClick = [this](TComponent* s) { btnText2Click(s); };
    btnRound = button(ToolBar2, "btnRound", QStringLiteral("Vložit zaoblený rámeček"), tbsCheck);
    btnRound->SetImageIndex(tgRound);
    btnRound->OnClick = [this](TComponent* s) { btnRound2Click(s); };
    btnRect = button(ToolBar2, "btnRect", QStringLiteral("Vložit rámeček"), tbsCheck);
    btnRect->SetImageIndex(tgRect);
    btnRect->OnClick = [this](TComponent* s) { btnRect2Click(s); };
    btnCircl = button(ToolBar2, "btnCircl", QStringLiteral("Vložit kruh"), tbsCheck);
    btnCircl->SetImageIndex(tgCircle);
    btnCircl->OnClick = [this](TComponent* s) { btnCircl2Click(s); };

    // The background, the surface and the rubber band surface take the same mouse.
    for (TControl* c : std::initializer_list<TControl*>{IMGBck, TopVSA}) {
        c->OnMouseDown = [this](TComponent* s, TMouseButton b, TShiftState sh, int x, int y) { VK1TMouseDown(s, b, sh, x, y); };
        c->OnMouseMove = [this](TComponent* s, TShiftState sh, int x, int y) { VK1TMouseMove(s, sh, x, y); };
        c->OnMouseUp = [this](TComponent* s, TMouseButton b, TShiftState sh, int x, int y) { VK1TMouseUp(s, b, sh, x, y); };
    }
    IMGBck->OnClick = [this](TComponent* s) { VK1TClick(s); };
    PNLCD->OnClick = [this](TComponent* s) { VK1TClick(s); };
    IMGBck->SetPopupMenu(PopupMenuBck);
    SizeLabel->SetPopupMenu(PopupMenuBck);
}

// ---------------------------------------------------------------- the common end

void TFrmMain::SetObjectHandlers(TControl* o)
{
    const QString cls = o->ClassName();
    if (cls == QLatin1String("TLabel")) {
        // A label's text is the user's: "Rock & Roll" keeps its ampersand.
        static_cast<TLabel*>(o)->SetPlainText(true);
        o->OnMouseDown = [this](TComponent* s, TMouseButton b, TShiftState sh, int x, int y) { LabelMouseDown(s, b, sh, x, y); };
        o->OnMouseMove = [this](TComponent* s, TShiftState sh, int x, int y) { LabelMouseMove(s, sh, x, y); };
        o->OnMouseUp = [this](TComponent* s, TMouseButton b, TShiftState sh, int x, int y) { LabelMouseUp(s, b, sh, x, y); };
        o->OnDblClick = [this](TComponent* s) { LabelDblClick(s); };
        o->SetPopupMenu(PopupMenuTxt);
    } else if (cls == QLatin1String("TImage")) {
        o->OnMouseDown = [this](TComponent* s, TMouseButton b, TShiftState sh, int x, int y) { ImageMouseDown(s, b, sh, x, y); };
        o->OnMouseMove = [this](TComponent* s, TShiftState sh, int x, int y) { ImageMouseMove(s, sh, x, y); };
        o->OnMouseUp = [this](TComponent* s, TMouseButton b, TShiftState sh, int x, int y) { ImageMouseUp(s, b, sh, x, y); };
        o->SetPopupMenu(PopupMenuIMG);
    } else if (cls == QLatin1String("TShape")) {
        o->OnMouseDown = [this](TComponent* s, TMouseButton b, TShiftState sh, int x, int y) { ShapeMouseDown(s, b, sh, x, y); };
        o->OnMouseMove = [this](TComponent* s, TShiftState sh, int x, int y) { ShapeMouseMove(s, sh, x, y); };
        o->OnMouseUp = [this](TComponent* s, TMouseButton b, TShiftState sh, int x, int y) { ShapeMouseUp(s, b, sh, x, y); };
        o->OnContextPopup = [this](TComponent* s, TPoint p, bool& h) { ShapeContextPopup(s, p, h); };
    } else if (cls == QLatin1String("TFImage")) {
        o->OnMouseDown = [this](TComponent* s, TMouseButton b, TShiftState sh, int x, int y) { TextImgMouseDown(s, b, sh, x, y); };
        o->OnMouseMove = [this](TComponent* s, TShiftState sh, int x, int y) { TextImgMouseMove(s, sh, x, y); };
        o->OnMouseUp = [this](TComponent* s, TMouseButton b, TShiftState sh, int x, int y) { TextImgMouseUp(s, b, sh, x, y); };
        o->SetPopupMenu(PopupMenuTxtImg);
    }
}

void TFrmMain::FinishNewObject(TControl* o, bool showFrame, bool buildLinks)
{
    SelectedObject = o;
    RenumberObjects();
    RebuildLayerList();
    if (buildLinks)
        BuildPropertyLinks();
    Vrstvy->SetItemIndex(LayerIndexOf(o->ComponentIndex()));
    if (showFrame)
        ShowSelectionFrame(o->Left(), o->Top(), o->Width(), o->Height());
    else
        ShowCentreLines(false); // no cross of the object selected before stays behind
}

// ---------------------------------------------------------------- text

void TFrmMain::AddTextObject(const QString& text, int fontSize)
{
    HideSelectionFrame();
    auto* l = new TLabel(this);
    if (FrmInsText)
        l->Font()->Assign(FrmInsText->Memo->Font());
    else
        TFrmInsText::AssignDefaultFont(l->Font());
    if (fontSize > 0)
        l->Font()->SetSize(fontSize);
    l->SetCaption(text);
    l->SetAutoSize(false);
    l->SetTransparent(true);
    l->SetTag(1);
    l->SetParent(ObjectParent);
    SizeLabel->Font()->Assign(l->Font());
    SizeLabel->SetCaption(l->Caption());
    SizeLabel->AdjustBounds();
    l->SetBounds(PNLCD->Width() / 2 - SizeLabel->Width() / 2, 85, SizeLabel->Width(), SizeLabel->Height());
    SetObjectHandlers(l);
    FinishNewObject(l);
}

void TFrmMain::btnText2Click(TComponent*)
{
    AddTextObject(QStringLiteral("Text"), 0);
    SetModified();
}

// ---------------------------------------------------------------- pictures

void TFrmMain::InsertPicture(TPictureKind kind)
{
    TOpenPictureDialog* dialog = kind == pkLogo ? OpenPictureLogo : OpenPictureDialog;
    if (kind == pkLogo)
        dialog->InitialDir = IncludeTrailingPathDelimiter(AppDir + QStringLiteral("/Loga"));
    if (!dialog->Execute())
        return;
    const QString fileName = dialog->FileName;
    SetModified();
    HideSelectionFrame();
    // A picture that cannot be read leaves nothing behind on the label.
    auto image = std::make_unique<TImage>(this);
    image->Picture()->LoadFromFile(fileName);
    SizeImage->Picture()->LoadFromFile(fileName);
    image->SetHint(ExtractFileName(fileName));
    image->SetTag(kind == pkCover ? 2 : 1);
    image->SetParent(ObjectParent);
    if (kind == pkCover) {
        image->SetBounds(MmToPixels(2.0), MmToPixels(2.0), PNLCD->Width() - MmToPixels(4.0),
                         PNLCD->Height() - MmToPixels(4.0));
    } else {
        image->SetLeft(80);
        image->SetTop(80);
        if (kind == pkLogo)
            image->SetTransparent(true);
        SizeImage->SetAutoSize(true);
        SizeImage->SetAutoSize(false);
        int w = SizeImage->Width(), h = SizeImage->Height();
        if (!(h <= PNLCD->Height() && w <= PNLCD->Width())) {
            FitProportional(w, h, PNLCD->Width(), PNLCD->Height(), w, h);
            // A very thin picture would come out with no size at all.
            w = std::max(w - 90, 1);
            h = std::max(h - 90, 1);
        }
        image->SetWidth(w);
        image->SetHeight(h);
    }
    image->SetStretch(true);
    TImage* o = image.release();
    SetObjectHandlers(o);
    FinishNewObject(o, kind != pkCover);
}

void TFrmMain::btnImg2Click(TComponent*) { InsertPicture(pkPicture); }

void TFrmMain::Logo1Click(TComponent*) { InsertPicture(pkLogo); }

void TFrmMain::ComObalClick(TComponent*) { InsertPicture(pkCover); }

void TFrmMain::BtnPozadi2Click(TComponent*)
{
    if (!OpenPictureDialog->Execute())
        return;
    IMGBck->Picture()->LoadFromFile(OpenPictureDialog->FileName);
    FillBackgroundList();
    SetModified();
}

// ---------------------------------------------------------------- shape tools

void TFrmMain::btnRect2Click(TComponent*)
{
    btnRound->SetDown(false);
    btnCircl->SetDown(false);
    TopVSA->SetVisible(true);
    TopVSA->BringToFront();
}

void TFrmMain::btnRound2Click(TComponent*)
{
    btnRect->SetDown(false);
    btnCircl->SetDown(false);
    TopVSA->SetVisible(true);
    TopVSA->BringToFront();
}

void TFrmMain::btnCircl2Click(TComponent*)
{
    btnRect->SetDown(false);
    btnRound->SetDown(false);
    TopVSA->SetVisible(true);
    TopVSA->BringToFront();
}

void TFrmMain::vl6Click(TComponent*)
{
    btnRound->SetDown(true);
    btnRound2Click(btnRound);
}

void TFrmMain::vl7Click(TComponent*)
{
    btnRect->SetDown(true);
    btnRect2Click(btnRect);
}

void TFrmMain::vl8Click(TComponent*)
{
    btnCircl->SetDown(true);
    btnCircl2Click(btnCircl);
}

TRect TFrmMain::NormalizeDragRect(TPoint start, TPoint end) const
{
    const TPoint a = PNLCD->ClientToScreen(start), b = PNLCD->ClientToScreen(end);
    return TRect(std::min(a.X, b.X), std::min(a.Y, b.Y), std::max(a.X, b.X), std::max(a.Y, b.Y));
}

QImage& TFrmMain::RubberBandImage()
{
    auto* overlay = static_cast<TRubberBandOverlay*>(FRubberBand);
    if (!overlay) {
        overlay = new TRubberBandOverlay(PNLCD->Handle());
        FRubberBand = overlay;
    }
    const QSize size(std::max(PNLCD->Width(), 1), std::max(PNLCD->Height(), 1));
    if (overlay->Image.size() != size) {
        overlay->Image = QImage(size, QImage::Format_ARGB32_Premultiplied);
        overlay->Image.fill(Qt::transparent);
    }
    return overlay->Image;
}

void TFrmMain::DrawRubberBand(const TRect& screenRect)
{
    QImage& image = RubberBandImage();
    const TPoint tl = PNLCD->ScreenToClient(TPoint(screenRect.Left, screenRect.Top));
    TCanvas canvas;
    canvas.BindImage(&image);
    canvas.DrawFocusRect(Bounds(tl.X, tl.Y, screenRect.Width(), screenRect.Height()));
    canvas.Unbind();
    FRubberBand->setGeometry(0, 0, image.width(), image.height());
    FRubberBand->raise();
    FRubberBand->show();
    static_cast<TRubberBandOverlay*>(FRubberBand)->Refresh();
}

void TFrmMain::VK1TMouseDown(TComponent*, TMouseButton, TShiftState, int x, int y)
{
    if (!(btnRect->Down() || btnRound->Down() || btnCircl->Down()))
        return;
    ShapeDragStart = ShapeDragEnd = TPoint(x, y);
    DrawRubberBand(NormalizeDragRect(ShapeDragStart, ShapeDragEnd));
    ShapeDragging = true;
}

void TFrmMain::VK1TMouseMove(TComponent*, TShiftState, int x, int y)
{
    if (!(btnRect->Down() || btnRound->Down() || btnCircl->Down()) || !ShapeDragging)
        return;
    DrawRubberBand(NormalizeDragRect(ShapeDragStart, ShapeDragEnd));
    ShapeDragEnd = TPoint(x, y);
    DrawRubberBand(NormalizeDragRect(ShapeDragStart, ShapeDragEnd));
}

void TFrmMain::EndShapeTool()
{
    TopVSA->SetVisible(false);
    btnRect->SetDown(false);
    btnRound->SetDown(false);
    btnCircl->SetDown(false);
}

void TFrmMain::VK1TMouseUp(TComponent*, TMouseButton, TShiftState, int, int)
{
    if (!(btnRect->Down() || btnRound->Down() || btnCircl->Down())) {
        EndShapeTool();
        BuildPropertyLinks();
        return;
    }
    SetModified();
    // Only a band that is on the surface is erased (inverting again would draw one).
    if (ShapeDragging)
        DrawRubberBand(NormalizeDragRect(ShapeDragStart, ShapeDragEnd));
    ShapeDragging = false;
    auto* s = new TShape(this);
    s->SetTag(1);
    s->SetParent(ObjectParent);
    QString hint;
    if (btnRect->Down()) {
        s->SetShape(stRectangle);
        hint = sObdelnik;
    } else if (btnCircl->Down()) {
        s->SetShape(stEllipse);
        hint = sKruh;
    } else {
        s->SetShape(stRoundRect);
        hint = sZaoblenyObdelnik;
    }
    int w = ShapeDragEnd.X - ShapeDragStart.X, h = ShapeDragEnd.Y - ShapeDragStart.Y;
    if (w < 2)
        w = 25;
    if (h < 2)
        h = 25;
    s->SetBounds(ShapeDragStart.X, ShapeDragStart.Y, w, h);
    s->SetHint(hint);
    SetObjectHandlers(s);
    FinishNewObject(s, true, false);
    EndShapeTool();
    BuildPropertyLinks();
}
