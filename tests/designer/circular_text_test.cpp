// Circular text: the parameter string, the layout along the circle and the
// redraw that fits the object's bounds to its text.
#include "classlib/pictures/bitmap.h"
#include "classlib/pictures/picture.h"
#include "designer/objects/circ_text_image.h"
#include "designer/objects/param_string.h"
#include "designer/vector_text/circular_text.h"
#include "designer/vector_text/text_measure.h"

#include <QRect>
#include <gtest/gtest.h>

namespace {

TFont Arial(int size, TColor color = clBlack)
{
    TFont f;
    f.SetName(QStringLiteral("Arial"));
    f.SetSize(size);
    f.SetColor(color);
    return f;
}

// A circular-text object as insertion makes it on a 530 x 530 panel.
std::unique_ptr<TCFImage> NewCircText(const TFont& font, const QString& text, const QString& params)
{
    auto o = std::make_unique<TCFImage>(nullptr);
    o->SetBounds(80, 80, 530, 530);
    o->SetTransparent(true);
    o->Canvas()->SetFont(&font);
    o->SetHint(text);
    o->SetHelpKeyword(params);
    return o;
}

const QImage& PictureImage(TCFImage& o) { return dynamic_cast<TBitmap*>(o.Picture()->Graphic())->Image(); }

// Ink inside the object's bounds (the part of the bitmap that shows).
QRect InkBox(TCFImage& o, QRgb background = 0xFFFFFF)
{
    const QImage& img = PictureImage(o);
    QRect box;
    for (int y = 0; y < std::min(o.Height(), img.height()); ++y)
        for (int x = 0; x < std::min(o.Width(), img.width()); ++x)
            if ((img.pixel(x, y) & 0xFFFFFF) != background)
                box |= QRect(x, y, 1, 1);
    return box;
}

int InkCount(const QImage& img, QRgb background = 0xFFFFFF)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += (img.pixel(x, y) & 0xFFFFFF) != background;
    return n;
}

} // namespace

TEST(ParamString, FieldsReadAndPastTheEndIsZero)
{
    const QString s = QStringLiteral("400;300;150;0;");
    EXPECT_EQ(GetParamField(s, 0), 400);
    EXPECT_EQ(GetParamField(s, 1), 300);
    EXPECT_EQ(GetParamField(s, 2), 150);
    EXPECT_EQ(GetParamField(s, 3), 0);
    EXPECT_EQ(GetParamField(s, 5), 0);
    EXPECT_EQ(GetParamField(QString(), 0), 0);
    EXPECT_EQ(GetParamField(QStringLiteral("-12;7;"), 0), -12);
    // Without a ";" a field reads empty, and so does every field after it.
    EXPECT_EQ(GetParamField(QStringLiteral("12"), 0), 0);
    EXPECT_EQ(GetParamField(QStringLiteral("5;12"), 0), 5);
    EXPECT_EQ(GetParamField(QStringLiteral("5;12"), 1), 0);
    EXPECT_EQ(GetParamField(QStringLiteral("5;;7;"), 1), 0);
    EXPECT_THROW(GetParamField(QStringLiteral("5;abc;"), 1), EConvertError);
}

TEST(ParamString, WritingReplacesOneFieldAndDropsTrailingText)
{
    const QString s = QStringLiteral("400;300;150;0;");
    EXPECT_EQ(SetParamField(s, 200, 2), QStringLiteral("400;300;200;0;"));
    EXPECT_EQ(SetParamField(s, -5, 0), QStringLiteral("-5;300;150;0;"));
    EXPECT_EQ(SetParamField(s, 90, 3), QStringLiteral("400;300;150;90;"));
    // Field 7 does not exist: the string comes back unchanged.
    EXPECT_EQ(SetParamField(s, 1, 7), s);
    EXPECT_EQ(SetParamField(QStringLiteral("1;2;junk"), 9, 0), QStringLiteral("9;2;"));
    EXPECT_EQ(SetParamField(QStringLiteral("1;2;junk"), 9, 2), QStringLiteral("1;2;junk"));
    EXPECT_EQ(SetParamField(QString(), 9, 0), QString());
    // Moving a field keeps it an integer however far it goes.
    EXPECT_EQ(ShiftParamField(QStringLiteral("5;2147483647;"), 10, 1), QStringLiteral("5;2147483647;"));
    EXPECT_EQ(ShiftParamField(QStringLiteral("5;7;"), -12, 0), QStringLiteral("-7;7;"));
}

