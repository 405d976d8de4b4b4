#include "skin_controls_fixture.h"

#include "classlib/controls/com_controls.h"
#include "classlib/controls/ext_controls.h"
#include "classlib/controls/std_controls.h"
#include "classlib/graphics/types.h"
#include "platform/window_info.h"
#include "skin/controls/skin_bars.h"
#include "skin/controls/skin_boxes.h"
#include "skin/controls/skin_buttons.h"
#include "skin/controls/skin_tabs.h"
#include "skin/form/skin_messages.h"

#include <QPushButton>
#include <QSizeGrip>

#include <QProgressBar>
#include <QSlider>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>

using namespace SkinControlsTest;

namespace {
class SkinRemaining : public SkinControlsFixture {
protected:
    TPageControl* Pages(int count)
    {
        auto* pc = Placed(new TPageControl(Form.get()), "PageControl1", Form.get(), 10, 10, 380, 200);
        for (int i = 0; i < count; ++i) {
            auto* sheet = new TTabSheet(Form.get());
            sheet->SetPageControl(pc);
            sheet->SetCaption(QStringLiteral("Strana %1").arg(i + 1));
        }
        return pc;
    }
};
} // namespace

TEST_F(SkinRemaining, PageControlTabsFromTheSkin)
{
    ASSERT_TRUE(HasSkinImage(Data->Tabs.get()));
    TPageControl* pc = Pages(5);
    pc->SetActivePageIndex(1);
    ShowForm();
    auto* s = new TSkinTab(pc);
    s->InitControl(SkinForm.get(), Data.get(), nullptr, true);
    QTabBar* bar = pc->Tabs()->tabBar();
    const QImage strip = Grab(bar);
    const QImage parentColour(1, 1, QImage::Format_RGB32);
    const QRgb back = ToQColor(Form->Color()).rgb();
    for (int i = 0; i < 5; ++i) {
        const QRect at = bar->tabRect(i);
        EXPECT_EQ(CornerMismatches(strip, at.left(), at.top(), *Data->Tabs, i == 1 ? 2 : 1, back), 0) << i;
    }
    EXPECT_FALSE(s->CloseButtons());
    // The sheets take the face colour, painted by their skinner.
    auto* sheet = new TSkinTabSheet(pc->Pages(1));
    sheet->InitControl(SkinForm.get(), Data.get(), nullptr, true);
    const QImage page = Grab(pc->Pages(1)->Handle());
    EXPECT_EQ(page.pixel(page.width() / 2, page.height() / 2) & 0xFFFFFF, Face() & 0xFFFFFF);
    EXPECT_EQ(SendMessage(pc->Pages(1)->Handle(), WM_SKINQUERY), 1);
    // The pane: the pane image as a nine-grid over the pane rectangle.
    const QImage whole = Grab(pc->Handle());
    const TRect pane = s->PaneRect();
    ASSERT_FALSE(pane.IsEmpty());
    ASSERT_FALSE(s->PaneImage().isNull());
    EXPECT_EQ(whole.pixel(pane.Left, pane.Top) & 0xFFFFFF, s->PaneImage().pixel(0, 0) & 0xFFFFFF);
    // Switching pages repaints: the new tab shows frame 2.
    pc->SetActivePageIndex(3);
    const QImage after = Grab(bar);
    EXPECT_EQ(CornerMismatches(after, bar->tabRect(3).left(), bar->tabRect(3).top(), *Data->Tabs, 2, back), 0);
}

TEST_F(SkinRemaining, AnIdlePageControlPaintsOnceAndKeepsItsParentsFont)
{
    TPageControl* pc = Pages(3);
    auto* button = Placed(new TButton(Form.get()), "Button1", pc->Pages(0), 10, 10, 90, 28);
    button->SetCaption(QStringLiteral("Písmo"));
    ShowForm();
    auto* s = new TSkinTab(pc);
    s->InitControl(SkinForm.get(), Data.get(), nullptr, true);
    (new TSkinTabSheet(pc->Pages(0)))->InitControl(SkinForm.get(), Data.get(), nullptr, true);
    (new TSkinButton(button))->InitControl(SkinForm.get(), Data.get(), nullptr, true);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Form->Window()));
    QTest::qWait(200);

    struct TPaints : QObject {
        int Count = 0;
        bool eventFilter(QObject* o, QEvent* e) override
        {
            Count += e->type() == QEvent::Paint && o->isWidgetType();
            return false;
        }
    } paints;
    qApp->installEventFilter(&paints);
    QTest::qWait(600);
    qApp->removeEventFilter(&paints);
    EXPECT_EQ(paints.Count, 0);
    // Painting the tabs changes nothing of the control itself.
    EXPECT_TRUE(pc->ParentFont());
    EXPECT_TRUE(button->ParentFont());
    // A change still shows: the new tab is painted.
    qApp->installEventFilter(&paints);
    pc->SetActivePageIndex(2);
    QTest::qWait(100);
    qApp->removeEventFilter(&paints);
    EXPECT_GT(paints.Count, 0);
}

