// Scroll-bar reads and the default handling of scroll requests.
#include "platform/scroll_info.h"
#include "platform/window_proc.h"
#include "test_support.h"

#include <QCoreApplication>
#include <QListWidget>
#include <QScrollBar>
#include <gtest/gtest.h>

TEST(ScrollInfo, ListBarsReadAndMoveAsThePlatformCountsThem)
{
    QListWidget list;
    for (int i = 0; i < 100; ++i)
        list.addItem(QStringLiteral("Item %1").arg(i));
    list.setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    list.resize(120, 150);
    list.show();
    QScrollBar* v = list.verticalScrollBar();
    ASSERT_GT(v->maximum(), 0);

    SCROLLINFO si;
    si.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(&list, SB_VERT, si));
    EXPECT_EQ(si.nMin, 0);
    EXPECT_EQ(si.nPage, unsigned(v->pageStep()));
    EXPECT_EQ(si.nMax, v->maximum() + v->pageStep() - 1);
    EXPECT_EQ(si.nPos, 0);

    SendMessage(&list, WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(v->value(), v->pageStep());
    SendMessage(&list, WM_VSCROLL, SB_LINEUP, 0);
    EXPECT_EQ(v->value(), v->pageStep() - v->singleStep());
    SendMessage(&list, WM_VSCROLL, MakeLParam(SB_THUMBPOSITION, 7), 0);
    EXPECT_EQ(GetScrollPos(&list, SB_VERT), 7);
    SendMessage(&list, WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(v->value(), v->maximum());

    SCROLLBARINFO bi;
    ASSERT_TRUE(GetScrollBarInfo(&list, OBJID_VSCROLL, bi));
    EXPECT_EQ(bi.rcScrollBar, TRect::From(QRect(v->mapToGlobal(QPoint(0, 0)), v->size())));
    EXPECT_EQ(bi.rgstate[0] & STATE_SYSTEM_INVISIBLE, 0u);
    EXPECT_GT(bi.xyThumbBottom, bi.xyThumbTop);
    EXPECT_GE(bi.xyThumbTop, bi.dxyLineButton);
    EXPECT_LE(bi.xyThumbBottom, v->height() - bi.dxyLineButton);
    // At the bottom the thumb touches the lower arrow.
    EXPECT_EQ(bi.xyThumbBottom, v->height() - bi.dxyLineButton);
    ASSERT_TRUE(GetScrollBarInfo(&list, OBJID_HSCROLL, bi));
    EXPECT_TRUE(bi.rgstate[0] & STATE_SYSTEM_INVISIBLE); // no horizontal overflow
    EXPECT_FALSE(GetScrollBarInfo(nullptr, OBJID_VSCROLL, bi));
}

TEST(ScrollInfo, BareScrollBarTakesRangePageAndPosition)
{
    QScrollBar bar(Qt::Horizontal);
    SCROLLINFO si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = 10;
    si.nMax = 109; // a hundred positions
    si.nPage = 20;
    si.nPos = 50;
    EXPECT_EQ(SetScrollInfo(&bar, SB_CTL, si, true), 50);
    EXPECT_EQ(bar.minimum(), 10);
    EXPECT_EQ(bar.maximum(), 90); // the last position a whole page can start at
    EXPECT_EQ(bar.pageStep(), 20);
    SCROLLINFO back;
    back.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(&bar, SB_CTL, back));
    EXPECT_EQ(back.nMin, 10);
    EXPECT_EQ(back.nMax, 109);
    EXPECT_EQ(back.nPage, 20u);
    EXPECT_EQ(back.nPos, 50);
    si.nPos = 500; // beyond the end: clamped
    si.fMask = SIF_POS;
    EXPECT_EQ(SetScrollInfo(&bar, SB_CTL, si, true), 90);
    EXPECT_EQ(SetScrollPos(&bar, SB_CTL, 12, true), 90);
    EXPECT_EQ(GetScrollPos(&bar, SB_CTL), 12);
    EXPECT_FALSE(GetScrollInfo(&bar, SB_VERT, back)); // a bar has no bars of its own
}

TEST(ScrollInfo, APressForwardedAsNonClientDrivesTheRealBarUntilRelease)
{
    QListWidget list;
    for (int i = 0; i < 100; ++i)
        list.addItem(QStringLiteral("Item %1").arg(i));
    list.resize(120, 150);
    list.show();
    QCoreApplication::processEvents(); // the view lays its bars out
    QScrollBar* v = list.verticalScrollBar();
    ASSERT_TRUE(v->isVisible());
    // A point in the trough below the thumb.
    SCROLLBARINFO bi;
    ASSERT_TRUE(GetScrollBarInfo(&list, OBJID_VSCROLL, bi));
    const QPoint trough(bi.rcScrollBar.Left + bi.rcScrollBar.Width() / 2, bi.rcScrollBar.Top + bi.xyThumbBottom + 5);
    ASSERT_LT(trough.y(), bi.rcScrollBar.Bottom - bi.dxyLineButton);
    const LPARAM at = MakeLParam(trough.x(), trough.y());
    EXPECT_EQ(SendMessage(&list, WM_NCHITTEST, 0, at), HTVSCROLL);
    EXPECT_EQ(SendMessage(&list, WM_NCHITTEST, 0, MakeLParam(list.viewport()->mapToGlobal(QPoint(5, 5)).x(),
                                                                list.viewport()->mapToGlobal(QPoint(5, 5)).y())),
              HTCLIENT);

    // The same press given to an identical list's bar directly, for comparison.
    QListWidget reference;
    for (int i = 0; i < 100; ++i)
        reference.addItem(QStringLiteral("Item %1").arg(i));
    reference.resize(120, 150);
    reference.show();
    QCoreApplication::processEvents();
    QScrollBar* rv = reference.verticalScrollBar();
    const QPoint onBar = v->mapFromGlobal(trough);
    TestSupport::MousePress(rv, onBar);
    TestSupport::MouseRelease(rv, onBar);
    ASSERT_GT(rv->value(), 0);

    SendMessage(&list, WM_NCLBUTTONDOWN, HTVSCROLL, at);
    EXPECT_EQ(v->value(), rv->value()); // the press acted on the bar at once
    // The release, wherever it lands, ends it: later input is the list's own again.
    TestSupport::MouseRelease(list.viewport(), QPoint(5, 5));
    const int after = v->value();
    TestSupport::MouseMove(list.viewport(), QPoint(6, 6), Qt::LeftButton);
    EXPECT_EQ(v->value(), after);
    EXPECT_FALSE(v->isSliderDown());
}
