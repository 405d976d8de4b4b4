#pragma once
// TCanvas: the drawing surface of bitmaps, controls and the printer page, with
// the platform's drawing rules (right and bottom edges excluded, text placed by
// its top-left corner, pen modes as raster operations).

#include "classlib/graphics/font.h"
#include "classlib/graphics/types.h"

#include <QImage>
#include <QPainter>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class TGraphic;
class TRegion;

// Text-drawing flags of DrawText.
enum : unsigned {
    DT_TOP = 0x0,
    DT_LEFT = 0x0,
    DT_CENTER = 0x1,
    DT_RIGHT = 0x2,
    DT_VCENTER = 0x4,
    DT_BOTTOM = 0x8,
    DT_WORDBREAK = 0x10,
    DT_SINGLELINE = 0x20,
    DT_EXPANDTABS = 0x40,
    DT_NOCLIP = 0x100,
    DT_CALCRECT = 0x400,
    DT_NOPREFIX = 0x800,
    DT_END_ELLIPSIS = 0x8000,
};

// Copy modes of CopyRect (the platform's raster operation codes).
enum : unsigned {
    cmSrcCopy = 0x00CC0020,
    cmSrcPaint = 0x00EE0086,
    cmSrcAnd = 0x008800C6,
    cmSrcInvert = 0x00660046,
    cmNotSrcCopy = 0x00330008,
    cmWhiteness = 0x00FF0062,
    cmBlackness = 0x00000042,
};

class TCanvas : public TPersistent {
public:
    TV_CLASS_NAME(TCanvas)
    TCanvas();
    ~TCanvas() override;

    // A canvas draws either into an image it does not own, or through a painter
    // that someone else began (a widget's paint, the printer page).
    void BindImage(QImage* image);
    void BindPainter(QPainter* painter);
    void Unbind();
    bool IsBound() const { return FImage || FExternal; }
    QImage* Image() const { return FImage; }
    // The painter of the current drawing; begins one on an image if none is active.
    QPainter* Handle();
    // Batch several drawing calls on one painter (image canvases begin it once).
    void Lock();
    void Unlock();

    TFont* Font() { return &FFont; }
    TPen* Pen() { return &FPen; }
    TBrush* Brush() { return &FBrush; }
    void SetFont(const TFont* f) { FFont.Assign(f); }
    TPoint PenPos() const { return FPenPos; }
    void SetPenPos(TPoint p) { FPenPos = p; }
    unsigned CopyMode() const { return FCopyMode; }
    void SetCopyMode(unsigned m) { FCopyMode = m; }

    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Rectangle(int x1, int y1, int x2, int y2);
    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    void RoundRect(int x1, int y1, int x2, int y2, int x3, int y3);
    void Ellipse(int x1, int y1, int x2, int y2);
    void Ellipse(const TRect& r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
    void Polygon(const std::vector<TPoint>& points);
    void Polyline(const std::vector<TPoint>& points);
    void FillRect(const TRect& r);
    void FrameRect(const TRect& r);
    void DrawFocusRect(const TRect& r);
    // Fills a region with the brush.
    void FillRegion(const TRegion& region);

    void TextOut(int x, int y, const QString& text);
    void TextRect(const TRect& r, int x, int y, const QString& text);
    int TextWidth(const QString& text);
    int TextHeight(const QString& text);
    QSize TextExtent(const QString& text);
    // DrawText: line breaks, alignment, word wrap and "&" prefixes; with DT_CALCRECT
    // only widens/heightens r to the text's extent. Returns the text height.
    int DrawText(const QString& text, TRect& r, unsigned flags);

    void Draw(int x, int y, TGraphic* graphic);
    void StretchDraw(const TRect& r, TGraphic* graphic);
    void CopyRect(const TRect& dest, TCanvas* source, const TRect& sourceRect);
    void DrawImage(const TRect& dest, const QImage& image, const TRect& sourceRect);
    // Runs paint on the canvas's painter with the canvas clip applied; the
    // painter's state is restored afterwards (pictures that draw themselves).
    void PaintWith(const std::function<void(QPainter&)>& paint);

    TColor Pixel(int x, int y);
    void SetPixel(int x, int y, TColor color);

    // Clip drawing to a rectangle (in canvas coordinates) until cleared.
    void SetClipRect(const TRect& r);
    void ClearClip();
    TRect ClipRect();

    // Ends an image canvas's painter so its pixels are complete.
    void Flush();
    // Applies pen, brush and mode to the painter for a figure.
    void PreparePainter(QPainter& p, bool withPen, bool withBrush);

private:
    friend struct TCanvasPainter;
    QPainter* Begin();
    void End(QPainter* p);

    QImage* FImage = nullptr;
    QPainter* FExternal = nullptr;
    std::unique_ptr<QPainter> FOwnPainter;
    int FLock = 0;
    TFont FFont;
    TPen FPen;
    TBrush FBrush;
    TPoint FPenPos;
    unsigned FCopyMode = cmSrcCopy;
    bool FHasClip = false;
    TRect FClip;
};

QPainter::CompositionMode PenModeToComposition(TPenMode mode);