TEST_F(SkinRemaining, CloseCrossesAskTheFormAndFreeThePage)
{
    TPageControl* pc = Pages(3);
    pc->SetTag(kSkinCloseTabsTag);
    ShowForm();
    auto* s = new TSkinTab(pc);
    s->InitControl(SkinForm.get(), Data.get(), nullptr, true);
    QTabBar* bar = pc->Tabs()->tabBar();
    Grab(bar);
    ASSERT_TRUE(s->CloseButtons());
    ASSERT_EQ(s->CloseRects().size(), 3u);
    const QRect t1 = bar->tabRect(1);
    EXPECT_EQ(s->CloseRects()[1], TRect(t1.right() + 1 - 8, t1.top() + 2, t1.right() + 1 - 2, t1.top() + 8));

    // A form that answers non-zero keeps its page.
    HWND formWindow = pc->Handle()->window();
    std::vector<LPARAM> asked;
    LRESULT answer = 1;
    TWndProc old = SetWindowLong(formWindow, GWL_WNDPROC, [&](TMessage& m) {
        if (m.Msg == WM_SKINCONTROL) {
            asked.push_back(m.LParam);
            m.Result = answer;
            return;
        }
        CallWindowProc(old, m);
    });
    const TRect cross = s->CloseRects()[1];
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(cross.Left + 2, cross.Top + 2));
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], 1);
    EXPECT_EQ(pc->PageCount(), 3);
    answer = 0;
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(cross.Left + 2, cross.Top + 2));
    EXPECT_EQ(pc->PageCount(), 2);
    EXPECT_EQ(pc->Pages(1)->Caption(), QStringLiteral("Strana 3"));
    // A click beside the cross selects the tab as always.
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center() - QPoint(10, 0));
    EXPECT_EQ(pc->ActivePageIndex(), 1);
    SetWindowLong(formWindow, GWL_WNDPROC, old);
}

TEST_F(SkinRemaining, BottomTabsFlipAndSideTabsTurnThePane)
{
    QWidget host;
    auto* tw = new QTabWidget(&host);
    tw->addTab(new QWidget, QStringLiteral("A"));
    tw->setTabPosition(QTabWidget::South);
    TSkinTab bottom(nullptr);
    bottom.InitHwnd(tw, Data.get(), nullptr, nullptr);
    EXPECT_EQ(bottom.TabPosition(), TSkinTab::tpBottom);
    EXPECT_EQ(bottom.TabImage(), Data->Tabs->Image.convertToFormat(QImage::Format_RGB32).mirrored(false, true));
    auto* tw2 = new QTabWidget(&host);
    tw2->addTab(new QWidget, QStringLiteral("B"));
    tw2->setTabPosition(QTabWidget::West);
    TSkinTab left(nullptr);
    left.InitHwnd(tw2, Data.get(), nullptr, nullptr);
    EXPECT_EQ(left.TabPosition(), TSkinTab::tpLeft);
    ASSERT_FALSE(left.PaneImage().isNull());
    ASSERT_FALSE(bottom.PaneImage().isNull());
    EXPECT_EQ(left.PaneImage().size(), bottom.PaneImage().size().transposed());
}

