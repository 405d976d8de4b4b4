#pragma once
// Pixel and colour routines that derive images from skin bitmaps: greyed and
// recoloured glyphs, mirrored, flipped and rotated arrows, blended colours and
// cached gradients. Our "24-bit" pixels are QImage::Format_RGB32.

#include "platform/win_types.h"

#include <QImage>
#include <QPainter>
#include <vector>

void GrayscaleBitmap(QImage& bitmap);
// Pure magenta pixels take colour (its low three bytes as red, green, blue).
void ReplaceKeyColor(QImage& bitmap, TColor colour);
void MirrorBitmap(QImage& bitmap);
void FlipBitmap(QImage& bitmap);
// 90 degrees anticlockwise / clockwise; the result is always 24-bit.
void RotateBitmapLeft(QImage& bitmap);
void RotateBitmapRight(QImage& bitmap);

// colour1 weighted by weight, colour2 by the rest: a weight below 100 is a
// percentage, from 100 on it is per mille.
TColor BlendColors(TColor colour1, TColor colour2, int weight);
// Fills r line by line from colour1 to colour2 (top to bottom when vertical,
// else left to right), painting only what lies in dc's clip box.
void GradientFillRect(QPainter& dc, const TRect& r, TColor colour1, bool vertical, TColor colour2);
// Hue scaled to 0..255 and the saturation measure (200 for dark colours).
void RGBToHue(TColor colour, int& hue, int& saturation);

// The colour table of one gradient, from the 16-slot cache or computed into it.
const std::vector<TColor>& GradientColours(int n, TColor colour1, TColor colour2);
// The slot the next computed table goes to (0..15).
int GradientCacheNextSlot();

// Pixel helpers on 0x00BBGGRR colours.
inline TColor PixelColour(QRgb p) { return RGB(qRed(p), qGreen(p), qBlue(p)); }
inline QRgb ColourPixel(TColor c) { return qRgb(GetRValue(c), GetGValue(c), GetBValue(c)); }
// The image as Format_RGB32, converted only when it is in another format.
void EnsureRgb32(QImage& bitmap);
