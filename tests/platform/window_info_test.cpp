// Class names, styles, rectangles, placement and SetWindowPos of bare Qt windows.
#include "platform/non_client.h"
#include "platform/window_info.h"
#include "platform/window_proc.h"

#include <QCheckBox>
#include <QDialog>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSlider>
#include <QTabBar>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>

namespace {
uint32_t Style(HWND w) { return static_cast<uint32_t>(GetWindowLong(w, GWL_STYLE)); }
uint32_t ExStyle(HWND w) { return static_cast<uint32_t>(GetWindowLong(w, GWL_EXSTYLE)); }
} // namespace

TEST(WindowInfo, ClassNamesOfQtWindowsAreThePlatformClasses)
{
    QFileDialog files(nullptr, QStringLiteral("Open"));
    files.setOption(QFileDialog::DontUseNativeDialog);
    EXPECT_EQ(GetClassName(&files), QStringLiteral("#32770"));
    ASSERT_FALSE(files.findChildren<QLineEdit*>().isEmpty());
    EXPECT_EQ(GetClassName(files.findChildren<QLineEdit*>().front()), QStringLiteral("edit"));
    ASSERT_FALSE(files.findChildren<QListView*>().isEmpty());
    EXPECT_EQ(GetClassName(files.findChildren<QListView*>().front()), QStringLiteral("listbox"));
    ASSERT_FALSE(files.findChildren<QTreeView*>().isEmpty());
    EXPECT_EQ(GetClassName(files.findChildren<QTreeView*>().front()), QStringLiteral("SysTreeView32"));

    QMenu menu;
    EXPECT_EQ(GetClassName(&menu), QStringLiteral("#32768"));
    EXPECT_TRUE(Style(&menu) & WS_POPUP);
    EXPECT_FALSE(Style(&menu) & WS_CHILD);

    QWidget parent;
    auto* push = new QPushButton(&parent);
    auto* check = new QCheckBox(&parent);
    auto* radio = new QRadioButton(&parent);
    EXPECT_EQ(GetClassName(push), QStringLiteral("button"));
    EXPECT_EQ(GetClassName(check), QStringLiteral("button"));
    EXPECT_EQ(GetClassName(radio), QStringLiteral("button"));
    EXPECT_EQ(GetClassName(new QLabel(&parent)), QStringLiteral("static"));
    EXPECT_EQ(GetClassName(new QScrollBar(&parent)), QStringLiteral("scrollbar"));
    EXPECT_EQ(GetClassName(new QTabBar(&parent)), QStringLiteral("systabcontrol32"));
    EXPECT_EQ(GetClassName(new QProgressBar(&parent)), QStringLiteral("msctls_progress32"));
    EXPECT_EQ(GetClassName(new QSlider(&parent)), QStringLiteral("msctls_trackbar32"));
    // A plain widget is no platform class; a child dialog is not "#32770".
    EXPECT_EQ(GetClassName(&parent), QStringLiteral("QWidget"));
    EXPECT_EQ(GetClassName(nullptr), QString());

    // Button kinds in the style.
    push->setDefault(true);
    EXPECT_EQ(Style(push) & BS_TYPEMASK, uint32_t(BS_DEFPUSHBUTTON));
    push->setDefault(false);
    EXPECT_EQ(Style(push) & BS_TYPEMASK, uint32_t(BS_PUSHBUTTON));
    EXPECT_EQ(Style(check) & BS_TYPEMASK, uint32_t(BS_AUTOCHECKBOX));
    EXPECT_EQ(Style(radio) & BS_TYPEMASK, uint32_t(BS_AUTORADIOBUTTON));
    EXPECT_TRUE(Style(push) & WS_CHILD);
    EXPECT_EQ(GetParent(push), &parent);
    EXPECT_EQ(GetWindowLong(push, GWL_HINSTANCE), kSystemInstance);
    EXPECT_EQ(GetWindowLong(&files, GWL_HINSTANCE), kProgramInstance);
}

