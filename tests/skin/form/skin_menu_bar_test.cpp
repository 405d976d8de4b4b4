// The skinned menu bar: the window's menu replaced by the drawn strip and
// given back, the strip's pixels against the skin's menu-bar strip, opening
// items, moving between them while a submenu is open, and the owner-drawn
// items against the skin's MenuItem strip.

#include "skin_frame_fixture.h"

#include "classlib/forms/menus.h"
#include "platform/menus_api.h"
#include "platform/non_client.h"
#include "platform/system_metrics.h"
#include "skin/form/popup_menu.h"
#include "skin/form/skin_menu_bar.h"
#include "test_support.h"

#include <QMenu>
#include <QTest>
#include <QMouseEvent>
#include <QTimer>
#include <functional>

using namespace SkinFormTest;
using namespace SkinFrameTest;

namespace {
constexpr int kBarHeight = 19; // SM_CYMENU: the menu-bar strip is one frame high
constexpr QRgb kBarText = qRgb(255, 0, 0);
constexpr QRgb kHilight = qRgb(0, 255, 0);
constexpr int kItemW = 30;
constexpr int kItemH = 24;

QByteArray MenuIni(bool withMenuBar = true)
{
    QByteArray ini = BorderIni();
    if (withMenuBar)
        ini += "menuBar=mb.bmp\nTileMenu=1\nTileLeftMenu=2\nTileRightMenu=3\n";
    return ini + "[Colours]\nMenuBarText=255,0,0\nButtonHilight=0,255,0\nMenubar=0,0,255\n"
                 "[MenuItem]\nImage=mi.bmp\nLeftWidth=4\nRightWidth=5\nTopHeight=3\nBottomHeight=3\nTrans=1\n"
                 "[MenuBackground]\nImage=bg.bmp\nLeftWidth=2\nRightWidth=2\nTopHeight=2\nBottomHeight=2\n";
}

constexpr QRgb kMenuBack = qRgb(7, 8, 9);
const QPoint kKeyed(1, 2); // magenta in frame 1 (an unscaled corner): the menu's background shows there

QList<QPair<QString, QImage>> MenuPictures()
{
    QImage item = Strip(kItemW, kItemH, 5, false);
    item.setPixel(kKeyed, qRgb(255, 0, 255));
    return BorderPictures() + QList<QPair<QString, QImage>>{{QStringLiteral("mb.bmp"), Strip(40, kBarHeight, 2, true)},
                                                            {QStringLiteral("mi.bmp"), item},
                                                            {QStringLiteral("bg.bmp"), SkinTest::Solid(20, 20, kMenuBack)}};
}

// Colours are compared as the screen holds them.
bool Has(const QImage& img, const TRect& r, QRgb colour)
{
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            if ((img.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF))
                return true;
    return false;
}

// Runs steps while menus open: each step gets the newly opened popup; after
// the last one every menu is closed. A popup that should not open fails the
// step that sees it. Gives up after a few seconds.
class TMenuDriver {
public:
    explicit TMenuDriver(std::vector<std::function<void(QMenu*)>> steps) : FSteps(std::move(steps))
    {
        FTimer.setInterval(20);
        QObject::connect(&FTimer, &QTimer::timeout, [this] { Tick(); });
        FTimer.start();
    }
    std::vector<QMenu*> Opened;

private:
    void Tick()
    {
        auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (++FTicks > 250) {
            EndMenu();
            FTimer.stop();
            return;
        }
        if (!popup || popup == FShown) {
            FShown = popup;
            return;
        }
        FShown = popup;
        Opened.push_back(popup);
        const size_t i = Opened.size() - 1;
        if (i < FSteps.size())
            FSteps[i](popup);
        else
            EndMenu();
    }
    std::vector<std::function<void(QMenu*)>> FSteps;
    QTimer FTimer;
    QMenu* FShown = nullptr;
    int FTicks = 0;
};

void Key(QMenu* menu, Qt::Key key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(menu, &press);
}
} // namespace

