// The non-client area of a bare dialog driven by its window procedure.
#include "platform/hooks.h"
#include "platform/menus_api.h"
#include "platform/non_client.h"
#include "platform/window_info.h"
#include "platform/window_proc.h"
#include "test_support.h"

#include <QColorDialog>
#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QTimer>
#include <QMenu>
#include <QLayout>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSizeGrip>
#include <QSpinBox>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {
// A skin-like procedure: a frame of fixed widths around the client, a red
// band painted through the window painter, a caption over the top band.
struct TFrameProc {
    HWND Window = nullptr;
    TWndProc Old;
    QMargins Borders{6, 24, 6, 6};
    bool Active = false; // answers the frame messages only when set
    std::vector<TMessage> Seen;
    void Attach(HWND w)
    {
        Window = w;
        Old = SetWindowLong(w, GWL_WNDPROC, [this](TMessage& m) { Proc(m); });
    }
    void Proc(TMessage& m)
    {
        if (m.Msg >= WM_NCMOUSEMOVE && m.Msg <= WM_NCMBUTTONDBLCLK)
            Seen.push_back(m);
        if (m.Msg == WM_NCMOUSELEAVE)
            Seen.push_back(m);
        if (!Active) {
            CallWindowProc(Old, m);
            return;
        }
        switch (m.Msg) {
        case WM_NCCALCSIZE:
            CallWindowProc(Old, m);
            if (m.WParam) {
                auto* p = reinterpret_cast<NCCALCSIZE_PARAMS*>(m.LParam);
                const WINDOWPOS& pos = *p->lppos;
                p->rgrc[0] = TNCRect{pos.x + Borders.left(), pos.y + Borders.top(), pos.x + pos.cx - Borders.right(),
                                     pos.y + pos.cy - Borders.bottom()};
                p->rgrc[1] = p->rgrc[0];
            }
            return;
        case WM_NCHITTEST: {
            CallWindowProc(Old, m);
            TRect wr;
            GetWindowRect(Window, wr);
            const int y = HiWordSigned(m.LParam) - Window->mapToGlobal(QPoint(0, 0)).y();
            if ((m.Result == HTNOWHERE || m.Result == HTCAPTION) && y > 3)
                m.Result = HTCAPTION;
            return;
        }
        case WM_NCPAINT: {
            QPainter* p = GetWindowDC(Window);
            ASSERT_NE(p, nullptr);
            EXPECT_EQ(reinterpret_cast<QPainter*>(m.LParam), p);
            // Fill everything: the clip keeps the client untouched.
            p->fillRect(Window->rect(), Qt::red);
            m.Result = 0;
            return;
        }
        default:
            CallWindowProc(Old, m);
            return;
        }
    }
    int Count(unsigned msg) const
    {
        return static_cast<int>(std::count_if(Seen.begin(), Seen.end(), [msg](const TMessage& x) { return x.Msg == msg; }));
    }
};

