#pragma once
// Drawing of skin image strips: frame N cut from a strip and scaled by
// nine-grid rules, tiled centres, magenta-keyed drawing.

#include "platform/win_types.h"

#include <QImage>
#include <QPainter>

struct TSkinMargins {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
};

// The rectangle of frame (from 1) in a strip of frames (a count below 1 counts as 1).
QRect StripFrameRect(const QImage& image, bool vertical, int frames, int frame);

// A new w x h bitmap holding the frame scaled by nine-grid rules.
QImage NineGridBitmap(int w, int h, const QImage& image, const TSkinMargins& margins, bool vertical, bool tiled,
                      int frames, int frame);
void NineGridDraw(QPainter& dc, const TRect& r, const QImage& image, bool vertical, bool tiled, bool transparent,
                  int frames, int frame, const TSkinMargins& margins);
// Frame of a horizontal strip, unscaled and centred in r.
void DrawFrameCentered(QPainter& dc, const TRect& r, const QImage& image, bool transparent, int frames, int frame);
// The source rectangle repeated from the target's top-left corner; the last row
// and column run past the target.
void TileBitmap(QPainter& target, const TRect& r, const QImage& source, const QRect& sourceRect);
// Draws bitmap at r's top-left with the pixels of key left out.
void DrawTransparentBitmap(QPainter& dc, const TRect& r, const QImage& bitmap, TColor key);
