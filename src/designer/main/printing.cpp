// Printing on label sheets: the design goes onto one printer page at the place
// the template gives for the label, shifted by the user's print correction;
// everything outside the label is whitened and a box insert can get cut frames.

#include "designer/main/frm_main.h"

#include "classlib/forms/application.h"
#include "classlib/forms/message_box.h"
#include "classlib/pictures/bitmap.h"
#include "classlib/pictures/gif_image.h"
#include "classlib/pictures/jpeg_image.h"
#include "classlib/pictures/picture.h"
#include "classlib/printers.h"
#include "classlib/sysutils.h"
#include "designer/forms/frm_progress.h"
#include "platform/region.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <algorithm>
#include <climits>
#include <cmath>
#include <initializer_list>

namespace {
int ScreenPpi() { return Screen ? Screen->PixelsPerInch() : 96; }

// Sums of positions and offsets: values read from files may be extreme.
int Sum(long long a, long long b = 0, long long c = 0, long long d = 0)
{
    return static_cast<int>(std::clamp<long long>(a + b + c + d, INT_MIN, INT_MAX));
}

// Regions are built row by row: a label that reaches absurdly far (a
// template value out of all measure) ends the print instead of the memory.
void CheckRegionBounds(std::initializer_list<int> values)
{
    constexpr int Limit = 200000;
    for (int v : values)
        if (v < -Limit || v > Limit)
            throw EInvalidOperation(QStringLiteral("The label lies too far outside the printer's page"));
}

// Millimetres beyond any sheet (a hand-edited file) would overflow the
// conversions to pixels.
double CheckMillimetres(double mm)
{
    if (!std::isfinite(mm) || std::abs(mm) > 100000.0)
        throw EInvalidOperation(QStringLiteral("%1 mm is beyond any label sheet").arg(mm));
    return mm;
}

double TemplateNumber(const TFrmMain* m, const char* key)
{
    return CheckMillimetres(StrToFloat(m->GetTemplateParam(QString::fromLatin1(key))));
}

// The canvas's state before every object and after each cut frame.
void SetDefaultState(TCanvas* c)
{
    c->Brush()->SetColor(clWhite);
    c->Brush()->SetStyle(bsSolid);
    c->Pen()->SetColor(clBlack);
    c->Pen()->SetMode(pmCopy);
    c->Pen()->SetStyle(psSolid);
    c->Pen()->SetWidth(1);
}

// The printer's font for a design font: the same point size on paper, as the
// class library keeps it for a canvas of another resolution.
void SetPrinterFont(TCanvas* c, const TFont* font, int logPixelsY)
{
    c->Font()->Assign(font);
    c->Font()->SetHeight(-MulDiv(font->Size(), logPixelsY, 72));
}

// The progress window: objects done, and the rows of the picture being copied.
void ProgressStart(int objects)
{
    if (!FrmProgress)
        return;
    // Set before showing, so the window never shows the last print's bars.
    FrmProgress->Progress->SetProgress(0);
    FrmProgress->ProgressOBJ->SetProgress(0);
    FrmProgress->Progress->SetMaxValue(objects);
    FrmProgress->Show();
    // The new window is laid out and exposed now, so that it shows while the
    // print runs; no input is taken meanwhile.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    FrmProgress->Repaint();
}

void ProgressObjectStart()
{
    if (!FrmProgress)
        return;
    FrmProgress->ProgressOBJ->SetMaxValue(0);
    FrmProgress->ProgressOBJ->SetProgress(0);
}

// The gauges are painted at once, each only when it shows something new.
void ProgressRepaint()
{
    FrmProgress->Progress->RepaintIfChanged();
    FrmProgress->ProgressOBJ->RepaintIfChanged();
}

void ProgressObjectDone()
{
    if (!FrmProgress)
        return;
    FrmProgress->Progress->AddProgress(1);
    FrmProgress->ProgressOBJ->SetMaxValue(0);
    ProgressRepaint();
}

void ProgressRows(int maximum)
{
    if (FrmProgress)
        FrmProgress->ProgressOBJ->SetMaxValue(maximum);
}

void ProgressRow(int row)
{
    if (!FrmProgress)
        return;
    FrmProgress->ProgressOBJ->SetProgress(row);
    ProgressRepaint();
}

void ProgressClose()
{
    if (FrmProgress)
        FrmProgress->Close();
}

// The transparency of a picture object switched off for a while, and on
// again whatever happens meanwhile.
class TOpaqueWhile {
public:
    explicit TOpaqueWhile(TImage* image) : FImage(image), FWas(image->Transparent()) { FImage->SetTransparent(false); }
    ~TOpaqueWhile() { FImage->SetTransparent(FWas); }
    TOpaqueWhile(const TOpaqueWhile&) = delete;
    TOpaqueWhile& operator=(const TOpaqueWhile&) = delete;

private:
    TImage* FImage;
    bool FWas;
};
} // namespace

