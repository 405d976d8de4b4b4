#pragma once
// What printing and the bitmap export share when they paint the design: the
// canvas's default state, the progress window, template numbers, picture
// objects (plain or by key colour) and the white mask's region.

#include "classlib/graphics/canvas.h"
#include "classlib/pictures/bitmap.h"
#include "platform/region.h"

#include <functional>
#include <initializer_list>

class TComponent;
class TFrmMain;
class TGraphic;
class TImage;
class TLabel;
class TMemo;
class TShape;

namespace DesignPainting {

// Sums of positions and offsets: values read from files may be extreme.
int Sum(long long a, long long b = 0, long long c = 0, long long d = 0);

// Regions are built row by row: a label that reaches absurdly far (a
// template value out of all measure) ends the command instead of the memory.
void CheckRegionBounds(std::initializer_list<int> values);

// Millimetres beyond any sheet (a hand-edited file) would overflow the
// conversions to pixels.
double CheckMillimetres(double mm);

// A template parameter in millimetres; not a number raises EConvertError.
double TemplateNumber(const TFrmMain* m, const char* key);

// The canvas's state before every object and after each cut frame.
void SetDefaultState(TCanvas* c);

// The two passes of printing and export: every background picture (role 3,
// exactly a TImage) in component order, then every object in stacking order,
// bottom first, each on the canvas in its default state and counted in the
// progress window.
void PaintDesignPasses(TFrmMain* m, TCanvas* canvas, const std::function<void(TImage*)>& background,
                       const std::function<void(TComponent*)>& object);

// The progress window: objects done, and the rows of the picture being copied.
void ProgressStart(int objects);
void ProgressObjectStart();
void ProgressObjectDone();
void ProgressRows(int maximum);
void ProgressRow(int row);
void ProgressClose();

// The transparency of a picture object switched off for a while, and on
// again whatever happens meanwhile.
class TOpaqueWhile {
public:
    explicit TOpaqueWhile(TImage* image);
    ~TOpaqueWhile();
    TOpaqueWhile(const TOpaqueWhile&) = delete;
    TOpaqueWhile& operator=(const TOpaqueWhile&) = delete;

private:
    TImage* FImage;
    bool FWas;
};

// The hidden memo takes a text object's font, caption, alignment and bounds.
void LoadPrintMemo(TMemo* memo, const TLabel* label);
// Each line of the memo with its top in surface pixels: the tops add up the
// heights that sizeLabel measures for the lines, in the memo's font.
void ForEachMemoLine(TMemo* memo, TLabel* sizeLabel, const std::function<void(const QString& line, long long top)>& draw);

// What the screen shows of an unstretched picture: its graphic at its own
// size over white, cut to the object's size.
void MakeScreenCopy(TBitmap& b, TImage* image);

bool IsJpeg(const TGraphic* g);

// Where a picture object lands on the canvas.
struct TPagePlace {
    int X = 0, Y = 0, W = 0, H = 0;
};

// A picture object's source drawn at its place: plainly, or when the object
// is transparent (a JPEG never is) only where it differs from its top-left pixel.
void DrawPicture(TCanvas* canvas, TImage* image, const TPagePlace& place, TGraphic* source);

// A visible rectangle, rounded rectangle or ellipse in the shape's brush and
// pen (at penWidth), its figure inset by the pen's half so that the pen stays
// inside bounds; rounded corners are a quarter of the smaller side. Other
// kinds paint nothing.
void PaintShapeFigure(TCanvas* canvas, const TShape* shape, const TRect& bounds, int penWidth, int insetX, int insetY);

// How surface pixels reach the canvas: where a surface position lands, and
// how long a length is, per axis.
struct TMaskPlacement {
    std::function<int(long long)> MapX, MapY;
    std::function<int(int)> ScaleX, ScaleY;
};

// The label's surface: the bleed disc less the reduced hole, or a box's
// surface. The hole's corner lies 4,5 mm in, not the 4 mm that would centre
// it, as in every mask of the program. page bounds the coordinates checked.
TRegion LabelSurfaceRegion(const TFrmMain* m, const TRect& page, const TMaskPlacement& place);
// Fills everything of page outside surface with the canvas's brush.
void FillOutsideSurface(TCanvas* canvas, const TRect& page, const TRegion& surface);

} // namespace DesignPainting
