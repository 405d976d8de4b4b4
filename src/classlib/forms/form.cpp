#include "classlib/forms/form.h"

#include "classlib/controls/com_controls.h"
#include "classlib/controls/std_controls.h"
#include "classlib/forms/application.h"
#include "classlib/forms/menus.h"
#include "classlib/sysutils.h"
#include "platform/non_client.h"
#include "platform/window_info.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QCloseEvent>
#include <QEventLoop>
#include <QMenuBar>
#include <QResizeEvent>
#include <QScreen>
#include <algorithm>
#include <utility>

namespace {
// The platform names our controls' windows by their class-library classes.
const bool kClassNamesRegistered = [] {
    SetClassNameResolver([](HWND w) -> QString {
        if (!w || !w->property("tvControl").isValid())
            return QString();
        TWinControl* c = FindControl(w);
        return c ? c->ClassName() : QString();
    });
    return true;
}();

// The platform's style bits of a border style and its icons.
std::pair<uint32_t, uint32_t> FormStyleBits(TFormBorderStyle bs, TBorderIcons icons, TFormStyle fs)
{
    uint32_t style = 0;
    uint32_t ex = WS_EX_WINDOWEDGE;
    switch (bs) {
    case bsNone:
        style = WS_POPUP;
        break;
    case bsSingle:
        style = WS_CAPTION;
        break;
    case bsSizeable:
        style = WS_CAPTION | WS_THICKFRAME;
        break;
    case bsDialog:
        style = WS_CAPTION | DS_MODALFRAME;
        ex |= WS_EX_DLGMODALFRAME;
        break;
    case bsToolWindow:
        style = WS_CAPTION;
        ex |= WS_EX_TOOLWINDOW;
        break;
    case bsSizeToolWin:
        style = WS_CAPTION | WS_THICKFRAME;
        ex |= WS_EX_TOOLWINDOW;
        break;
    }
    if (bs != bsNone && (icons & biSystemMenu))
        style |= WS_SYSMENU;
    if ((bs == bsSingle || bs == bsSizeable) && (icons & biMinimize))
        style |= WS_MINIMIZEBOX;
    if ((bs == bsSingle || bs == bsSizeable) && (icons & biMaximize))
        style |= WS_MAXIMIZEBOX;
    if (fs == fsStayOnTop)
        ex |= WS_EX_TOPMOST;
    if (fs == fsMDIChild)
        ex |= WS_EX_MDICHILD;
    return {style, ex};
}
} // namespace

TShortCut ShortCut(int key, TShiftState shift)
{
    int sc = key & 0xFF;
    if (shift & ssShift)
        sc |= scShift;
    if (shift & ssCtrl)
        sc |= scCtrl;
    if (shift & ssAlt)
        sc |= scAlt;
    return sc;
}

QString ShortCutToText(TShortCut sc)
{
    if (sc == 0)
        return QString();
    const int key = sc & 0xFF;
    QString name;
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'))
        name = QChar(key);
    else if (key >= VK_F1 && key <= VK_F12)
        name = QStringLiteral("F%1").arg(key - VK_F1 + 1);
    else {
        switch (key) {
        case VK_DELETE:
            name = QStringLiteral("Del");
            break;
        case VK_INSERT:
            name = QStringLiteral("Ins");
            break;
        case VK_RETURN:
            name = QStringLiteral("Enter");
            break;
        case VK_ESCAPE:
            name = QStringLiteral("Esc");
            break;
        case VK_BACK:
            name = QStringLiteral("BkSp");
            break;
        case VK_SPACE:
            name = QStringLiteral("Space");
            break;
        case VK_LEFT:
            name = QStringLiteral("Left");
            break;
        case VK_RIGHT:
            name = QStringLiteral("Right");
            break;
        case VK_UP:
            name = QStringLiteral("Up");
            break;
        case VK_DOWN:
            name = QStringLiteral("Down");
            break;
        case VK_HOME:
            name = QStringLiteral("Home");
            break;
        case VK_END:
            name = QStringLiteral("End");
            break;
        case VK_PRIOR:
            name = QStringLiteral("PgUp");
            break;
        case VK_NEXT:
            name = QStringLiteral("PgDn");
            break;
        case VK_TAB:
            name = QStringLiteral("Tab");
            break;
        default:
            name = QStringLiteral("#%1").arg(key);
            break;
        }
    }
    QString prefix;
    if (sc & scShift)
        prefix += QStringLiteral("Shift+");
    if (sc & scCtrl)
        prefix += QStringLiteral("Ctrl+");
    if (sc & scAlt)
        prefix += QStringLiteral("Alt+");
    return prefix + name;
}

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner)
{
    FVisible = false;
    FColor = clBtnFace;
    FParentFont = false;
    FFont.OnChange = nullptr;
    FFont.SetName(QStringLiteral("MS Sans Serif"));
    FFont.OnChange = [this](TGraphicsObject*) { FontChanged(); };
    FWidth = 320;
    FHeight = 240;
    FShowHint = false;
    FParentShowHint = false;
    if (Screen)
        Screen->FForms.push_back(this);
}

