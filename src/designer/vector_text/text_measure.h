#pragma once
// Text measured the way an auto-sized label measures its caption.

#include "classlib/graphics/font.h"

#include <QSize>
#include <QString>

// Width and height of text in font, as an auto-sized label takes them (an
// empty text measures one blank).
QSize LabelTextExtent(const TFont& font, const QString& text);
