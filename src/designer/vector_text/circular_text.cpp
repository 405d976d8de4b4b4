#include "designer/vector_text/circular_text.h"

#include "classlib/pictures/bitmap.h"
#include "classlib/pictures/picture.h"
#include "designer/objects/circ_text_image.h"
#include "designer/objects/param_string.h"
#include "designer/vector_text/text_measure.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <vector>

TCircTextExtents CircTextExtents;

void TCircTextExtents::Add(int x, int y)
{
    MinX = std::min(MinX, x);
    MinY = std::min(MinY, y);
    MaxX = std::max(MaxX, x);
    MaxY = std::max(MaxY, y);
}

int ClampCircTextCoord(long long value)
{
    return static_cast<int>(std::clamp<long long>(value, -CircTextCoordLimit, CircTextCoordLimit));
}

int EffectiveRadius(int radius, int pointSize)
{
    int least = 0;
    if (pointSize < 30)
        least = 21;
    else if (pointSize < 40)
        least = 29;
    else if (pointSize < 50)
        least = 37;
    else if (pointSize < 60)
        least = 45;
    else if (pointSize < 70)
        least = 52;
    else if (pointSize < 80)
        least = 59;
    else
        return radius;
    return std::max(radius, least);
}

namespace {

using Real = long double;
constexpr Real kPi = 3.141592653589793238462643383279502884L;

Real ArcSin(Real v)
{
    if (!(std::fabs(v) <= 1.0L))
        throw EInvalidOp();
    return std::asin(v);
}

Real RadToDeg(Real r) { return r * 180.0L / kPi; }
Real DegToRad(Real d) { return d * kPi / 180.0L; }
int RoundInt(Real v) { return int(Round(double(v))); }

// Characters as the text holds them; a pair of surrogates is one character.
std::vector<QString> SplitChars(const QString& text)
{
    std::vector<QString> out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            out.push_back(text.mid(i, 2));
            ++i;
        } else {
            out.push_back(QString(text[i]));
        }
    }
    return out;
}

int AdjustEscapement(int escapement, bool isWinNT)
{
    if (isWinNT && escapement > 6000)
        escapement -= 740;
    return escapement;
}

void Layout(TCanvas* canvas, int x, int y, int radius, int angle, const QString& text, bool draw, bool isWinNT)
{
    const std::vector<QString> chars = SplitChars(text);
    if (chars.empty())
        return;
    x = ClampCircTextCoord(x);
    y = ClampCircTextCoord(y);
    radius = ClampCircTextCoord(radius);
    angle = ClampCircTextCoord(angle);
    const Real r = EffectiveRadius(radius, canvas->Font()->Size());
    std::vector<int> w;
    w.reserve(chars.size());
    for (const QString& ch : chars)
        w.push_back(canvas->TextWidth(ch));

    Real total = 0;
    for (int wi : w)
        total += ArcSin(wi / r);
    const int start = angle - RoundInt(RadToDeg(total / 2)) + RoundInt(RadToDeg(ArcSin(w[0] / 2.0L / r)));

    Real acc = 0;
    for (size_t i = 0; i < chars.size(); ++i) {
        const Real a = ArcSin((w[i] / 2.0L) / r);
        const Real d = RadToDeg(acc) + start;
        const Real p = DegToRad(d - 90);
        const int e = RoundInt(-10 * d);
        const int ax = RoundInt(std::cos(p - a) * r) + x;
        const int ay = RoundInt(std::sin(p - a) * r) + y;
        if (draw)
            DrawRotatedChar(canvas, ax, ay, chars[i], e, isWinNT);
        else
            MeasureRotatedChar(canvas, ax, ay, chars[i], e, isWinNT);
        if (i + 1 < chars.size())
            acc += ArcSin((w[i] / 2.0L + w[i + 1] / 2.0L) / r);
    }
}

} // namespace

void MeasureRotatedChar(TCanvas*, int x, int y, const QString&, int escapement, bool isWinNT)
{
    (void)AdjustEscapement(escapement, isWinNT);
    CircTextExtents.Add(x, y);
}

void DrawRotatedChar(TCanvas* canvas, int x, int y, const QString& ch, int escapement, bool isWinNT)
{
    const int e = AdjustEscapement(escapement, isWinNT);
    CircTextExtents.Add(x, y);
    QFont qf = canvas->Font()->ToQFont();
    // Sharp glyphs: the picture is shown with a key colour, and smoothed edges
    // would leave a fringe of that colour's blend around every letter.
    qf.setStyleStrategy(QFont::NoAntialias);
    const QColor color = ToQColor(canvas->Font()->Color());
    // Baseline-left alignment; the cell is not filled, so a turned character
    // never cuts into its neighbour.
    canvas->PaintWith([&](QPainter& p) {
        p.setRenderHint(QPainter::TextAntialiasing, false);
        p.setFont(qf);
        p.setPen(color);
        p.translate(x, y);
        p.rotate(-e / 10.0);
        p.drawText(QPointF(0, 0), ch);
    });
}

void MeasureCircularText(TCanvas* canvas, int x, int y, int radius, int angle, const QString& text, bool isWinNT)
{
    Layout(canvas, x, y, radius, angle, text, false, isWinNT);
}

void DrawCircularText(TCanvas* canvas, int x, int y, int radius, int angle, const QString& text, bool isWinNT)
{
    Layout(canvas, x, y, radius, angle, text, true, isWinNT);
}

void RenderCircularText(TCFImage* object, int radius, int angle, const QString& text, const TCircTextHost& host)
{
    if (!object)
        return;
    CircTextExtents.Reset();
    TCanvas* canvas = object->Canvas();
    const int m = ClampCircTextCoord(host.LineHeight ? host.LineHeight(*canvas->Font(), object->Hint())
                                                     : LabelTextExtent(*canvas->Font(), object->Hint()).height());
    const int cx = ClampCircTextCoord(GetParamField(object->HelpKeyword(), 0));
    const int cy = ClampCircTextCoord(GetParamField(object->HelpKeyword(), 1));

    auto* bitmap = dynamic_cast<TBitmap*>(object->Picture()->Graphic());
    const TColor back = canvas->Brush()->Color();
    if (bitmap)
        bitmap->SetTransparentColor(back);
    canvas->Pen()->SetColor(back);
    // The previous text was drawn inside the previous bounds, which are the current ones.
    canvas->FillRect(TRect(0, 0, object->Width(), object->Height()));
    if (ColorToRGB(canvas->Font()->Color()) == 0xFFFFFF)
        canvas->Font()->SetColor(0xFBFBFB);

    auto warn = [&](const char* key) {
        if (host.Warn)
            host.Warn(QString::fromLatin1(key));
    };
    try {
        MeasureCircularText(canvas, cx, cy, radius, angle, text, host.IsWinNT);
    } catch (const EInvalidOp&) {
        warn("sChybaVypocetRadius");
    }

    if (CircTextExtents.Empty()) {
        // Not one character placed: a small box at the centre keeps the object selectable.
        object->SetBounds(cx - m, cy - m, 2 * m, 2 * m);
    } else {
        const TCircTextExtents e = CircTextExtents;
        object->SetBounds(e.MinX - m, e.MinY - m, e.MaxX - e.MinX + 2 * m, e.MaxY - e.MinY + 2 * m);
    }

    try {
        DrawCircularText(canvas, cx - object->Left(), cy - object->Top(), radius, angle, text, host.IsWinNT);
    } catch (const EInvalidOp&) {
        warn("sChybaVypocetRadiusZobrazeni");
    }
    canvas->Flush();
    object->SetMFFont(canvas->Font());
    object->Invalidate();
}