TCustomForm::~TCustomForm()
{
    Destroying();
    if (FOuter)
        if (auto* b = TWindowBridge::Of(FOuter, false))
            b->ResetProc();
    RunDestroyHandler();
    if (FModalLoop)
        FModalLoop->quit();
    if (Screen) {
        auto& f = Screen->FForms;
        f.erase(std::remove(f.begin(), f.end(), this), f.end());
    }
    // Owned controls go before the window they live in.
    DestroyComponents();
}

void TCustomForm::RunDestroyHandler()
{
    if (TNotifyEvent handler = std::exchange(OnDestroy, nullptr))
        SafeCall([&] { handler(this); });
}

TCustomForm* TCustomForm::FormOfWidget(QWidget* widget)
{
    for (QWidget* w = widget; w; w = w->parentWidget()) {
        const QVariant v = w->property("tvForm");
        if (v.isValid())
            return static_cast<TCustomForm*>(v.value<void*>());
    }
    return nullptr;
}

QWidget* TCustomForm::CreateWidget(QWidget* parent)
{
    Q_UNUSED(parent);
    (void)kClassNamesRegistered;
    FOuter = new QWidget(nullptr);
    FOuter->setProperty("tvForm", QVariant::fromValue(static_cast<void*>(this)));
    FOuter->setAttribute(Qt::WA_DeleteOnClose, false);
    TWindowBridge::Of(FOuter)->SetProc([this](TMessage& m) { WindowWndProc(m); });
    SetClientLayout(FOuter, [this] { LayoutClient(); });
    auto* client = new TControlWidget(this, FOuter);
    client->setFocusPolicy(Qt::NoFocus);
    FOuterWidget = FOuter;
    return client;
}

void TCustomForm::InitWidget()
{
    FOuter->setWindowTitle(FText);
    FOuter->setFont(FFont.ToQFont());
    ApplyWindowFlags();
    FOuter->setGeometry(FLeft, FTop, std::max(1, FWidth), std::max(1, FHeight));
    FWidget->setCursor(CursorToQt(FCursor));
    ApplyFontToWidget();
    LayoutClient();
}

void TCustomForm::ApplyWindowFlags()
{
    if (!FOuter)
        return;
    Qt::WindowFlags f = Qt::Window;
    switch (FBorderStyle) {
    case bsNone:
        f |= Qt::FramelessWindowHint;
        break;
    case bsDialog:
        f = Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
        break;
    case bsToolWindow:
    case bsSizeToolWin:
        f = Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
        break;
    default:
        f |= Qt::WindowTitleHint;
        if (FBorderIcons & biSystemMenu)
            f |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if (FBorderIcons & biMinimize)
            f |= Qt::WindowMinimizeButtonHint;
        if (FBorderIcons & biMaximize)
            f |= Qt::WindowMaximizeButtonHint;
        break;
    }
    if (FFormStyle == fsStayOnTop)
        f |= Qt::WindowStaysOnTopHint;
    const auto [style, ex] = FormStyleBits(FBorderStyle, FBorderIcons, FFormStyle);
    FOuter->setProperty("tvStyle", QVariant::fromValue(style));
    FOuter->setProperty("tvExStyle", QVariant::fromValue(ex));
    const bool wasVisible = FOuter->isVisible();
    // A frame the skin draws stays frameless whatever the border style.
    SetWindowFlagsKeepingFrame(FOuter, f);
    if (wasVisible && !FOuter->isVisible())
        FOuter->show();
}

