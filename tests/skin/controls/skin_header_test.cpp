#include "skin_controls_fixture.h"

#include "classlib/graphics/types.h"
#include "classlib/pictures/bitmap.h"
#include "classlib/pictures/picture.h"
#include "skin/controls/skin_props.h"
#include "skin/controls/skin_header.h"
#include "skin/controls/skin_tabs.h"
#include "skin/form/skin_messages.h"

#include <QHeaderView>
#include <QTabBar>
#include <QTabWidget>
#include <QTreeWidget>

using namespace SkinControlsTest;

namespace {
class SkinHeaderTest : public SkinControlsFixture {};
} // namespace

TEST_F(SkinHeaderTest, ItemsFromTheHeaderbarAndTheHotOne)
{
    ASSERT_TRUE(HasSkinImage(Data->Headerbar.get()));
    const TDataSkinObject& e = *Data->Headerbar;
    QTreeWidget tree;
    tree.setColumnCount(3);
    tree.setHeaderLabels({QStringLiteral("Skladba"), QStringLiteral("Interpret"), QStringLiteral("Delka")});
    tree.resize(360, 200);
    tree.show();
    Pump();
    QHeaderView* header = tree.header();
    TSkinHeader s(nullptr);
    s.InitHwnd(header, Data.get(), nullptr, SkinForm.get());
    QWidget* vp = header->viewport();
    QImage img = Grab(vp);
    ASSERT_EQ(s.ItemRects().size(), 3u);
    for (const TRect& r : s.ItemRects())
        EXPECT_EQ(CornerMismatches(img, r.Left, r.Top, e, 1, Face()), 0);
    const TRect second = s.ItemRects()[1];
    SendMessage(vp, WM_MOUSEMOVE, 0, MakeLParam(second.Left + 5, 5));
    EXPECT_EQ(s.HotItem(), 1);
    img = Grab(vp);
    EXPECT_EQ(CornerMismatches(img, second.Left, second.Top, e, 2, Face()), 0);
    EXPECT_EQ(CornerMismatches(img, s.ItemRects()[0].Left, 0, e, 1, Face()), 0);
    SendMessage(vp, CM_MOUSELEAVE);
    EXPECT_EQ(s.HotItem(), -1);
    img = Grab(vp);
    EXPECT_EQ(CornerMismatches(img, second.Left, second.Top, e, 1, Face()), 0);
}

TEST_F(SkinHeaderTest, ButtonStyleAndOldStyleTabs)
{
    QWidget host;
    host.resize(300, 200);
    auto* tw = new QTabWidget(&host);
    tw->setGeometry(0, 0, 300, 200);
    tw->addTab(new QWidget, QStringLiteral("Jedna"));
    tw->addTab(new QWidget, QStringLiteral("Dva"));
    tw->setTabPosition(QTabWidget::South);
    host.show();
    Pump();
    TSkinTabBtn buttons(nullptr);
    buttons.InitHwnd(tw, Data.get(), nullptr, nullptr);
    QTabBar* bar = tw->tabBar();
    const QImage img = Grab(bar);
    const QRect t0 = bar->tabRect(0), t1 = bar->tabRect(1);
    EXPECT_EQ(CornerMismatches(img, t0.left(), t0.top(), *Data->Buttons, 2, Face()), 0); // selected: pressed
    EXPECT_EQ(CornerMismatches(img, t1.left(), t1.top(), *Data->Buttons, 1, Face()), 0);

    auto* tw2 = new QTabWidget(&host);
    tw2->addTab(new QWidget, QStringLiteral("A"));
    tw2->setTabPosition(QTabWidget::West);
    TSkinTab31 old(nullptr);
    old.InitHwnd(tw2, Data.get(), nullptr, nullptr);
    EXPECT_EQ(old.TabPosition(), TSkinTab::tpTop);
    EXPECT_FALSE(old.CloseButtons());
}

namespace {
// A page control that draws its tabs from two pictures.
class TTestAdvPage : public TWinControl {
public:
    TV_CLASS_NAME(TTestAdvPage)
    using TWinControl::TWinControl;
    TPicture TabBackGround;
    TPicture TabBackGroundActive;
};
} // namespace

TEST_F(SkinHeaderTest, AdvancedPageGetsTabRenderingsAndThemBack)
{
    static bool registered = false;
    if (!registered) {
        registered = true;
        RegisterObjectProperty<TTestAdvPage>(QStringLiteral("TabBackGround"),
                                             [](TTestAdvPage* p) -> TObject* { return &p->TabBackGround; });
        RegisterObjectProperty<TTestAdvPage>(QStringLiteral("TabBackGroundActive"),
                                             [](TTestAdvPage* p) -> TObject* { return &p->TabBackGroundActive; });
    }
    auto* page = Placed(new TTestAdvPage(Form.get()), "AdvPage1", Form.get(), 0, 0, 200, 100);
    TBitmap own;
    own.SetSize(7, 5);
    page->TabBackGround.SetGraphic(&own);
    auto* s = new TSkinAdvPage(page);
    s->InitControl(SkinForm.get(), Data.get(), nullptr, false);
    ASSERT_TRUE(page->TabBackGround.Bitmap());
    ASSERT_TRUE(page->TabBackGroundActive.Bitmap());
    EXPECT_EQ(page->TabBackGround.Width(), 100);
    EXPECT_EQ(page->TabBackGround.Height(), 21);
    EXPECT_EQ(page->TabBackGround.Bitmap()->Image(), ExpectedPart(*Data->Tabs, 1, 100, 21, Data->Colours.ButtonFace));
    EXPECT_EQ(page->TabBackGroundActive.Bitmap()->Image(),
              ExpectedPart(*Data->Tabs, 2, 100, 21, Data->Colours.ButtonFace));
    s->Restore();
    EXPECT_EQ(page->TabBackGround.Width(), 7);
    EXPECT_FALSE(page->TabBackGroundActive.HasGraphic());
}

TEST_F(SkinHeaderTest, AnItemLetGoOutsideItselfIsNotClicked)
{
    QTreeWidget tree;
    tree.setColumnCount(2);
    tree.setHeaderLabels({QStringLiteral("Skladba"), QStringLiteral("Interpret")});
    tree.resize(360, 200);
    tree.show();
    Pump();
    QHeaderView* header = tree.header();
    header->setSectionsClickable(true);
    TSkinHeader s(nullptr);
    s.InitHwnd(header, Data.get(), nullptr, SkinForm.get());
    int clicked = 0;
    QObject::connect(header, &QHeaderView::sectionClicked, [&](int) { ++clicked; });
    QWidget* vp = header->viewport();
    const QPoint first(header->sectionPosition(0) + 10, vp->height() / 2);
    QTest::mousePress(vp, Qt::LeftButton, {}, first);
    QTest::mouseMove(vp, QPoint(first.x(), vp->height() + 80));
    QTest::mouseRelease(vp, Qt::LeftButton, {}, QPoint(first.x(), vp->height() + 80));
    Pump();
    EXPECT_EQ(clicked, 0);
    QTest::mouseClick(vp, Qt::LeftButton, {}, first);
    Pump();
    EXPECT_EQ(clicked, 1);
}
