// Skinned popup menus: which menus get the skinned frame, the frame's pixels,
// the background erase and the manager's bookkeeping of open menus.

#include "skin_form_fixture.h"

#include "platform/non_client.h"
#include "platform/window_info.h"
#include "skin/form/popup_menu.h"
#include "skin/form/skin_primitives.h"

#include <QMenu>
#include <QPainter>

using namespace SkinFormTest;

namespace {
class PopupMenus : public SkinFormFixture {
protected:
    void SetUp() override
    {
        SkinFormFixture::SetUp();
        Menu = std::make_unique<QMenu>();
        for (const char* t : {"Otevřít", "Uložit", "Konec"})
            Menu->addAction(QString::fromUtf8(t));
    }
    void TearDown() override
    {
        Menu.reset();
        SkinFormFixture::TearDown();
    }
    void Open()
    {
        Menu->popup(QPoint(100, 100));
        Pump();
    }
    QImage Expected(const QSize& size) const
    {
        const TDataSkinObject& bg = *Data->MenuBackground;
        return NineGridBitmap(TRect(0, 0, size.width(), size.height()), bg.Image,
                              TSkinMargins{bg.LeftWidth, bg.TopHeight, bg.RightWidth, bg.BottomHeight}, false,
                              bg.Tile != 0, 1, 1);
    }
    std::unique_ptr<QMenu> Menu;
};

// Pixels of the 3-pixel band that differ between two pictures of one size.
int BandDifferences(const QImage& a, const QImage& b)
{
    int n = 0;
    const int w = a.width();
    const int h = a.height();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool band = x < 3 || y < 3 || x >= w - 3 || y >= h - 3;
            if (band && a.pixel(x, y) != b.pixel(x, y))
                ++n;
        }
    return n;
}
} // namespace

TEST_F(PopupMenus, AnOpenMenuGetsTheSkinsFrameAndLosesItWhenItCloses)
{
    ASSERT_TRUE(Data->MenuBackground && !Data->MenuBackground->Image.isNull());
    const int before = TWindowBridge::Of(Menu.get())->SubclassCount();
    Open();
    TWinSkinPopMenu* popup = Manager->FindPopup(Menu.get());
    ASSERT_TRUE(popup);
    EXPECT_EQ(popup->SkinData(), Data.get());
    EXPECT_EQ(SendMessage(Menu.get(), WM_SKINQUERY), 1);
    // The band is ours: 3 pixels all round.
    EXPECT_EQ(NonClientInsets(Menu.get()), QMargins(3, 3, 3, 3));

    const QImage shot = Menu->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage expected = Expected(shot.size());
    ASSERT_EQ(shot.size(), expected.size());
    EXPECT_EQ(BandDifferences(shot, expected), 0);
    // The cache holds the whole picture for the items drawn on it.
    EXPECT_EQ(popup->CacheBitmap(), expected);
    // WM_PRINT puts the picture into the device context, the items inside it.
    QImage printed(shot.size(), QImage::Format_RGB32);
    printed.fill(Qt::black);
    {
        QPainter p(&printed);
        SendMessage(Menu.get(), WM_PRINT, WParamOf(&p), 0);
    }
    EXPECT_EQ(BandDifferences(printed, expected), 0);

    Menu->hide();
    Pump();
    EXPECT_FALSE(Manager->FindPopup(Menu.get()));
    EXPECT_TRUE(Manager->PopupMenus().empty());
    EXPECT_EQ(TWindowBridge::Of(Menu.get())->SubclassCount(), before);
    EXPECT_EQ(SendMessage(Menu.get(), WM_SKINQUERY), 0);
    // Its own look again: the band is no longer the skin's.
    const QImage plain = Menu->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_GT(BandDifferences(plain.scaled(shot.size()), expected), 0);
}

