// The CBT hook over dialogs and popup menus, and the message filter of an open menu.
#include "platform/hooks.h"
#include "platform/menus_api.h"
#include "platform/window_info.h"
#include "test_support.h"

#include <QCoreApplication>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QSizeGrip>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>
#include <map>

namespace {
struct TCbtLog {
    HHOOK Hook = 0;
    std::map<std::pair<int, HWND>, int> Count;
    std::vector<QString> CreatedClasses;
    void Install()
    {
        Hook = SetWindowsHookEx(WH_CBT, [this](int code, WPARAM w, LPARAM l) -> LRESULT {
            ++Count[{code, HwndOf(w)}];
            if (code == HCBT_CREATEWND)
                CreatedClasses.push_back(reinterpret_cast<CBT_CREATEWND*>(l)->lpcs->lpszClass);
            return CallNextHookEx(Hook, code, w, l);
        }, nullptr, GetCurrentThreadId());
    }
    ~TCbtLog() { UnhookWindowsHookEx(Hook); }
    int Of(int code, HWND w) const
    {
        const auto it = Count.find({code, w});
        return it == Count.end() ? 0 : it->second;
    }
};
} // namespace

TEST(Hooks, CbtReportsADialogOnceForCreateActivateAndDestroy)
{
    TCbtLog log;
    log.Install();
    ASSERT_NE(log.Hook, 0);
    auto* box = new QMessageBox(QMessageBox::Information, QStringLiteral("T"), QStringLiteral("Text"));
    const HWND h = box;
    EXPECT_EQ(log.Of(HCBT_CREATEWND, h), 0); // not before it is polished
    box->show();
    EXPECT_EQ(log.Of(HCBT_CREATEWND, h), 1);
    box->activateWindow();
    QApplication::setActiveWindow(box);
    ASSERT_TRUE(QTest::qWaitForWindowActive(box));
    EXPECT_EQ(log.Of(HCBT_ACTIVATE, h), 1);
    box->hide();
    box->show();
    EXPECT_EQ(log.Of(HCBT_CREATEWND, h), 1);
    EXPECT_EQ(log.Of(HCBT_DESTROYWND, h), 0);
    delete box;
    EXPECT_EQ(log.Of(HCBT_DESTROYWND, h), 1);
    // Only the top-level window is reported, not the buttons and labels inside.
    ASSERT_EQ(log.CreatedClasses.size(), 1u);
    EXPECT_EQ(log.CreatedClasses.front(), QStringLiteral("#32770"));
    EXPECT_FALSE(IsWindow(h));

    // A size grip inside a window is reported with its style.
    QWidget top;
    auto* grip = new QSizeGrip(&top);
    top.show();
    EXPECT_TRUE(IsWindow(grip));
    EXPECT_EQ(log.Of(HCBT_CREATEWND, grip), 1);
    EXPECT_EQ(log.CreatedClasses.back(), QStringLiteral("scrollbar"));
    EXPECT_TRUE(GetWindowLong(grip, GWL_STYLE) & SBS_SIZEGRIP);
    delete grip;
    EXPECT_EQ(log.Of(HCBT_DESTROYWND, grip), 1);
}

TEST(Hooks, AWindowBeingShownIsReportedActiveBeforeItReachesTheScreen)
{
    QWidget window;
    window.resize(200, 100);
    QWidget tip(nullptr, Qt::ToolTip);
    tip.resize(50, 20);
    std::map<HWND, int> activations;
    bool onScreenAtActivation = true;
    HHOOK hook = 0;
    hook = SetWindowsHookEx(WH_CBT, [&](int code, WPARAM w, LPARAM l) -> LRESULT {
        if (code == HCBT_ACTIVATE) {
            ++activations[HwndOf(w)];
            if (HwndOf(w) == &window)
                onScreenAtActivation = window.windowHandle() && window.windowHandle()->isExposed();
        }
        return CallNextHookEx(hook, code, w, l);
    });
    window.show();
    EXPECT_EQ(activations[&window], 1);
    EXPECT_FALSE(onScreenAtActivation);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    EXPECT_EQ(activations[&window], 1); // Qt's activation that follows is that one
    // Shown again, activated again; a tool tip takes no activation.
    window.hide();
    window.show();
    tip.show();
    QTest::qWait(50);
    EXPECT_EQ(activations[&window], 2);
    EXPECT_EQ(activations[&tip], 0);
    // Activated again later (another window had it), it is reported again.
    QWidget other;
    other.resize(100, 100);
    other.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    EXPECT_EQ(activations[&window], 3);
    EXPECT_EQ(activations[&other], 1);
    UnhookWindowsHookEx(hook);
}

