#pragma once
// The bitmap operations of the skin engine: frame N cut from an image strip,
// nine-grid and three-slice scaling, centred and stretched frames,
// magenta-keyed drawing, regions from bitmaps and the parent's image behind a
// control. Our device context is a QPainter; bitmaps are RGB32 images.
// Every drawing operation does nothing for an inverted target rectangle.

#include "platform/messages.h"
#include "platform/region.h"
#include "platform/win_types.h"

#include <QImage>
#include <QPainter>

struct TSkinMargins {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
};

// The rectangle of frame (from 1) in a strip of frames, side by side or stacked
// (a count below 1 counts as 1).
QRect StripFrameRect(const QImage& image, bool vertical, int frames, int frame);

// A new bitmap of the target's size holding the frame scaled by nine-grid rules:
// corners unscaled, edges stretched, the centre tiled or stretched. A null image
// for an inverted or empty target.
QImage NineGridBitmap(const TRect& target, const QImage& image, const TSkinMargins& margins, bool vertical, bool tiled,
                      int frames, int frame);
// NineGridBitmap copied to dc at r, or drawn with magenta transparent.
void NineGridDraw(QPainter& dc, const TRect& r, const QImage& image, bool vertical, bool tiled, bool transparent,
                  int frames, int frame, const TSkinMargins& margins);
// The frame as a three-slice strip: left and right margins stretched to the
// height, the middle band repeated between them.
void DrawStripTiled(QPainter& canvas, const TRect& r, const QImage& image, bool vertical, bool transparent, int frames,
                    int frame, const TSkinMargins& margins);
// Frame of a horizontal strip stretched to r.
void DrawFrameStretched(QPainter& dc, const TRect& r, const QImage& image, bool transparent, int frames, int frame);
// Frame of a horizontal strip, unscaled and centred in r.
void DrawFrameCentered(QPainter& dc, const TRect& r, const QImage& image, bool transparent, int frames, int frame);
// The frame as left slice, stretched middle and right slice, straight onto dc;
// a frame wider than r is stretched whole.
void DrawFrameThreeSlice(QPainter& dc, const TRect& r, const QImage& image, bool vertical, int frames, int frame,
                         const TSkinMargins& margins);
// The source rectangle repeated from the target's top-left corner; the last row
// and column run past the target.
void TileBitmap(QPainter& target, const TRect& r, const QImage& source, const QRect& sourceRect);
// The bitmap drawn at r's top-left (at most r's size) with the pixels of key left out.
void DrawTransparentBitmap(QPainter& dc, const TRect& r, const QImage& bitmap, TColor key);
// All pixels that are not the key colour, moved by (x, y). A pixel is key when
// each channel lies within key .. key + tolerance.
TRegion RegionFromBitmap(const QImage& bitmap, int x, int y, int redTolerance, int greenTolerance, int blueTolerance,
                         TColor key = clFuchsia);
// The control's parent paints itself into dc behind the control (dc in the
// control's coordinates).
void PaintParentBackground(HWND control, QPainter& dc);
