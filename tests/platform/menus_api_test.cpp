// Popup menus tracked for an owner window, menu items by position and by
// command, and the menu bar taken off and put back.
#include "platform/menus_api.h"
#include "platform/non_client.h"
#include "platform/window_proc.h"

#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

TEST(MenusApi, TrackPopupMenuReturnsTheChosenCommandAndTellsTheOwner)
{
    QWidget owner;
    owner.show();
    std::vector<unsigned> seen;
    WPARAM initMenu = 0;
    TWndProc old = SetWindowLong(&owner, GWL_WNDPROC, [&](TMessage& m) {
        if (m.Msg == WM_ENTERMENULOOP || m.Msg == WM_EXITMENULOOP || m.Msg == WM_INITMENUPOPUP || m.Msg == WM_COMMAND)
            seen.push_back(m.Msg);
        if (m.Msg == WM_INITMENUPOPUP)
            initMenu = m.WParam;
        CallWindowProc(old, m);
    });
    QMenu menu;
    QAction* first = menu.addAction(QStringLiteral("First"));
    QAction* second = menu.addAction(QStringLiteral("Second"));
    first->setProperty("tvCommand", 501u);
    second->setProperty("tvCommand", 502u);

    QTimer::singleShot(30, &menu, [&] {
        QTest::keyClick(&menu, Qt::Key_Down);
        QTest::keyClick(&menu, Qt::Key_Down);
        QTest::keyClick(&menu, Qt::Key_Return);
    });
    const int id = TrackPopupMenu(&menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, 200, 200, 0, &owner);
    EXPECT_EQ(id, 502);
    EXPECT_EQ(seen, (std::vector<unsigned>{WM_ENTERMENULOOP, WM_INITMENUPOPUP, WM_EXITMENULOOP}));
    EXPECT_EQ(initMenu, WParamOf(&menu));

    // Without TPM_RETURNCMD the owner gets WM_COMMAND; with TPM_NONOTIFY nothing.
    seen.clear();
    QTimer::singleShot(30, &menu, [&] {
        QTest::keyClick(&menu, Qt::Key_Down);
        QTest::keyClick(&menu, Qt::Key_Return);
    });
    EXPECT_EQ(TrackPopupMenu(&menu, 0, 200, 200, 0, &owner), 1);
    QCoreApplication::sendPostedEvents(&owner);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), unsigned(WM_COMMAND));
    seen.clear();
    QTimer::singleShot(30, &menu, [&] { menu.close(); });
    EXPECT_EQ(TrackPopupMenu(&menu, TPM_NONOTIFY, 200, 200, 0, &owner), 0);
    QCoreApplication::sendPostedEvents(&owner);
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(TrackPopupMenu(nullptr, 0, 0, 0, 0, &owner), 0);
    SetWindowLong(&owner, GWL_WNDPROC, old);
}