TEST(WindowInfo, TopLevelStylesComeFromTheWindowAndWritesAreKeptOrApplied)
{
    QMessageBox box;
    box.setText(QStringLiteral("Text"));
    uint32_t s = Style(&box);
    EXPECT_EQ(s & WS_CAPTION, uint32_t(WS_CAPTION));
    EXPECT_TRUE(s & WS_SYSMENU);
    EXPECT_TRUE(s & DS_MODALFRAME);
    EXPECT_FALSE(s & WS_THICKFRAME);
    EXPECT_FALSE(s & (WS_CHILD | WS_VISIBLE));
    EXPECT_TRUE(ExStyle(&box) & WS_EX_DLGMODALFRAME);

    QFileDialog files;
    files.setOption(QFileDialog::DontUseNativeDialog);
    EXPECT_TRUE(Style(&files) & WS_THICKFRAME);

    box.show();
    EXPECT_TRUE(Style(&box) & WS_VISIBLE);

    // Remembered bits: the window keeps its Qt flags, a read gives the write back.
    std::vector<std::pair<WPARAM, bool>> changes;
    TWndProc old = SetWindowLong(&box, GWL_WNDPROC, [&](TMessage& m) {
        if (m.Msg == WM_STYLECHANGED)
            changes.emplace_back(m.WParam, true);
        CallWindowProc(old, m);
    });
    const Qt::WindowFlags flags = box.windowFlags();
    SetWindowLong(&box, GWL_STYLE, static_cast<intptr_t>(Style(&box) & ~WS_SYSMENU));
    EXPECT_FALSE(Style(&box) & WS_SYSMENU);
    EXPECT_EQ(box.windowFlags(), flags);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(static_cast<int>(static_cast<intptr_t>(changes[0].first)), int(GWL_STYLE));
    SetWindowLong(&box, GWL_STYLE, static_cast<intptr_t>(Style(&box) | WS_SYSMENU));
    EXPECT_TRUE(Style(&box) & WS_SYSMENU);

    // Taking the caption away makes the window frameless; putting it back undoes it.
    SetWindowLong(&box, GWL_STYLE, static_cast<intptr_t>(Style(&box) & ~WS_CAPTION));
    EXPECT_TRUE(box.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(box.isVisible());
    EXPECT_EQ(Style(&box) & WS_CAPTION, 0u);
    SetWindowLong(&box, GWL_STYLE, static_cast<intptr_t>(Style(&box) | WS_CAPTION));
    EXPECT_FALSE(box.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(Style(&box) & WS_CAPTION, uint32_t(WS_CAPTION));

    // Visible and disabled act on the widget.
    SetWindowLong(&box, GWL_STYLE, static_cast<intptr_t>(Style(&box) | WS_DISABLED));
    EXPECT_FALSE(box.isEnabled());
    SetWindowLong(&box, GWL_STYLE, static_cast<intptr_t>(Style(&box) & ~(WS_DISABLED | WS_VISIBLE)));
    EXPECT_TRUE(box.isEnabled());
    EXPECT_FALSE(box.isVisible());

    SetWindowLong(&box, GWL_EXSTYLE, static_cast<intptr_t>(ExStyle(&box) | WS_EX_LAYOUTRTL));
    EXPECT_EQ(box.layoutDirection(), Qt::RightToLeft);
    EXPECT_TRUE(ExStyle(&box) & WS_EX_LAYOUTRTL);
    SetWindowLong(&box, GWL_WNDPROC, old);
}

TEST(WindowInfo, SetWindowPosFlagsAndTheChangingMessage)
{
    QWidget top;
    top.setGeometry(100, 100, 300, 200);
    top.show();
    auto* a = new QWidget(&top);
    auto* b = new QWidget(&top);
    a->setGeometry(10, 10, 50, 50);
    b->setGeometry(20, 20, 50, 50);
    a->show();
    b->show();

    SetWindowPos(a, nullptr, 30, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_EQ(a->geometry(), QRect(30, 40, 50, 50));
    SetWindowPos(a, nullptr, 0, 0, 70, 80, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(a->geometry(), QRect(30, 40, 70, 80));

    // Z order: b was made last, so it is on top; HWND_BOTTOM and HWND_TOP restack.
    EXPECT_EQ(GetTopWindow(&top), b);
    SetWindowPos(a, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(GetTopWindow(&top), a);
    EXPECT_EQ(GetWindow(a, GW_HWNDNEXT), b);
    SetWindowPos(a, HwndBottom(), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(ChildWindows(&top), (std::vector<HWND>{b, a}));

    SetWindowPos(b, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_HIDEWINDOW);
    EXPECT_FALSE(b->isVisible());
    EXPECT_FALSE(IsWindowVisible(b));
    SetWindowPos(b, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
    EXPECT_TRUE(b->isVisible());

    // The procedure may change the new place on WM_WINDOWPOSCHANGING.
    std::vector<unsigned> seen;
    TWndProc old = SetWindowLong(&top, GWL_WNDPROC, [&](TMessage& m) {
        if (m.Msg == WM_WINDOWPOSCHANGING) {
            auto* pos = reinterpret_cast<WINDOWPOS*>(m.LParam);
            pos->cx = 123;
        }
        if (m.Msg == WM_WINDOWPOSCHANGING || m.Msg == WM_WINDOWPOSCHANGED)
            seen.push_back(m.Msg);
        CallWindowProc(old, m);
    });
    SetWindowPos(&top, nullptr, 150, 160, 400, 250, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(top.frameGeometry().topLeft(), QPoint(150, 160));
    EXPECT_EQ(top.frameGeometry().size(), QSize(123, 250)); // the size is the frame's
    EXPECT_EQ(seen, (std::vector<unsigned>{WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED}));
    TRect wr;
    ASSERT_TRUE(GetWindowRect(&top, wr));
    EXPECT_EQ(wr, TRect::From(top.frameGeometry()));
    TRect cr;
    ASSERT_TRUE(GetClientRect(&top, cr));
    EXPECT_EQ(cr, TRect(0, 0, top.width(), top.height()));
    EXPECT_EQ(ClientToScreen(a, TPoint(1, 2)), TPoint::From(a->mapToGlobal(QPoint(1, 2))));
    EXPECT_EQ(ScreenToClient(a, ClientToScreen(a, TPoint(5, 6))), TPoint(5, 6));
    SetWindowLong(&top, GWL_WNDPROC, old);
}

TEST(WindowInfo, PlacementOfAFramelessWindowMaximisedByHand)
{
    QDialog dlg;
    dlg.setGeometry(50, 60, 200, 150);
    dlg.show();
    const QRect before = dlg.geometry();
    ASSERT_TRUE(SetSkinnedFrame(&dlg, true));
    EXPECT_TRUE(dlg.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.geometry(), before); // the decoration goes, the client stays
    EXPECT_TRUE(IsWindowUnicode(&dlg));
    const QRect normal = dlg.geometry();
    const TRect normalFrame = TRect::From(dlg.geometry()); // frameless: the window is its own frame
    TRect wr;
    ASSERT_TRUE(GetWindowRect(&dlg, wr));
    EXPECT_EQ(wr, normalFrame);

    WINDOWPLACEMENT pl;
    ASSERT_TRUE(GetWindowPlacement(&dlg, pl));
    EXPECT_EQ(pl.showCmd, SW_SHOWNORMAL);
    EXPECT_EQ(pl.rcNormalPosition, normalFrame);

    SendMessage(&dlg, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    EXPECT_TRUE(IsZoomed(&dlg));
    EXPECT_TRUE(Style(&dlg) & WS_MAXIMIZE);
    ASSERT_TRUE(GetWindowPlacement(&dlg, pl));
    EXPECT_EQ(pl.showCmd, SW_SHOWMAXIMIZED);
    EXPECT_EQ(pl.rcNormalPosition, normalFrame);
    EXPECT_EQ(dlg.geometry(), dlg.screen()->availableGeometry());

    SendMessage(&dlg, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(IsZoomed(&dlg));
    EXPECT_EQ(dlg.geometry(), normal);

    pl.rcNormalPosition = TRect(70, 80, 170, 180);
    pl.showCmd = SW_SHOWNORMAL;
    ASSERT_TRUE(SetWindowPlacement(&dlg, pl));
    EXPECT_EQ(dlg.geometry(), QRect(70, 80, 100, 100));
    SetWindowPos(&dlg, nullptr, 90, 95, 120, 110, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(dlg.geometry(), QRect(90, 95, 120, 110));

    ASSERT_TRUE(SetSkinnedFrame(&dlg, false));
    EXPECT_FALSE(dlg.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(dlg.isVisible());
}

TEST(WindowInfo, ChildrenOwnersAndTexts)
{
    QWidget top;
    auto* a = new QWidget(&top);
    auto* a1 = new QPushButton(QStringLiteral("&OK"), a);
    auto* b = new QLabel(QStringLiteral("Label"), &top);
    auto* edit = new QLineEdit(&top);
    std::vector<HWND> seen;
    EXPECT_TRUE(EnumChildWindows(&top, [&](HWND w) {
        seen.push_back(w);
        return true;
    }));
    // Top of the stacking order first, each child followed by its own children.
    EXPECT_EQ(seen, (std::vector<HWND>{edit, b, a, a1}));
    seen.clear();
    EXPECT_FALSE(EnumChildWindows(&top, [&](HWND w) {
        seen.push_back(w);
        return w != b;
    }));
    EXPECT_EQ(seen, (std::vector<HWND>{edit, b}));
    EXPECT_TRUE(IsChild(&top, a1));
    EXPECT_FALSE(IsChild(a, b));

    EXPECT_EQ(GetWindowText(a1), QStringLiteral("&OK"));
    EXPECT_EQ(GetWindowText(b), QStringLiteral("Label"));
    ASSERT_TRUE(SetWindowText(edit, QStringLiteral("typed")));
    EXPECT_EQ(edit->text(), QStringLiteral("typed"));
    EXPECT_EQ(GetWindowTextLength(edit), 5);
    QString got;
    EXPECT_EQ(SendMessage(edit, WM_GETTEXT, 4, LParamOf(&got)), 3); // room for three and the end
    EXPECT_EQ(got, QStringLiteral("typ"));

    QMessageBox box(&top);
    EXPECT_EQ(GetWindow(&box, GW_OWNER), &top);
    EXPECT_EQ(GetParent(&box), &top);
    EXPECT_EQ(GetWindow(&top, GW_OWNER), nullptr);
}

TEST(WindowInfo, RedrawWindowRepaintsTheFrameOnRequest)
{
    QDialog dlg;
    dlg.resize(120, 90);
    int ncPaints = 0;
    TWndProc old = SetWindowLong(&dlg, GWL_WNDPROC, [&](TMessage& m) {
        CallWindowProc(old, m);
        if (m.Msg == WM_NCCALCSIZE && m.WParam)
            reinterpret_cast<NCCALCSIZE_PARAMS*>(m.LParam)->rgrc[0].top += 10;
        if (m.Msg == WM_NCPAINT)
            ++ncPaints;
    });
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    ASSERT_EQ(NonClientInsets(&dlg), QMargins(0, 10, 0, 0));
    const int before = ncPaints;
    RedrawWindow(&dlg, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(ncPaints, before + 1);
    // The client alone: no frame paint.
    const TRect r(0, 0, 10, 10);
    RedrawWindow(&dlg, &r, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(ncPaints, before + 1);
    SetWindowLong(&dlg, GWL_WNDPROC, old);
}