TEST(CircularLayout, MinimumRadiusFollowsThePointSize)
{
    EXPECT_EQ(EffectiveRadius(10, 12), 21);
    EXPECT_EQ(EffectiveRadius(10, 85), 10);
    EXPECT_EQ(EffectiveRadius(150, 12), 150);
    EXPECT_EQ(EffectiveRadius(0, 29), 21);
    EXPECT_EQ(EffectiveRadius(0, 30), 29);
    EXPECT_EQ(EffectiveRadius(0, 39), 29);
    EXPECT_EQ(EffectiveRadius(0, 40), 37);
    EXPECT_EQ(EffectiveRadius(0, 50), 45);
    EXPECT_EQ(EffectiveRadius(0, 60), 52);
    EXPECT_EQ(EffectiveRadius(0, 70), 59);
    EXPECT_EQ(EffectiveRadius(0, 79), 59);
    EXPECT_EQ(EffectiveRadius(0, 80), 0);

    // A 12-pt text on radius 10 lies on the circle of radius 21.
    TBitmap b;
    b.SetSize(100, 100);
    TCanvas* c = b.Canvas();
    const TFont f = Arial(12);
    c->SetFont(&f);
    CircTextExtents.Reset();
    MeasureCircularText(c, 50, 50, 10, 0, QStringLiteral("i"));
    EXPECT_NEAR(CircTextExtents.MinY, 50 - 21, 1);
}

TEST(CircularLayout, AngleZeroIsAtTheTopReadingClockwise)
{
    TBitmap b;
    b.SetSize(10, 10);
    TCanvas* c = b.Canvas();
    const TFont f = Arial(12);
    c->SetFont(&f);
    const int w = c->TextWidth(QStringLiteral("M"));

    // One character at angle 0: its anchor (baseline start) lies half a
    // character left of twelve o'clock, on the circle.
    CircTextExtents.Reset();
    MeasureCircularText(c, 200, 200, 100, 0, QStringLiteral("M"));
    EXPECT_NEAR(CircTextExtents.MinX, 200 - w / 2, 1);
    EXPECT_NEAR(CircTextExtents.MinY, 100, 1);

    // At 90 it sits at three o'clock, its baseline running downward.
    CircTextExtents.Reset();
    MeasureCircularText(c, 200, 200, 100, 90, QStringLiteral("M"));
    EXPECT_NEAR(CircTextExtents.MinX, 300, 1);
    EXPECT_NEAR(CircTextExtents.MinY, 200 - w / 2, 1);

    // At 180 it is at the bottom, upside down: the baseline starts right of centre.
    CircTextExtents.Reset();
    MeasureCircularText(c, 200, 200, 100, 180, QStringLiteral("M"));
    EXPECT_NEAR(CircTextExtents.MinX, 200 + w / 2, 1);
    EXPECT_NEAR(CircTextExtents.MinY, 300, 1);

    // A longer text at the top spreads evenly left and right of the centre.
    CircTextExtents.Reset();
    MeasureCircularText(c, 200, 200, 100, 0, QStringLiteral("MMMMMM"));
    EXPECT_NEAR((CircTextExtents.MinX + CircTextExtents.MaxX + w) / 2.0, 200, 3);
    EXPECT_LE(CircTextExtents.MinY, 101);
    EXPECT_GT(CircTextExtents.MaxY, CircTextExtents.MinY);
}

