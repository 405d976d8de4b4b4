#pragma once
// Our own player of metafile records: a small model of the device context
// (objects, mapping, clipping, paths, saved states) drawing onto a QPainter.
// The record decoders (enhanced and Windows metafiles) call the primitives
// below with logical coordinates; everything is mapped to the painter's
// coordinates ("output") before it is drawn.

#include "classlib/graphics/types.h"

#include <QByteArray>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QString>
#include <QTransform>
#include <vector>

namespace Metafile {

// Values of the records' fields.
enum : int {
    MM_TEXT = 1, MM_LOMETRIC = 2, MM_HIMETRIC = 3, MM_LOENGLISH = 4, MM_HIENGLISH = 5, MM_TWIPS = 6,
    MM_ISOTROPIC = 7, MM_ANISOTROPIC = 8,
};
enum : int { BK_TRANSPARENT = 1, BK_OPAQUE = 2 };
enum : int { FILL_ALTERNATE = 1, FILL_WINDING = 2 };
enum : int { R2_BLACK = 1, R2_NOP = 11, R2_COPYPEN = 13, R2_WHITE = 16 };
enum : int {
    PS_SOLID = 0, PS_DASH = 1, PS_DOT = 2, PS_DASHDOT = 3, PS_DASHDOTDOT = 4, PS_NULL = 5, PS_INSIDEFRAME = 6,
    PS_USERSTYLE = 7, PS_ALTERNATE = 8, PS_STYLE_MASK = 0xF,
    PS_ENDCAP_ROUND = 0, PS_ENDCAP_SQUARE = 0x100, PS_ENDCAP_FLAT = 0x200, PS_ENDCAP_MASK = 0xF00,
    PS_JOIN_ROUND = 0, PS_JOIN_BEVEL = 0x1000, PS_JOIN_MITER = 0x2000, PS_JOIN_MASK = 0xF000,
    PS_GEOMETRIC = 0x10000,
};
enum : int { BS_SOLID = 0, BS_NULL = 1, BS_HATCHED = 2, BS_PATTERN = 3, BS_DIBPATTERN = 5, BS_DIBPATTERNPT = 6 };
enum : int { HS_HORIZONTAL = 0, HS_VERTICAL = 1, HS_FDIAGONAL = 2, HS_BDIAGONAL = 3, HS_CROSS = 4, HS_DIAGCROSS = 5 };
enum : int {
    TA_UPDATECP = 1, TA_RIGHT = 2, TA_CENTER = 6, TA_HORZ_MASK = 6,
    TA_BOTTOM = 8, TA_BASELINE = 24, TA_VERT_MASK = 24,
};
enum : int { ETO_OPAQUE = 2, ETO_CLIPPED = 4, ETO_GLYPH_INDEX = 0x10, ETO_PDY = 0x2000 };
enum : int { RGN_AND = 1, RGN_OR = 2, RGN_XOR = 3, RGN_DIFF = 4, RGN_COPY = 5 };
enum : int { AD_COUNTERCLOCKWISE = 1, AD_CLOCKWISE = 2 };
enum : uint32_t {
    SRCCOPY = 0x00CC0020, SRCPAINT = 0x00EE0086, SRCAND = 0x008800C6, SRCINVERT = 0x00660046,
    SRCERASE = 0x00440328, NOTSRCCOPY = 0x00330008, NOTSRCERASE = 0x001100A6, MERGECOPY = 0x00C000CA,
    MERGEPAINT = 0x00BB0226, PATCOPY = 0x00F00021, PATPAINT = 0x00FB0A09, PATINVERT = 0x005A0049,
    DSTINVERT = 0x00550009, BLACKNESS = 0x00000042, WHITENESS = 0x00FF0062, DSTCOPY = 0x00AA0029,
};
enum class TArcKind { Arc, Chord, Pie, ArcTo };

struct TMfPen {
    int Style = PS_SOLID;      // with end cap, join and geometric bits
    double Width = 0;          // logical units; 0 = one pixel
    uint32_t Color = 0;        // 0x00BBGGRR
    // PS_USERSTYLE: dash, gap, dash... in logical units for a geometric pen,
    // in pixels for a cosmetic one.
    std::vector<double> StyleEntries;
};

struct TMfBrush {
    int Style = BS_SOLID;
    uint32_t Color = 0xFFFFFF;
    int Hatch = 0;
    QImage Pattern;
};

struct TMfFont {
    int Height = 0;            // logical units; negative = character height
    int Width = 0;
    int Escapement = 0;        // tenths of a degree, counter-clockwise
    int Weight = 400;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    int Charset = 1;
    QString Face;
};

struct TMfObject {
    enum Kind { None, Pen, Brush, Font, Palette, Region, Other };
    Kind Type = None;
    TMfPen PenValue;
    TMfBrush BrushValue;
    TMfFont FontValue;
    QPainterPath RegionValue;  // region objects: logical coordinates
};

struct TMfState {
    TMfPen Pen;
    TMfBrush Brush;
    TMfFont Font;
    uint32_t TextColor = 0;
    uint32_t BkColor = 0xFFFFFF;
    int BkMode = BK_OPAQUE;
    int TextAlign = 0;
    int PolyFillMode = FILL_ALTERNATE;
    int Rop2 = R2_COPYPEN;
    int MapMode = MM_TEXT;
    QPointF WindowOrg{0, 0};
    QPointF WindowExt{1, 1};
    QPointF ViewportOrg{0, 0};
    QPointF ViewportExt{1, 1};
    QTransform World;
    QPointF Pos;               // current position, logical
    bool HasClip = false;
    QPainterPath Clip;         // output coordinates
    int ArcDirection = AD_COUNTERCLOCKWISE;
};

// Decodes a DIB held in a record: its header and colour table, then its pixels
// (bits null: a packed bitmap whose pixels follow its colour table).
bool DecodeRecordDib(const uchar* header, size_t headerSize, const uchar* bits, size_t bitsSize, bool keepAlpha,
                     QImage& image);
// Text of an ANSI string in the code page of a font's character set.
QString DecodeAnsi(const QByteArray& bytes, int charset);

class TPlayer {
public:
    // deviceToOutput maps the metafile's device pixels to painter coordinates.
    // pixelsPerMm: the reference device, for the metric mapping modes.
    TPlayer(QPainter& painter, const QTransform& deviceToOutput, QPointF pixelsPerMm);
    ~TPlayer();