TEST(MenusApi, ItemInfoByPositionAndCommand)
{
    QMenu menu;
    QAction* open = menu.addAction(QStringLiteral("&Open"));
    open->setProperty("tvCommand", 7u);
    menu.addSeparator();
    QMenu* sub = menu.addMenu(QStringLiteral("&More"));
    QAction* deep = sub->addAction(QStringLiteral("Deep"));
    deep->setProperty("tvCommand", 9u);
    QAction* hidden = menu.addAction(QStringLiteral("Hidden"));
    hidden->setVisible(false);

    EXPECT_EQ(GetMenuItemCount(&menu), 3); // hidden items are not in the menu
    EXPECT_EQ(GetMenuItemID(&menu, 0), 7u);
    EXPECT_EQ(GetMenuItemID(&menu, 1), 0u);
    EXPECT_EQ(GetMenuItemID(&menu, 2), 0xFFFFFFFFu);
    EXPECT_EQ(GetSubMenu(&menu, 2), sub);
    EXPECT_EQ(GetMenuItemID(&menu, 3), 0xFFFFFFFFu);

    MENUITEMINFO info;
    info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_TYPE;
    ASSERT_TRUE(GetMenuItemInfo(&menu, 9, false, info)); // found in the submenu
    EXPECT_EQ(info.wID, 9u);
    EXPECT_EQ(info.dwTypeData, QStringLiteral("Deep"));
    ASSERT_TRUE(GetMenuItemInfo(&menu, 1, true, info));
    EXPECT_TRUE(info.fType & MFT_SEPARATOR);
    ASSERT_TRUE(GetMenuItemInfo(&menu, 2, true, info));
    EXPECT_EQ(info.hSubMenu, sub);
    EXPECT_FALSE(GetMenuItemInfo(&menu, 1234, false, info));

    // Owner-drawn and disabled, written back and read again.
    MENUITEMINFO write;
    write.fMask = MIIM_TYPE | MIIM_STATE;
    write.fType = MFT_OWNERDRAW;
    write.fState = MFS_GRAYED | MFS_CHECKED;
    ASSERT_TRUE(SetMenuItemInfo(&menu, 0, true, write));
    EXPECT_FALSE(open->isEnabled());
    EXPECT_TRUE(open->isChecked());
    EXPECT_EQ(open->text(), QStringLiteral("&Open")); // an owner-drawn type carries no text
    ASSERT_TRUE(GetMenuItemInfo(&menu, 7, false, info));
    EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
    EXPECT_EQ(info.fState & (MFS_GRAYED | MFS_CHECKED), unsigned(MFS_GRAYED | MFS_CHECKED));
    EXPECT_EQ(GetMenuState(&menu, 7, MF_BYCOMMAND) & (MF_GRAYED | MF_CHECKED | MF_OWNERDRAW),
              unsigned(MF_GRAYED | MF_CHECKED | MF_OWNERDRAW));
    EXPECT_TRUE(EnableMenuItem(&menu, 0, MF_BYPOSITION));
    EXPECT_TRUE(open->isEnabled());
    // Actions without an identifier get distinct ones.
    QAction* a = menu.addAction(QStringLiteral("A"));
    QAction* b = menu.addAction(QStringLiteral("B"));
    EXPECT_NE(MenuItemCommand(a), MenuItemCommand(b));
    EXPECT_EQ(MenuItemCommand(a), MenuItemCommand(a));
}

TEST(MenusApi, MenuBarOfABareWindowComesAndGoes)
{
    QWidget window;
    auto* bar = new QMenuBar(&window);
    bar->addMenu(QStringLiteral("File"));
    window.show();
    int layouts = 0;
    SetClientLayout(&window, [&] { ++layouts; });
    EXPECT_EQ(GetMenu(&window), bar);
    ASSERT_TRUE(SetMenu(&window, nullptr));
    EXPECT_EQ(GetMenu(&window), nullptr);
    EXPECT_TRUE(bar->isHidden());
    EXPECT_EQ(layouts, 1);
    ASSERT_TRUE(SetMenu(&window, bar));
    EXPECT_EQ(GetMenu(&window), bar);
    EXPECT_FALSE(bar->isHidden());
    EXPECT_EQ(layouts, 2);
    QWidget child(&window);
    EXPECT_FALSE(SetMenu(&child, bar)); // only top-level windows have menus
}