TEST(CircularText, RedrawFitsTheBoundsAroundTheText)
{
    const TFont f = Arial(20, clRed);
    auto o = NewCircText(f, QStringLiteral("Tessavik"), QStringLiteral("265;265;150;0;"));
    TCircTextHost host;
    RenderCircularText(o.get(), 150, 0, o->Hint(), host);
    const int m = LabelTextExtent(f, o->Hint()).height();
    // At the top of the circle, centred on x = 265.
    EXPECT_NEAR(o->Left() + o->Width() / 2.0, 265, 8);
    EXPECT_NEAR(o->Top(), 265 - 150 - m, 2);
    EXPECT_LT(o->Height(), 150);
    // The bitmap keeps its first size; the glyphs land inside the bounds.
    EXPECT_EQ(PictureImage(*o).size(), QSize(530, 530));
    const QRect ink = InkBox(*o);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_GE(ink.left(), 0);
    EXPECT_LT(ink.right(), o->Width());
    EXPECT_EQ(InkCount(PictureImage(*o)), InkCount(PictureImage(*o).copy(0, 0, o->Width(), o->Height())));
    EXPECT_EQ(o->MFFont()->Color(), clRed);
    EXPECT_EQ(dynamic_cast<TBitmap*>(o->Picture()->Graphic())->TransparentColor(), clWhite);

    // At 180 the text sits at the bottom.
    RenderCircularText(o.get(), 150, 180, o->Hint(), host);
    EXPECT_NEAR(o->Top() + o->Height(), 265 + 150 + m, 2);
}

TEST(CircularText, WhiteFontIsDrawnAlmostWhite)
{
    const TFont f = Arial(20, clWhite);
    auto o = NewCircText(f, QStringLiteral("White"), QStringLiteral("265;265;150;0;"));
    TCircTextHost host;
    RenderCircularText(o.get(), 150, 0, o->Hint(), host);
    EXPECT_EQ(o->Canvas()->Font()->Color(), TColor(0xFBFBFB));
    EXPECT_EQ(o->MFFont()->Color(), TColor(0xFBFBFB));
    const QImage& img = PictureImage(*o);
    int nearWhite = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            nearWhite += (img.pixel(x, y) & 0xFFFFFF) == 0xFBFBFB;
    EXPECT_GT(nearWhite, 20);
}

TEST(CircularText, ACharacterWiderThanTheRadiusWarnsTwiceAndCarriesOn)
{
    // 85 pt has no minimum radius; a radius of 10 cannot hold a "W".
    const TFont f = Arial(85);
    auto o = NewCircText(f, QStringLiteral("Wide"), QStringLiteral("200;220;10;0;"));
    QStringList warnings;
    TCircTextHost host;
    host.Warn = [&](const QString& key) { warnings << key; };
    EXPECT_THROW(MeasureCircularText(o->Canvas(), 0, 0, 10, 0, QStringLiteral("W")), EInvalidOp);
    ASSERT_NO_THROW(RenderCircularText(o.get(), 10, 0, o->Hint(), host));
    EXPECT_EQ(warnings, (QStringList{"sChybaVypocetRadius", "sChybaVypocetRadiusZobrazeni"}));
    // No character could be placed: a box around the centre, nothing drawn.
    const int m = LabelTextExtent(f, o->Hint()).height();
    EXPECT_EQ(o->BoundsRect(), TRect(200 - m, 220 - m, 200 + m, 220 + m));
    EXPECT_EQ(InkCount(PictureImage(*o)), 0);

    // A radius that fits draws without warning.
    warnings.clear();
    RenderCircularText(o.get(), 200, 0, o->Hint(), host);
    EXPECT_TRUE(warnings.isEmpty());
    EXPECT_GT(InkCount(PictureImage(*o)), 0);
}

TEST(CircularText, EmptyTextExtremeOrNonNumericParameters)
{
    const TFont f = Arial(12);
    auto o = NewCircText(f, QString(), QStringLiteral("100;120;150;0;"));
    TCircTextHost host;
    RenderCircularText(o.get(), 150, 0, QString(), host);
    EXPECT_EQ(InkCount(PictureImage(*o)), 0);
    EXPECT_EQ(o->Left() + o->Width() / 2, 100);
    // Values from a damaged file stay within reach of the arithmetic.
    o->SetHelpKeyword(QStringLiteral("2147483647;-2147483648;2147483647;2147483647;"));
    RenderCircularText(o.get(), 2147483647, 2147483647, QStringLiteral("Far"), host);
    EXPECT_LE(o->Left(), CircTextCoordLimit);
    EXPECT_GE(o->Top(), -2 * CircTextCoordLimit);
    o->SetHelpKeyword(QStringLiteral("x;1;2;3;"));
    EXPECT_THROW(RenderCircularText(o.get(), 150, 0, QStringLiteral("a"), host), EConvertError);
}
