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
#include "designer/forms/frm_new.h"
#include "designer/forms/frm_progress.h"
#include "designer/main/design_painting.h"
#include "platform/region.h"

#include <algorithm>
#include <climits>
#include <cmath>

using namespace DesignPainting;

namespace {
int ScreenPpi() { return Screen ? Screen->PixelsPerInch() : 96; }

// The printer's font for a design font: the same point size on paper, as the
// class library keeps it for a canvas of another resolution.
void SetPrinterFont(TCanvas* c, const TFont* font, int logPixelsY)
{
    c->Font()->Assign(font);
    c->Font()->SetHeight(-MulDiv(font->Size(), logPixelsY, 72));
}
// The first value of the template that printing needs and cannot use, as a
// message; empty when every one is a length. A disc project opens with a
// damaged place on the sheet, so this is where it is told.
QString BadPrintValue(const TFrmMain& m)
{
    const bool box = m.GetTemplateFlag(QStringLiteral("isKrab"));
    for (const char* key : {"Left", "Top", "Okraj", "Stred", "Left2", "Top2", "Width2", "Height2"}) {
        const QString name = QString::fromLatin1(key);
        if (!box && name.endsWith(QLatin1Char('2')))
            continue; // a disc has no inner rectangle to print
        const QString text = m.GetTemplateParam(name);
        double mm = 0;
        if (!TemplateLengthOf(text, mm))
            return QString::fromUtf8("Návrh nelze vytisknout: hodnota šablony „%1“ je „%2“, a to není délka v milimetrech, "
                                     "takže není známo, kam na arch etiketa patří. Hodnoty šablony nastaví znovu "
                                     "příkaz Soubor – Změna šablony.")
                .arg(name, text);
    }
    return QString();
}
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
    if (const QString bad = BadPrintValue(*this); !bad.isEmpty()) {
        Application->MessageBox(bad, QStringLiteral("Chyba"), MB_OK | MB_ICONWARNING);
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

        PaintDesignPasses(this, canvas, [this](TImage* background) { PrintBackground(background); }, [&](TComponent* c) {
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
        });

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
    LoadPrintMemo(PrintMemo, label);
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
    ForEachMemoLine(memo, SizeLabel, [&](const QString& line, long long y) {
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
    });
}

namespace {
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
    const int penWidth = shape->Pen()->Width();
    const int x = PageX(shape->Left());
    const int y = PageY(shape->Top());
    const TRect bounds(x, y, Sum(x, PrnScaleX(shape->Width())), Sum(y, PrnScaleY(shape->Height())));
    PaintShapeFigure(Printer()->Canvas(), shape, bounds, PrnScaleX(penWidth), PrnScaleX(penWidth) / 2, PrnScaleY(penWidth) / 2);
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

void TFrmMain::PrintWhiteMask()
{
    TCanvas* canvas = Printer()->Canvas();
    SetDefaultState(canvas);
    TMaskPlacement place;
    place.MapX = [this](long long x) { return PageX(x); };
    place.MapY = [this](long long y) { return PageY(y); };
    place.ScaleX = [this](int n) { return PrnScaleX(n); };
    place.ScaleY = [this](int n) { return PrnScaleY(n); };
    const TRect page(0, 0, Printer()->GetDeviceCaps(HORZRES), Printer()->GetDeviceCaps(VERTRES));
    const TRegion surface = LabelSurfaceRegion(this, page, place);
    if (!GetTemplateFlag(QStringLiteral("isKrab"))) {
        canvas->Pen()->SetColor(clWhite);
        canvas->Brush()->SetColor(clWhite);
    } else if (TiskRam->Checked()) {
        // The frames go first: the mask then whitens what of them lies outside.
        PrintCutFrame();
        PrintInnerCutFrame();
    }
    canvas->Brush()->SetColor(clWhite);
    canvas->Brush()->SetStyle(bsSolid);
    FillOutsideSurface(canvas, page, surface);
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
