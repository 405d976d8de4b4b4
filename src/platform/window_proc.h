#pragma once
// Window procedures on Qt widgets. Every window (QWidget) can get a bridge that
// turns its Qt events into messages and sends them through a replaceable
// window procedure; the end of the chain is the widget's own (Qt's) handling.
//
// Sent messages with a native meaning at the end of the chain: WM_CLOSE,
// WM_PAINT (update), WM_SETREDRAW, WM_SETTEXT (lParam const QString*),
// WM_GETTEXT (lParam QString*, wParam the buffer length), WM_GETTEXTLENGTH,
// WM_KEYDOWN/UP, WM_SYSKEYDOWN/UP and WM_CHAR (delivered as key events),
// WM_PRINT/WM_PRINTCLIENT (wParam QPainter*: the window renders itself),
// WM_VSCROLL/WM_HSCROLL (scroll_info.h), BM_GETCHECK/BM_SETCHECK/BM_GETSTATE
// (button_messages.h), the non-client messages and
// WM_SYSCOMMAND (non_client.h).
// A window with a subclassing procedure also gets WM_ERASEBKGND (wParam a
// QPainter* on it) before each WM_PAINT, and WM_DESTROY then WM_NCDESTROY
// when it is destroyed.

#include "platform/messages.h"

#include <QObject>
#include <QPointer>
#include <exception>
#include <functional>
#include <memory>

using TWndProc = std::function<void(TMessage&)>;

// GWL_WNDPROC is an index of its own type so that GetWindowLong/SetWindowLong
// with it take and give procedures (the other indexes are in window_info.h).
enum TWndProcIndex : int { GWL_WNDPROC = -4 };

struct TProcNode;

class TWindowBridge : public QObject {
    Q_OBJECT
public:
    // The bridge of a window, made on first use; it lives as long as the window.
    static TWindowBridge* Of(HWND window, bool create = true);
    // Subclassing procedures get WM_DESTROY and WM_NCDESTROY as the window goes.
    ~TWindowBridge() override;
    HWND Window() const { return FWindow; }

    // The window's own procedure: the bottom of the chain (a class-library
    // control's WindowProc, or the native handling). Subclassing procedures
    // installed with Subclass sit above it.
    TWndProc Proc() const { return FProc; }
    // Replaces the bottom procedure and returns the one it replaces.
    TWndProc SetProc(TWndProc proc);
    // Back to the native procedure (before whoever installed one goes away).
    void ResetProc();

    // The current procedure (top of the chain) as a value that can be called
    // later, compared and handed back to Subclass to undo a subclassing.
    TWndProc Current() const;
    // Installs proc on top; returns the procedure it replaces (call it for the
    // previous handling). When proc is a value Current() gave earlier, this
    // undoes the subclassing made on top of it: the procedure installed right
    // above it leaves the chain, whatever lies above that stays and its saved
    // procedure now leads to proc. So subclassers may restore in any order.
    TWndProc Subclass(TWndProc proc);
    // Number of procedures installed above the bottom one.
    int SubclassCount() const;
    // The window's own handling of a message: Qt's handling of the event it came
    // from; for sent messages the few that have a Qt equivalent.
    void CallNative(TMessage& message);
    // Dispatches a message through the current procedure.
    LRESULT Dispatch(TMessage& message);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit TWindowBridge(HWND window);
    friend class TNonClientArea;
    QPointer<QWidget> FWindow;
    TWndProc FProc;
    std::shared_ptr<TProcNode> FBottom; // calls FProc
    std::shared_ptr<TProcNode> FTop;
    QEvent* FNativeEvent = nullptr; // the event whose native handling runs now
    bool FNativeOnly = true;        // the bottom procedure is the native one
};

// Makes a message from a Qt event of window; false when the event has no message.
bool TranslateEvent(HWND window, QEvent* event, TMessage& message);

LRESULT SendMessage(HWND window, unsigned msg, WPARAM wParam = 0, LPARAM lParam = 0);
bool PostMessage(HWND window, unsigned msg, WPARAM wParam = 0, LPARAM lParam = 0);
// The window's current procedure / subclassing (TWindowBridge::Current/Subclass).
TWndProc GetWindowProc(HWND window);
TWndProc SetWindowProc(HWND window, TWndProc proc);
// The same under the platform's names: GetWindowLong(w, GWL_WNDPROC) and
// SetWindowLong(w, GWL_WNDPROC, proc), which returns the replaced procedure.
inline TWndProc GetWindowLong(HWND window, TWndProcIndex) { return GetWindowProc(window); }
inline TWndProc SetWindowLong(HWND window, TWndProcIndex, TWndProc proc) { return SetWindowProc(window, std::move(proc)); }
// Calls proc (a saved previous procedure) with the message; returns its result.
LRESULT CallWindowProc(const TWndProc& proc, TMessage& message);
LRESULT CallWindowProc(const TWndProc& proc, HWND window, unsigned msg, WPARAM wParam, LPARAM lParam);
// The default procedure: the window's native handling.
void DefWindowProc(HWND window, TMessage& message);

// Errors thrown by window procedures end up here (the application installs its
// error display); the default writes to standard error.
void SetWindowProcErrorHandler(std::function<void(std::exception_ptr)> handler);
void ReportWindowProcError(std::exception_ptr error);
// Runs f; an error goes to the error handler instead of into Qt.
void SafeCall(const std::function<void()>& f);