    TMfState S;
    // Windows metafiles are played into a fixed viewport (the target rectangle):
    // their own viewport records are ignored.
    bool FixedViewport = false;

    // Objects.
    void ResizeObjects(size_t count);
    size_t ObjectCount() const { return FObjects.size(); }
    void PutObject(size_t index, TMfObject object);
    // The lowest free slot (Windows metafiles place new objects there).
    void AddObject(TMfObject object);
    void SelectObject(size_t index);
    void SelectStockObject(int stock);
    void DeleteObject(size_t index);
    const TMfObject* Object(size_t index) const;

    // State.
    void SaveDC();
    void RestoreDC(int which);
    void SetMapMode(int mode);
    void SetWindowOrg(QPointF p) { S.WindowOrg = p; }
    void SetWindowExt(QPointF e);
    void SetViewportOrg(QPointF p);
    void SetViewportExt(QPointF e);
    void ScaleWindowExt(double xn, double xd, double yn, double yd);
    void ScaleViewportExt(double xn, double xd, double yn, double yd);
    void SetWorldTransform(const QTransform& t);
    void ModifyWorldTransform(const QTransform& t, int mode);

    // Logical coordinates to output coordinates.
    QTransform Mapping() const;

    // Clipping.
    void IntersectClipRect(const QRectF& logical);
    void ExcludeClipRect(const QRectF& logical);
    void OffsetClip(QPointF logical);
    void SelectClip(const QPainterPath& output, int mode, bool reset);
    QTransform DeviceToOutput() const { return FDevice; }