void TFrmMain::CreatePrintingControls()
{
    TiskRam = Named(new TMenuItem(this), "TiskRam");
    TiskRam->SetCaption(QStringLiteral("Tisknout orámování"));
    TiskRam->OnClick = [this](TComponent* s) { TiskRamClick(s); };
    Barvarmovn1 = Named(new TMenuItem(this), "Barvarmovn1");
    Barvarmovn1->SetCaption(QStringLiteral("Barva rámování"));
    Barvarmovn1->OnClick = [this](TComponent* s) { Barvarmovn1Click(s); };
    BarvaRamu = Named(new TColorDialog(this), "BarvaRamu");
    PrintDialog = Named(new TPrintDialog(this), "PrintDialog");

    PrintMemo = Named(new TMemo(this), "PrintMemo");
    PrintMemo->SetParent(PanelStyl);
    PrintMemo->SetVisible(false);
    PrintMemo->SetBorderStyle(bsNoneBorder);
    PrintMemo->SetWordWrap(false);
}

int TFrmMain::PrnScaleX(int n)
{
    const double q = static_cast<double>(Printer()->GetDeviceCaps(LOGPIXELSX)) / ScreenPpi();
    return static_cast<int>(std::clamp(std::trunc(n * q), double(INT_MIN), double(INT_MAX)));
}

int TFrmMain::PrnScaleY(int n)
{
    const double q = static_cast<double>(Printer()->GetDeviceCaps(LOGPIXELSY)) / ScreenPpi();
    return static_cast<int>(std::clamp(std::trunc(n * q), double(INT_MIN), double(INT_MAX)));
}

int TFrmMain::PageX(long long x) { return Sum(PrnScaleX(Sum(x, CorrOffsetX, LabelOffsetX)), PhysOffsetX); }

int TFrmMain::PageY(long long y) { return Sum(PrnScaleY(Sum(y, CorrOffsetY, LabelOffsetY)), PhysOffsetY); }

