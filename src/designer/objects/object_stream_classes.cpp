#include "designer/objects/object_stream_classes.h"

#include "classlib/streaming/standard_properties.h"
#include "designer/objects/circ_text_image.h"
#include "designer/objects/text_image.h"

void RegisterObjectStreamClasses(TStreamRegistry& registry)
{
    // Without the image list there is nothing to extend; records of these
    // classes are then refused as unknown, like any other unknown class.
    if (!registry.Find(QStringLiteral("TImage")))
        return;
    {
        auto b = ExtendStreamClass<TFImage>(QStringLiteral("TImage"), QStringLiteral("TFImage"),
                                            [] { return std::make_unique<TFImage>(nullptr); }, registry);
        AddFontProperties(b, QStringLiteral("MFFont"), [](TFImage& o) -> TFont& { return *o.MFFont(); },
                          [](TFImage&) { return true; });
        b.Boolean(QStringLiteral("Aliasing"), [](TFImage& o) { return o.Aliasing(); },
                  [](TFImage& o, int64_t v) { o.SetAliasing(v != 0); })
            .Default(0);
        b.Boolean(QStringLiteral("Filling"), [](TFImage& o) { return o.Filling(); },
                  [](TFImage& o, int64_t v) { o.SetFilling(v != 0); })
            .Default(0);
        registry.Register(b.Build());
    }
    {
        auto b = ExtendStreamClass<TCFImage>(QStringLiteral("TImage"), QStringLiteral("TCFImage"),
                                             [] { return std::make_unique<TCFImage>(nullptr); }, registry);
        AddFontProperties(b, QStringLiteral("MFFont"), [](TCFImage& o) -> TFont& { return *o.MFFont(); },
                          [](TCFImage&) { return true; });
        registry.Register(b.Build());
    }
}