class SkinMenuBarTest : public SkinFrameFixture {
protected:
    // A form with the menu: "&Soubor" (two items and a separator), "Příkaz"
    // (no submenu), "Vypnuto" (disabled, with a submenu), "Nápověda".
    TForm* MenuForm(int w = 400)
    {
        TForm* f = MakeForm(bsSizeable, false, w, 200);
        Menu = new TMainMenu(f);
        auto add = [&](TMenuItem* parent, const char* caption) {
            auto* i = new TMenuItem(f);
            i->SetCaption(QString::fromUtf8(caption));
            parent->Add(i);
            return i;
        };
        File = add(Menu->Items(), "&Soubor");
        New = add(File, "Nový");
        New->SetShortCut(ShortCut('N', ssCtrl));
        add(File, "-");
        add(File, "Konec");
        Command = add(Menu->Items(), "Příkaz");
        Command->OnClick = [this](TComponent*) { ++Clicks; };
        Off = add(Menu->Items(), "Vypnuto");
        add(Off, "Nic");
        Off->SetEnabled(false);
        Help = add(Menu->Items(), "Nápověda");
        add(Help, "O programu");
        f->SetMenu(Menu);
        return f;
    }

    TMenuBtn* Button(TWinSkinForm* sf, int i) { return sf->MenuBar()->Buttons()[static_cast<size_t>(i)].get(); }

    TMainMenu* Menu = nullptr;
    TMenuItem* File = nullptr;
    TMenuItem* New = nullptr;
    TMenuItem* Command = nullptr;
    TMenuItem* Off = nullptr;
    TMenuItem* Help = nullptr;
    int Clicks = 0;
};

TEST_F(SkinMenuBarTest, TheBarReplacesTheMenuAndUnskinningGivesItBackWithTheClientUnchanged)
{
    UseSkin(MenuIni(), MenuPictures());
    TForm* f = MenuForm();
    auto* popup = new TPopupMenu(f);
    f->Show();
    Pump();
    const int clientW = f->ClientWidth();
    const int clientH = f->ClientHeight();
    TWinSkinForm* sf = Skinned(f);
    ASSERT_TRUE(sf && sf->MenuBar());
    HWND w = f->Window();
    EXPECT_EQ(GetMenu(w), nullptr);
    EXPECT_EQ(sf->MenuHeight(), GetSystemMetrics(SM_CYMENU));
    EXPECT_EQ(NonClientInsets(w).top(), sf->TopHeight() + sf->MenuHeight());
    EXPECT_EQ(f->ClientWidth(), clientW);
    EXPECT_EQ(f->ClientHeight(), clientH);
    // The window draws its popup menu's items.
    EXPECT_EQ(popup->OwnerDrawWindow(), w);

    TWinSkinMenu* bar = sf->MenuBar();
    ASSERT_EQ(bar->Count(), 4);
    EXPECT_EQ(Button(sf, 0)->Caption, QStringLiteral("&Soubor"));
    EXPECT_EQ(Button(sf, 0)->SubMenu, File->SubMenu());
    EXPECT_EQ(Button(sf, 1)->SubMenu, nullptr);
    EXPECT_EQ(Button(sf, 1)->Command, Command->Command());
    EXPECT_FALSE(Button(sf, 2)->Enabled);

    // Layout: from LeftWidth + 4 of the menu-bar element, each caption + 10
    // wide, one pixel short of the strip's bottom, one after the other.
    bar->LayoutButtons();
    EXPECT_EQ(Button(sf, 0)->Rect.Left, sf->LeftWidth() + 2 + 4);
    EXPECT_EQ(Button(sf, 0)->Rect.Top, sf->TopHeight());
    EXPECT_EQ(Button(sf, 0)->Rect.Bottom, sf->TopHeight() + sf->MenuHeight() - 1);
    for (int i = 1; i < 4; ++i)
        EXPECT_EQ(Button(sf, i)->Rect.Left, Button(sf, i - 1)->Rect.Right);
    // Hit tests: a button's rectangle, nothing right of the last; a hidden item has no rectangle.
    const TRect r1 = Button(sf, 1)->Rect;
    EXPECT_EQ(bar->ButtonAt(TPoint(r1.Left, r1.Top)), Button(sf, 1));
    EXPECT_EQ(bar->ButtonAt(TPoint(Button(sf, 3)->Rect.Right + 1, r1.Top)), nullptr);
    // The menu's changes reach the bar (the platform's menu bar lists visible items only).
    Command->SetVisible(false);
    ASSERT_EQ(bar->Count(), 3);
    EXPECT_EQ(Button(sf, 1)->Caption, QStringLiteral("Vypnuto"));
    EXPECT_EQ(GetMenu(w), nullptr);
    Command->SetVisible(true);
    Off->SetCaption(QStringLiteral("Jinak"));
    ASSERT_EQ(bar->Count(), 4);
    EXPECT_EQ(Button(sf, 2)->Caption, QStringLiteral("Jinak"));

    Data->SetActive(false);
    Pump(400);
    EXPECT_FALSE(Manager->FindForm(w));
    ASSERT_NE(GetMenu(w), nullptr);
    EXPECT_TRUE(GetMenu(w)->isVisible());
    EXPECT_EQ(popup->OwnerDrawWindow(), nullptr);
    EXPECT_EQ(f->ClientWidth(), clientW);
    EXPECT_EQ(f->ClientHeight(), clientH);
}

