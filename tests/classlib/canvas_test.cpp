#include "classlib/graphics/canvas.h"

#include <gtest/gtest.h>

namespace {
QImage White(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    return img;
}
} // namespace

TEST(Canvas, RectangleCoversLeftTopInclusiveRightBottomExclusive)
{
    QImage img = White(20, 20);
    TCanvas c;
    c.BindImage(&img);
    c.Pen()->SetColor(clRed);
    c.Brush()->SetColor(clBlue);
    c.Rectangle(2, 3, 8, 9);
    EXPECT_EQ(c.Pixel(2, 3), clRed);
    EXPECT_EQ(c.Pixel(7, 8), clRed);
    EXPECT_EQ(c.Pixel(8, 8), clWhite);
    EXPECT_EQ(c.Pixel(7, 9), clWhite);
    EXPECT_EQ(c.Pixel(4, 5), clBlue);
}

TEST(Canvas, FillRectAndFrameRect)
{
    QImage img = White(10, 10);
    TCanvas c;
    c.BindImage(&img);
    c.Brush()->SetColor(clGreen);
    c.FillRect(Rect(1, 1, 4, 4));
    EXPECT_EQ(c.Pixel(1, 1), clGreen);
    EXPECT_EQ(c.Pixel(3, 3), clGreen);
    EXPECT_EQ(c.Pixel(4, 4), clWhite);
    c.Brush()->SetColor(clBlack);
    c.FrameRect(Rect(5, 5, 9, 9));
    EXPECT_EQ(c.Pixel(5, 5), clBlack);
    EXPECT_EQ(c.Pixel(8, 8), clBlack);
    EXPECT_EQ(c.Pixel(6, 6), clWhite);
}

TEST(Canvas, XorPenAndFocusRectUndoThemselves)
{
    QImage img = White(30, 30);
    TCanvas c;
    c.BindImage(&img);
    c.Brush()->SetColor(RGB(10, 200, 30));
    c.FillRect(Rect(0, 0, 15, 30));
    const QImage before = img.copy();
    c.DrawFocusRect(Rect(3, 4, 20, 25));
    EXPECT_NE(img, before);
    c.DrawFocusRect(Rect(3, 4, 20, 25));
    EXPECT_EQ(img, before);

    c.Pen()->SetMode(pmXor);
    c.Pen()->SetColor(clWhite);
    c.Brush()->SetStyle(bsClear);
    c.Rectangle(1, 1, 25, 25);
    EXPECT_EQ(c.Pixel(1, 1), RGB(245, 55, 225));
    c.Rectangle(1, 1, 25, 25);
    EXPECT_EQ(img, before);
}

TEST(Canvas, MaskPenModeAndsWithTheBackground)
{
    QImage img = White(10, 10);
    TCanvas c;
    c.BindImage(&img);
    c.Brush()->SetColor(RGB(0x12, 0x34, 0x56));
    c.FillRect(Rect(0, 0, 10, 10));
    c.Pen()->SetMode(pmMask);
    c.Pen()->SetColor(RGB(0xF0, 0x0F, 0xFF));
    c.Brush()->SetColor(RGB(0xF0, 0x0F, 0xFF));
    c.Rectangle(0, 0, 10, 10);
    EXPECT_EQ(c.Pixel(5, 5), RGB(0x10, 0x04, 0x56));
}

TEST(Canvas, TextExtentAndDrawTextLines)
{
    QImage img = White(200, 100);
    TCanvas c;
    c.BindImage(&img);
    c.Font()->SetName("Arial");
    c.Font()->SetHeight(-20);
    const QSize one = c.TextExtent("Ab");
    EXPECT_GT(one.width(), 10);
    EXPECT_GE(one.height(), 20);
    TRect r(0, 0, 200, 0);
    const int h = c.DrawText("Ab\r\ncd\r\nef", r, DT_CALCRECT);
    EXPECT_EQ(h, one.height() * 3);
    EXPECT_EQ(r.Height(), one.height() * 3);
    c.Font()->SetColor(clBlack);
    c.Brush()->SetStyle(bsClear);
    c.TextOut(5, 5, "W");
    bool inked = false;
    for (int y = 5; y < 5 + one.height(); ++y)
        for (int x = 5; x < 25; ++x)
            inked |= c.Pixel(x, y) != clWhite;
    EXPECT_TRUE(inked);
    EXPECT_EQ(c.Pixel(5, 3), clWhite); // nothing above the top edge
}

TEST(Canvas, FontSizeAndHeight)
{
    TFont f;
    f.SetSize(20);
    EXPECT_EQ(f.Height(), -27);
    EXPECT_EQ(f.Size(), 20);
    f.SetSize(8);
    EXPECT_EQ(f.Height(), -11);
}

TEST(Canvas, ColourNames)
{
    QString name;
    ASSERT_TRUE(ColorToIdent(0, name));
    EXPECT_EQ(name, "clBlack");
    ASSERT_TRUE(ColorToIdent(0xFFFFFF, name));
    EXPECT_EQ(name, "clWhite");
    ASSERT_TRUE(ColorToIdent(clWindowText, name));
    EXPECT_EQ(name, "clWindowText");
    EXPECT_FALSE(ColorToIdent(RGB(1, 2, 3), name));
    TColor c = 0;
    ASSERT_TRUE(IdentToColor("clRed", c));
    EXPECT_EQ(c, 255);
    EXPECT_EQ(ColorToRGB(clBtnFace), RGB(212, 208, 200));
}