void TCustomForm::SetCaption(const QString& text)
{
    FText = text;
    if (FOuter)
        FOuter->setWindowTitle(text);
}

int TCustomForm::MenuBarHeight() const
{
    if (!FMenuBar || FMenuBar->isHidden() || FMenuBar->property("tvMenuRemoved").toBool())
        return 0;
    return FMenuBar->sizeHint().height();
}

QMargins TCustomForm::FrameInsets() const { return FOuter ? NonClientInsets(FOuter) : QMargins(); }

int TCustomForm::ClientWidth() const
{
    const QMargins m = FrameInsets();
    return std::max(0, FWidth - m.left() - m.right());
}

int TCustomForm::ClientHeight() const
{
    const QMargins m = FrameInsets();
    return std::max(0, FHeight - m.top() - m.bottom() - MenuBarHeight());
}

void TCustomForm::SetClientSize(int width, int height)
{
    const QMargins m = FrameInsets();
    SetBounds(FLeft, FTop, width + m.left() + m.right(), height + m.top() + m.bottom() + MenuBarHeight());
}

void TCustomForm::LayoutClient()
{
    if (!FOuter || !FWidget || FLayingOut)
        return;
    FLayingOut = true;
    // The menu bar and the client sit inside the non-client insets (none
    // while the window manager draws the frame).
    const QMargins m = FrameInsets();
    const int mh = MenuBarHeight();
    const int width = std::max(0, FWidth - m.left() - m.right());
    if (FMenuBar && mh > 0)
        FMenuBar->setGeometry(m.left(), m.top(), width, mh);
    FWidget->setGeometry(m.left(), m.top() + mh, width, std::max(0, FHeight - m.top() - m.bottom() - mh));
    FLayingOut = false;
}

void TCustomForm::SetBounds(int left, int top, int width, int height)
{
    TWinControl::SetBounds(left, top, width, height);
    LayoutClient();
}

void TCustomForm::SetMenu(TMainMenu* menu)
{
    if (FMenu)
        FMenu->RemoveFreeNotification(this);
    FMenu = menu;
    if (menu) {
        menu->FreeNotification(this);
        menu->SetOwnerForm(this);
    }
    RebuildMenuBar();
}

void TCustomForm::RebuildMenuBar()
{
    Handle();
    if (!FMenu) {
        delete FMenuBar;
        FMenuBar = nullptr;
        LayoutClient();
        return;
    }
    if (!FMenuBar) {
        FMenuBar = new QMenuBar(FOuter);
        FMenuBar->setNativeMenuBar(false);
    }
    FMenu->FillMenuBar(FMenuBar);
    if (!FMenuBar->property("tvMenuRemoved").toBool()) // taken off the window (SetMenu 0)
        FMenuBar->show();
    LayoutClient();
    Realign();
}

void TCustomForm::Notification(TComponent* component, TOperation operation)
{
    TWinControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == FActiveControl)
        FActiveControl = nullptr;
    if (operation == TOperation::opRemove && component == FMenu) {
        FMenu = nullptr;
        if (!IsDestroying()) {
            delete FMenuBar;
            FMenuBar = nullptr;
        }
    }
}

void TCustomForm::SetBorderStyle(TFormBorderStyle s)
{
    FBorderStyle = s;
    ApplyWindowFlags();
}

void TCustomForm::SetBorderIcons(TBorderIcons icons)
{
    FBorderIcons = icons;
    ApplyWindowFlags();
}

void TCustomForm::SetFormStyle(TFormStyle s)
{
    FFormStyle = s;
    ApplyWindowFlags();
}

TWindowState TCustomForm::WindowState() const
{
    if (!FOuter)
        return FPendingState;
    // The platform keeps the placement (a frameless window is maximised by hand).
    if (IsIconic(FOuter))
        return wsMinimized;
    if (IsZoomed(FOuter))
        return wsMaximized;
    return FOuter->isVisible() ? wsNormal : FPendingState;
}

void TCustomForm::SetWindowState(TWindowState s)
{
    FPendingState = s;
    if (!FOuter || !FOuter->isVisible())
        return;
    if (s == wsMaximized)
        FOuter->showMaximized();
    else if (s == wsMinimized)
        FOuter->showMinimized();
    else
        FOuter->showNormal();
}

