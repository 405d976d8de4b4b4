#pragma once
// Text laid along a circle: each character turned to follow the circle, its
// baseline on the circle and its top outward, the text centred on an angle
// measured clockwise from twelve o'clock. Layout, drawing into a canvas, and
// the redraw of a circular-text object that fits its bounds to the text.

#include "classlib/graphics/canvas.h"
#include "classlib/sysutils.h"

#include <QString>
#include <functional>

class TCFImage;

// ArcSin of a value outside -1..1: a character wider than the radius.
class EInvalidOp : public Exception {
public:
    EInvalidOp() : Exception(QStringLiteral("Invalid floating point operation")) {}
};

// The bounding box of the character anchors of the last layout.
struct TCircTextExtents {
    int MinX = 99999999;
    int MinY = 99999999;
    int MaxX = 0;
    int MaxY = 0;
    void Reset() { *this = TCircTextExtents(); }
    bool Empty() const { return MinX > MaxX || MinY > MaxY; }
    void Add(int x, int y);
};
extern TCircTextExtents CircTextExtents;

// Centres, radii, angles and margins from a file may be any integer: the
// layout keeps them within this many pixels (degrees) so its sums stay exact.
constexpr int CircTextCoordLimit = 10000000;
int ClampCircTextCoord(long long value);

// The radius raised to the minimum the font's point size needs.
int EffectiveRadius(int radius, int pointSize);

// One character whose baseline starts at (x, y), turned by escapement
// (tenths of a degree, counter-clockwise); both grow CircTextExtents by the anchor.
void MeasureRotatedChar(TCanvas* canvas, int x, int y, const QString& ch, int escapement, bool isWinNT = true);
void DrawRotatedChar(TCanvas* canvas, int x, int y, const QString& ch, int escapement, bool isWinNT = true);

// The layout around (x, y); throw EInvalidOp when a character does not fit
// the radius (the anchors placed before stay in CircTextExtents).
void MeasureCircularText(TCanvas* canvas, int x, int y, int radius, int angle, const QString& text,
                         bool isWinNT = true);
void DrawCircularText(TCanvas* canvas, int x, int y, int radius, int angle, const QString& text,
                      bool isWinNT = true);

// What the redraw needs from the window around it.
struct TCircTextHost {
    // Height of one text line in the font (the measuring label's auto size);
    // empty: measured like that here.
    std::function<int(const TFont& font, const QString& text)> LineHeight;
    // Shows the warning with the text of the named language key.
    std::function<void(const QString& key)> Warn;
    bool IsWinNT = true;
};

// Redraws a circular-text object and fits its bounds to the text. A failed
// layout warns ("sChybaVypocetRadius" measuring, "sChybaVypocetRadiusZobrazeni"
// drawing) and goes on with the anchors placed so far.
void RenderCircularText(TCFImage* object, int radius, int angle, const QString& text, const TCircTextHost& host);
