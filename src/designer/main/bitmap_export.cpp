// Bitmap export: the design painted as printing paints it, but at screen scale
// with no sheet placement, correction or cut frames, into a picture of the
// surface's size that is saved as a Windows bitmap.

#include "designer/main/frm_main.h"

#include "classlib/forms/application.h"
#include "classlib/forms/message_box.h"
#include "classlib/pictures/bitmap.h"
#include "classlib/pictures/picture.h"
#include "designer/forms/frm_export.h"
#include "designer/main/design_painting.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

using namespace DesignPainting;

namespace {
// The options window's boxes; without the window, its starting choices.
struct TExportChoice {
    bool Orez = false, Pozadi = true, Obrazky = true, Texty = true, Objekty = true;
};

TExportChoice ExportChoice()
{
    TExportChoice c;
    if (FrmExport) {
        c.Orez = FrmExport->orez->Checked();
        c.Pozadi = FrmExport->ExPozadi->Checked();
        c.Obrazky = FrmExport->ExObrazky->Checked();
        c.Texty = FrmExport->ExTexty->Checked();
        c.Objekty = FrmExport->ExObjekty->Checked();
    }
    return c;
}

void PaintObject(TFrmMain& m, TCanvas* canvas, TComponent* c, const TExportChoice& choice)
{
    // By the exact class: a kind of its own that is none of these paints nothing.
    const QString kind = c->ClassName();
    if (kind == QLatin1String("TLabel")) {
        if (auto* label = dynamic_cast<TLabel*>(c); label && choice.Texty)
            m.ExportPaintText(canvas, label);
    } else if (kind == QLatin1String("TImage")) {
        if (auto* image = dynamic_cast<TImage*>(c); image && choice.Obrazky)
            m.ExportPaintImage(canvas, image);
    } else if (kind == QLatin1String("TFImage") || kind == QLatin1String("TCFImage")) {
        if (auto* image = dynamic_cast<TImage*>(c); image && choice.Texty)
            m.ExportPaintImage(canvas, image);
    } else if (kind == QLatin1String("TShape")) {
        if (auto* shape = dynamic_cast<TShape*>(c); shape && choice.Objekty)
            m.ExportPaintShape(canvas, shape);
    }
}
} // namespace

void TFrmMain::CreateExportControls()
{
    SavePictureDialog1 = Named(new TSavePictureDialog(this), "SavePictureDialog1");
    SavePictureDialog1->DefaultExt = QStringLiteral("*.bmp");
    SavePictureDialog1->Filter = QString::fromUtf8("Bitmapy (*.bmp)|*.bmp|Vše (*.*)|*.*");
    // An existing picture is replaced only when the user says so.
    SavePictureDialog1->Options |= ofOverwritePrompt;
}

void TFrmMain::Export1Click(TComponent*)
{
    // However the window is closed, the export goes on with its boxes.
    if (FrmExport)
        FrmExport->ShowModal();
    TExportChoice choice = ExportChoice();
    // Only the cut needs the template's numbers: without a template the
    // picture is saved whole, and the user is told so.
    if (choice.Orez && !HasTemplate()) {
        Application->MessageBox(sBezSablonyOrez(), QStringLiteral("Export"), MB_OK | MB_ICONINFORMATION);
        choice.Orez = false;
    }

    TBitmap picture;
    picture.SetSize(VK1->Width(), VK1->Height());
    TCanvas* canvas = picture.Canvas();
    LabelOffsetX = LabelOffsetY = PhysOffsetX = PhysOffsetY = 0;
    ProgressStart(ObjectCount());
    try {
        PaintDesignPasses(
            this, canvas,
            [&](TImage* background) {
                if (choice.Pozadi)
                    ExportPaintBackground(canvas, background);
            },
            [&](TComponent* c) { PaintObject(*this, canvas, c, choice); });
        if (choice.Orez)
            ExportPaintCutMask(canvas);
        canvas->Flush();
        // The progress window stays up while the name is asked for.
        if (SavePictureDialog1->Execute())
            picture.SaveToFile(SavePictureDialog1->FileName); // a bitmap whatever the name's extension
    } catch (...) {
        ProgressClose();
        throw;
    }
    ProgressClose();
}

void TFrmMain::ExportPaintBackground(TCanvas* canvas, TImage* image)
{
    // Painted whether shown or not, half a millimetre beyond the right and bottom edges.
    TGraphic* graphic = image->Picture()->Graphic();
    if (!graphic || graphic->Empty())
        return;
    const int x = image->Left();
    const int y = image->Top();
    canvas->StretchDraw(TRect(x, y, Sum(x, image->Width(), MmToPixels(0.5)), Sum(y, image->Height(), MmToPixels(0.5))), graphic);
}

void TFrmMain::ExportPaintText(TCanvas* canvas, TLabel* label)
{
    if (!label->Visible())
        return;
    LoadPrintMemo(PrintMemo, label);
    canvas->Font()->Assign(PrintMemo->Font());
    canvas->Brush()->SetStyle(bsClear);
    const int x = PrintMemo->Left();
    ForEachMemoLine(PrintMemo, SizeLabel, [&](const QString& line, long long y) { canvas->TextOut(x, Sum(y), line); });
}

void TFrmMain::ExportPaintImage(TCanvas* canvas, TImage* image)
{
    if (!image->Visible())
        return;
    TGraphic* graphic = image->Picture()->Graphic();
    if (!graphic || graphic->Empty() || image->Width() <= 0 || image->Height() <= 0)
        return;
    const TPagePlace place{image->Left(), image->Top(), image->Width(), image->Height()};
    if (image->Stretch()) {
        DrawPicture(canvas, image, place, graphic);
        return;
    }
    // The graphic unscaled at the corner, cut to the object's size, drawn opaque.
    TBitmap screenCopy;
    {
        TOpaqueWhile opaque(image);
        MakeScreenCopy(screenCopy, image);
    }
    DrawPicture(canvas, image, place, &screenCopy);
}

void TFrmMain::ExportPaintShape(TCanvas* canvas, TShape* shape)
{
    // The pen keeps its width; halves round toward zero.
    const int penWidth = shape->Pen()->Width();
    const TRect bounds(shape->Left(), shape->Top(), Sum(shape->Left(), shape->Width()), Sum(shape->Top(), shape->Height()));
    PaintShapeFigure(canvas, shape, bounds, penWidth, penWidth / 2, penWidth / 2);
}

void TFrmMain::ExportPaintCutMask(TCanvas* canvas)
{
    SetDefaultState(canvas);
    TMaskPlacement place;
    place.MapX = [](long long x) { return Sum(x); };
    place.MapY = [](long long y) { return Sum(y); };
    place.ScaleX = [](int n) { return n; };
    place.ScaleY = [](int n) { return n; };
    // The screen's size, as the picture's device; a surface larger than the
    // screen would otherwise keep unwhitened strips at its right and bottom.
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize screenSize = screen ? screen->size() : QSize();
    const TRect page(0, 0, std::max(screenSize.width(), VK1->Width()), std::max(screenSize.height(), VK1->Height()));
    const TRegion surface = LabelSurfaceRegion(this, page, place);
    if (!GetTemplateFlag(QStringLiteral("isKrab")))
        canvas->Pen()->SetColor(clWhite);
    canvas->Brush()->SetColor(clWhite);
    canvas->Brush()->SetStyle(bsSolid);
    FillOutsideSurface(canvas, page, surface);
}
