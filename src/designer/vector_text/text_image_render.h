#pragma once
// The redraw of a text-as-picture object: the text's glyph outlines scaled to
// fill the object's box, turned by 0, 90, 180 or 270 degrees, on a light grey
// that is the picture's transparent colour.

#include "classlib/graphics/font.h"

#include <QSize>
#include <QString>

class TFImage;

// The grey behind the glyphs (alpha 0); only this colour is transparent.
constexpr unsigned TextImageBackground = 0x00D8D8D8u;

// Style flags of an object: smoothing gives 3, filled glyphs add 4.
int TextImageStyleFlags(const TFImage& object);

// Redraws object at its current size. textExtent is the text's measured
// width and height in font (what the glyphs are scaled from); flags as
// TextImageStyleFlags gives them. Rotations other than the four quarter
// turns leave the grey alone.
void RenderTextImage(TFImage* object, const TFont* font, int angle, const QString& text, int flags,
                     QSize textExtent);
