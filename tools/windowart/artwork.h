#pragma once
// The pictures of the small windows, drawn with QPainter.

#include <QImage>

namespace WindowArt {
// The start window: a disc of 344 pixels with a hole, on a 400 x 400 picture.
QImage StartRing();
// The about box: its background (456 x 242) and its emblem (130 x 130). The
// emblem lies on the background at (24, 14); its outside is the key colour,
// found in its bottom-left pixel.
QImage AboutBackground();
QImage AboutEmblem(const QImage& background);
// The export window's icon (48 x 48) and the print-correction arrows (32 x 32),
// on a key colour, their edges blended into the window colour.
QImage ExportIcon();
QImage OffsetArrow(bool vertical);
// The colour of every transparent outside.
QRgb KeyColour();
} // namespace WindowArt