TEST_F(SkinRemaining, GroupBoxFramesAndRightAlignedCaption)
{
    auto* gb = Placed(new TGroupBox(Form.get()), "GroupBox1", Form.get(), 10, 10, 200, 100);
    gb->SetCaption(QStringLiteral("Volby"));
    ShowForm();
    auto* s = new TSkinGroupBox(gb);
    s->InitControl(SkinForm.get(), Data.get(), nullptr, true);
    EXPECT_EQ(s->CustomFlag(), 1);
    QImage img = Grab(gb->Handle());
    const QRgb shadow = ToQColor(Data->Colours.ButtonShadow).rgb() & 0xFFFFFF;
    // The rounded frame's bottom edge in the button-shadow colour.
    EXPECT_EQ(img.pixel(100, 98) & 0xFFFFFF, shadow);
    auto inkColumns = [&](const QImage& im) {
        int first = -1, last = -1;
        for (int x = 0; x < im.width(); ++x)
            for (int y = 0; y < 6; ++y)
                if (qGray(im.pixel(x, y)) < 60) { // the caption's ink, not the frame
                    if (first < 0)
                        first = x;
                    last = x;
                }
        return std::make_pair(first, last);
    };
    auto [l1, r1] = inkColumns(img);
    EXPECT_GE(l1, 8);
    EXPECT_LT(l1, 12);
    SetWindowLong(gb->Handle(), GWL_EXSTYLE, GetWindowLong(gb->Handle(), GWL_EXSTYLE) | WS_EX_RIGHT);
    img = Grab(gb->Handle());
    auto [l2, r2] = inkColumns(img);
    EXPECT_LE(r2, 200 - 8);
    EXPECT_GT(r2, 200 - 14);
    EXPECT_GT(l2, l1);
}

TEST_F(SkinRemaining, PanelKeepsItsProcedure)
{
    auto* p = Placed(new TPanel(Form.get()), "Panel1", Form.get(), 10, 10, 100, 50);
    p->SetColor(clRed);
    ShowForm();
    TControlRecorder rec(p);
    auto* s = new TSkinBox(p);
    s->InitControl(SkinForm.get(), Data.get(), nullptr, true);
    EXPECT_EQ(p->Color(), Data->Colours.ButtonFace);
    EXPECT_EQ(p->Perform(WM_SKINQUERY), 0);
    EXPECT_EQ(rec.Count(WM_SKINQUERY), 1);
    EXPECT_EQ(SkinForm->Controls().size(), 1u);
    s->Restore();
    EXPECT_EQ(p->Color(), clRed);
}

TEST_F(SkinRemaining, StatusBarPanelsFromTheEdges)
{
    ASSERT_TRUE(HasSkinImage(Data->StatusBarEdges.get()));
    auto* sb = Placed(new TStatusBar(Form.get()), "StatusBar1", Form.get(), 0, 250, 400, 22);
    sb->AddPanel(120);
    sb->AddPanel(100);
    sb->SetPanelText(0, QStringLiteral("Pripraven"));
    ShowForm();
    auto* s = new TSkinStatusBar(sb);
    s->InitControl(SkinForm.get(), Data.get(), nullptr, true);
    const QImage img = Grab(sb->Handle());
    const auto rects = s->PanelRects();
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_EQ(rects[0], TRect(0, 2, 122, 22));
    EXPECT_EQ(rects[1].Right, sb->Width());
    for (const TRect& r : rects)
        EXPECT_EQ(CornerMismatches(img, r.Left, r.Top, *Data->StatusBarEdges, 1, Face()), 0);
    // The empty second panel shows only its frame.
    const QImage second = ExpectedPart(*Data->StatusBarEdges, 1, rects[1].Width(), rects[1].Height(),
                                       Data->Colours.ButtonFace);
    EXPECT_EQ(Differences(img.copy(rects[1].ToQRect()), second, QRect(0, 0, rects[1].Width() - 20, rects[1].Height())),
              0);
}

TEST_F(SkinRemaining, ProgressBarFillsByPosition)
{
    ASSERT_TRUE(HasSkinImage(Data->Progress.get()));
    auto* pb = Placed(new TProgressBar(Form.get()), "ProgressBar1", Form.get(), 10, 10, 200, 18);
    pb->SetPosition(25);
    ShowForm();
    auto* s = new TSkinProgress(pb);
    s->InitControl(SkinForm.get(), Data.get(), nullptr, true);
    EXPECT_EQ(s->FilledLength(200), 50);
    const QImage img = Grab(pb->Handle());
    const TDataSkinObject& e = *Data->Progress;
    if (e.Style != 1) {
        const QImage bar = ExpectedPart(e, 1, 200, 18, Data->Colours.ButtonFace);
        QImage expected = bar;
        {
            QPainter p(&expected);
            NineGridDraw(p, TRect(0, 0, 50, 18), e.Image, false, e.Tile != 0, e.Trans == 1, std::max(1, e.Frame),
                         std::max(1, e.Frame) >= 2 ? 2 : 1,
                         TSkinMargins{e.LeftWidth, e.TopHeight, e.RightWidth, e.BottomHeight});
        }
        EXPECT_EQ(Differences(img, expected, QRect(0, 0, 200, 18)), 0);
    }
    pb->SetPosition(200); // beyond the maximum: full
    EXPECT_EQ(s->FilledLength(200), 200);
}