void TFrmMain::btnPrintClick(TComponent*)
{
    // Without a template (an empty project opens so) nothing says where the
    // label lies on the sheet: a print would put stray strips at the corner.
    if (!HasTemplate()) {
        Application->MessageBox(sBezSablony(), QStringLiteral("Chyba"), MB_OK | MB_ICONWARNING);
        return;
    }
    if (GetTemplateFlag(QStringLiteral("isKrab")) && !TiskRam->Checked()) {
        const int answer = Application->MessageBox(sTiskOramovani, sDotaz, MB_YESNO | MB_ICONQUESTION);
        TiskRam->SetChecked(answer == IDYES);
    }
    LabelOffsetX = LabelOffsetY = PhysOffsetX = PhysOffsetY = 0;
    if (!PrintDialog->Execute())
        return;

    TPrinter* printer = Printer();
    ProgressStart(ObjectCount());
    try {
        // A turned label prints landscape, whatever was picked in the dialog.
        const bool turned = GetTemplateFlag(QStringLiteral("Sirka"));
        printer->SetCopies(PrintDialog->Copies);
        printer->SetOrientation(turned ? poLandscape : poPortrait);
        printer->SetTitle(sPrintTitle);
        printer->BeginDoc();
        PhysOffsetX = -printer->GetDeviceCaps(PHYSICALOFFSETX);
        PhysOffsetY = -printer->GetDeviceCaps(PHYSICALOFFSETY);
        const double left = TemplateNumber(this, "Left");
        const double top = TemplateNumber(this, "Top");
        CheckMillimetres(PrintCorrX);
        CheckMillimetres(PrintCorrY);
        if (!turned) {
            LabelOffsetX = MmToPixels(left - 2.0);
            LabelOffsetY = MmToPixels(top - 2.0);
            CorrOffsetX = MmToPixels(PrintCorrX);
            CorrOffsetY = MmToPixels(PrintCorrY);
        } else {
            // The sheet lies turned: place and correction change axes, the correction its sign.
            LabelOffsetX = MmToPixels(top - 2.0);
            LabelOffsetY = MmToPixels(left - 2.0);
            CorrOffsetX = MmToPixels(-static_cast<double>(PrintCorrY));
            CorrOffsetY = MmToPixels(-static_cast<double>(PrintCorrX));
        }
        TCanvas* canvas = printer->Canvas();

        for (int i = 0; i < ComponentCount(); ++i) {
            TComponent* c = Components(i);
            if (c->Tag() == 3 && c->ClassName() == QLatin1String("TImage"))
                PrintBackground(static_cast<TImage*>(c)); // exactly a TImage
        }

        for (int i = 0; i < ComponentCount(); ++i) {
            TComponent* c = Components(i);
            if (!IsObject(c))
                continue;
            SetDefaultState(canvas);
            ProgressObjectStart();
            // By the exact class: a kind of its own that is none of these prints nothing.
            const QString kind = c->ClassName();
            if (kind == QLatin1String("TLabel")) {
                if (auto* label = dynamic_cast<TLabel*>(c))
                    PrintLabel(label);
            } else if (kind == QLatin1String("TImage") || kind == QLatin1String("TFImage")) {
                if (auto* image = dynamic_cast<TImage*>(c))
                    PrintImage(canvas, image);
            } else if (kind == QLatin1String("TCFImage")) {
                if (auto* image = dynamic_cast<TImage*>(c))
                    PrintTransparentImage(canvas, image);
            } else if (kind == QLatin1String("TShape")) {
                if (auto* shape = dynamic_cast<TShape*>(c))
                    PrintShape(shape);
            }
            ProgressObjectDone();
        }

        PrintWhiteMask();
        ProgressClose();
        printer->EndDoc();
    } catch (...) {
        // The job is dropped, never sent half done.
        ProgressClose();
        if (printer->Printing())
            printer->Abort();
        throw;
    }
}

void TFrmMain::PrintLabel(TLabel* label)
{
    if (!label->Visible())
        return;
    PrintMemo->Font()->Assign(label->Font());
    PrintMemo->SetCaption(label->Caption());
    PrintMemo->SetAlignment(label->Alignment());
    PrintMemo->SetBounds(label->Left(), label->Top(), label->Width(), label->Height());
    PrintMemoLines(PrintMemo);
}

void TFrmMain::PrintMemoLines(TMemo* memo)
{
    TCanvas* canvas = Printer()->Canvas();
    const int dpiX = Printer()->GetDeviceCaps(LOGPIXELSX);
    const int dpiY = Printer()->GetDeviceCaps(LOGPIXELSY);
    SetPrinterFont(canvas, memo->Font(), dpiY);
    canvas->Brush()->SetStyle(bsClear);
    // A printer with another resolution across than down widens the letters
    // so that they keep their size on paper.
    const double aspect = dpiY > 0 ? static_cast<double>(dpiX) / dpiY : 1.0;
    // Line tops add up in screen pixels; each is scaled on its own.
    const int x = PageX(memo->Left());
    long long y = memo->Top();
    TStrings* lines = memo->Lines();
    for (int i = 0; i < lines->Count(); ++i) {
        const QString line = lines->Strings(i);
        SizeLabel->Font()->Assign(memo->Font());
        SizeLabel->SetCaption(line);
        const int top = PageY(y);
        if (aspect == 1.0) {
            canvas->TextOut(x, top, line);
        } else {
            canvas->PaintWith([&](QPainter& p) {
                p.translate(x, top);
                p.scale(aspect, 1.0);
                canvas->TextOut(0, 0, line);
            });
        }
        y += SizeLabel->Height();
    }
}