struct TDialogFixture {
    QDialog Dialog;
    QPushButton* Button;
    TFrameProc Frame;
    TDialogFixture()
    {
        auto* layout = new QVBoxLayout(&Dialog);
        layout->setContentsMargins(0, 0, 0, 0);
        Button = new QPushButton(QStringLiteral("OK"));
        Button->setMinimumSize(10, 10);
        Button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        layout->addWidget(Button);
        Dialog.setGeometry(100, 120, 200, 150);
        Frame.Attach(&Dialog);
        Dialog.show();
    }
    // A subclasser undoes its subclassing before it goes.
    ~TDialogFixture() { SetWindowLong(&Dialog, GWL_WNDPROC, Frame.Old); }
    void Skin()
    {
        Frame.Active = true;
        SetSkinnedFrame(&Dialog, true);
        SetWindowPos(&Dialog, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
};
} // namespace

TEST(NonClient, UnskinnedWindowKeepsItsClientAndGetsNoFrameMessages)
{
    TDialogFixture f;
    EXPECT_TRUE(NonClientInsets(&f.Dialog).isNull());
    EXPECT_EQ(f.Button->geometry(), f.Dialog.rect());
    TRect cr;
    GetClientRect(&f.Dialog, cr);
    EXPECT_EQ(cr, TRect(0, 0, f.Dialog.width(), f.Dialog.height()));
    TestSupport::MouseMove(f.Button, QPoint(3, 3));
    EXPECT_EQ(f.Frame.Count(WM_NCMOUSEMOVE), 0);
    EXPECT_FALSE(f.Dialog.windowFlags() & Qt::FramelessWindowHint);
}

TEST(NonClient, CalcSizeInsetsPlaceTheClientAndFrameChangedAsksAgain)
{
    TDialogFixture f;
    f.Skin();
    EXPECT_TRUE(f.Dialog.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(NonClientInsets(&f.Dialog), f.Frame.Borders);
    // The dialog's contents move inside the client rectangle.
    EXPECT_EQ(f.Button->geometry(), f.Dialog.rect().marginsRemoved(f.Frame.Borders));
    TRect cr;
    GetClientRect(&f.Dialog, cr);
    EXPECT_EQ(cr, TRect(0, 0, f.Dialog.width() - 12, f.Dialog.height() - 30));
    EXPECT_EQ(ClientToScreen(&f.Dialog, TPoint(0, 0)), TPoint::From(f.Dialog.mapToGlobal(QPoint(6, 24))));

    // Thicker borders take effect on the next frame change, and a resize keeps them.
    f.Frame.Borders = QMargins(10, 30, 10, 10);
    EXPECT_EQ(NonClientInsets(&f.Dialog), QMargins(6, 24, 6, 6));
    SetWindowPos(&f.Dialog, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    EXPECT_EQ(NonClientInsets(&f.Dialog), f.Frame.Borders);
    EXPECT_EQ(f.Button->geometry(), f.Dialog.rect().marginsRemoved(f.Frame.Borders));
    f.Dialog.resize(260, 180);
    EXPECT_EQ(f.Button->geometry(), QRect(10, 30, 240, 140));

    // Unskinned again: no insets, the frame back.
    f.Frame.Active = false;
    SetSkinnedFrame(&f.Dialog, false);
    EXPECT_TRUE(NonClientInsets(&f.Dialog).isNull());
    EXPECT_EQ(f.Button->geometry(), f.Dialog.rect());
    EXPECT_FALSE(f.Dialog.windowFlags() & Qt::FramelessWindowHint);
}

TEST(NonClient, PaintGoesToTheBandOnly)
{
    TDialogFixture f;
    f.Skin();
    f.Button->hide(); // let the dialog's own background show in the client
    const QImage image = f.Dialog.grab().toImage();
    EXPECT_EQ(image.pixelColor(2, 2), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(f.Dialog.width() - 1, f.Dialog.height() - 1), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(5, 60), QColor(Qt::red));
    EXPECT_NE(image.pixelColor(6, 60), QColor(Qt::red));
    EXPECT_NE(image.pixelColor(100, 24), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(100, 23), QColor(Qt::red));
    EXPECT_EQ(GetWindowDC(&f.Dialog), nullptr); // only during WM_NCPAINT
}

TEST(NonClient, MouseOverTheBandBecomesNonClientMessagesAndTheCaptionDragsTheWindow)
{
    TDialogFixture f;
    f.Skin();
    const QPoint start = f.Dialog.pos();
    TestSupport::MouseMove(&f.Dialog, QPoint(50, 10));
    ASSERT_EQ(f.Frame.Count(WM_NCMOUSEMOVE), 1);
    const TMessage& move = f.Frame.Seen.back();
    EXPECT_EQ(move.WParam, WPARAM(HTCAPTION));
    EXPECT_EQ(QPoint(LoWordSigned(move.LParam), HiWordSigned(move.LParam)), f.Dialog.mapToGlobal(QPoint(50, 10)));

    // Press on the caption, drag by (25, 15): the window follows by hand (no window manager).
    const QPoint pressAt(50, 10);
    const QPoint global = f.Dialog.mapToGlobal(pressAt);
    TestSupport::MousePress(&f.Dialog, pressAt);
    EXPECT_EQ(f.Frame.Count(WM_NCLBUTTONDOWN), 1);
    TestSupport::MouseMove(&f.Dialog, f.Dialog.mapFromGlobal(global + QPoint(25, 15)), Qt::LeftButton);
    EXPECT_EQ(f.Dialog.pos(), start + QPoint(25, 15));
    TestSupport::MouseRelease(&f.Dialog, f.Dialog.mapFromGlobal(global + QPoint(25, 15)));
    TestSupport::MouseMove(&f.Dialog, QPoint(60, 12));
    EXPECT_EQ(f.Dialog.pos(), start + QPoint(25, 15)); // released: no more dragging

    // The top 3 rows are the sizing edge of the default procedure: a drag there resizes.
    const QSize size = f.Dialog.size();
    const QPoint edge(100, 1);
    const QPoint edgeGlobal = f.Dialog.mapToGlobal(edge);
    TestSupport::MousePress(&f.Dialog, edge);
    EXPECT_EQ(f.Frame.Seen.back().WParam, WPARAM(HTTOP));
    TestSupport::MouseMove(&f.Dialog, f.Dialog.mapFromGlobal(edgeGlobal + QPoint(0, -20)), Qt::LeftButton);
    TestSupport::MouseRelease(&f.Dialog, f.Dialog.mapFromGlobal(edgeGlobal + QPoint(0, -20)));
    EXPECT_EQ(f.Dialog.size(), size + QSize(0, 20));
    EXPECT_EQ(f.Button->geometry(), f.Dialog.rect().marginsRemoved(f.Frame.Borders));

    // Dragged far inwards from the bottom-right corner: never smaller than the band.
    f.Dialog.setMinimumSize(0, 0);
    const QPoint corner(f.Dialog.width() - 1, f.Dialog.height() - 1);
    const QPoint cornerGlobal = f.Dialog.mapToGlobal(corner);
    TestSupport::MousePress(&f.Dialog, corner);
    EXPECT_EQ(f.Frame.Seen.back().WParam, WPARAM(HTBOTTOMRIGHT));
    TestSupport::MouseMove(&f.Dialog, f.Dialog.mapFromGlobal(cornerGlobal - QPoint(1000, 1000)), Qt::LeftButton);
    TestSupport::MouseRelease(&f.Dialog, f.Dialog.mapFromGlobal(cornerGlobal - QPoint(1000, 1000)));
    EXPECT_GE(f.Dialog.width(), f.Frame.Borders.left() + f.Frame.Borders.right() + 1);
    EXPECT_GE(f.Dialog.height(), f.Frame.Borders.top() + f.Frame.Borders.bottom() + 1);
    EXPECT_LT(f.Dialog.width(), size.width());
    f.Dialog.resize(size + QSize(0, 20));

    // Right button on the caption: down and up with the hit code; leaving the band.
    TestSupport::MousePress(&f.Dialog, QPoint(80, 12), Qt::RightButton);
    EXPECT_EQ(f.Frame.Count(WM_NCRBUTTONDOWN), 1);
    QMenu* sys = GetSystemMenu(&f.Dialog, false);
    ASSERT_NE(sys, nullptr);
    TestSupport::MouseRelease(&f.Dialog, QPoint(80, 12), Qt::RightButton);
    EXPECT_EQ(f.Frame.Count(WM_NCRBUTTONUP), 1);
    EXPECT_TRUE(sys->isVisible()); // the default opens the system menu
    sys->close();
    TestSupport::MouseMove(&f.Dialog, QPoint(80, 12));
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&f.Dialog, &leave);
    EXPECT_EQ(f.Frame.Count(WM_NCMOUSELEAVE), 1);
}

TEST(NonClient, ClicksOnTheCaptionArriveAndOnlyADragMovesTheWindow)
{
    // A move started on the press would hand the mouse to the window manager,
    // which keeps the release and the double click from the window.
    TDialogFixture f;
    f.Skin();
    SetWindowLong(&f.Dialog, GWL_STYLE, GetWindowLong(&f.Dialog, GWL_STYLE) | WS_MAXIMIZEBOX);
    int entered = 0;
    TWndProc old = SetWindowLong(&f.Dialog, GWL_WNDPROC, [&](TMessage& m) {
        entered += m.Msg == WM_ENTERSIZEMOVE;
        CallWindowProc(old, m);
    });
    const QPoint start = f.Dialog.pos();
    const QPoint at(50, 10);
    TestSupport::MousePress(&f.Dialog, at);
    TestSupport::MouseMove(&f.Dialog, at + QPoint(1, 1), Qt::LeftButton); // a shaky click
    TestSupport::MouseRelease(&f.Dialog, at + QPoint(1, 1));
    EXPECT_EQ(f.Frame.Count(WM_NCLBUTTONUP), 1);
    EXPECT_EQ(entered, 0);
    EXPECT_EQ(f.Dialog.pos(), start);

    TestSupport::MouseDoubleClick(&f.Dialog, at);
    EXPECT_EQ(f.Frame.Count(WM_NCLBUTTONDBLCLK), 1);
    EXPECT_TRUE(IsZoomed(&f.Dialog));
    SendMessage(&f.Dialog, WM_SYSCOMMAND, SC_RESTORE, 0);
    ASSERT_EQ(f.Dialog.pos(), start);

    // Out of the drag rectangle the move starts, the window keeping up with the mouse.
    const QPoint global = f.Dialog.mapToGlobal(at);
    TestSupport::MousePress(&f.Dialog, at);
    TestSupport::MouseMove(&f.Dialog, at + QPoint(3, 0), Qt::LeftButton);
    EXPECT_EQ(entered, 1);
    EXPECT_EQ(f.Dialog.pos(), start + QPoint(3, 0));
    TestSupport::MouseMove(&f.Dialog, f.Dialog.mapFromGlobal(global + QPoint(20, -7)), Qt::LeftButton);
    TestSupport::MouseRelease(&f.Dialog, f.Dialog.mapFromGlobal(global + QPoint(20, -7)));
    EXPECT_EQ(f.Dialog.pos(), start + QPoint(20, -7));
    SetWindowLong(&f.Dialog, GWL_WNDPROC, old);
}

TEST(NonClient, AWindowMaximisedByHandStaysMaximisedWhenItsFrameComesAndGoes)
{
    // The frame given back and taken again: the window keeps covering the
    // screen (on X without a window manager nobody would maximise it with
    // the frame back) and is restored to the size it had.
    TDialogFixture f;
    f.Skin();
    SetWindowLong(&f.Dialog, GWL_STYLE, GetWindowLong(&f.Dialog, GWL_STYLE) | WS_MAXIMIZEBOX);
    const QRect normal = f.Dialog.geometry();
    TestSupport::MouseDoubleClick(&f.Dialog, QPoint(50, 10));
    ASSERT_TRUE(IsZoomed(&f.Dialog));
    const QRect area = f.Dialog.screen()->availableGeometry();
    ASSERT_EQ(f.Dialog.geometry(), area);
    for (int i = 0; i < 2; ++i) {
        f.Frame.Active = false;
        SetSkinnedFrame(&f.Dialog, false);
        QCoreApplication::processEvents();
        EXPECT_TRUE(IsZoomed(&f.Dialog)) << i;
        EXPECT_TRUE(f.Dialog.frameGeometry().contains(area)) << i;
        f.Skin();
        QCoreApplication::processEvents();
        EXPECT_TRUE(IsZoomed(&f.Dialog)) << i;
        EXPECT_TRUE(f.Dialog.frameGeometry().contains(area)) << i;
    }
    f.Frame.Active = false;
    SetSkinnedFrame(&f.Dialog, false);
    SendMessage(&f.Dialog, WM_SYSCOMMAND, SC_RESTORE, 0);
    QCoreApplication::processEvents();
    EXPECT_FALSE(IsZoomed(&f.Dialog));
    EXPECT_EQ(f.Dialog.geometry(), normal);
}

TEST(NonClient, AChangeOfFrameKeepsTheClientAndTheRestoreSizeInEveryPlacement)
{
    // Skin on, switched to thicker borders, off: the client keeps its size,
    // and a maximised or minimised window keeps its placement and is restored
    // to that client.
    const QMargins thin(6, 24, 6, 6);
    const QMargins thick(10, 30, 12, 8);
    const QSize client(200, 150);
    enum TPlace { pNormal, pManager, pByHand, pMinimized, pMinimizedZoomed };
    for (TPlace place : {pNormal, pManager, pByHand, pMinimized, pMinimizedZoomed}) {
        TDialogFixture f;
        SetWindowLong(&f.Dialog, GWL_STYLE, GetWindowLong(&f.Dialog, GWL_STYLE) | WS_MAXIMIZEBOX | WS_MINIMIZEBOX);
        QCoreApplication::processEvents();
        ASSERT_EQ(f.Dialog.size(), client);
        auto on = [&](QMargins borders) {
            ChangeFrameKeepingClient(&f.Dialog, [&] {
                f.Frame.Borders = borders;
                f.Frame.Active = true;
                SetSkinnedFrame(&f.Dialog, true);
            });
            QCoreApplication::processEvents();
        };
        auto off = [&] {
            ChangeFrameKeepingClient(&f.Dialog, [&] {
                f.Frame.Active = false;
                SetSkinnedFrame(&f.Dialog, false);
            });
            QCoreApplication::processEvents();
        };
        auto clientSize = [&] {
            TRect r;
            GetClientRect(&f.Dialog, r);
            return QSize(r.Width(), r.Height());
        };
        auto placed = [&] {
            switch (place) {
            case pNormal:
                return !IsZoomed(&f.Dialog) && !IsIconic(&f.Dialog);
            case pManager:
            case pByHand:
                return IsZoomed(&f.Dialog) && !IsIconic(&f.Dialog) &&
                       f.Dialog.frameGeometry().contains(f.Dialog.screen()->availableGeometry());
            default:
                return IsIconic(&f.Dialog);
            }
        };
        // The client it is restored to, and then the placement again.
        auto restoredClient = [&] {
            if (place == pNormal)
                return clientSize();
            if (place == pMinimizedZoomed)
                SendMessage(&f.Dialog, WM_SYSCOMMAND, SC_RESTORE, 0); // to maximised first
            SendMessage(&f.Dialog, WM_SYSCOMMAND, SC_RESTORE, 0);
            QCoreApplication::processEvents();
            EXPECT_FALSE(IsZoomed(&f.Dialog) || IsIconic(&f.Dialog)) << place;
            const QSize size = clientSize();
            if (place == pManager || place == pByHand || place == pMinimizedZoomed)
                SendMessage(&f.Dialog, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
            if (place == pMinimized || place == pMinimizedZoomed)
                f.Dialog.showMinimized();
            QCoreApplication::processEvents();
            return size;
        };
        if (place == pManager)
            f.Dialog.showMaximized(); // with its own frame: the window manager's
        else if (place == pMinimized)
            f.Dialog.showMinimized();
        on(thin);
        if (place == pByHand || place == pMinimizedZoomed)
            SendMessage(&f.Dialog, WM_SYSCOMMAND, SC_MAXIMIZE, 0); // frameless: by hand
        if (place == pMinimizedZoomed)
            f.Dialog.showMinimized();
        QCoreApplication::processEvents();
        // The client stays where it is (pos() would be the frame's place).
        const QPoint at = f.Dialog.geometry().topLeft();
        ASSERT_TRUE(placed()) << place;
        EXPECT_EQ(restoredClient(), client) << place;
        ASSERT_TRUE(placed()) << place;

        on(thick);
        EXPECT_EQ(NonClientInsets(&f.Dialog), thick) << place;
        EXPECT_TRUE(placed()) << place;
        EXPECT_EQ(restoredClient(), client) << place;

        off();
        EXPECT_TRUE(NonClientInsets(&f.Dialog).isNull()) << place;
        EXPECT_FALSE(IsFrameRemoved(&f.Dialog)) << place;
        EXPECT_TRUE(placed()) << place;
        EXPECT_EQ(restoredClient(), client) << place;
        if (place == pNormal) {
            EXPECT_EQ(f.Dialog.size(), client);
            EXPECT_EQ(f.Dialog.geometry().topLeft(), at);
        }
    }
}

TEST(NonClient, ClicksOnTheBorderDoNotSizeAndOnlyADragSizesTheWindow)
{
    // A size started on the press goes to the window manager, which misses a
    // quick release and keeps sizing the window after the pointer.
    TDialogFixture f;
    f.Skin();
    int entered = 0;
    int exited = 0;
    TWndProc old = SetWindowLong(&f.Dialog, GWL_WNDPROC, [&](TMessage& m) {
        entered += m.Msg == WM_ENTERSIZEMOVE;
        exited += m.Msg == WM_EXITSIZEMOVE;
        CallWindowProc(old, m);
    });
    const QRect start = f.Dialog.geometry();
    const int w = f.Dialog.width();
    const int h = f.Dialog.height();
    const QPoint edges[] = {{w / 2, h - 1}, {w - 1, h / 2}, {0, h / 2}, {w / 2, 1}, {0, 0}, {w - 1, h - 1}, {0, h - 1}, {w - 1, 1}};
    for (const QPoint at : edges) {
        TestSupport::MousePress(&f.Dialog, at);
        TestSupport::MouseMove(&f.Dialog, at + QPoint(1, -1), Qt::LeftButton); // a shaky click
        TestSupport::MouseRelease(&f.Dialog, at + QPoint(1, -1));
        TestSupport::MouseMove(&f.Dialog, QPoint(w / 2, h / 2));
        EXPECT_EQ(entered, 0) << at.x() << "," << at.y();
        EXPECT_EQ(f.Dialog.geometry(), start);
    }
    EXPECT_EQ(f.Frame.Count(WM_NCLBUTTONUP), 8);

    // A drag from the bottom border sizes from the press on, and stops at the release.
    const QPoint at(w / 2, h - 1);
    const QPoint global = f.Dialog.mapToGlobal(at);
    TestSupport::MousePress(&f.Dialog, at);
    TestSupport::MouseMove(&f.Dialog, at + QPoint(0, 5), Qt::LeftButton);
    EXPECT_EQ(entered, 1);
    EXPECT_EQ(f.Dialog.height(), h + 5);
    TestSupport::MouseMove(&f.Dialog, f.Dialog.mapFromGlobal(global + QPoint(0, 30)), Qt::LeftButton);
    TestSupport::MouseRelease(&f.Dialog, f.Dialog.mapFromGlobal(global + QPoint(0, 30)));
    EXPECT_EQ(exited, 1);
    TestSupport::MouseMove(&f.Dialog, f.Dialog.mapFromGlobal(global + QPoint(0, 60)));
    EXPECT_EQ(f.Dialog.geometry(), start.adjusted(0, 0, 0, 30));
    SetWindowLong(&f.Dialog, GWL_WNDPROC, old);
}

TEST(NonClient, ADialogsSizeGripStaysInTheCornerOfItsClient)
{
    TDialogFixture f;
    f.Dialog.setSizeGripEnabled(true);
    auto* grip = f.Dialog.findChild<QSizeGrip*>();
    ASSERT_NE(grip, nullptr);
    const auto corner = [&] { return grip->geometry().bottomRight() + QPoint(1, 1); };
    f.Skin();
    EXPECT_EQ(corner(), f.Dialog.rect().marginsRemoved(f.Frame.Borders).bottomRight() + QPoint(1, 1));
    f.Dialog.resize(f.Dialog.size() + QSize(30, 20)); // the dialog puts it back on the frame here
    EXPECT_EQ(corner(), f.Dialog.rect().marginsRemoved(f.Frame.Borders).bottomRight() + QPoint(1, 1));
    // Without the frame band it is the window's corner again.
    f.Frame.Active = false;
    SetSkinnedFrame(&f.Dialog, false);
    EXPECT_EQ(corner(), QPoint(f.Dialog.width(), f.Dialog.height()));
}

TEST(NonClient, SystemCommandsAndTheSystemMenu)
{
    TDialogFixture f;
    f.Skin();
    QMenu* sys = GetSystemMenu(&f.Dialog, false);
    ASSERT_NE(sys, nullptr);
    EXPECT_EQ(GetSystemMenu(&f.Dialog, false), sys);
    std::vector<unsigned> ids;
    for (int i = 0; i < GetMenuItemCount(sys); ++i)
        ids.push_back(GetMenuItemID(sys, i));
    EXPECT_EQ(ids, (std::vector<unsigned>{SC_RESTORE, SC_MOVE, SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE, 0, SC_CLOSE}));
    MENUITEMINFO info;
    info.fMask = MIIM_STATE | MIIM_ID | MIIM_STRING;
    ASSERT_TRUE(GetMenuItemInfo(sys, SC_RESTORE, false, info));
    EXPECT_EQ(info.fState & MFS_GRAYED, unsigned(MFS_GRAYED)); // a normal window cannot be restored
    ASSERT_TRUE(GetMenuItemInfo(sys, SC_CLOSE, false, info));
    EXPECT_EQ(info.fState & MFS_GRAYED, 0u);
    EXPECT_TRUE(info.dwTypeData.contains(QLatin1Char('\t')));

    // A dialog has no maximise box, so the item is disabled until the style gets one.
    ASSERT_TRUE(GetMenuItemInfo(sys, SC_MAXIMIZE, false, info));
    EXPECT_EQ(info.fState & MFS_GRAYED, unsigned(MFS_GRAYED));
    SetWindowLong(&f.Dialog, GWL_STYLE, GetWindowLong(&f.Dialog, GWL_STYLE) | WS_MAXIMIZEBOX);
    ASSERT_TRUE(GetMenuItemInfo(GetSystemMenu(&f.Dialog, false), SC_MAXIMIZE, false, info));
    EXPECT_EQ(info.fState & MFS_GRAYED, 0u);

    // Choosing an item posts WM_SYSCOMMAND; the default maximises the frameless window.
    std::vector<WPARAM> commands;
    TWndProc old = SetWindowLong(&f.Dialog, GWL_WNDPROC, [&](TMessage& m) {
        if (m.Msg == WM_SYSCOMMAND)
            commands.push_back(m.WParam);
        CallWindowProc(old, m);
    });
    for (QAction* a : sys->actions())
        if (MenuItemCommand(a) == SC_MAXIMIZE)
            a->trigger();
    QCoreApplication::sendPostedEvents(&f.Dialog);
    EXPECT_EQ(commands, (std::vector<WPARAM>{SC_MAXIMIZE}));
    EXPECT_TRUE(IsZoomed(&f.Dialog));
    ASSERT_TRUE(GetMenuItemInfo(GetSystemMenu(&f.Dialog, false), SC_RESTORE, false, info));
    EXPECT_EQ(info.fState & MFS_GRAYED, 0u);
    SendMessage(&f.Dialog, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(IsZoomed(&f.Dialog));
    SendMessage(&f.Dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(f.Dialog.isVisible());
    SetWindowLong(&f.Dialog, GWL_WNDPROC, old);
}

namespace {
// A dialog with a spin box that has the focus and a default button: the keys
// a keyboard move or size takes would change the value or accept the dialog.
struct TKeyDialog {
    QDialog Dialog;
    QSpinBox* Spin;
    TKeyDialog()
    {
        auto* layout = new QVBoxLayout(&Dialog);
        Spin = new QSpinBox;
        Spin->setRange(-10, 10);
        layout->addWidget(Spin);
        auto* ok = new QPushButton(QStringLiteral("OK"));
        ok->setDefault(true);
        QObject::connect(ok, &QPushButton::clicked, &Dialog, &QDialog::accept);
        layout->addWidget(ok);
        Dialog.setGeometry(200, 150, 220, 140);
        Dialog.show();
        QApplication::setActiveWindow(&Dialog);
        Spin->setFocus();
        QCoreApplication::processEvents();
    }
    void Keys(std::initializer_list<Qt::Key> keys)
    {
        for (Qt::Key k : keys)
            QTest::keyClick(Spin, k);
    }
};
} // namespace

TEST(NonClient, TheKeyboardMovesAndSizesFromTheSystemMenuAndNoKeyReachesTheClient)
{
    TKeyDialog d;
    ASSERT_TRUE(GetWindowLong(&d.Dialog, GWL_STYLE) & WS_THICKFRAME);
    const QPoint start = d.Dialog.pos();
    int accepted = 0;
    QObject::connect(&d.Dialog, &QDialog::accepted, [&] { ++accepted; });

    // Move: the arrows move the window, Escape puts it back.
    SendMessage(&d.Dialog, WM_SYSCOMMAND, SC_MOVE, 0);
    d.Keys({Qt::Key_Down, Qt::Key_Down, Qt::Key_Right});
    EXPECT_EQ(d.Dialog.pos(), start + QPoint(8, 16));
    d.Keys({Qt::Key_Escape});
    EXPECT_EQ(d.Dialog.pos(), start);
    EXPECT_TRUE(d.Dialog.isVisible()); // Escape did not reject the dialog
    // Enter ends where it is, and does not accept the dialog.
    SendMessage(&d.Dialog, WM_SYSCOMMAND, SC_MOVE, 0);
    d.Keys({Qt::Key_Up, Qt::Key_Left, Qt::Key_A, Qt::Key_Return});
    EXPECT_EQ(d.Dialog.pos(), start + QPoint(-8, -8));
    EXPECT_EQ(d.Spin->value(), 0);
    EXPECT_EQ(accepted, 0);
    EXPECT_TRUE(d.Dialog.isVisible());

    // Size: the first arrow of each direction picks the edge.
    const QRect moved = d.Dialog.geometry();
    SendMessage(&d.Dialog, WM_SYSCOMMAND, SC_SIZE, 0);
    d.Keys({Qt::Key_Right, Qt::Key_Right, Qt::Key_Down});
    EXPECT_EQ(d.Dialog.geometry(), moved.adjusted(0, 0, 16, 8));
    d.Keys({Qt::Key_Escape});
    EXPECT_EQ(d.Dialog.geometry(), moved);
    SendMessage(&d.Dialog, WM_SYSCOMMAND, SC_SIZE, 0);
    d.Keys({Qt::Key_Left, Qt::Key_Up, Qt::Key_Enter});
    EXPECT_EQ(d.Dialog.geometry(), moved.adjusted(-8, -8, 0, 0));
    EXPECT_EQ(d.Spin->value(), 0);
    EXPECT_EQ(accepted, 0);

    // Over: the keys are the client's again.
    d.Keys({Qt::Key_Up});
    EXPECT_EQ(d.Spin->value(), 1);
}

TEST(NonClient, AFixedWindowHasNoSizeAndItsBorderNeitherSizesNorMoves)
{
    TKeyDialog d;
    d.Dialog.setFixedSize(d.Dialog.size());
    TFrameProc frame;
    frame.Attach(&d.Dialog);
    frame.Active = true;
    SetSkinnedFrame(&d.Dialog, true);
    SetWindowPos(&d.Dialog, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    ASSERT_FALSE(GetWindowLong(&d.Dialog, GWL_STYLE) & WS_THICKFRAME);
    // "Velikost" is disabled; asked anyway, the keys stay the client's.
    MENUITEMINFO info;
    info.fMask = MIIM_STATE;
    QMenu* sys = GetSystemMenu(&d.Dialog, false);
    QMetaObject::invokeMethod(sys, "aboutToShow");
    ASSERT_TRUE(GetMenuItemInfo(sys, SC_SIZE, false, info));
    EXPECT_EQ(info.fState & MFS_GRAYED, unsigned(MFS_GRAYED));
    const QRect g = d.Dialog.geometry();
    SendMessage(&d.Dialog, WM_SYSCOMMAND, SC_SIZE, 0);
    d.Keys({Qt::Key_Up});
    EXPECT_EQ(d.Dialog.geometry(), g);
    EXPECT_EQ(d.Spin->value(), 1);

    // The left, right and bottom bands are border; a drag there leaves the window where it is.
    const QPoint left(2, d.Dialog.height() / 2);
    const QPoint bottom(d.Dialog.width() / 2, d.Dialog.height() - 2);
    for (const QPoint at : {left, bottom}) {
        const LPARAM screen = MakeLParam(d.Dialog.mapToGlobal(at).x(), d.Dialog.mapToGlobal(at).y());
        EXPECT_EQ(SendMessage(&d.Dialog, WM_NCHITTEST, 0, screen), HTBORDER);
        TestSupport::MousePress(&d.Dialog, at);
        TestSupport::MouseMove(&d.Dialog, at + QPoint(30, 30), Qt::LeftButton);
        TestSupport::MouseRelease(&d.Dialog, at + QPoint(30, 30));
        EXPECT_EQ(d.Dialog.geometry(), g);
    }
    SetWindowLong(&d.Dialog, GWL_WNDPROC, frame.Old);
}

TEST(NonClient, WindowRegionIsStoredAndCleared)
{
    QDialog dlg;
    dlg.resize(100, 80);
    EXPECT_FALSE(GetWindowRgn(&dlg).has_value());
    TRegion r = CreateRectRgn(0, 0, 100, 80);
    CombineRgn(r, r, CreateEllipticRgn(0, 0, 20, 20), RGN_DIFF);
    ASSERT_TRUE(SetWindowRgn(&dlg, r, true));
    ASSERT_TRUE(GetWindowRgn(&dlg).has_value());
    EXPECT_EQ(*GetWindowRgn(&dlg), r);
    EXPECT_EQ(dlg.mask(), r.ToQRegion());
    ASSERT_TRUE(SetWindowRgn(&dlg, std::nullopt, true));
    EXPECT_FALSE(GetWindowRgn(&dlg).has_value());
    EXPECT_TRUE(dlg.mask().isEmpty());
}

TEST(NonClient, SkinnedMessageBoxKeepsTheSizeItIsGiven)
{
    QMessageBox box(QMessageBox::Information, QStringLiteral("Title"), QStringLiteral("Some text"));
    box.show();
    QCoreApplication::processEvents();
    const QSize natural = box.size();
    ASSERT_TRUE(SetSkinnedFrame(&box, true));
    SetWindowPos(&box, nullptr, 0, 0, natural.width() + 60, natural.height() + 20, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_NE(box.layout(), nullptr);
    const QMargins margins = box.layout()->contentsMargins();
    box.layout()->setContentsMargins(margins + QMargins(30, 0, 30, 0)); // asks for a new layout
    QCoreApplication::processEvents();
    EXPECT_EQ(box.size(), natural + QSize(60, 20));
    // Unskinned, it fits itself to its contents again as Qt does.
    ASSERT_TRUE(SetSkinnedFrame(&box, false));
    box.layout()->setContentsMargins(margins);
    QCoreApplication::processEvents();
    EXPECT_EQ(box.size(), natural);
}

TEST(NonClient, AnIdleSkinnedMessageBoxLaysItselfOutNoMore)
{
    // Each layout request of a box under a skinned frame must not ask for the next.
    QMessageBox box(QMessageBox::Question, QStringLiteral("Title"), QStringLiteral("Some text"),
                    QMessageBox::Yes | QMessageBox::No);
    box.show();
    QCoreApplication::processEvents();
    ASSERT_TRUE(SetSkinnedFrame(&box, true));
    box.layout()->invalidate(); // one request, as a change of its contents makes
    struct TCounter : QObject {
        int Requests = 0;
        bool eventFilter(QObject*, QEvent* e) override
        {
            Requests += e->type() == QEvent::LayoutRequest;
            return false;
        }
    } counter;
    box.installEventFilter(&counter);
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 1000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    box.removeEventFilter(&counter);
    EXPECT_LE(counter.Requests, 2);
    EXPECT_TRUE(box.isVisible());
}

TEST(NonClient, PassThroughSubclassingLeavesAMessageBoxLookingAsBefore)
{
    QMessageBox plain(QMessageBox::Warning, QStringLiteral("T"), QStringLiteral("Same text"));
    QMessageBox subclassed(QMessageBox::Warning, QStringLiteral("T"), QStringLiteral("Same text"));
    std::vector<unsigned> seen;
    TWndProc old = SetWindowLong(&subclassed, GWL_WNDPROC, [&](TMessage& m) {
        seen.push_back(m.Msg);
        CallWindowProc(old, m);
    });
    plain.show();
    subclassed.show();
    QCoreApplication::processEvents();
    ASSERT_EQ(plain.size(), subclassed.size());
    EXPECT_EQ(plain.grab().toImage(), subclassed.grab().toImage());
    EXPECT_NE(std::find(seen.begin(), seen.end(), unsigned(WM_ERASEBKGND)), seen.end());
    EXPECT_NE(std::find(seen.begin(), seen.end(), unsigned(WM_NCCALCSIZE)), seen.end());
    EXPECT_TRUE(NonClientInsets(&subclassed).isNull());
    SetWindowLong(&subclassed, GWL_WNDPROC, old);
}

TEST(NonClient, SizeMessagesTellTheClientSizeAndTheStateAndWindowsPrintThemselves)
{
    TDialogFixture f;
    std::vector<std::pair<WPARAM, LPARAM>> sizes;
    TWndProc old = SetWindowLong(&f.Dialog, GWL_WNDPROC, [&](TMessage& m) {
        if (m.Msg == WM_SIZE)
            sizes.emplace_back(m.WParam, m.LParam);
        CallWindowProc(old, m);
    });
    f.Skin();
    sizes.clear();
    f.Dialog.resize(220, 160);
    ASSERT_FALSE(sizes.empty());
    EXPECT_EQ(sizes.back().first, WPARAM(SIZE_RESTORED));
    EXPECT_EQ(sizes.back().second, MakeLParam(220 - 12, 160 - 30)); // the client, not the window
    SendMessage(&f.Dialog, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    EXPECT_EQ(sizes.back().first, WPARAM(SIZE_MAXIMIZED));
    SendMessage(&f.Dialog, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_EQ(sizes.back().first, WPARAM(SIZE_RESTORED));

    // WM_PRINT draws the window with its frame band into the painter.
    QImage image(f.Dialog.size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        EXPECT_EQ(SendMessage(&f.Dialog, WM_PRINT, WParamOf(&p), 0), 1);
    }
    EXPECT_EQ(image.pixelColor(2, 2), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(50, 60), f.Button->grab().toImage().pixelColor(50 - 6, 60 - 24));
    SetWindowLong(&f.Dialog, GWL_WNDPROC, old);
}

TEST(NonClient, QtDialogsRunModallyUnderASkinnedFrame)
{
    QFileDialog file(nullptr, QStringLiteral("Open"));
    file.setOption(QFileDialog::DontUseNativeDialog, true);
    QColorDialog colour;
    colour.setOption(QColorDialog::DontUseNativeDialog, true);
    for (QDialog* dialog : std::initializer_list<QDialog*>{&file, &colour}) {
        TFrameProc frame;
        frame.Active = true;
        HHOOK hook = 0;
        hook = SetWindowsHookEx(WH_CBT, [&](int code, WPARAM w, LPARAM l) -> LRESULT {
            if (code == HCBT_ACTIVATE && HwndOf(w) == dialog && !frame.Window) {
                frame.Attach(dialog);
                SetSkinnedFrame(dialog, true);
                SetWindowPos(dialog, nullptr, 0, 0, dialog->width() + 12, dialog->height() + 30,
                             SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
            }
            return CallNextHookEx(hook, code, w, l);
        });
        bool ranToTheTimer = false;
        QTimer::singleShot(200, dialog, [&] {
            ranToTheTimer = dialog->isVisible();
            dialog->reject();
        });
        dialog->exec();
        EXPECT_TRUE(ranToTheTimer) << dialog->metaObject()->className();
        EXPECT_NE(frame.Window, nullptr) << dialog->metaObject()->className();
        EXPECT_EQ(NonClientInsets(dialog), frame.Borders);
        UnhookWindowsHookEx(hook);
        if (frame.Window)
            SetWindowLong(dialog, GWL_WNDPROC, frame.Old);
        SetSkinnedFrame(dialog, false);
    }
}