TEST_F(SkinRemaining, TrackBarAndUpDown)
{
    QWidget host;
    host.resize(300, 100);
    auto* slider = new QSlider(Qt::Horizontal, &host);
    slider->setGeometry(10, 10, 200, 30);
    slider->setTickPosition(QSlider::TicksBelow);
    host.show();
    Pump();
    TSkinTrackBar tb(nullptr);
    tb.InitHwnd(slider, Data.get(), nullptr, nullptr);
    EXPECT_EQ(tb.ThumbElement(), Data->TrackbarThumbDown.get());
    slider->setTickPosition(QSlider::NoTicks);
    EXPECT_EQ(tb.ThumbElement(), Data->TrackbarThumbHorz.get());
    ASSERT_TRUE(HasSkinImage(Data->Track.get()));
    const QImage img = Grab(slider);
    const TRect ch = tb.ChannelRect();
    const TRect thumb = tb.ThumbRect();
    if (ch.Left < thumb.Left - Data->Track->LeftWidth) {
        EXPECT_EQ(CornerMismatches(img, ch.Left, ch.Top, *Data->Track, 1, 0), 0);
    }
    slider->setValue(50);
    EXPECT_EQ(SendMessage(slider, WM_SKINQUERY), 1);
    // The keyboard still moves it.
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_Right);
    EXPECT_EQ(slider->value(), 51);

    auto* spin = new QSpinBox(&host);
    spin->setGeometry(10, 50, 80, 24);
    TSkinUpDown ud(nullptr);
    ud.InitHwnd(spin, Data.get(), nullptr, nullptr);
    TRect up, down;
    ud.Halves(up, down);
    EXPECT_FALSE(up.IsEmpty());
    EXPECT_LE(up.Bottom, down.Top + 1);
    const QImage sp = Grab(spin);
    if (HasSkinImage(Data->UpDownVert.get())) {
        // Away from the mouse both halves show frame 1 of the up-down strip, each
        // with its own arrow of the glyph strip centred on it.
        const TDataSkinBorder& e = *Data->UpDownVert;
        auto half = [&](const TRect& r, int glyph) {
            QImage expected = ExpectedPart(e, 1, r.Width(), r.Height(), clWhite);
            if (!e.Image2.isNull()) {
                QPainter p(&expected);
                DrawFrameCentered(p, TRect(0, 0, r.Width(), r.Height()), e.Image2, true, 4, glyph);
            }
            return Differences(sp.copy(r.ToQRect()), expected, QRect(0, 0, r.Width(), r.Height()));
        };
        EXPECT_EQ(half(up, 1), 0);
        EXPECT_EQ(half(down, 2), 0);
    }
    spin->setValue(3);
    QTest::mouseClick(spin, Qt::LeftButton, {}, QPoint(up.Left + 2, up.Top + 2));
    EXPECT_EQ(spin->value(), 4); // the spin box still steps
}

TEST_F(SkinRemaining, StatusPanelsTakeTheirBevelsFrameAndOwnerDrawnOnesNoText)
{
    const TDataSkinObject& edges = *Data->StatusBarEdges;
    ASSERT_TRUE(HasSkinImage(&edges));
    auto* sb = Placed(new TStatusBar(Form.get()), "StatusBar1", Form.get(), 0, 250, 400, 22);
    sb->SetSizeGrip(false);
    for (int i = 0; i < 3; ++i) {
        sb->AddPanel(100);
        sb->SetPanelText(i, QStringLiteral("Panel"));
    }
    sb->Panel(1).Bevel = pbRaised;
    sb->Panel(2).Bevel = pbNone;
    sb->Panel(2).Style = psOwnerDraw;
    ShowForm();
    auto* s = new TSkinStatusBar(sb);
    s->InitControl(SkinForm.get(), Data.get(), nullptr, true);
    const QImage img = Grab(sb->Handle());
    const auto rects = s->PanelRects();
    ASSERT_EQ(rects.size(), 3u);
    EXPECT_EQ(CornerMismatches(img, rects[0].Left, rects[0].Top, edges, 1, Face()), 0);
    EXPECT_EQ(CornerMismatches(img, rects[1].Left, rects[1].Top, edges, 2, Face()), 0);
    // The owner-drawn panel: frame 3 alone, no text over it.
    const TRect& r = rects[2];
    const QImage third = ExpectedPart(edges, 3, r.Width(), r.Height(), Data->Colours.ButtonFace);
    EXPECT_EQ(Differences(img.copy(r.ToQRect()), third, QRect(0, 0, r.Width(), r.Height())), 0);
    // The frames differ in this skin, so the checks tell the bevels apart.
    EXPECT_GT(Differences(StripFrame(edges, 1), StripFrame(edges, 2), StripFrame(edges, 1).rect()), 0);
}

