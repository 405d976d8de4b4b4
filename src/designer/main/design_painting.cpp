#include "designer/main/design_painting.h"

#include "classlib/controls/image.h"
#include "classlib/controls/ext_controls.h"
#include "classlib/controls/std_controls.h"
#include "classlib/pictures/jpeg_image.h"
#include "classlib/pictures/picture.h"
#include "classlib/sysutils.h"
#include "designer/forms/frm_progress.h"
#include "designer/main/frm_main.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QPainter>
#include <algorithm>
#include <climits>
#include <cmath>

namespace DesignPainting {

int Sum(long long a, long long b, long long c, long long d)
{
    return static_cast<int>(std::clamp<long long>(a + b + c + d, INT_MIN, INT_MAX));
}

void CheckRegionBounds(std::initializer_list<int> values)
{
    constexpr int Limit = 200000;
    for (int v : values)
        if (v < -Limit || v > Limit)
            throw EInvalidOperation(QStringLiteral("Etiketa leží příliš daleko mimo stránku tiskárny"));
}

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

void SetDefaultState(TCanvas* c)
{
    c->Brush()->SetColor(clWhite);
    c->Brush()->SetStyle(bsSolid);
    c->Pen()->SetColor(clBlack);
    c->Pen()->SetMode(pmCopy);
    c->Pen()->SetStyle(psSolid);
    c->Pen()->SetWidth(1);
}

void PaintDesignPasses(TFrmMain* m, TCanvas* canvas, const std::function<void(TImage*)>& background,
                       const std::function<void(TComponent*)>& object)
{
    for (int i = 0; i < m->ComponentCount(); ++i) {
        TComponent* c = m->Components(i);
        if (c->Tag() == 3 && c->ClassName() == QLatin1String("TImage"))
            background(static_cast<TImage*>(c));
    }
    for (int i = 0; i < m->ComponentCount(); ++i) {
        TComponent* c = m->Components(i);
        if (!TFrmMain::IsObject(c))
            continue;
        SetDefaultState(canvas);
        ProgressObjectStart();
        object(c);
        ProgressObjectDone();
    }
}

void ProgressStart(int objects)
{
    if (!FrmProgress)
        return;
    // Set before showing, so the window never shows the last run's bars.
    FrmProgress->Progress->SetProgress(0);
    FrmProgress->ProgressOBJ->SetProgress(0);
    FrmProgress->Progress->SetMaxValue(objects);
    FrmProgress->Show();
    // The new window is laid out and exposed now, so that it shows while the
    // painting runs; no input is taken meanwhile.
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

namespace {
// The gauges are painted at once, each only when it shows something new.
void ProgressRepaint()
{
    FrmProgress->Progress->RepaintIfChanged();
    FrmProgress->ProgressOBJ->RepaintIfChanged();
}
} // namespace

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

void LoadPrintMemo(TMemo* memo, const TLabel* label)
{
    memo->Font()->Assign(label->Font());
    memo->SetCaption(label->Caption());
    memo->SetAlignment(label->Alignment());
    memo->SetBounds(label->Left(), label->Top(), label->Width(), label->Height());
}

void ForEachMemoLine(TMemo* memo, TLabel* sizeLabel, const std::function<void(const QString& line, long long top)>& draw)
{
    // Text objects are left-aligned: every line starts at the left edge. Lines
    // are the caption's own line breaks; nothing wraps.
    long long y = memo->Top();
    TStrings* lines = memo->Lines();
    for (int i = 0; i < lines->Count(); ++i) {
        const QString line = lines->Strings(i);
        sizeLabel->Font()->Assign(memo->Font());
        sizeLabel->SetCaption(line);
        draw(line, y);
        y += sizeLabel->Height();
    }
}

TOpaqueWhile::TOpaqueWhile(TImage* image) : FImage(image), FWas(image->Transparent()) { FImage->SetTransparent(false); }

TOpaqueWhile::~TOpaqueWhile() { FImage->SetTransparent(FWas); }

void MakeScreenCopy(TBitmap& b, TImage* image)
{
    b.SetSize(image->Width(), image->Height());
    if (!b.Empty())
        b.Canvas()->Draw(0, 0, image->Picture()->Graphic());
}

bool IsJpeg(const TGraphic* g) { return dynamic_cast<const TJPEGImage*>(g) != nullptr; }

namespace {
// Draws the pixels of a that differ from its top-left pixel at (x, y); the
// others leave the canvas as it was. The progress window follows the rows.
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
} // namespace

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

void PaintShapeFigure(TCanvas* canvas, const TShape* shape, const TRect& bounds, int penWidth, int insetX, int insetY)
{
    if (!shape->Visible())
        return;
    const TShapeType kind = shape->Shape();
    if (kind != stRectangle && kind != stRoundRect && kind != stEllipse)
        return;
    canvas->Brush()->Assign(shape->Brush());
    canvas->Pen()->SetColor(shape->Pen()->Color());
    canvas->Pen()->SetMode(shape->Pen()->Mode());
    canvas->Pen()->SetStyle(shape->Pen()->Style());
    canvas->Pen()->SetWidth(penWidth);
    const TRect box(Sum(bounds.Left, insetX), Sum(bounds.Top, insetY), Sum(bounds.Right, -insetX), Sum(bounds.Bottom, -insetY));
    switch (kind) {
    case stRectangle:
        canvas->Rectangle(box);
        break;
    case stRoundRect: {
        const int r = std::min(Sum(bounds.Right, -static_cast<long long>(bounds.Left)), Sum(bounds.Bottom, -static_cast<long long>(bounds.Top))) / 4;
        canvas->RoundRect(box.Left, box.Top, box.Right, box.Bottom, r, r);
        break;
    }
    default:
        canvas->Ellipse(box);
        break;
    }
}

TRegion LabelSurfaceRegion(const TFrmMain* m, const TRect& page, const TMaskPlacement& place)
{
    CheckRegionBounds({page.Left, page.Top, page.Right, page.Bottom});
    const double okraj = TemplateNumber(m, "Okraj");
    const double stred = TemplateNumber(m, "Stred");
    const int ox = place.MapX(0);
    const int oy = place.MapY(0);
    TRegion region;
    if (!m->GetTemplateFlag(QStringLiteral("isKrab"))) {
        // The disc with its bleed, less the hole less its bleed.
        const int outerRight = Sum(ox, place.ScaleX(m->MmToPixels(okraj + 4.0)));
        const int outerBottom = Sum(oy, place.ScaleY(m->MmToPixels(okraj + 4.0)));
        const int inset = Sum(m->MmToPixels(okraj), -static_cast<long long>(m->MmToPixels(stred))) / 2;
        const int hx = place.MapX(static_cast<long long>(inset) + m->MmToPixels(4.5));
        const int hy = place.MapY(static_cast<long long>(inset) + m->MmToPixels(4.5));
        const int holeRight = Sum(hx, place.ScaleX(m->MmToPixels(stred - 4.0)));
        const int holeBottom = Sum(hy, place.ScaleY(m->MmToPixels(stred - 4.0)));
        CheckRegionBounds({ox, oy, outerRight, outerBottom, hx, hy, holeRight, holeBottom});
        const TRegion outer = CreateEllipticRgn(ox, oy, outerRight, outerBottom);
        const TRegion hole = CreateEllipticRgn(hx, hy, holeRight, holeBottom);
        CombineRgn(region, outer, hole, RGN_XOR);
    } else {
        const bool turned = m->GetTemplateFlag(QStringLiteral("Sirka"));
        const double w = turned ? stred : okraj;
        const double h = turned ? okraj : stred;
        const int right = Sum(ox, place.ScaleX(m->MmToPixels(w + 4.0)));
        const int bottom = Sum(oy, place.ScaleY(m->MmToPixels(h + 4.0)));
        CheckRegionBounds({ox, oy, right, bottom});
        region = CreateRectRgn(ox, oy, right, bottom);
    }
    return region;
}

void FillOutsideSurface(TCanvas* canvas, const TRect& page, const TRegion& surface)
{
    // Only the surface's rows are combined as a region; the whole rows above
    // and below are two rectangles, which spares a region row per pixel row.
    const TRect box = surface.BoundingBox();
    const int top = surface.IsEmpty() ? page.Bottom : std::clamp(box.Top, page.Top, page.Bottom);
    const int bottom = surface.IsEmpty() ? page.Bottom : std::clamp(box.Bottom, top, page.Bottom);
    canvas->FillRect(TRect(page.Left, page.Top, page.Right, top));
    TRegion band;
    CombineRgn(band, CreateRectRgn(page.Left, top, page.Right, bottom), surface, RGN_XOR);
    canvas->FillRegion(band);
    canvas->FillRect(TRect(page.Left, bottom, page.Right, page.Bottom));
}

} // namespace DesignPainting