TEST_F(PopupMenus, WhichMenusAreSkinned)
{
    // Not while skinning is off.
    Manager->SetRunning(false);
    Open();
    EXPECT_FALSE(Manager->FindPopup(Menu.get()));
    Menu->hide();
    Manager->SetRunning(true);

    // The kind of menu that opens decides by the skinned control kinds.
    TSkinControlTypes kinds = Data->SkinControls();
    kinds.Exclude(xcSystemMenu);
    Data->SetSkinControls(kinds);
    Manager->SetMenuKind(TSkinManage::mkSystemMenu);
    Manager->SkinPopupMenu(Menu.get());
    EXPECT_FALSE(Manager->FindPopup(Menu.get()));
    Manager->SetMenuKind(TSkinManage::mkMainMenu);
    Manager->SkinPopupMenu(Menu.get());
    EXPECT_TRUE(Manager->FindPopup(Menu.get()));
    // A second attempt on the same window attaches nothing.
    Manager->SkinPopupMenu(Menu.get());
    EXPECT_EQ(Manager->PopupMenus().size(), 1u);
    // The last popup going resets the menu kind and mark.
    Manager->SetMenuMark(true);
    EXPECT_TRUE(Manager->UnskinWindow(Menu.get()));
    EXPECT_EQ(Manager->MenuKind(), TSkinManage::mkPopup);
    EXPECT_FALSE(Manager->MenuMark());
    EXPECT_FALSE(Manager->UnskinWindow(Menu.get()));
    kinds.Exclude(xcPopupMenu);
    Data->SetSkinControls(kinds);
    Manager->SkinPopupMenu(Menu.get());
    EXPECT_FALSE(Manager->FindPopup(Menu.get()));
}

TEST_F(PopupMenus, SkinningOffPassesEverythingButTheQuery)
{
    TRecorder rec(Menu.get());
    Manager->SkinPopupMenu(Menu.get());
    ASSERT_TRUE(Manager->FindPopup(Menu.get()));
    EXPECT_EQ(SendMessage(Menu.get(), WM_ERASEBKGND), 1);
    EXPECT_EQ(rec.Count(WM_ERASEBKGND), 1);
    // With xoMenuBG the erase is skipped, still answered 1.
    TSkinOptions options = Data->Options();
    options.Include(xoMenuBG);
    Data->SetOptions(options);
    EXPECT_EQ(SendMessage(Menu.get(), WM_ERASEBKGND), 1);
    EXPECT_EQ(rec.Count(WM_ERASEBKGND), 1);
    SendMessage(Menu.get(), WM_NCPAINT, 1);
    EXPECT_EQ(rec.Count(WM_NCPAINT), 0);

    Manager->SetRunning(false);
    rec.Seen.clear();
    EXPECT_EQ(SendMessage(Menu.get(), WM_SKINQUERY), 1);
    EXPECT_EQ(rec.Count(WM_SKINQUERY), 0);
    SendMessage(Menu.get(), WM_ERASEBKGND);
    SendMessage(Menu.get(), WM_NCPAINT, 1);
    EXPECT_EQ(rec.Count(WM_ERASEBKGND), 1);
    EXPECT_EQ(rec.Count(WM_NCPAINT), 1);
    Manager->SetRunning(true);

    // A skin without a menu background leaves the system look.
    Data->MenuBackground.reset();
    rec.Seen.clear();
    SendMessage(Menu.get(), WM_NCPAINT, 1);
    EXPECT_EQ(rec.Count(WM_NCPAINT), 1);
    Manager->UnskinWindow(Menu.get());
}

TEST_F(PopupMenus, MarksMenuHandlesAndCacheBitmaps)
{
    QMenu second;
    Manager->SkinPopupMenu(Menu.get());
    Manager->SkinPopupMenu(&second);
    TWinSkinPopMenu* a = Manager->FindPopup(Menu.get());
    TWinSkinPopMenu* b = Manager->FindPopup(&second);
    ASSERT_TRUE(a && b);
    EXPECT_FALSE(a->Mark());
    Manager->MarkPopupMenus();
    EXPECT_TRUE(a->Mark() && b->Mark());

    // From the newest backwards, the first without a menu gets it.
    QMenu shownX, shownY;
    Manager->AssignPopupMenuHandle(&shownX);
    EXPECT_EQ(b->MenuHandle(), &shownX);
    Manager->AssignPopupMenuHandle(&shownY);
    EXPECT_EQ(a->MenuHandle(), &shownY);
    EXPECT_EQ(Manager->FindPopupBitmap(&shownX), &b->CacheBitmap());
    EXPECT_EQ(Manager->FindPopupBitmap(&shownY), &a->CacheBitmap());
    EXPECT_EQ(Manager->FindPopupBitmap(Menu.get()), nullptr);

    // With the menu mark flag set a new popup is marked at once.
    QMenu third;
    Manager->SetMenuMark(true);
    Manager->SkinPopupMenu(&third);
    EXPECT_TRUE(Manager->FindPopup(&third)->Mark());
    // A destroyed window unskins its popup; the manager going detaches the rest.
    Manager->UnskinWindow(&third);
    FreeSkinManager();
    EXPECT_EQ(SendMessage(Menu.get(), WM_SKINQUERY), 0);
    EXPECT_EQ(SendMessage(&second, WM_SKINQUERY), 0);
}