namespace {
// What the screen shows of an unstretched picture: its graphic at its own
// size over white, cut to the object's size.
void MakeScreenCopy(TBitmap& b, TImage* image)
{
    b.SetSize(image->Width(), image->Height());
    if (!b.Empty())
        b.Canvas()->Draw(0, 0, image->Picture()->Graphic());
}

// Draws the pixels of a that differ from its top-left pixel at (x, y); the
// others leave the page as it was. The progress window follows the rows.
void DrawKeyColourCopy(TCanvas* canvas, const QImage& a, int x, int y)
{
    if (a.isNull())
        return;
    QImage masked = a.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = masked.pixel(0, 0) & 0x00FFFFFFu;
    ProgressRows(masked.height() - 1);
    for (int r = 0; r < masked.height(); ++r) {
        ProgressRow(r);
        auto* line = reinterpret_cast<QRgb*>(masked.scanLine(r));
        for (int c = 0; c < masked.width(); ++c)
            line[c] = (line[c] & 0x00FFFFFFu) == key ? 0u : (line[c] | 0xFF000000u);
    }
    canvas->PaintWith([&](QPainter& p) {
        p.setRenderHint(QPainter::SmoothPixmapTransform, false);
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        p.drawImage(QPoint(x, y), masked);
    });
}

bool IsJpeg(const TGraphic* g) { return dynamic_cast<const TJPEGImage*>(g) != nullptr; }

// Where a picture object lands on the page, in printer pixels.
struct TPagePlace {
    int X = 0, Y = 0, W = 0, H = 0;
};

// False when the object prints nothing: hidden, without a picture, or no size on paper.
bool PlacePicture(TFrmMain& m, TImage* image, TPagePlace& place)
{
    if (!image->Visible())
        return false;
    const TGraphic* graphic = image->Picture()->Graphic();
    if (!graphic || graphic->Empty())
        return false;
    place.X = m.PageX(image->Left());
    place.Y = m.PageY(image->Top());
    place.W = m.PrnScaleX(image->Width());
    place.H = m.PrnScaleY(image->Height());
    return place.W > 0 && place.H > 0;
}

// A picture object's source drawn at its place: plainly, or when the object
// is transparent (a JPEG never is) only where it differs from its top-left pixel.
void DrawPicture(TCanvas* canvas, TImage* image, const TPagePlace& place, TGraphic* source)
{
    if (!image->Transparent() || IsJpeg(image->Picture()->Graphic())) {
        canvas->StretchDraw(TRect(place.X, place.Y, place.X + place.W, place.Y + place.H), source);
        return;
    }
    TBitmap a;
    a.SetSize(place.W, place.H);
    {
        TOpaqueWhile opaque(image);
        a.Canvas()->StretchDraw(TRect(0, 0, place.W, place.H), source);
    }
    a.Canvas()->Flush();
    DrawKeyColourCopy(canvas, a.Image(), place.X, place.Y);
}
} // namespace

void TFrmMain::PrintImage(TCanvas* canvas, TImage* image)
{
    TPagePlace place;
    if (!PlacePicture(*this, image, place))
        return;
    if (image->Stretch()) {
        DrawPicture(canvas, image, place, image->Picture()->Graphic());
        return;
    }
    TBitmap screenCopy;
    MakeScreenCopy(screenCopy, image);
    DrawPicture(canvas, image, place, &screenCopy);
}

void TFrmMain::PrintTransparentImage(TCanvas* canvas, TImage* image)
{
    TPagePlace place;
    if (!PlacePicture(*this, image, place))
        return;
    // Stretched or not, it prints what the screen shows of it.
    TBitmap screenCopy;
    MakeScreenCopy(screenCopy, image);
    DrawPicture(canvas, image, place, &screenCopy);
}

void TFrmMain::PrintShape(TShape* shape)
{
    if (!shape->Visible())
        return;
    const TShapeType kind = shape->Shape();
    if (kind != stRectangle && kind != stRoundRect && kind != stEllipse)
        return;
    TCanvas* canvas = Printer()->Canvas();
    canvas->Brush()->Assign(shape->Brush());
    canvas->Pen()->SetColor(shape->Pen()->Color());
    canvas->Pen()->SetMode(shape->Pen()->Mode());
    canvas->Pen()->SetStyle(shape->Pen()->Style());
    const int penWidth = shape->Pen()->Width();
    canvas->Pen()->SetWidth(PrnScaleX(penWidth));
    const int x = PageX(shape->Left());
    const int y = PageY(shape->Top());
    const int w = PrnScaleX(shape->Width());
    const int h = PrnScaleY(shape->Height());
    // The pen stays inside the object's bounds.
    const int hx = PrnScaleX(penWidth) / 2;
    const int hy = PrnScaleY(penWidth) / 2;
    const TRect box(Sum(x, hx), Sum(y, hy), Sum(x, w, -hx), Sum(y, h, -hy));
    switch (kind) {
    case stRectangle:
        canvas->Rectangle(box);
        break;
    case stRoundRect: {
        const int r = std::min(w, h) / 4;
        canvas->RoundRect(box.Left, box.Top, box.Right, box.Bottom, r, r);
        break;
    }
    default:
        canvas->Ellipse(box);
        break;
    }
}

