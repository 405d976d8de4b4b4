// fuzz-layer: tv_designer
// Records of the two picture-text classes read and then drawn the way a
// project file's rebuilders draw them: the circle from the parameter string,
// the glyph outlines at the object's size. Exceptions of the class library
// end a command and are fine; a crash, a hang or undefined behaviour is a find.
#include "classlib/graphics/font.h"
#include "classlib/streaming/component_stream.h"
#include "classlib/sysutils.h"
#include "designer/objects/circ_text_image.h"
#include "designer/objects/object_stream_classes.h"
#include "designer/objects/param_string.h"
#include "designer/objects/text_image.h"
#include "designer/vector_text/circular_text.h"
#include "designer/vector_text/text_image_render.h"
#include "designer/vector_text/text_measure.h"

#include <QApplication>
#include <QBuffer>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication* app = new QApplication(*argc, *argv);
    (void)app;
    RegisterObjectStreamClasses();
    return 0;
}

namespace {
// Sizes a label design can reach; larger ones only make the run slow.
bool Drawable(const TControl& c, const TFont& f)
{
    return c.Width() <= 2000 && c.Height() <= 2000 && std::abs(f.Height()) <= 500 && c.Hint().size() <= 200;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer buf(&bytes);
    buf.open(QIODevice::ReadOnly);
    const TRecordReadResult r = ReadComponentRecords(buf);
    for (const auto& c : r.Components) {
        try {
            if (auto* ct = dynamic_cast<TCFImage*>(c.get())) {
                if (!Drawable(*ct, *ct->MFFont()))
                    continue;
                ct->Canvas()->SetFont(ct->MFFont());
                RenderCircularText(ct, GetParamField(ct->HelpKeyword(), 2), GetParamField(ct->HelpKeyword(), 3),
                                   ct->Hint(), TCircTextHost());
            } else if (auto* ti = dynamic_cast<TFImage*>(c.get())) {
                if (!Drawable(*ti, *ti->MFFont()))
                    continue;
                RenderTextImage(ti, ti->MFFont(), ti->HelpContext(), ti->Hint(), TextImageStyleFlags(*ti),
                                LabelTextExtent(*ti->MFFont(), ti->Hint()));
            }
        } catch (const Exception&) {
        }
    }
    return 0;
}
