#pragma once
// Window procedures on Qt widgets. Every window (QWidget) can get a bridge that
// turns its Qt events into messages and sends them through a replaceable
// window procedure; the end of the chain is the widget's own (Qt's) handling.

#include "platform/messages.h"

#include <QObject>
#include <QPointer>
#include <exception>
#include <functional>

using TWndProc = std::function<void(TMessage&)>;

class TWindowBridge : public QObject {
    Q_OBJECT
public:
    // The bridge of a window, made on first use; it lives as long as the window.
    static TWindowBridge* Of(HWND window, bool create = true);
    HWND Window() const { return FWindow; }

    TWndProc Proc() const { return FProc; }
    // Installs a window procedure and returns the one it replaces.
    TWndProc SetProc(TWndProc proc);
    // Back to the native procedure (before whoever installed one goes away).
    void ResetProc();
    // The window's own handling of a message: Qt's handling of the event it came
    // from; for sent messages the few that have a Qt equivalent.
    void CallNative(TMessage& message);
    // Dispatches a message through the current procedure.
    LRESULT Dispatch(TMessage& message);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit TWindowBridge(HWND window);
    QPointer<QWidget> FWindow;
    TWndProc FProc;
    QEvent* FNativeEvent = nullptr; // the event whose native handling runs now
};

// Makes a message from a Qt event of window; false when the event has no message.
bool TranslateEvent(HWND window, QEvent* event, TMessage& message);

LRESULT SendMessage(HWND window, unsigned msg, WPARAM wParam = 0, LPARAM lParam = 0);
bool PostMessage(HWND window, unsigned msg, WPARAM wParam = 0, LPARAM lParam = 0);
TWndProc GetWindowProc(HWND window);
TWndProc SetWindowProc(HWND window, TWndProc proc);
LRESULT CallWindowProc(const TWndProc& proc, TMessage& message);
// The default procedure: the window's native handling.
void DefWindowProc(HWND window, TMessage& message);

// Errors thrown by window procedures end up here (the application installs its
// error display); the default writes to standard error.
void SetWindowProcErrorHandler(std::function<void(std::exception_ptr)> handler);
void ReportWindowProcError(std::exception_ptr error);
// Runs f; an error goes to the error handler instead of into Qt.
void SafeCall(const std::function<void()>& f);
