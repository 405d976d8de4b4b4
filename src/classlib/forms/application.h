#pragma once
// The application object: title, forms, the message loop, the hint of the
// control under the mouse, keyboard shortcuts and the default error display
// (an error ends the command with a message box, never the program).

#include "classlib/component.h"
#include "classlib/controls/control.h"

#include <QPoint>
#include <QString>
#include <exception>
#include <functional>
#include <vector>

class QApplication;
class TCustomForm;

// Hint texts: "short|long"; without "|" both are the whole text.
QString GetShortHint(const QString& hint);
QString GetLongHint(const QString& hint);

class TApplication : public TComponent {
public:
    TV_CLASS_NAME(TApplication)
    TApplication();
    ~TApplication() override;

    // Creates the Qt application (if none) and the global Application and Screen.
    static void Initialize(int& argc, char** argv);
    // Makes the global objects over an existing Qt application (tests).
    static void InitializeExisting();
    static void Finalize();

    const QString& Title() const { return FTitle; }
    void SetTitle(const QString& title);
    TCustomForm* MainForm() const { return FMainForm; }
    QString ExeName() const;

    // Creates a form owned by the application; the first becomes the main form.
    template <typename T>
    T* CreateForm()
    {
        T* form = new T(this);
        RegisterForm(form);
        return form;
    }
    void RegisterForm(TCustomForm* form);

    // Shows the main form and runs the message loop until it closes.
    void Run();
    void Terminate();
    bool Terminated() const { return FTerminated; }
    void ProcessMessages();
    bool ShowMainForm = true;

    // The default error display.
    void HandleException(std::exception_ptr error);
    void ShowException(const QString& message);
    std::function<void(std::exception_ptr)> OnException;

    int MessageBox(const QString& text, const QString& caption, unsigned flags);

    const QString& Hint() const { return FHint; }
    void SetHint(const QString& hint);
    TNotifyEvent OnHint;
    bool ShowHint = true;

    // Bookkeeping the controls report to.
    static void NoteMouseControl(TControl* control);
    static void ControlDestroyed(TControl* control);
    static QPoint LastMousePressPos();
    TCustomForm* ActiveForm() const;

private:
    class KeyFilter;
    QString FTitle;
    TCustomForm* FMainForm = nullptr;
    bool FTerminated = false;
    QString FHint;
    TControl* FMouseControl = nullptr;
    KeyFilter* FKeyFilter = nullptr;
};

enum TCursorShapeDummy {};

class TScreen : public TComponent {
public:
    TV_CLASS_NAME(TScreen)
    TScreen();
    TCursor Cursor() const { return FCursor; }
    // A cursor other than crDefault overrides every window's cursor.
    void SetCursor(TCursor cursor);
    int Width() const;
    int Height() const;
    int PixelsPerInch() const { return 96; }
    int FormCount() const { return static_cast<int>(FForms.size()); }
    TCustomForm* Forms(int i) const { return FForms.at(static_cast<size_t>(i)); }
    TCustomForm* ActiveForm() const;

private:
    friend class TCustomForm;
    TCursor FCursor = crDefault;
    std::vector<TCustomForm*> FForms;
};

// Runs a step of a window's start whose failure should not stop the window:
// its error is shown by the application's error display and the caller goes
// on. A silent abort still ends the command.
void ReportAndGoOn(const std::function<void()>& step);

extern TApplication* Application;
extern TScreen* Screen;
