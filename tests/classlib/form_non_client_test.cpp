// A form's window under the platform's window calls: its class names and
// styles, its client at the non-client insets, its menu bar taken off and back.
#include "classlib/controls/std_controls.h"
#include "classlib/forms/form.h"
#include "classlib/forms/menus.h"
#include "classlib/forms/message_box.h"
#include "platform/menus_api.h"
#include "platform/non_client.h"
#include "platform/window_info.h"
#include "platform/window_proc.h"
#include "test_support.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {
struct TFrmProbe : TForm {
    TV_CLASS_NAME(TFrmProbe)
    explicit TFrmProbe(TComponent* owner) : TForm(owner) { SetBounds(40, 50, 400, 300); }
};

uint32_t Style(HWND w) { return static_cast<uint32_t>(GetWindowLong(w, GWL_STYLE)); }
uint32_t ExStyle(HWND w) { return static_cast<uint32_t>(GetWindowLong(w, GWL_EXSTYLE)); }

// Answers WM_NCCALCSIZE with fixed borders while Borders is set.
struct TInsetProc {
    HWND Window = nullptr;
    TWndProc Old;
    QMargins Borders;
    void Attach(HWND w)
    {
        Window = w;
        Old = SetWindowLong(w, GWL_WNDPROC, [this](TMessage& m) {
            CallWindowProc(Old, m);
            if (m.Msg == WM_NCCALCSIZE && m.WParam) {
                auto* p = reinterpret_cast<NCCALCSIZE_PARAMS*>(m.LParam);
                p->rgrc[0].left += Borders.left();
                p->rgrc[0].top += Borders.top();
                p->rgrc[0].right -= Borders.right();
                p->rgrc[0].bottom -= Borders.bottom();
            }
        });
    }
    void Detach() { SetWindowLong(Window, GWL_WNDPROC, Old); }
};

void FrameChanged(HWND w)
{
    SetWindowPos(w, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}
} // namespace

