// Text drawn as a vector picture: the redraw of a TFImage at its size and rotation.
#include "classlib/pictures/bitmap.h"
#include "classlib/pictures/picture.h"
#include "designer/objects/text_image.h"
#include "designer/vector_text/text_image_render.h"
#include "designer/vector_text/text_measure.h"

#include <QRect>
#include <gtest/gtest.h>

namespace {

TFont ArialBold(int size)
{
    TFont f;
    f.SetName(QStringLiteral("Arial"));
    f.SetSize(size);
    f.SetStyle(FontStyleBit(fsBold));
    f.SetColor(clBlack);
    return f;
}

const QImage& PictureImage(TFImage& o) { return dynamic_cast<TBitmap*>(o.Picture()->Graphic())->Image(); }

QRect InkBox(const QImage& img)
{
    QRect box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if ((img.pixel(x, y) & 0xFFFFFF) != TextImageBackground)
                box |= QRect(x, y, 1, 1);
    return box;
}

// Renders text into a new object sized as insertion sizes it.
void Render(TFImage& o, const TFont& font, int angle, const QString& text, int flags)
{
    RenderTextImage(&o, &font, angle, text, flags, LabelTextExtent(font, text));
}

} // namespace

TEST(TextImage, StyleFlagsFollowAliasingAndFilling)
{
    TFImage o(nullptr);
    o.SetAliasing(false);
    o.SetFilling(true);
    EXPECT_EQ(TextImageStyleFlags(o), 0);
    o.SetAliasing(true);
    EXPECT_EQ(TextImageStyleFlags(o), 3); // smoothed outline, no fill
    o.SetFilling(false);
    EXPECT_EQ(TextImageStyleFlags(o), 7);
    o.SetAliasing(false);
    EXPECT_EQ(TextImageStyleFlags(o), 4);
}

TEST(TextImage, UprightTextFillsItsBoxOnTheGreyKey)
{
    const TFont font = ArialBold(20);
    const QString text = QStringLiteral("Tessavik");
    const QSize ext = LabelTextExtent(font, text);
    TFImage o(nullptr);
    o.SetBounds(0, 0, ext.width(), ext.height());
    Render(o, font, 0, text, 7);
    const QImage& img = PictureImage(o);
    ASSERT_EQ(img.size(), ext);
    const QRect ink = InkBox(img);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_GE(ink.width(), ext.width() * 85 / 100);
    // Baseline at three quarters of the height; no descenders in this text.
    EXPECT_LE(ink.bottom(), ext.height() * 3 / 4);
    EXPECT_EQ(dynamic_cast<TBitmap*>(o.Picture()->Graphic())->TransparentColor(), TColor(0xD8D8D8));
}

TEST(TextImage, NinetyDegreeTextFillsATallObject)
{
    const TFont font = ArialBold(20);
    const QString text = QStringLiteral("Tessavik");
    const QSize ext = LabelTextExtent(font, text); // about 100 x 20
    TFImage o(nullptr);
    // Insertion swaps the measured size for 90 and 270 degrees.
    o.SetBounds(0, 0, ext.height(), ext.width());
    Render(o, font, 90, text, 4);
    const QImage& img = PictureImage(o);
    ASSERT_EQ(img.width(), ext.height());
    ASSERT_EQ(img.height(), ext.width());
    const QRect ink = InkBox(img);
    ASSERT_FALSE(ink.isEmpty());
    // The text runs up the whole height...
    EXPECT_GE(ink.height(), img.height() * 85 / 100);
    // ...with its baseline at three quarters of the width and its tops to the left.
    EXPECT_LE(ink.right(), img.width() * 3 / 4);
    EXPECT_LE(ink.left(), img.width() / 5);
    // Reading upward: the capital T, first letter, is at the bottom: its bar is
    // a full-height column of ink near the left edge there.
    auto columnInk = [&](int x, int y0, int y1) {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            n += (img.pixel(x, y) & 0xFFFFFF) != TextImageBackground;
        return n;
    };
    const int bar = ink.left() + 1;
    EXPECT_GT(columnInk(bar, img.height() * 3 / 4, img.height()), columnInk(bar, 0, img.height() / 4));
}

TEST(TextImage, OneHundredEightyAndTwoSeventyStayInsideTheirBoxes)
{
    const TFont font = ArialBold(20);
    const QString text = QStringLiteral("Tessavik");
    const QSize ext = LabelTextExtent(font, text);
    TFImage up(nullptr), side(nullptr);
    up.SetBounds(0, 0, ext.width(), ext.height());
    side.SetBounds(0, 0, ext.height(), ext.width());
    Render(up, font, 180, text, 4);
    Render(side, font, 270, text, 4);
    const QRect a = InkBox(PictureImage(up)), b = InkBox(PictureImage(side));
    // Upside down: the baseline is at a quarter of the height and the text hangs below it.
    EXPECT_GE(a.top(), ext.height() / 4 - 1);
    EXPECT_GE(a.width(), ext.width() * 85 / 100);
    // Reading downward, tops to the right of the baseline at a quarter of the width.
    EXPECT_GE(b.left(), ext.height() / 4 - 1);
    EXPECT_GE(b.height(), ext.width() * 85 / 100);
}

TEST(TextImage, AResizedObjectStretchesItsGlyphs)
{
    const TFont font = ArialBold(20);
    const QString text = QStringLiteral("Tessavik");
    const QSize ext = LabelTextExtent(font, text);
    TFImage o(nullptr);
    o.SetBounds(0, 0, ext.width(), ext.height());
    Render(o, font, 0, text, 4);
    const QRect narrow = InkBox(PictureImage(o));
    o.SetBounds(0, 0, ext.width() * 3, ext.height());
    Render(o, font, 0, text, 4);
    const QImage& wide = PictureImage(o);
    ASSERT_EQ(wide.width(), ext.width() * 3);
    const QRect stretched = InkBox(wide);
    EXPECT_NEAR(double(stretched.width()) / narrow.width(), 3.0, 0.15);
    EXPECT_NEAR(stretched.height(), narrow.height(), 1);
    EXPECT_NEAR(stretched.top(), narrow.top(), 1);
}

TEST(TextImage, WhiteTextStaysVisibleOnlyTheGreyIsKeyed)
{
    TFont font = ArialBold(20);
    font.SetColor(clWhite);
    const QString text = QStringLiteral("Ab");
    const QSize ext = LabelTextExtent(font, text);
    TFImage o(nullptr);
    o.SetBounds(0, 0, ext.width(), ext.height());
    Render(o, font, 0, text, 4);
    const QImage& img = PictureImage(o);
    int white = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            white += (img.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF;
    EXPECT_GT(white, 20);
    EXPECT_EQ(dynamic_cast<TBitmap*>(o.Picture()->Graphic())->TransparentColor(), TColor(0xD8D8D8));
}