    // Drawing, logical coordinates.
    void MoveTo(QPointF p);
    void LineTo(QPointF p);
    void Polyline(const std::vector<QPointF>& pts);
    void PolylineTo(const std::vector<QPointF>& pts);
    void PolyBezier(const std::vector<QPointF>& pts);
    void PolyBezierTo(const std::vector<QPointF>& pts);
    void PolyPolygon(const std::vector<std::vector<QPointF>>& polys);
    void PolyPolyline(const std::vector<std::vector<QPointF>>& lines);
    void Rectangle(QRectF box);
    void RoundRect(QRectF box, QSizeF corner);
    void Ellipse(QRectF box);
    void ArcFamily(TArcKind kind, QRectF box, QPointF start, QPointF end);
    void AngleArc(QPointF centre, double radius, double startDeg, double sweepDeg);
    void SetPixel(QPointF p, uint32_t color);
    void PatBlt(QRectF box, uint32_t rop);
    void FillRegion(const QPainterPath& output, const TMfBrush& brush);
    void FrameRegion(const QPainterPath& output, const TMfBrush& brush, QSizeF logicalStroke);
    void InvertRegion(const QPainterPath& output);
    // Text at a logical reference point; dx: logical advance of each UTF-16 unit.
    void TextOut(QPointF ref, const QString& text, const std::vector<double>& dx, int options,
                 const QRectF* logicalRect, bool advancedMode);
    // A bitmap: src (pixels of image) stretched into dest (logical).
    void DrawBitmap(const QImage& image, QRectF src, QRectF dest, uint32_t rop, double constantAlpha = 1.0);

    // Paths.
    void BeginPath();
    void EndPath() { FInPath = false; }
    void AbortPath();
    void CloseFigure();
    void FillPath();
    void StrokePath();
    void StrokeAndFillPath();
    void WidenPath();
    void SelectClipPath(int mode);
    bool InPath() const { return FInPath; }

    // A region given in logical coordinates, mapped to output coordinates.
    QPainterPath RegionToOutput(const QPainterPath& logical) const { return Mapping().map(logical); }

private:
    QPen MakePen(bool& visible) const;
    // The pen's dashes and gaps in output pixels; empty for a solid line.
    std::vector<double> DashPixels(double penPixels) const;
    QBrush MakeBrush(const TMfBrush& brush, bool& visible) const;
    void Figure(const QPainterPath& output, bool fill, bool stroke);
    // An open line through output points; a one-pixel pen leaves out the last pixel.
    void StrokeOpen(const std::vector<QPointF>& output);
    std::vector<QPointF> Map(const std::vector<QPointF>& logical) const;
    void Paint(const QPainterPath& output, bool fill, bool stroke, const TMfBrush* brushOverride = nullptr);
    bool Begin();
    void End();
    bool Sane(const QRectF& r) const;
    double PenPixels() const;
    QPainterPath BoxPath(QRectF box, int kind, QSizeF corner) const;
    void AddToPath(const QPainterPath& output, bool connect);
    double ScaleX() const;
    double ScaleY() const;

    QPainter& FPainter;
    QTransform FBase;
    QTransform FDevice;
    QPointF FPixelsPerMm;
    std::vector<TMfObject> FObjects;
    std::vector<TMfState> FSaved;
    QPainterPath FPath;
    int FClosedAt = -1; // element count of the path when its figure was last closed
    bool FInPath = false;
};

// The record decoders. data holds the whole file (headers included); both skip
// unknown records and check every length against the data.
void PlayEnhanced(TPlayer& player, const QByteArray& data);
void PlayWindows(TPlayer& player, const QByteArray& data, size_t recordsOffset);

} // namespace Metafile