void TCustomForm::PlaceOnFirstShow()
{
    if (FPlaced)
        return;
    FPlaced = true;
    QRect area;
    if (const QScreen* s = QGuiApplication::primaryScreen())
        area = s->availableGeometry();
    if (area.isEmpty())
        return;
    TCustomForm* main = Application ? Application->MainForm() : nullptr;
    switch (FPosition) {
    case poScreenCenter:
    case poDesktopCenter:
        SetBounds(area.x() + (area.width() - FWidth) / 2, area.y() + (area.height() - FHeight) / 2, FWidth, FHeight);
        break;
    case poMainFormCenter:
    case poOwnerFormCenter:
        if (main && main != this && main->FOuter) {
            const QRect g = main->FOuter->geometry();
            SetBounds(g.x() + (g.width() - FWidth) / 2, g.y() + (g.height() - FHeight) / 2, FWidth, FHeight);
        } else {
            SetBounds(area.x() + (area.width() - FWidth) / 2, area.y() + (area.height() - FHeight) / 2, FWidth, FHeight);
        }
        break;
    default:
        break;
    }
}

void TCustomForm::DoCreate()
{
    if (FCreated)
        return;
    FCreated = true;
    Handle();
    if (OnCreate)
        OnCreate(this);
}

void TCustomForm::DoShow()
{
    if (OnShow)
        OnShow(this);
}

void TCustomForm::DoHide()
{
    if (OnHide)
        OnHide(this);
}

void TCustomForm::VisibleChanged()
{
    Handle();
    if (FVisible) {
        if (FShowing)
            return;
        FShowing = true;
        try {
            DoShow();
        } catch (...) {
            FShowing = false;
            FVisible = false; // not shown: a later Show tries again
            throw;
        }
        FShowing = false;
        if (!FVisible)
            return; // the show handler hid the form again
        PlaceOnFirstShow();
        LayoutClient();
        if (FPendingState == wsMaximized)
            FOuter->showMaximized();
        else if (FPendingState == wsMinimized)
            FOuter->showMinimized();
        else
            FOuter->show();
        if (FBorderStyle == bsSingle || FBorderStyle == bsDialog || FBorderStyle == bsToolWindow)
            FOuter->setFixedSize(FOuter->size());
        FOuter->raise();
        FOuter->activateWindow();
        FocusActiveControl();
    } else {
        FOuter->hide();
        DoHide();
    }
}

void TCustomForm::SetActiveControl(TWinControl* control)
{
    FActiveControl = control;
    FActiveWidget = control ? control->Handle() : nullptr;
    if (FOuter && FOuter->isVisible())
        FocusActiveControl();
}

void TCustomForm::FocusActiveControl()
{
    // Qt gives a window that is not active yet the focus on its activation.
    if (FActiveControl && FActiveWidget && FActiveControl->Showing() && FActiveControl->Enabled())
        FActiveWidget->setFocus(Qt::OtherFocusReason);
}

void TCustomForm::Show()
{
    SetVisible(true);
    BringToFront();
}

void TCustomForm::Hide() { SetVisible(false); }

void TCustomForm::BringToFront()
{
    if (FOuter && FOuter->isVisible()) {
        FOuter->raise();
        FOuter->activateWindow();
    }
}

bool TCustomForm::Active() const { return FOuter && FOuter->isActiveWindow(); }

