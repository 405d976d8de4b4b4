// Speed buttons, gauges and the transparent memo.

#include "classlib/controls/gauge.h"
#include "classlib/controls/speed_button.h"
#include "classlib/controls/trans_memo.h"
#include "classlib/forms/form.h"
#include "test_support.h"

#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {
std::unique_ptr<TForm> ShownForm(TColor colour)
{
    auto f = std::make_unique<TForm>(nullptr);
    f->SetBorderStyle(bsNone);
    f->SetBounds(40, 40, 200, 120);
    f->SetColor(colour);
    f->DoCreate();
    f->Show();
    QTest::qWait(1);
    return f;
}

QImage Grab(TForm* f) { return f->Handle()->grab().toImage().convertToFormat(QImage::Format_RGB32); }
} // namespace

TEST(SpeedButton, ClicksOnlyWhenPressedAndReleasedOnIt)
{
    auto form = ShownForm(clBtnFace);
    auto* b = new TSpeedButton(form.get());
    b->SetParent(form.get());
    b->SetBounds(20, 20, 80, 26);
    b->SetCaption("Zavřít");
    int clicks = 0;
    b->OnClick = [&](TComponent*) { ++clicks; };
    QWidget* w = form->Handle();
    TestSupport::MouseClick(w, QPoint(30, 30));
    EXPECT_EQ(clicks, 1);
    // Pressed on it, released beside it: no click.
    TestSupport::MousePress(w, QPoint(30, 30));
    EXPECT_TRUE(b->Pressed());
    TestSupport::MouseMove(w, QPoint(150, 90), Qt::LeftButton);
    EXPECT_FALSE(b->Pressed());
    TestSupport::MouseRelease(w, QPoint(150, 90));
    EXPECT_EQ(clicks, 1);
    // Pressed beside it, released on it: no click either.
    TestSupport::MousePress(w, QPoint(150, 90));
    TestSupport::MouseRelease(w, QPoint(30, 30));
    EXPECT_EQ(clicks, 1);
    b->SetEnabled(false);
    TestSupport::MouseClick(w, QPoint(30, 30));
    EXPECT_EQ(clicks, 1);
}

TEST(SpeedButton, AFlatButtonShowsItsFrameOnlyUnderTheMouse)
{
    auto form = ShownForm(clNavy);
    auto* b = new TSpeedButton(form.get());
    b->SetParent(form.get());
    b->SetBounds(20, 20, 80, 26);
    b->SetFlat(true);
    const QRgb navy = Grab(form.get()).pixel(20, 20);
    EXPECT_EQ(navy, qRgb(0, 0, 128)); // nothing drawn over the form
    TestSupport::MouseMove(form->Handle(), QPoint(40, 30));
    EXPECT_TRUE(b->Hot());
    EXPECT_NE(Grab(form.get()).pixel(20, 20), navy);
    TestSupport::MouseMove(form->Handle(), QPoint(150, 90));
    EXPECT_FALSE(b->Hot());
    EXPECT_EQ(Grab(form.get()).pixel(20, 20), navy);
}

TEST(Gauge, PercentageAndFillFollowTheRange)
{
    auto form = ShownForm(clBtnFace);
    auto* g = new TGauge(form.get());
    g->SetParent(form.get());
    g->SetBounds(10, 10, 102, 20);
    g->SetForeColor(clRed);
    g->SetMinValue(-50);
    g->SetMaxValue(150);
    g->SetProgress(0);
    EXPECT_EQ(g->PercentDone(), 25);
    EXPECT_EQ(g->FilledWidth(), 25);
    g->SetProgress(149);
    EXPECT_EQ(g->PercentDone(), 99); // truncated
    g->SetMinValue(200);             // the range follows
    EXPECT_EQ(g->MaxValue(), 200);
    EXPECT_EQ(g->Progress(), 200);
    EXPECT_EQ(g->PercentDone(), 0);
    g->SetMinValue(0);
    g->SetMaxValue(2000000000);
    g->SetProgress(1999999999);
    EXPECT_EQ(g->PercentDone(), 99); // no overflow on the way
    g->SetMaxValue(100);
    g->SetProgress(50);
    g->SetShowText(false);
    const QImage img = Grab(form.get());
    EXPECT_EQ(img.pixel(10, 10), qRgb(0, 0, 0));     // the border
    EXPECT_EQ(img.pixel(11 + 10, 15), qRgb(255, 0, 0));
    EXPECT_EQ(img.pixel(11 + 49, 15), qRgb(255, 0, 0));
    EXPECT_EQ(img.pixel(11 + 51, 15), qRgb(255, 255, 255));
}

TEST(TransMemo, TransparentShowsTheParentOpaqueDoesNot)
{
    auto form = ShownForm(clGreen);
    auto* m = new TTransMemo(form.get());
    m->SetParent(form.get());
    m->SetBounds(10, 10, 150, 80);
    m->SetBorderStyle(bsNoneBorder);
    m->SetAlignText(taRightJustify);
    EXPECT_EQ(m->AlignText(), taRightJustify);
    m->SetCaption("ab");
    QImage img = Grab(form.get());
    EXPECT_EQ(img.pixel(20, 60), qRgb(255, 255, 255)); // opaque: the memo's own white
    m->SetTransparent(true);
    img = Grab(form.get());
    EXPECT_EQ(img.pixel(20, 60), qRgb(0, 128, 0));
    m->SetTransparent(false);
    m->SetColor(clYellow);
    img = Grab(form.get());
    EXPECT_EQ(img.pixel(20, 60), qRgb(255, 255, 0));
}