TEST(FormNonClient, ClassNamesAndStylesOfFormsAndTheirControls)
{
    TFrmProbe form(nullptr);
    auto* button = new TButton(&form);
    button->SetParent(&form);
    EXPECT_EQ(GetClassName(form.Window()), QStringLiteral("TFrmProbe"));
    EXPECT_EQ(GetClassName(button->Handle()), QStringLiteral("TButton"));
    EXPECT_EQ(GetWindowLong(form.Window(), GWL_HINSTANCE), kProgramInstance);

    // Sizeable with all icons.
    uint32_t s = Style(form.Window());
    EXPECT_EQ(s & WS_CAPTION, uint32_t(WS_CAPTION));
    EXPECT_EQ(s & (WS_THICKFRAME | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX),
              uint32_t(WS_THICKFRAME | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_FALSE(s & (WS_CHILD | WS_VISIBLE | DS_MODALFRAME));
    EXPECT_TRUE(Style(button->Handle()) & WS_CHILD);

    form.SetBorderStyle(bsDialog);
    s = Style(form.Window());
    EXPECT_TRUE(s & DS_MODALFRAME);
    EXPECT_TRUE(s & WS_SYSMENU);
    EXPECT_FALSE(s & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_TRUE(ExStyle(form.Window()) & WS_EX_DLGMODALFRAME);
    form.SetBorderStyle(bsToolWindow);
    EXPECT_TRUE(ExStyle(form.Window()) & WS_EX_TOOLWINDOW);
    form.SetBorderStyle(bsNone);
    EXPECT_EQ(Style(form.Window()) & (WS_CAPTION | WS_POPUP), uint32_t(WS_POPUP));

    form.SetBorderStyle(bsSizeable);
    form.Show();
    EXPECT_TRUE(Style(form.Window()) & WS_VISIBLE);
    // The caption taken away: frameless; a border-style change keeps it so.
    SetWindowLong(form.Window(), GWL_STYLE, Style(form.Window()) & ~WS_CAPTION);
    EXPECT_TRUE(form.Window()->windowFlags() & Qt::FramelessWindowHint);
    form.SetBorderIcons(biSystemMenu);
    EXPECT_TRUE(form.Window()->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(form.Window()->isVisible());
    SetWindowLong(form.Window(), GWL_STYLE, Style(form.Window()) | WS_CAPTION);
    EXPECT_FALSE(form.Window()->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_FALSE(form.Window()->windowFlags() & Qt::WindowMinimizeButtonHint); // the new icons hold
}

TEST(FormNonClient, ClientSitsAtTheInsetsAndKeepsItsSizeThroughTheMenuBar)
{
    TFrmProbe form(nullptr);
    auto* menu = new TMainMenu(&form);
    auto* file = new TMenuItem(&form);
    file->SetCaption(QStringLiteral("Soubor"));
    menu->Items()->Add(file);
    form.SetMenu(menu);
    form.Show();
    QWidget* window = form.Window();
    QMenuBar* bar = form.MenuBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(GetMenu(window), bar);
    const int barHeight = bar->sizeHint().height();
    ASSERT_GT(barHeight, 0);

    // Unskinned: as before, the bar on top and the client below it.
    EXPECT_EQ(form.Handle()->geometry(), QRect(0, barHeight, 400, 300 - barHeight));
    EXPECT_EQ(form.ClientHeight(), 300 - barHeight);

    // The menu bar taken off: the client gets its strip, the window keeps its size.
    ASSERT_TRUE(SetMenu(window, nullptr));
    EXPECT_EQ(GetMenu(window), nullptr);
    EXPECT_TRUE(bar->isHidden());
    EXPECT_EQ(window->size(), QSize(400, 300));
    EXPECT_EQ(form.ClientHeight(), 300);
    EXPECT_EQ(form.Handle()->geometry(), QRect(0, 0, 400, 300));
    // Rebuilding the main menu does not bring the bar back by itself.
    form.RebuildMenuBar();
    EXPECT_TRUE(bar->isHidden());

    // A frame answered by the window procedure: the client moves inside it.
    TInsetProc frame;
    frame.Attach(window);
    frame.Borders = QMargins(4, 22, 4, 4);
    FrameChanged(window);
    EXPECT_EQ(NonClientInsets(window), frame.Borders);
    EXPECT_EQ(form.Handle()->geometry(), QRect(4, 22, 392, 274));
    EXPECT_EQ(form.ClientWidth(), 392);
    EXPECT_EQ(form.ClientHeight(), 274);
    TRect cr;
    GetClientRect(window, cr);
    EXPECT_EQ(cr, TRect(0, 0, 392, 274));

    // The bar comes back inside the frame, above the client.
    ASSERT_TRUE(SetMenu(window, bar));
    EXPECT_FALSE(bar->isHidden());
    EXPECT_EQ(bar->geometry(), QRect(4, 22, 392, barHeight));
    EXPECT_EQ(form.Handle()->geometry(), QRect(4, 22 + barHeight, 392, 274 - barHeight));

    // Client size asked of the form includes the frame and the bar.
    form.SetClientSize(300, 200);
    EXPECT_EQ(window->size(), QSize(308, 200 + 26 + barHeight));
    EXPECT_EQ(form.Handle()->size(), QSize(300, 200));

    // The frame goes: everything as it was.
    frame.Borders = QMargins();
    FrameChanged(window);
    frame.Detach();
    EXPECT_EQ(form.Handle()->geometry(), QRect(0, barHeight, 308, 226));
}

TEST(FormNonClient, MenuKeysReachAWindowThatDrawsItsOwnMenuBar)
{
    TFrmProbe form(nullptr);
    auto* edit = new TEdit(&form);
    edit->SetParent(&form);
    form.Show();
    QTest::qWait(1);
    edit->SetFocus();
    ASSERT_EQ(QApplication::focusWidget(), edit->Handle());
    QWidget* window = form.Window();
    std::vector<LPARAM> keyMenus;
    std::vector<WPARAM> dialogChars;
    auto record = [&](TMessage& m, const TWndProc& old) {
        if (m.Msg == WM_SYSCOMMAND && (m.WParam & 0xFFF0) == SC_KEYMENU) {
            keyMenus.push_back(m.LParam);
            m.Result = m.LParam == 'f' || m.LParam == 0 ? 1 : 0;
            return;
        }
        CallWindowProc(old, m);
    };
    // Unskinned: the keys stay the controls' own.
    QTest::keyClick(edit->Handle(), Qt::Key_F, Qt::AltModifier);
    TWndMethod formProc = form.WindowProc;
    form.WindowProc = [&](TMessage& m) {
        if (m.Msg == CM_DIALOGCHAR)
            dialogChars.push_back(m.WParam);
        formProc(m);
    };
    TWndProc old;
    old = SetWindowLong(window, GWL_WNDPROC, [&](TMessage& m) { record(m, old); });
    QTest::keyClick(edit->Handle(), Qt::Key_F, Qt::AltModifier);
    QTest::keyClick(edit->Handle(), Qt::Key_X, Qt::AltModifier);
    EXPECT_EQ(dialogChars, (std::vector<WPARAM>{'f', 'x'}));
    // Alt alone, pressed and released: the first item of the bar.
    QTest::keyPress(edit->Handle(), Qt::Key_Alt, Qt::AltModifier);
    QTest::keyRelease(edit->Handle(), Qt::Key_Alt);
    EXPECT_EQ(keyMenus, (std::vector<LPARAM>{'f', 'x', 0}));
    // With Qt's menu bar on the window the keys are Qt's again.
    auto* menu = new TMainMenu(&form);
    auto* file = new TMenuItem(&form);
    file->SetCaption(QStringLiteral("&Soubor"));
    menu->Items()->Add(file);
    form.SetMenu(menu);
    QTest::keyClick(edit->Handle(), Qt::Key_Q, Qt::AltModifier);
    EXPECT_EQ(keyMenus.size(), 3u);
    SetWindowLong(window, GWL_WNDPROC, old);
    form.WindowProc = formProc;
}

// Keys typed on the screen reach the QWindow first and then the focused
// control: Alt counts as alone once per press and release, whichever way.
TEST(FormNonClient, AltAloneFromTheScreenSelectsTheFirstMenu)
{
    TFrmProbe form(nullptr);
    auto* edit = new TEdit(&form);
    edit->SetParent(&form);
    auto* menu = new TMainMenu(&form);
    auto* file = new TMenuItem(&form);
    file->SetCaption(QStringLiteral("&Soubor"));
    menu->Items()->Add(file);
    auto* edits = new TMenuItem(&form);
    edits->SetCaption(QStringLiteral("Ú&pravy"));
    menu->Items()->Add(edits);
    form.SetMenu(menu);
    form.Show();
    QTest::qWait(1);
    QApplication::setActiveWindow(form.Window());
    edit->SetFocus();
    ASSERT_EQ(QApplication::focusWidget(), edit->Handle());
    QWindow* screen = form.Window()->windowHandle();
    ASSERT_TRUE(screen);
    auto* bar = form.Window()->findChild<QMenuBar*>();
    ASSERT_TRUE(bar);
    auto altAlone = [&] {
        QTest::keyPress(screen, Qt::Key_Alt, Qt::AltModifier);
        QTest::keyRelease(screen, Qt::Key_Alt);
    };
    // Qt's menu bar: Alt alone marks its first menu without opening it, and
    // Alt again gives the keys back to the control.
    for (int i = 0; i < 3; ++i) {
        altAlone();
        EXPECT_EQ(bar->activeAction(), bar->actions().front()) << i;
        EXPECT_FALSE(QApplication::activePopupWidget());
        altAlone();
        EXPECT_EQ(QApplication::focusWidget(), edit->Handle()) << i;
    }
    // Alt with a letter that no menu has marks nothing.
    QTest::keyPress(screen, Qt::Key_Alt, Qt::AltModifier);
    QTest::keyClick(screen, Qt::Key_Y, Qt::AltModifier);
    QTest::keyRelease(screen, Qt::Key_Alt);
    EXPECT_EQ(QApplication::focusWidget(), edit->Handle());
    EXPECT_FALSE(bar->activeAction());

    // A window that draws its own menu bar gets the menu key, once each time.
    form.SetMenu(nullptr);
    ASSERT_FALSE(GetMenu(form.Window()));
    std::vector<LPARAM> keyMenus;
    TWndProc old;
    old = SetWindowLong(form.Window(), GWL_WNDPROC, [&](TMessage& m) {
        if (m.Msg == WM_SYSCOMMAND && (m.WParam & 0xFFF0) == SC_KEYMENU) {
            keyMenus.push_back(m.LParam);
            m.Result = 1;
            return;
        }
        CallWindowProc(old, m);
    });
    for (int i = 0; i < 3; ++i)
        altAlone();
    EXPECT_EQ(keyMenus, (std::vector<LPARAM>{0, 0, 0}));
    // Alt with a letter is that letter's menu key, never the first menu's;
    // Ctrl+Alt and a click between press and release are no menu key at all.
    keyMenus.clear();
    QTest::keyPress(screen, Qt::Key_Alt, Qt::AltModifier);
    QTest::keyClick(screen, Qt::Key_Y, Qt::AltModifier);
    QTest::keyRelease(screen, Qt::Key_Alt);
    QTest::keyPress(screen, Qt::Key_Control, Qt::ControlModifier);
    QTest::keyPress(screen, Qt::Key_Alt, Qt::ControlModifier | Qt::AltModifier);
    QTest::keyRelease(screen, Qt::Key_Alt, Qt::ControlModifier);
    QTest::keyRelease(screen, Qt::Key_Control);
    QTest::keyPress(screen, Qt::Key_Alt, Qt::AltModifier);
    QTest::mouseClick(screen, Qt::LeftButton, Qt::AltModifier, QPoint(5, 5));
    QTest::keyRelease(screen, Qt::Key_Alt);
    EXPECT_EQ(keyMenus, (std::vector<LPARAM>{'y'}));
    SetWindowLong(form.Window(), GWL_WNDPROC, old);
}

// A message box answered with its Alt+letter: the letter is taken by the
// button's shortcut (no key press reaches anyone), the box goes, and the Alt
// release comes to the window below, which never saw the press. That is no
// "Alt alone" there: the menu stays shut, whether the release comes before
// the box has gone or after.
TEST(FormNonClient, AnAltLetterThatAnswersAMessageBoxOpensNoMenuBehindIt)
{
    TFrmProbe form(nullptr);
    auto* edit = new TEdit(&form);
    edit->SetParent(&form);
    form.Show();
    QTest::qWait(1);
    QApplication::setActiveWindow(form.Window());
    edit->SetFocus();
    ASSERT_EQ(QApplication::focusWidget(), edit->Handle());
    std::vector<LPARAM> keyMenus;
    TWndProc old;
    old = SetWindowLong(form.Window(), GWL_WNDPROC, [&](TMessage& m) {
        if (m.Msg == WM_SYSCOMMAND && (m.WParam & 0xFFF0) == SC_KEYMENU) {
            keyMenus.push_back(m.LParam);
            m.Result = 1;
            return;
        }
        CallWindowProc(old, m);
    });
    QWindow* below = form.Window()->windowHandle();
    const std::pair<Qt::Key, int> answers[] = {{Qt::Key_N, IDNO}, {Qt::Key_A, IDYES}, {Qt::Key_S, IDCANCEL}};
    for (const auto& [key, answer] : answers) {
        for (const bool releaseBelow : {true, false}) {
            SCOPED_TRACE(testing::Message() << QKeySequence(key).toString().toStdString() << " " << releaseBelow);
            QTimer::singleShot(30, [&, key = key, releaseBelow] {
                QWidget* box = QApplication::activeModalWidget();
                if (!box || !QTest::qWaitFor([box] { return QApplication::activeWindow() == box; }, 2000)) {
                    ADD_FAILURE() << "the box did not take the keyboard";
                    if (box)
                        box->close();
                    return;
                }
                QWindow* screen = box->windowHandle();
                QTest::keyPress(screen, Qt::Key_Alt, Qt::AltModifier);
                QTest::keyClick(screen, key, Qt::AltModifier);
                if (releaseBelow) {
                    // A hand that lingers on Alt: the box has gone meanwhile.
                    EXPECT_TRUE(QTest::qWaitFor([box] { return !box->isVisible(); }, 2000));
                    QTest::qWait(20);
                    QTest::keyRelease(below, Qt::Key_Alt);
                } else {
                    QTest::keyRelease(screen, Qt::Key_Alt);
                }
            });
            EXPECT_EQ(ShowMessageBox(form.Window(), QStringLiteral("Uložit změny?"), QStringLiteral("Dotaz"),
                                     MB_YESNOCANCEL | MB_ICONQUESTION),
                      answer);
            QTest::qWait(20);
            EXPECT_TRUE(keyMenus.empty());
            keyMenus.clear();
        }
    }
    // Alt alone in the window itself still is the menu key.
    QTest::keyPress(below, Qt::Key_Alt, Qt::AltModifier);
    QTest::keyRelease(below, Qt::Key_Alt);
    EXPECT_EQ(keyMenus, (std::vector<LPARAM>{0}));
    SetWindowLong(form.Window(), GWL_WNDPROC, old);
}

TEST(FormNonClient, AltF4ClosesThroughTheCloseQuery)
{
    TFrmProbe form(nullptr);
    auto* edit = new TEdit(&form);
    edit->SetParent(&form);
    int asked = 0;
    bool allow = false;
    form.OnCloseQuery = [&](TComponent*, bool& canClose) {
        ++asked;
        canClose = allow;
    };
    form.Show();
    QTest::qWait(1);
    edit->SetFocus();
    ASSERT_EQ(QApplication::focusWidget(), edit->Handle());
    QTest::keyClick(edit->Handle(), Qt::Key_F4, Qt::AltModifier);
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(form.Window()->isVisible());
    // In a dialog the form owns, the key closes the dialog alone.
    QDialog dialog(form.Window());
    auto* line = new QLineEdit(&dialog);
    dialog.show();
    QTest::qWait(1);
    line->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), line);
    QTest::keyClick(line, Qt::Key_F4, Qt::AltModifier);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(form.Window()->isVisible());
    edit->SetFocus();
    allow = true;
    QTest::keyClick(edit->Handle(), Qt::Key_F4, Qt::AltModifier);
    EXPECT_EQ(asked, 2);
    EXPECT_FALSE(form.Window()->isVisible());
}
