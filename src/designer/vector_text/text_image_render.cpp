#include "designer/vector_text/text_image_render.h"

#include "classlib/pictures/bitmap.h"
#include "classlib/pictures/picture.h"
#include "designer/objects/text_image.h"
#include "designer/vector_text/g32_interface.h"

int TextImageStyleFlags(const TFImage& object)
{
    int flags = 0;
    if (object.Aliasing())
        flags = 3;
    if (!object.Filling())
        flags += 4;
    return flags;
}

void RenderTextImage(TFImage* object, const TFont* font, int angle, const QString& text, int flags,
                     QSize textExtent)
{
    if (!object || !font)
        return;
    // An empty picture makes the canvas start a new bitmap of the current size.
    object->Picture()->Assign(nullptr);
    const int w = object->Width(), h = object->Height();
    if (w <= 0 || h <= 0) {
        object->Invalidate();
        return;
    }
    TCanvas* canvas = object->Canvas();

    TBitmap32Ex bitmap;
    bitmap.SetFont(font);
    bitmap.SetSize(w, h);

    TAffineTransformation t;
    t.Clear();
    t.Matrix[1][1] = -1.0f; // glyph outlines grow upward
    const float tw = float(textExtent.width()), th = float(textExtent.height());
    const bool upright = angle == 0 || angle == 180;
    const bool measurable = tw > 0 && th > 0;
    if (measurable) {
        const float sx = upright ? float(w) / tw : float(h) / tw;
        const float sy = upright ? float(h) / th : float(w) / th;
        t.Scale(sx, sy);
    }
    t.Rotate(0, 0, float(angle));
    bitmap.SetTransform(t.Matrix);

    bitmap.BeginUpdate();
    bitmap.FillRect(0, 0, w, h, TextImageBackground);
    bitmap.EndUpdate();

    if (measurable) {
        const TColor32 color = Color32(font->Color());
        switch (angle) {
        case 0:
            bitmap.RenderTextOutline(0, Fixed(h / 2.0 + h / 4.0), text, color, flags);
            break;
        case 90:
            bitmap.RenderTextOutline(Fixed(w / 2.0 + w / 4.0), Fixed(h), text, color, flags);
            break;
        case 180:
            bitmap.RenderTextOutline(Fixed(w), Fixed(h / 2.0 - h / 4.0), text, color, flags);
            break;
        case 270:
            bitmap.RenderTextOutline(Fixed(w / 2.0 - w / 4.0), 0, text, color, flags);
            break;
        default:
            break;
        }
    }
    bitmap.DrawTo(canvas, 0, 0);
    canvas->Flush();
    // The grey is the key even where a glyph happens to cover the corner pixel.
    if (auto* bmp = dynamic_cast<TBitmap*>(object->Picture()->Graphic()))
        bmp->SetTransparentColor(TColor(TextImageBackground));
    object->Invalidate();
}
