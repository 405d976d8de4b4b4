#pragma once
// Forms: top-level windows. The window (outer widget) holds the menu bar and
// the client widget on which the form's controls live. Forms are shown
// modelessly or modally; closing asks OnCloseQuery.

#include "classlib/controls/control.h"

#include <QPointer>

class TMainMenu;
#include <QMenuBar>
class QEventLoop;

enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIcon : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
using TBorderIcons = unsigned;
enum TPosition { poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter, poMainFormCenter, poOwnerFormCenter };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };

enum : int { mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6, mrNo = 7, mrAll = 8 };

// Keyboard shortcuts as the class library encodes them: key | modifiers.
using TShortCut = int;
enum : int { scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000, scNone = 0 };
TShortCut ShortCut(int key, TShiftState shift);
QString ShortCutToText(TShortCut shortcut);

using TCloseEvent = std::function<void(TComponent* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TComponent* Sender, bool& CanClose)>;
using TShortCutEvent = std::function<void(int Key, TShiftState Shift, bool& Handled)>;

class TCustomForm : public TWinControl {
public:
    TV_CLASS_NAME(TCustomForm)
    explicit TCustomForm(TComponent* owner);
    ~TCustomForm() override;

    // The form of any widget inside one of our windows.
    static TCustomForm* FormOfWidget(QWidget* widget);
    QWidget* Window() { Handle(); return FOuter; }
    QWidget* ClientWidget() override { return Handle(); }

    QString Caption() const override { return FText; }
    void SetCaption(const QString& text) override;
    int ClientWidth() const override;
    int ClientHeight() const override;
    void SetClientSize(int width, int height) override;
    void SetClientWidth(int w) { SetClientSize(w, ClientHeight()); }
    void SetClientHeight(int h) { SetClientSize(ClientWidth(), h); }

    TMainMenu* Menu() const { return FMenu; }
    void SetMenu(TMainMenu* menu);
    QMenuBar* MenuBar() const { return FMenuBar; }
    // Rebuilds the menu bar from the main menu's items.
    void RebuildMenuBar();

    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle s);
    TBorderIcons BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TBorderIcons icons);
    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition p) { FPosition = p; }
    TWindowState WindowState() const;
    void SetWindowState(TWindowState s);
    TFormStyle FormStyle() const { return FFormStyle; }
    void SetFormStyle(TFormStyle s);
    bool KeyPreview() const { return FKeyPreview; }
    void SetKeyPreview(bool v) { FKeyPreview = v; }

    void Show();
    void Hide();
    void Close();
    int ShowModal();
    bool IsModal() const { return FModal; }
    int ModalResult() const { return FModalResult; }
    void SetModalResult(int r);
    bool CloseQuery();
    void Release();
    bool Active() const;
    void BringToFront() override;
    // The control that has, or on the next show takes, the window's focus.
    TWinControl* ActiveControl() const { return FActiveControl; }
    void SetActiveControl(TWinControl* control);

    // Runs the creation handler (once, after the form's constructor).
    void DoCreate();
    // Enter presses the default button, Escape the cancel button (unless the
    // focused control takes the key itself); true when a button took it.
    bool DialogKey(int key, QWidget* focus);
    // The form's OnKeyDown for a key bound for one of its controls (key preview).
    void PreviewKeyDown(int& key, TShiftState shift) { KeyDown(key, shift); }
    // Shortcuts: OnShortCut first, then the main menu's items.
    bool IsShortCut(int key, TShiftState shift);

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TNotifyEvent OnPaint;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TShortCutEvent OnShortCut;

    void WndProc(TMessage& message) override;
    void SetBounds(int left, int top, int width, int height) override;
    void Notification(TComponent* component, TOperation operation) override;

protected:
    // Runs OnDestroy once. A derived form whose handler uses its own members
    // calls this from its destructor, while it is still whole.
    void RunDestroyHandler();
    QWidget* CreateWidget(QWidget* parent) override;
    void InitWidget() override;
    void VisibleChanged() override;
    void KeyDown(int& key, TShiftState shift) override;
    // The window's own messages (frame, close, activation).
    virtual void WindowWndProc(TMessage& message);
    virtual void DoShow();
    virtual void DoHide();
    void DoClose(TCloseAction& action);
    void ApplyWindowFlags();
    void PlaceOnFirstShow();
    void FocusActiveControl();
    int MenuBarHeight() const;
    // The non-client insets the window's procedure answered (zero unskinned).
    QMargins FrameInsets() const;
    void LayoutClient();

    QPointer<QWidget> FOuter;
    QPointer<QMenuBar> FMenuBar;
    TMainMenu* FMenu = nullptr;
    TFormBorderStyle FBorderStyle = bsSizeable;
    TBorderIcons FBorderIcons = biSystemMenu | biMinimize | biMaximize;
    TPosition FPosition = poDesigned;
    TFormStyle FFormStyle = fsNormal;
    bool FKeyPreview = false;
    bool FModal = false;
    int FModalResult = mrNone;
    bool FCreated = false;
    bool FPlaced = false;
    bool FShowing = false;
    TWindowState FPendingState = wsNormal;
    QEventLoop* FModalLoop = nullptr;
    QPointer<QWidget> FActiveWidget; // the active control's window, gone with it
    TWinControl* FActiveControl = nullptr;
    bool FLayingOut = false;
};

class TForm : public TCustomForm {
public:
    TV_CLASS_NAME(TForm)
    using TCustomForm::TCustomForm;
};