TEST(Hooks, ChainCallsTheOlderHookOnlyWhenPassedOn)
{
    int older = 0;
    int newer = 0;
    bool passOn = true;
    HHOOK first = SetWindowsHookEx(WH_CBT, [&](int code, WPARAM w, LPARAM l) -> LRESULT {
        ++older;
        return CallNextHookEx(first, code, w, l);
    });
    HHOOK second = 0;
    second = SetWindowsHookEx(WH_CBT, [&](int code, WPARAM w, LPARAM l) -> LRESULT {
        ++newer;
        return passOn ? CallNextHookEx(second, code, w, l) : 0;
    });
    {
        QMessageBox box;
        box.show();
    }
    EXPECT_EQ(newer, 3); // created, activated, destroyed
    EXPECT_EQ(older, 3);
    passOn = false;
    {
        QMessageBox box;
        box.show();
    }
    EXPECT_EQ(newer, 6);
    EXPECT_EQ(older, 3);
    EXPECT_TRUE(UnhookWindowsHookEx(second));
    EXPECT_FALSE(UnhookWindowsHookEx(second));
    {
        QMessageBox box;
        box.show();
    }
    EXPECT_EQ(newer, 6);
    EXPECT_EQ(older, 6);
    EXPECT_TRUE(UnhookWindowsHookEx(first));
    EXPECT_EQ(SetWindowsHookEx(12345, [](int, WPARAM, LPARAM) -> LRESULT { return 0; }), 0);
}

TEST(Hooks, PopupMenuIsCreatedPerShowAndItsInputReachesTheMessageFilter)
{
    TCbtLog log;
    log.Install();
    QMenu menu;
    menu.addAction(QStringLiteral("First"));
    QAction* second = menu.addAction(QStringLiteral("Second"));
    std::vector<MSG> seen;
    bool swallowKeys = false;
    HHOOK filter = 0;
    filter = SetWindowsHookEx(WH_MSGFILTER, [&](int code, WPARAM w, LPARAM l) -> LRESULT {
        if (code == MSGF_MENU) {
            const MSG& msg = *reinterpret_cast<const MSG*>(l);
            seen.push_back(msg);
            if (swallowKeys && msg.message == WM_KEYDOWN)
                return 1;
        }
        return CallNextHookEx(filter, code, w, l);
    });
    ASSERT_NE(filter, 0);

    QPoint itemCentre;
    QAction* hovered = nullptr;
    QAction* afterKey = nullptr;
    QTimer::singleShot(50, &menu, [&] {
        itemCentre = menu.actionGeometry(second).center();
        TestSupport::MouseMove(&menu, itemCentre);
        hovered = menu.activeAction();
        swallowKeys = true;
        QTest::keyClick(&menu, Qt::Key_Down);
        afterKey = menu.activeAction();
        QTimer::singleShot(20, &menu, [&] { menu.close(); });
    });
    menu.exec(QPoint(300, 300));

    EXPECT_EQ(log.Of(HCBT_CREATEWND, &menu), 1);
    EXPECT_EQ(log.Of(HCBT_DESTROYWND, &menu), 1);
    auto mouse = std::find_if(seen.begin(), seen.end(), [](const MSG& m) { return m.message == WM_MOUSEMOVE; });
    ASSERT_NE(mouse, seen.end());
    EXPECT_EQ(mouse->hwnd, &menu);
    const QPoint screen = menu.mapToGlobal(itemCentre);
    EXPECT_EQ(QPoint(LoWordSigned(mouse->lParam), HiWordSigned(mouse->lParam)), screen);
    EXPECT_EQ(QPoint(mouse->ptX, mouse->ptY), screen);
    // Hovering the item selects it; closing the last menu reports 0xFFFF.
    auto select = std::find_if(seen.begin(), seen.end(), [](const MSG& m) { return m.message == WM_MENUSELECT && m.lParam; });
    ASSERT_NE(select, seen.end());
    EXPECT_EQ(LoWord(select->wParam), MenuItemCommand(second));
    EXPECT_TRUE(HiWord(select->wParam) & MF_HILITE);
    const MSG& last = seen.back();
    EXPECT_EQ(last.message, unsigned(WM_MENUSELECT));
    EXPECT_EQ(HiWord(last.wParam), 0xFFFFu);
    EXPECT_EQ(last.lParam, 0);
    // The swallowed key did not move the selection off the hovered item.
    EXPECT_TRUE(std::any_of(seen.begin(), seen.end(), [](const MSG& m) { return m.message == WM_KEYDOWN && m.wParam == VK_DOWN; }));
    EXPECT_EQ(hovered, second);
    EXPECT_EQ(afterKey, second);

    // A second popup is a new platform window again.
    swallowKeys = false;
    QAction* active = nullptr;
    QTimer::singleShot(50, &menu, [&] {
        QTest::keyClick(&menu, Qt::Key_Down);
        active = menu.activeAction();
        menu.close();
    });
    menu.exec(QPoint(300, 300));
    EXPECT_NE(active, nullptr); // not swallowed: the key moved the selection
    EXPECT_EQ(log.Of(HCBT_CREATEWND, &menu), 2);
    EXPECT_EQ(log.Of(HCBT_DESTROYWND, &menu), 2);
    EXPECT_TRUE(UnhookWindowsHookEx(filter));
}

TEST(Hooks, AHookMayUnhookItselfWhileItRuns)
{
    int calls = 0;
    HHOOK self = 0;
    self = SetWindowsHookEx(WH_CBT, [&](int code, WPARAM w, LPARAM l) -> LRESULT {
        ++calls;
        const LRESULT r = CallNextHookEx(self, code, w, l);
        EXPECT_TRUE(UnhookWindowsHookEx(self));
        return r;
    });
    ASSERT_NE(self, 0);
    {
        QMessageBox box;
        box.show();
        QCoreApplication::processEvents();
    }
    {
        QMessageBox box;
        box.show();
    }
    EXPECT_EQ(calls, 1);
}