TEST(MenusApi, SubclassedPopupPaintsBackgroundFrameAndOwnerDrawnItems)
{
    QWidget owner;
    QMenu menu(&owner);
    QAction* plain = menu.addAction(QStringLiteral("Plain"));
    QAction* drawn = menu.addAction(QStringLiteral("Drawn"));
    drawn->setProperty("tvCommand", 77u);
    std::vector<unsigned> ownerSaw;
    TWndProc ownerOld = SetWindowLong(&owner, GWL_WNDPROC, [&](TMessage& m) {
        if (m.Msg == WM_MEASUREITEM) {
            auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
            ownerSaw.push_back(mis->itemID);
            mis->itemHeight = 40;
            m.Result = 1;
            return;
        }
        if (m.Msg == WM_DRAWITEM) {
            auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
            EXPECT_EQ(dis->CtlType, unsigned(ODT_MENU));
            EXPECT_EQ(dis->hwndItem, &menu);
            dis->hDC->fillRect(dis->rcItem.ToQRect(), Qt::blue);
            m.Result = 1;
            return;
        }
        CallWindowProc(ownerOld, m);
    });
    // The skin's popup procedure: a 3-pixel frame band and its own background.
    TWndProc menuOld = SetWindowLong(&menu, GWL_WNDPROC, [&](TMessage& m) {
        switch (m.Msg) {
        case WM_NCCALCSIZE:
            if (m.WParam) {
                auto* p = reinterpret_cast<NCCALCSIZE_PARAMS*>(m.LParam);
                p->rgrc[0].left += 3;
                p->rgrc[0].top += 3;
                p->rgrc[0].right -= 3;
                p->rgrc[0].bottom -= 3;
            }
            return;
        case WM_NCPAINT:
            GetWindowDC(&menu)->fillRect(menu.rect(), Qt::red);
            return;
        case WM_ERASEBKGND:
            reinterpret_cast<QPainter*>(m.WParam)->fillRect(menu.rect(), Qt::green);
            m.Result = 1;
            return;
        default:
            CallWindowProc(menuOld, m);
        }
    });
    MENUITEMINFO info;
    info.fMask = MIIM_FTYPE;
    info.fType = MFT_OWNERDRAW;
    ASSERT_TRUE(SetMenuItemInfo(&menu, 77, false, info));
    EXPECT_EQ(GetMenuOwner(&menu), &owner);

    menu.popup(QPoint(100, 100));
    ASSERT_TRUE(menu.isVisible());
    EXPECT_EQ(NonClientInsets(&menu), QMargins(3, 3, 3, 3));
    EXPECT_NE(std::find(ownerSaw.begin(), ownerSaw.end(), 77u), ownerSaw.end());
    EXPECT_EQ(menu.actionGeometry(drawn).height(), 40);
    EXPECT_NE(menu.actionGeometry(plain).height(), 40); // only the owner-drawn item is measured by the owner
    EXPECT_GE(menu.actionGeometry(plain).top(), 3);

    const QImage image = menu.grab().toImage();
    EXPECT_EQ(image.pixelColor(1, 1), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(menu.width() - 2, menu.height() - 2), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(menu.actionGeometry(drawn).center()), QColor(Qt::blue));
    // The plain item keeps Qt's drawing (its text), over the skin's background.
    const QRect plainRect = menu.actionGeometry(plain);
    bool green = false;
    for (int x = plainRect.left(); x < plainRect.right(); ++x)
        green = green || image.pixelColor(x, plainRect.center().y()) == QColor(Qt::green);
    EXPECT_TRUE(green);
    menu.close();
    SetWindowLong(&menu, GWL_WNDPROC, menuOld);
    SetWindowLong(&owner, GWL_WNDPROC, ownerOld);
}

TEST(MenusApi, PassThroughSubclassingLeavesAPopupLookingAsBefore)
{
    auto build = [](QMenu& m) {
        m.addAction(QStringLiteral("One"));
        m.addSeparator();
        m.addAction(QStringLiteral("Two"))->setCheckable(true);
    };
    QMenu plain;
    QMenu subclassed;
    build(plain);
    build(subclassed);
    int erases = 0;
    TWndProc old = SetWindowLong(&subclassed, GWL_WNDPROC, [&](TMessage& m) {
        if (m.Msg == WM_ERASEBKGND)
            ++erases;
        CallWindowProc(old, m); // the previous procedure erases
    });
    plain.popup(QPoint(50, 50));
    subclassed.popup(QPoint(250, 50));
    ASSERT_EQ(plain.size(), subclassed.size());
    const QImage a = plain.grab().toImage();
    const QImage b = subclassed.grab().toImage();
    EXPECT_GT(erases, 0);
    EXPECT_EQ(a, b);
    plain.close();
    subclassed.close();
    SetWindowLong(&subclassed, GWL_WNDPROC, old);
}