TEST_F(SkinMenuBarTest, StripShowsFrameOneActiveTwoInactiveCaptionsInTheirColoursAndTheHoveredButton)
{
    UseSkin(MenuIni(), MenuPictures());
    TForm* f = MenuForm();
    f->Show();
    TWinSkinForm* sf = Skinned(f);
    ASSERT_TRUE(sf && sf->MenuBar());
    const QImage& strip = Data->MenuBar->Image;
    const int top = sf->TopHeight();
    const int left = sf->LeftWidth();

    auto check = [&](int frame) {
        const QImage img = Grab(f);
        const int right = img.width() - sf->RightWidth();
        for (int y : {0, 7, kBarHeight - 1}) {
            // The unscaled slices: 2 columns on the left, 3 on the right.
            EXPECT_EQ(img.pixel(left, top + y), StripPixel(strip, 2, true, frame, 0, y)) << frame << " " << y;
            EXPECT_EQ(img.pixel(left + 1, top + y), StripPixel(strip, 2, true, frame, 1, y)) << frame << " " << y;
            EXPECT_EQ(img.pixel(right - 1, top + y), StripPixel(strip, 2, true, frame, 39, y)) << frame << " " << y;
            EXPECT_EQ(img.pixel(right - 3, top + y), StripPixel(strip, 2, true, frame, 37, y)) << frame << " " << y;
        }
        // Captions: enabled ones in MenuBarText, the disabled one in the button shadow.
        EXPECT_TRUE(Has(img, Button(sf, 0)->Rect, kBarText));
        EXPECT_TRUE(Has(img, Button(sf, 1)->Rect, kBarText));
        EXPECT_FALSE(Has(img, Button(sf, 2)->Rect, kBarText));
        EXPECT_TRUE(Has(img, Button(sf, 2)->Rect, static_cast<QRgb>(ColorToRGB(clBtnShadow)) | 0xFF000000u));
        return img;
    };
    check(1);
    SendMessage(f->Window(), WM_NCACTIVATE, 0);
    check(2);
    SendMessage(f->Window(), WM_NCACTIVATE, 1);

    // The mouse over a button: its rectangle in ButtonHilight, the caption on it.
    TMenuBtn* b = Button(sf, 1);
    SendMessage(f->Window(), WM_NCMOUSEMOVE, HTMENU, ScreenAt(f, b->Rect.Left + 2, b->Rect.Top + 2));
    EXPECT_EQ(sf->HotObject(), b);
    EXPECT_EQ(b->State, TNCObject::stHover);
    QImage img = check(1);
    EXPECT_EQ(img.pixel(b->Rect.Left, b->Rect.Top) & 0xFFFFFF, kHilight & 0xFFFFFF);
    EXPECT_EQ(img.pixel(b->Rect.Right - 1, b->Rect.Bottom - 1) & 0xFFFFFF, kHilight & 0xFFFFFF);
    const TRect other = Button(sf, 0)->Rect;
    EXPECT_FALSE(Has(img, other, kHilight));
}

