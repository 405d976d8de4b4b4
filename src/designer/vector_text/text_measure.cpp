#include "designer/vector_text/text_measure.h"

#include "classlib/graphics/canvas.h"

QSize LabelTextExtent(const TFont& font, const QString& text)
{
    TCanvas measure;
    measure.SetFont(&font);
    const QString line = text.isEmpty() ? QStringLiteral(" ") : text;
    TRect r(0, 0, 0, 0);
    measure.DrawText(line, r, DT_EXPANDTABS | DT_CALCRECT);
    return QSize(r.Width(), r.Height());
}