void TFrmMain::PrintBackground(TImage* image)
{
    // Printed whether shown or not.
    TGraphic* graphic = image->Picture()->Graphic();
    if (!graphic || graphic->Empty())
        return;
    TCanvas* canvas = Printer()->Canvas();
    const int x = PageX(image->Left());
    const int y = PageY(image->Top());
    // Half a millimetre beyond the surface's right and bottom edges.
    const TRect r(x, y, Sum(x, PrnScaleX(Sum(image->Width(), MmToPixels(0.5)))), Sum(y, PrnScaleY(Sum(image->Height(), MmToPixels(0.5)))));
    if (dynamic_cast<TBitmap*>(graphic) || dynamic_cast<TJPEGImage*>(graphic) || dynamic_cast<TGIFImage*>(graphic)) {
        // Pixel pictures go through a bitmap copy; drawing the graphic itself
        // over it again would change no pixel, so it is drawn once.
        TBitmap copy;
        copy.Assign(graphic);
        DrawBitmapDIB(canvas, r, &copy);
        return;
    }
    canvas->StretchDraw(r, graphic);
}

void TFrmMain::DrawBitmapDIB(TCanvas* canvas, const TRect& rect, TBitmap* bitmap)
{
    if (!bitmap || bitmap->Empty())
        return;
    const unsigned mode = canvas->CopyMode();
    canvas->SetCopyMode(cmSrcCopy);
    canvas->DrawImage(rect, bitmap->Image(), TRect(0, 0, bitmap->Width(), bitmap->Height()));
    canvas->SetCopyMode(mode);
}

namespace {
// Whitens the page XOR the label's surface. Only the surface's rows are
// combined as a region; the whole rows above and below are two rectangles,
// which spares a region row per pixel row of the page.
void FillPageOutside(TCanvas* canvas, int pageWidth, int pageHeight, const TRegion& surface)
{
    const TRect box = surface.BoundingBox();
    const int top = surface.IsEmpty() ? pageHeight : std::clamp(box.Top, 0, pageHeight);
    const int bottom = surface.IsEmpty() ? pageHeight : std::clamp(box.Bottom, top, pageHeight);
    canvas->FillRect(TRect(0, 0, pageWidth, top));
    TRegion band;
    CombineRgn(band, CreateRectRgn(0, top, pageWidth, bottom), surface, RGN_XOR);
    canvas->FillRegion(band);
    canvas->FillRect(TRect(0, bottom, pageWidth, pageHeight));
}
} // namespace