TEST_F(SkinMenuBarTest, WithoutAMenuBarElementTheStripIsTheMenubarColour)
{
    UseSkin(MenuIni(false), MenuPictures());
    TForm* f = MenuForm();
    f->Show();
    TWinSkinForm* sf = Skinned(f);
    ASSERT_TRUE(sf && sf->MenuBar());
    const QImage img = Grab(f);
    EXPECT_EQ(img.pixel(sf->LeftWidth(), sf->TopHeight() + 5) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(Button(sf, 0)->Rect.Left, sf->LeftWidth() + 6);
}

TEST_F(SkinMenuBarTest, ItemsWithoutSubmenuActOnTheirReleaseAndADisabledItemPostsItsCommandWithoutOpening)
{
    UseSkin(MenuIni(), MenuPictures());
    TForm* f = MenuForm();
    TRecorder rec(f->Window());
    f->Show();
    TWinSkinForm* sf = Skinned(f);
    ASSERT_TRUE(sf && sf->MenuBar());
    sf->MenuBar()->LayoutButtons();

    TMenuDriver nothing({[](QMenu* m) { ADD_FAILURE() << "a menu opened: " << m->title().toStdString(); }});
    QWidget* w = f->Window();
    TMenuBtn* command = Button(sf, 1);
    const QPoint on(command->Rect.Left + 3, command->Rect.Top + 3);
    // Pressed and let go outside it (over the client, then over the next
    // item): nothing runs, and the button does not stay pressed.
    for (const QPoint away : {QPoint(150, 150), QPoint(Button(sf, 3)->Rect.Left + 3, on.y())}) {
        TestSupport::MousePress(w, on);
        EXPECT_EQ(command->State, TNCObject::stPressed);
        TestSupport::MouseMove(w, away, Qt::LeftButton);
        EXPECT_EQ(command->State, TNCObject::stNormal);
        TestSupport::MouseRelease(w, away);
        Pump(50);
        EXPECT_EQ(Clicks, 0);
        EXPECT_EQ(command->State, TNCObject::stNormal);
    }
    // Pressed, taken away and brought back: the release on it runs the command once.
    TestSupport::MousePress(w, on);
    Pump(50);
    EXPECT_EQ(Clicks, 0); // not on the press
    TestSupport::MouseMove(w, QPoint(150, 150), Qt::LeftButton);
    TestSupport::MouseMove(w, on, Qt::LeftButton);
    EXPECT_EQ(command->State, TNCObject::stPressed);
    TestSupport::MouseRelease(w, on);
    Pump(50);
    EXPECT_EQ(Clicks, 1);
    EXPECT_FALSE(sf->Busy());

    // The disabled item: its WM_COMMAND still goes out, its submenu stays shut.
    TMenuBtn* off = Button(sf, 2);
    const int before = rec.Count(WM_COMMAND, off->Command);
    sf->TrackMenuButton(off);
    Pump(50);
    EXPECT_EQ(rec.Count(WM_COMMAND, off->Command), before + 1);
    EXPECT_TRUE(nothing.Opened.empty());
    EXPECT_FALSE(sf->Busy());

    // An empty caption cannot be hit.
    off->Caption.clear();
    EXPECT_EQ(sf->MenuBar()->ButtonAt(TPoint(off->Rect.Left + 1, off->Rect.Top + 1)), nullptr);
}

TEST_F(SkinMenuBarTest, OpenSubmenuSwitchesByArrowsWithWrapAndByTheMouse)
{
    UseSkin(MenuIni(), MenuPictures());
    TForm* f = MenuForm();
    f->Show();
    TWinSkinForm* sf = Skinned(f);
    ASSERT_TRUE(sf && sf->MenuBar());
    TMenuBtn* file = Button(sf, 0);
    TMenuBtn* help = Button(sf, 3);
    TRect wr;
    GetWindowRect(f->Window(), wr);
    const QPoint overFile(wr.Left + file->Rect.Left + 4, wr.Top + file->Rect.Top + 4);

    bool busyWhileOpen = false;
    TMenuDriver driver({
        // "Nápověda": to the right of the last item comes the first.
        [&](QMenu* m) {
            busyWhileOpen = sf->Busy();
            Key(m, Qt::Key_Right);
        },
        // "Soubor": to the left of the first item comes the last.
        [&](QMenu* m) { Key(m, Qt::Key_Left); },
        // "Nápověda" again: the mouse over "Soubor" switches to it.
        [&](QMenu* m) {
            QMouseEvent move(QEvent::MouseMove, m->mapFromGlobal(overFile), overFile, Qt::NoButton, Qt::NoButton,
                             Qt::NoModifier);
            QApplication::sendEvent(m, &move);
        },
    });
    sf->TrackMenuButton(help);
    for (int i = 0; i < 150 && driver.Opened.size() < 4; ++i)
        Pump(30);
    Pump(50);
    ASSERT_EQ(driver.Opened.size(), 4u);
    EXPECT_TRUE(busyWhileOpen);
    EXPECT_EQ(driver.Opened[0], help->SubMenu);
    EXPECT_EQ(driver.Opened[1], file->SubMenu);
    EXPECT_EQ(driver.Opened[2], help->SubMenu);
    EXPECT_EQ(driver.Opened[3], file->SubMenu);
    EXPECT_FALSE(sf->Busy());
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

TEST_F(SkinMenuBarTest, AltLetterAndTheMenuKeyOpenButtons)
{
    UseSkin(MenuIni(), MenuPictures());
    TForm* f = MenuForm();
    f->Show();
    TWinSkinForm* sf = Skinned(f);
    ASSERT_TRUE(sf && sf->MenuBar());
    // "&Soubor" answers to its accelerator; "Nápověda" without one to its first letter.
    EXPECT_EQ(sf->FindMenuAccel('s'), Button(sf, 0));
    EXPECT_EQ(sf->FindMenuAccel('n'), Button(sf, 3));
    EXPECT_EQ(sf->FindMenuAccel('v'), nullptr); // "Vypnuto" is disabled
    EXPECT_EQ(sf->FindMenuAccel('x'), nullptr);

    {
        TMenuDriver driver({[](QMenu*) { EndMenu(); }, [](QMenu*) { EndMenu(); }});
        // Alt+S through the form: a posted click on "Soubor".
        EXPECT_EQ(f->Perform(CM_DIALOGCHAR, 's', 0x20000000), 1);
        for (int i = 0; i < 100 && driver.Opened.empty(); ++i)
            Pump(30);
        ASSERT_EQ(driver.Opened.size(), 1u);
        EXPECT_EQ(driver.Opened[0], Button(sf, 0)->SubMenu);
        // The menu key alone (SC_KEYMENU with no key) opens the first button.
        Pump(50);
        SendMessage(f->Window(), WM_SYSCOMMAND, SC_KEYMENU, 0);
        Pump(50);
        ASSERT_EQ(driver.Opened.size(), 2u);
        EXPECT_EQ(driver.Opened[1], Button(sf, 0)->SubMenu);
    }

    // A command that renames a menu rebuilds the bar under the open submenu:
    // the bar comes back from tracking with its new buttons, nothing left lit.
    TMenuDriver rename({[&](QMenu*) {
        File->SetCaption(QStringLiteral("&Dokument"));
        EndMenu();
    }});
    sf->TrackMenuButton(Button(sf, 0));
    Pump(50);
    ASSERT_EQ(rename.Opened.size(), 1u);
    EXPECT_EQ(Button(sf, 0)->Caption, QStringLiteral("&Dokument"));
    EXPECT_EQ(Button(sf, 0)->State, TNCObject::stNormal);
    EXPECT_FALSE(sf->Busy());
    EXPECT_EQ(sf->FindMenuAccel('d'), Button(sf, 0));
}

TEST_F(SkinMenuBarTest, AltAloneOpensTheFirstMenuWithItsFirstItemSelectedEveryTime)
{
    UseSkin(MenuIni(), MenuPictures());
    TForm* f = MenuForm();
    f->Show();
    TWinSkinForm* sf = Skinned(f);
    ASSERT_TRUE(sf && sf->MenuBar());
    QWidget* w = f->Window();
    QApplication::setActiveWindow(w);
    auto* first = qobject_cast<QMenu*>(Button(sf, 0)->SubMenu);
    ASSERT_TRUE(first);
    QAction* firstItem = first->actions().front();
    int opened = 0;
    int onFirst = 0;
    for (int i = 0; i < 50; ++i) {
        // Each time: looked at once the menu has settled, then closed.
        QTimer probe;
        probe.setInterval(15);
        int ticks = 0;
        QObject::connect(&probe, &QTimer::timeout, [&] {
            auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!popup && ++ticks < 100)
                return;
            if (popup && ++ticks < 3)
                return;
            if (popup) {
                ++opened;
                onFirst += popup == first && popup->activeAction() == firstItem;
            }
            probe.stop();
            EndMenu();
        });
        probe.start();
        QTest::keyPress(w, Qt::Key_Alt);
        QTest::keyRelease(w, Qt::Key_Alt);
        probe.stop();
        Pump();
    }
    EXPECT_EQ(opened, 50);
    EXPECT_EQ(onFirst, 50);
    // Alt with another key is no menu key.
    QTest::keyPress(w, Qt::Key_Alt);
    QTest::keyClick(w, Qt::Key_X, Qt::AltModifier);
    QTest::keyRelease(w, Qt::Key_Alt);
    EXPECT_FALSE(QApplication::activePopupWidget());
}

TEST_F(SkinMenuBarTest, AnOpenDropDownIsMarkedKnownByItsMenuAndItsHookIsTheManagers)
{
    UseSkin(MenuIni(), MenuPictures());
    TForm* f = MenuForm();
    f->Show();
    TWinSkinForm* sf = Skinned(f);
    ASSERT_TRUE(sf && sf->MenuBar());
    bool marked = false;
    const QImage* bitmap = nullptr;
    const QImage* cache = nullptr;
    size_t hooks = 0;
    TMenuDriver driver({[&](QMenu* m) {
        Pump(30);
        if (TWinSkinPopMenu* popup = Manager->FindPopup(m)) {
            marked = popup->Mark();
            cache = &popup->CacheBitmap();
        }
        bitmap = Manager->FindPopupBitmap(m);
        hooks = Manager->MsgFilterHooks().size();
        EndMenu();
    }});
    sf->TrackMenuButton(Button(sf, 0));
    Pump(50);
    ASSERT_EQ(driver.Opened.size(), 1u);
    EXPECT_TRUE(marked);
    ASSERT_TRUE(cache);
    EXPECT_EQ(bitmap, cache);
    EXPECT_EQ(hooks, 1u);
    EXPECT_TRUE(Manager->MsgFilterHooks().empty());
}

TEST_F(SkinMenuBarTest, AChosenItemsCommandRunsWithItsBarButtonNoLongerPressed)
{
    UseSkin(MenuIni(), MenuPictures());
    TForm* f = MenuForm();
    f->Show();
    TWinSkinForm* sf = Skinned(f);
    ASSERT_TRUE(sf && sf->MenuBar());
    // The command runs before tracking returns, as a dialog it opens would.
    int seenState = -1;
    bool seenOpen = true;
    New->OnClick = [&](TComponent*) {
        seenState = Button(sf, 0)->State;
        seenOpen = Button(sf, 0)->Open;
    };
    TMenuDriver choose({[&](QMenu* popup) {
        for (QAction* a : popup->actions())
            if (a->text().startsWith(QString::fromUtf8("Nový")))
                popup->setActiveAction(a);
        Key(popup, Qt::Key_Return);
    }});
    sf->TrackMenuButton(Button(sf, 0));
    Pump(50);
    ASSERT_EQ(choose.Opened.size(), 1u);
    EXPECT_EQ(seenState, TNCObject::stNormal);
    EXPECT_FALSE(seenOpen);
}

TEST_F(SkinMenuBarTest, OwnerDrawnItemsShowTheMenuItemStrip)
{
    UseSkin(MenuIni(), MenuPictures());
    TForm* f = MenuForm();
    f->Show();
    TWinSkinForm* sf = Skinned(f);
    ASSERT_TRUE(sf && sf->MenuBar());
    const QImage& strip = Data->MenuItem->Image;
    QImage shot;
    QRect first, second, separator;
    TMenuDriver driver({[&](QMenu* m) {
        // Shown, the menu has its first item selected.
        Pump(50);
        const QList<QAction*> actions = m->actions();
        first = m->actionGeometry(actions[0]);
        separator = m->actionGeometry(actions[1]);
        second = m->actionGeometry(actions[2]);
        shot = m->screen()->grabWindow(m->winId()).toImage().convertToFormat(QImage::Format_RGB32);
        EndMenu();
    }});
    sf->TrackMenuButton(Button(sf, 0));
    Pump(50);
    ASSERT_FALSE(shot.isNull());
    // The items lie inside the menu's 3-pixel frame; where Qt puts them across
    // is found from the selected item's first pixel, which no other pixel has.
    const QRgb corner = StripPixel(strip, 5, false, 4, 0, 0);
    int left = -1;
    for (int x = 0; x < shot.width() / 2 && left < 0; ++x)
        if (shot.pixel(x, first.top()) == corner)
            left = x;
    ASSERT_GE(left, 3);
    const int right = shot.width() - 3; // the item ends at the frame
    first.setLeft(left);
    first.setRight(right - 1);
    second.setLeft(left);
    separator.setLeft(left);
    // The selected first item: frame 4's corners, unscaled; the next one frame 1.
    // Where frame 1 is magenta the menu's background picture shows through.
    EXPECT_EQ(shot.pixel(second.topLeft() + kKeyed) & 0xFFFFFF, kMenuBack & 0xFFFFFF);
    for (const QPoint p : {QPoint(0, 0), QPoint(3, 2), QPoint(2, 1)}) {
        EXPECT_EQ(shot.pixel(first.topLeft() + p), StripPixel(strip, 5, false, 4, p.x(), p.y())) << p.x() << "," << p.y();
        EXPECT_EQ(shot.pixel(second.topLeft() + p), StripPixel(strip, 5, false, 1, p.x(), p.y())) << p.x() << "," << p.y();
        EXPECT_EQ(shot.pixel(first.right() - p.x(), first.bottom() - p.y()),
                  StripPixel(strip, 5, false, 4, kItemW - 1 - p.x(), kItemH - 1 - p.y()));
    }
    // The separator: frame 2's bottom rows, its left slice kept.
    ASSERT_GT(separator.height(), 0);
    ASSERT_LT(separator.height(), kItemH);
    const int rows = separator.height();
    for (int y : {0, rows - 1})
        for (int x : {0, 3})
            EXPECT_EQ(shot.pixel(separator.left() + x, separator.top() + y),
                      StripPixel(strip, 5, false, 2, x, kItemH - rows + y))
                << x << "," << y;
    // The items are widened for the glyph column: 35 without images, plus LeftWidth.
    MEASUREITEMSTRUCT mis;
    mis.itemID = New->Command();
    mis.itemWidth = 100;
    mis.itemHeight = 20;
    EXPECT_NE(SendMessage(f->Window(), WM_MEASUREITEM, 0, LParamOf(&mis)), 0);
    EXPECT_EQ(mis.itemWidth, 100u + 35 + 4);
    EXPECT_EQ(mis.itemHeight, 20u);
}

TEST_F(SkinMenuBarTest, ASkinThatCannotBeUsedLeavesFrameCaptionAndBarAsTheyWere)
{
    UseSkin(MenuIni(), MenuPictures());
    TForm* f = MenuForm();
    f->Show();
    Pump();
    TWinSkinForm* sf = Skinned(f);
    ASSERT_TRUE(sf && sf->MenuBar());
    const QImage before = Grab(f);
    // While the message is open the window repaints with the skin in effect.
    struct {
        QStringList Texts;
        int SameWhileOpen = 0;
    } messages;
    const TSkinMessageHandler previous = SetSkinMessageHandler([&](const QString& text) {
        messages.Texts << text;
        sf->Repaint();
        messages.SameWhileOpen += Data->SkinRead() && Grab(f) == before;
    });
    const QImage left = Data->Left->Image;
    const QImage top = Data->Top->Image;
    const QString dir = TestSupport::MakeTempDir();
    for (const QString& file :
         SkinTest::DamagedSkinFiles(dir, TestSupport::TestDataDir() + QStringLiteral("/lzhuf/skin-old-version.skn"))) {
        messages.Texts.clear();
        messages.SameWhileOpen = 0;
        Data->SetSkinFile(file);
        EXPECT_EQ(messages.Texts.size(), 1) << file.toStdString();
        EXPECT_EQ(messages.SameWhileOpen, 1) << file.toStdString();
        // The refresh and the reskin that a skin change schedules have run.
        Pump(400);
        ASSERT_EQ(Manager->FindForm(f->Window()), sf);
        EXPECT_EQ(sf->State(), TWinSkinForm::stSkinned);
        ASSERT_TRUE(sf->MenuBar()) << file.toStdString();
        EXPECT_EQ(sf->MenuBar()->Count(), 4);
        EXPECT_EQ(sf->TopHeight(), kTop);
        EXPECT_GT(sf->MenuHeight(), 0);
        sf->Repaint();
        const QImage after = Grab(f);
        // The border still shows the working skin's strips, caption and corner included.
        for (const QPoint p : {QPoint(0, 0), QPoint(5, 3), QPoint(2, kCorner - 1)})
            EXPECT_EQ(after.pixel(p), StripPixel(left, 2, false, 1, p.x(), p.y())) << file.toStdString();
        for (int y : {0, 9, kTop - 1})
            EXPECT_EQ(after.pixel(kSide + 2, y), StripPixel(top, 2, true, 1, 2, y)) << file.toStdString();
        EXPECT_TRUE(after == before) << file.toStdString();
    }
    SetSkinMessageHandler(previous);
}