TEST_F(SkinRemaining, TheStatusBarsSizeGripIsTheCellAfterTheCombosArrows)
{
    const TDataSkinObject* extra = Data->ExtraImages.get();
    ASSERT_TRUE(HasSkinImage(extra));
    auto* sb = Placed(new TStatusBar(Form.get()), "StatusBar1", Form.get(), 0, 250, 400, 22);
    ShowForm();
    auto* s = new TSkinStatusBar(sb);
    s->InitControl(SkinForm.get(), Data.get(), nullptr, true);
    const int comboFrames = std::max(1, Data->ComboButton->Frame);
    ASSERT_EQ(s->GripCell(), comboFrames + 1);
    const QImage img = Grab(sb->Handle());
    const QImage cell = StripFrame(*extra, s->GripCell());
    const int x0 = sb->Width() - cell.width(), y0 = sb->Height() - cell.height();
    int bad = 0, drawn = 0;
    for (int y = 0; y < cell.height(); ++y)
        for (int x = 0; x < cell.width(); ++x) {
            const QRgb want = cell.pixel(x, y) & 0xFFFFFF;
            if (extra->Trans == 1 && want == 0xFF00FF)
                continue;
            ++drawn;
            bad += (img.pixel(x0 + x, y0 + y) & 0xFFFFFF) != want;
        }
    EXPECT_GT(drawn, 0);
    EXPECT_EQ(bad, 0);
    // A strip holding only the combo's arrows has no grip to draw.
    Data->ExtraImages->Frame = comboFrames;
    EXPECT_EQ(s->GripCell(), 0);
}

TEST_F(SkinRemaining, ADialogsSizeGripShowsOnlyItsRidgesOverTheButtonBeneath)
{
    ASSERT_NE(SkinGripCell(Data.get()), 0);
    QWidget dialog;
    dialog.resize(200, 100);
    auto* button = new QPushButton(QStringLiteral("Zrušit"), &dialog);
    button->setGeometry(100, 60, 100, 40);
    auto* grip = new QSizeGrip(&dialog);
    grip->setGeometry(184, 84, 16, 16);
    dialog.show();
    Pump();
    grip->hide();
    Pump();
    const QImage beneath = Grab(&dialog);
    grip->show();
    TSkinSizer sizer(nullptr);
    sizer.InitHwnd(grip, Data.get(), nullptr, SkinForm.get());
    Pump();
    const QImage painted = Grab(&dialog);
    // Where the grip cell is keyed the button shows; elsewhere the cell's pixels.
    const TDataSkinObject& extra = *Data->ExtraImages;
    const QImage cell = StripFrame(extra, SkinGripCell(Data.get()));
    const int x0 = 200 - cell.width(), y0 = 100 - cell.height();
    int keyed = 0, bad = 0;
    for (int y = 84; y < 100; ++y)
        for (int x = 184; x < 200; ++x) {
            const bool inCell = x >= x0 && y >= y0;
            const QRgb c = inCell ? cell.pixel(x - x0, y - y0) & 0xFFFFFF : 0xFF00FFu;
            if (c == 0xFF00FFu) {
                ++keyed;
                bad += (painted.pixel(x, y) & 0xFFFFFF) != (beneath.pixel(x, y) & 0xFFFFFF);
            } else {
                bad += (painted.pixel(x, y) & 0xFFFFFF) != c;
            }
        }
    EXPECT_GT(keyed, 0);
    EXPECT_EQ(bad, 0);
}