void TFrmMain::PrintWhiteMask()
{
    TCanvas* canvas = Printer()->Canvas();
    SetDefaultState(canvas);
    const int ox = PageX(0);
    const int oy = PageY(0);
    const int pageWidth = Printer()->GetDeviceCaps(HORZRES);
    const int pageHeight = Printer()->GetDeviceCaps(VERTRES);
    CheckRegionBounds({pageWidth, pageHeight});
    const double okraj = TemplateNumber(this, "Okraj");
    const double stred = TemplateNumber(this, "Stred");
    TRegion region;
    if (!GetTemplateFlag(QStringLiteral("isKrab"))) {
        canvas->Pen()->SetColor(clWhite);
        canvas->Brush()->SetColor(clWhite);
        // The disc with its bleed, and the hole less its bleed. The hole's
        // corner lies 4,5 mm in, not the 4 mm that would centre it.
        const int outerRight = Sum(ox, PrnScaleX(MmToPixels(okraj + 4.0)));
        const int outerBottom = Sum(oy, PrnScaleY(MmToPixels(okraj + 4.0)));
        const int inset = Sum(MmToPixels(okraj), -static_cast<long long>(MmToPixels(stred))) / 2;
        const int hx = PageX(static_cast<long long>(inset) + MmToPixels(4.5));
        const int hy = PageY(static_cast<long long>(inset) + MmToPixels(4.5));
        const int holeRight = Sum(hx, PrnScaleX(MmToPixels(stred - 4.0)));
        const int holeBottom = Sum(hy, PrnScaleY(MmToPixels(stred - 4.0)));
        CheckRegionBounds({ox, oy, outerRight, outerBottom, hx, hy, holeRight, holeBottom});
        const TRegion outer = CreateEllipticRgn(ox, oy, outerRight, outerBottom);
        const TRegion hole = CreateEllipticRgn(hx, hy, holeRight, holeBottom);
        CombineRgn(region, outer, hole, RGN_XOR);
    } else {
        const bool turned = GetTemplateFlag(QStringLiteral("Sirka"));
        const double w = turned ? stred : okraj;
        const double h = turned ? okraj : stred;
        if (TiskRam->Checked()) {
            PrintCutFrame();
            PrintInnerCutFrame();
        }
        const int right = Sum(ox, PrnScaleX(MmToPixels(w + 4.0)));
        const int bottom = Sum(oy, PrnScaleY(MmToPixels(h + 4.0)));
        CheckRegionBounds({ox, oy, right, bottom});
        region = CreateRectRgn(ox, oy, right, bottom);
    }
    canvas->Brush()->SetColor(clWhite);
    canvas->Brush()->SetStyle(bsSolid);
    FillPageOutside(canvas, pageWidth, pageHeight, region);
}

namespace {
// A one-pixel line just outside the rectangle (x0, y0, x1, y1).
void DrawCutFrame(TCanvas* canvas, int x0, int y0, int x1, int y1, TColor colour)
{
    CheckRegionBounds({x0, y0, x1, y1});
    TRegion frame;
    CombineRgn(frame, CreateRectRgn(Sum(x0, -1), Sum(y0, -1), Sum(x1, 1), Sum(y1, 1)), CreateRectRgn(x0, y0, x1, y1), RGN_XOR);
    canvas->Brush()->SetColor(colour);
    canvas->Brush()->SetStyle(bsSolid);
    canvas->FillRegion(frame);
    SetDefaultState(canvas);
}
} // namespace

void TFrmMain::PrintCutFrame()
{
    const bool turned = GetTemplateFlag(QStringLiteral("Sirka"));
    const double okraj = TemplateNumber(this, "Okraj");
    const double stred = TemplateNumber(this, "Stred");
    const double w = turned ? stred : okraj;
    const double h = turned ? okraj : stred;
    const int x0 = PageX(MmToPixels(2.0));
    const int y0 = PageY(MmToPixels(2.0));
    DrawCutFrame(Printer()->Canvas(), x0, y0, Sum(x0, PrnScaleX(MmToPixels(w))), Sum(y0, PrnScaleY(MmToPixels(h))), C1Min->Color());
}

void TFrmMain::PrintInnerCutFrame()
{
    // Sheet positions: no label offset.
    double l = TemplateNumber(this, "Left2");
    double t = TemplateNumber(this, "Top2");
    double wd = TemplateNumber(this, "Width2");
    double ht = TemplateNumber(this, "Height2");
    int s = 0;
    if (GetTemplateFlag(QStringLiteral("Sirka"))) {
        std::swap(l, t);
        std::swap(wd, ht);
        s = 1; // one screen pixel up and left when turned
    }
    const int x0 = Sum(PrnScaleX(Sum(MmToPixels(l), CorrOffsetX, -s)), PhysOffsetX);
    const int y0 = Sum(PrnScaleY(Sum(MmToPixels(t), CorrOffsetY, -s)), PhysOffsetY);
    DrawCutFrame(Printer()->Canvas(), x0, y0, Sum(x0, PrnScaleX(MmToPixels(wd))), Sum(y0, PrnScaleY(MmToPixels(ht))), C1Min->Color());
}

void TFrmMain::TiskRamClick(TComponent*) { TiskRam->SetChecked(!TiskRam->Checked()); }

void TFrmMain::Barvarmovn1Click(TComponent*)
{
    // The dialog starts from the colour last picked in it.
    if (!BarvaRamu->Execute())
        return;
    for (TPanel* guide : {C1Min, C1Max, C2Min, C2Max})
        guide->SetColor(BarvaRamu->Color);
}
