// The two picture-text classes in component records: the TImage list, then
// their own properties, and back.
#include "classlib/pictures/bitmap.h"
#include "classlib/pictures/picture.h"
#include "classlib/streaming/component_stream.h"
#include "designer/objects/circ_text_image.h"
#include "designer/objects/object_stream_classes.h"
#include "designer/objects/text_image.h"

#include <QBuffer>
#include <gtest/gtest.h>

namespace {

bool ImageRegistered()
{
    return TStreamRegistry::Default().Find(QStringLiteral("TImage")) != nullptr;
}

// Property names in the order the class lists them.
QStringList PropertyNames(const QString& cls)
{
    QStringList names;
    for (const TPropInfo& p : TStreamRegistry::Default().Find(cls)->Properties)
        names << p.Name;
    return names;
}

template <class T>
std::unique_ptr<T> RoundTrip(T& o)
{
    QByteArray bytes = ComponentRecordBytes(&o);
    QBuffer buf(&bytes);
    buf.open(QIODevice::ReadOnly);
    std::unique_ptr<TComponent> c = ReadComponentRecord(buf);
    EXPECT_TRUE(buf.atEnd());
    auto* t = dynamic_cast<T*>(c.get());
    if (!t)
        return nullptr;
    c.release();
    return std::unique_ptr<T>(t);
}

} // namespace

TEST(VectorTextStream, ClassesExtendTheImageListInOrder)
{
    if (!ImageRegistered())
        GTEST_SKIP() << "TImage is not in the stream registry of this build";
    RegisterObjectStreamClasses();
    const QStringList image = PropertyNames("TImage");
    const QStringList font{"MFFont.Charset", "MFFont.Color", "MFFont.Height", "MFFont.Name", "MFFont.Pitch",
                           "MFFont.Style"};
    EXPECT_EQ(PropertyNames("TFImage"), (image + font + QStringList{"Aliasing", "Filling"}));
    EXPECT_EQ(PropertyNames("TCFImage"), image + font);
}

TEST(VectorTextStream, BothKindsKeepTextParametersFontAndPicture)
{
    if (!ImageRegistered())
        GTEST_SKIP() << "TImage is not in the stream registry of this build";
    RegisterObjectStreamClasses();
    TFImage o(nullptr);
    o.SetTag(1);
    o.SetBounds(10, 20, 120, 40);
    o.SetHint(QStringLiteral("Tessavík"));
    o.SetHelpContext(90);
    o.SetHelpKeyword(QStringLiteral("0"));
    o.SetStretch(true);
    o.SetTransparent(true);
    o.SetAliasing(true);
    o.MFFont()->SetName(QStringLiteral("Arial"));
    o.MFFont()->SetSize(20);
    o.MFFont()->SetColor(clRed);
    o.MFFont()->SetStyle(FontStyleBit(fsBold) | FontStyleBit(fsItalic));
    o.Canvas()->Brush()->SetColor(TColor(0xD8D8D8));
    o.Canvas()->FillRect(TRect(0, 0, 120, 40));
    o.Canvas()->SetPixel(5, 5, clBlue);

    auto back = RoundTrip(o);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->Tag(), 1);
    EXPECT_EQ(back->BoundsRect(), o.BoundsRect());
    EXPECT_EQ(back->Hint(), o.Hint());
    EXPECT_EQ(back->HelpContext(), 90);
    EXPECT_EQ(back->HelpKeyword(), QStringLiteral("0"));
    EXPECT_TRUE(back->Stretch());
    EXPECT_TRUE(back->Transparent());
    EXPECT_TRUE(back->Aliasing());
    EXPECT_FALSE(back->Filling());
    EXPECT_TRUE(back->MFFont()->Equals(*o.MFFont()));
    auto* bmp = dynamic_cast<TBitmap*>(back->Picture()->Graphic());
    ASSERT_TRUE(bmp);
    EXPECT_EQ(bmp->Image().size(), QSize(120, 40));
    EXPECT_EQ(bmp->Image().pixel(5, 5) & 0xFFFFFF, 0x0000FFu);

    // Default switches are not written; the font always is.
    TFImage plain(nullptr);
    const QByteArray bytes = ComponentRecordBytes(&plain);
    EXPECT_FALSE(bytes.contains("Aliasing"));
    EXPECT_FALSE(bytes.contains("Filling"));
    EXPECT_TRUE(bytes.contains("MFFont.Style"));

    TCFImage c(nullptr);
    c.SetHint(QStringLiteral("Kulatý text"));
    c.SetHelpKeyword(QStringLiteral("265;265;150;0;"));
    c.MFFont()->SetHeight(-27);
    auto circ = RoundTrip(c);
    ASSERT_TRUE(circ);
    EXPECT_EQ(circ->HelpKeyword(), c.HelpKeyword());
    EXPECT_EQ(circ->Hint(), c.Hint());
    EXPECT_TRUE(circ->MFFont()->Equals(*c.MFFont()));
}

