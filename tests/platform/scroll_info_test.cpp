// Scroll-bar reads and the default handling of scroll requests.
#include "platform/scroll_info.h"
#include "platform/window_proc.h"

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