bool TCustomForm::CloseQuery()
{
    bool canClose = true;
    if (OnCloseQuery)
        OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::DoClose(TCloseAction& action)
{
    if (OnClose)
        OnClose(this, action);
}

void TCustomForm::Close()
{
    if (FModal) {
        SetModalResult(mrCancel);
        return;
    }
    if (!CloseQuery())
        return;
    TCloseAction action = caHide;
    DoClose(action);
    if (action == caNone)
        return;
    if (Application && Application->MainForm() == this) {
        Hide();
        Application->Terminate();
    } else if (action == caHide) {
        Hide();
    } else if (action == caMinimize) {
        SetWindowState(wsMinimized);
    } else {
        Release();
    }
}

void TCustomForm::Release()
{
    Hide();
    // Freed once the current message is done.
    QMetaObject::invokeMethod(qApp, [this] { delete this; }, Qt::QueuedConnection);
}

void TCustomForm::SetModalResult(int r)
{
    FModalResult = r;
    if (FModalLoop && r != mrNone)
        FModalLoop->quit();
}

int TCustomForm::ShowModal()
{
    if (FVisible || FModal)
        throw EInvalidOperation(QStringLiteral("Viditelné okno nelze zobrazit modálně"));
    Handle();
    FModal = true;
    FModalResult = mrNone;
    FOuter->setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    FModalLoop = &loop;
    try {
        Show();
        while (FModalResult == mrNone && FVisible && !(Application && Application->Terminated())) {
            loop.exec();
            if (FModalResult != mrNone) {
                // Closing a modal form still asks the form.
                TCloseAction action = caHide;
                if (!CloseQuery()) {
                    FModalResult = mrNone;
                } else {
                    DoClose(action);
                    if (action == caNone)
                        FModalResult = mrNone;
                }
            }
        }
    } catch (...) {
        FModalLoop = nullptr;
        FModal = false;
        throw;
    }
    FModalLoop = nullptr;
    if (FModalResult == mrNone)
        FModalResult = mrCancel;
    Hide();
    if (FOuter)
        FOuter->setWindowModality(Qt::NonModal);
    FModal = false;
    return FModalResult;
}

bool TCustomForm::IsShortCut(int key, TShiftState shift)
{
    bool handled = false;
    if (OnShortCut)
        OnShortCut(key, shift, handled);
    if (!handled && FMenu)
        handled = FMenu->IsShortCut(ShortCut(key, shift));
    return handled;
}

void TCustomForm::KeyDown(int& key, TShiftState shift) { TWinControl::KeyDown(key, shift); }

bool TCustomForm::DialogKey(int key, QWidget* focus)
{
    // A focused push button answers Enter itself (Qt's own do so only inside a
    // QDialog); a multi-line editor takes Enter as a line break. A focused check
    // box or radio button leaves Enter to the default button.
    if (key == VK_RETURN) {
        if (auto* pb = qobject_cast<QPushButton*>(focus); pb && !pb->autoDefault()) {
            pb->click();
            return true;
        }
        if (qobject_cast<QPushButton*>(focus) || qobject_cast<QPlainTextEdit*>(focus) ||
            qobject_cast<QPlainTextEdit*>(focus ? focus->parentWidget() : nullptr))
            return false;
    }
    std::function<TButton*(TWinControl*)> find = [&](TWinControl* parent) -> TButton* {
        for (int i = 0; i < parent->ControlCount(); ++i) {
            TControl* c = parent->Controls(i);
            if (!c->Visible() || !c->Enabled())
                continue;
            if (auto* b = dynamic_cast<TButton*>(c); b && (key == VK_RETURN ? b->Default() : b->Cancel()))
                return b;
            if (auto* wc = dynamic_cast<TWinControl*>(c))
                if (TButton* inner = find(wc))
                    return inner;
        }
        // Pages are not among a page control's children; only the shown one's
        // buttons can take the key.
        if (auto* pc = dynamic_cast<TPageControl*>(parent))
            if (TTabSheet* page = pc->ActivePage())
                return find(page);
        return nullptr;
    };
    TButton* button = find(this);
    if (!button)
        return false;
    button->Click();
    return true;
}

void TCustomForm::WndProc(TMessage& message) { TWinControl::WndProc(message); }

void TCustomForm::WindowWndProc(TMessage& m)
{
    switch (m.Msg) {
    case WM_CLOSE:
        if (auto* ce = dynamic_cast<QCloseEvent*>(m.Event))
            ce->ignore(); // we decide whether the window goes
        Close();
        return;
    case WM_SIZE:
    case WM_MOVE:
        DefWindowProc(FOuter, m);
        if (FOuter)
            WindowMoved(FOuter->geometry());
        LayoutClient();
        return;
    case WM_ACTIVATE:
        DefWindowProc(FOuter, m);
        if (m.WParam && OnActivate)
            OnActivate(this);
        if (!m.WParam && OnDeactivate)
            OnDeactivate(this);
        return;
    default:
        DefWindowProc(FOuter, m);
        return;
    }
}
