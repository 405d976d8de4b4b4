#include "classlib/forms/application.h"

#include "classlib/forms/form.h"
#include "classlib/forms/message_box.h"
#include "classlib/sysutils.h"
#include "platform/menus_api.h"
#include "platform/window_activation.h"
#include "platform/window_info.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <cstdio>
#include <functional>
#include <new>

TApplication* Application = nullptr;
TScreen* Screen = nullptr;

namespace {
QPoint gLastPress;
}

QString GetShortHint(const QString& hint)
{
    const int bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.left(bar);
}

QString GetLongHint(const QString& hint)
{
    const int bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.mid(bar + 1);
}

// Keys go to the active form's shortcuts before any control sees them.
class TApplication::KeyFilter : public QObject {
public:
    KeyFilter() = default;

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::MouseButtonPress) {
            gLastPress = static_cast<QMouseEvent*>(e)->globalPosition().toPoint();
            FAltAlone = false;
            return false;
        }
        if (e->type() == QEvent::KeyRelease)
            return AltReleased(o, static_cast<QKeyEvent*>(e));
        // A key taken by a shortcut (a button's "&" letter) never arrives as a
        // key press: it is a key between the Alt press and its release all the same.
        if (e->type() == QEvent::ShortcutOverride) {
            if (static_cast<QKeyEvent*>(e)->key() != Qt::Key_Alt)
                FAltAlone = false;
            return false;
        }
        if (e->type() != QEvent::KeyPress)
            return false;
        auto* w = qobject_cast<QWidget*>(o);
        if (!FirstReceiver(w))
            return false;
        auto* ke = static_cast<QKeyEvent*>(e);
        if (!ke->isAutoRepeat()) {
            FAltAlone = ke->key() == Qt::Key_Alt && (ke->modifiers() & ~Qt::AltModifier) == Qt::NoModifier;
            FAltWindow = w->window();
        } else if (ke->key() != Qt::Key_Alt) {
            FAltAlone = false;
        }
        TCustomForm* form = TCustomForm::FormOfWidget(w);
        // A window of its own over a form (Qt's font or file dialog, a drop-down
        // list) keeps its keys: the form's Cancel button must not take its Escape.
        if (form && form->Window()->window() != w->window())
            form = nullptr;
        if (!form)
            return IsCloseKey(ke) && CloseByKey(w->window());
        const int vk = QtKeyToVirtualKey(ke->key());
        if (vk == 0 || vk == VK_SHIFT || vk == VK_CONTROL || vk == VK_MENU)
            return false;
        // A command that raised has still taken the key: passed on, it would reach
        // the parents, and once the command's dialogs have moved the focus away,
        // the form's shortcuts a second time.
        auto run = [](const std::function<bool()>& f) {
            try {
                return f();
            } catch (...) {
                ReportWindowProcError(std::current_exception());
                return true;
            }
        };
        bool handled = run([&] { return form->IsShortCut(vk, ShiftStateFromQt(ke->modifiers())); });
        if (!handled && IsCloseKey(ke))
            handled = CloseByKey(w->window());
        if (!handled && (vk == VK_RETURN || vk == VK_ESCAPE) && ke->modifiers() == Qt::NoModifier)
            handled = run([&] { return form->DialogKey(vk, w); });
        if (!handled && (ke->modifiers() & Qt::AltModifier) && ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9') || vk == VK_SPACE))
            handled = run([&] { return MenuKey(form, vk); });
        // F10 is the menu key as Alt alone is.
        if (!handled && vk == VK_F10 && ke->modifiers() == Qt::NoModifier && OwnMenuBar(form))
            handled = run([&] { return SendMessage(form->Window(), WM_SYSCOMMAND, SC_KEYMENU, 0) != 0; });
        return handled;
    }

private:
    static bool IsCloseKey(const QKeyEvent* ke) { return ke->key() == Qt::Key_F4 && ke->modifiers() == Qt::AltModifier; }

    // Alt+F4 closes the window as the system's default procedure does: a
    // frameless window, or one without a window manager, has no one else to
    // do it. SC_CLOSE goes through the window's procedure and its close query.
    static bool CloseByKey(QWidget* top)
    {
        if (!top || !top->isWindow() || top->windowType() == Qt::Popup)
            return false;
        try {
            if (TWindowBridge::Of(top, false))
                SendMessage(top, WM_SYSCOMMAND, SC_CLOSE, 0);
            else
                top->close();
        } catch (...) {
            ReportWindowProcError(std::current_exception());
        }
        return true;
    }

    // The window's procedure of a window that draws its own menu bar (a
    // skinned one: the Qt menu bar is off) gets the menu keys as the platform
    // gives them: the form CM_DIALOGCHAR, the window WM_SYSCOMMAND SC_KEYMENU.
    static bool OwnMenuBar(TCustomForm* form)
    {
        QWidget* window = form->Window();
        TWindowBridge* bridge = TWindowBridge::Of(window, false);
        return bridge && bridge->SubclassCount() > 0 && !GetMenu(window);
    }

    static bool MenuKey(TCustomForm* form, int vk)
    {
        if (!OwnMenuBar(form))
            return false;
        const WPARAM ch = (vk >= 'A' && vk <= 'Z') ? static_cast<WPARAM>(vk - 'A' + 'a') : static_cast<WPARAM>(vk);
        constexpr LPARAM kAltDown = 0x20000000;
        if (vk != VK_SPACE && form->Perform(CM_DIALOGCHAR, ch, kAltDown) != 0)
            return true;
        return SendMessage(form->Window(), WM_SYSCOMMAND, SC_KEYMENU, static_cast<LPARAM>(ch)) != 0 || vk == VK_SPACE;
    }

    // A key typed on the screen reaches the QWindow first, then the focused
    // control, then its parents: each key counts once, at the control.
    static bool FirstReceiver(QWidget* w)
    {
        if (!w)
            return false;
        QWidget* focus = QApplication::focusWidget();
        return focus ? w == focus : w->isWindow();
    }

    bool AltReleased(QObject* o, QKeyEvent* ke)
    {
        auto* w = qobject_cast<QWidget*>(o);
        if (!FirstReceiver(w) || ke->isAutoRepeat())
            return false;
        // Alt alone is the press and the release in one window: a window that
        // an Alt+letter closed (a message box answered) hands its release to
        // the window below, which never saw the press.
        const bool alone = FAltAlone && ke->key() == Qt::Key_Alt && FAltWindow == w->window();
        FAltAlone = false;
        if (!alone)
            return false;
        TCustomForm* form = TCustomForm::FormOfWidget(w);
        if (!form || !OwnMenuBar(form))
            return false;
        // Alt pressed and released alone: the menu bar's first item.
        SafeCall([&] { SendMessage(form->Window(), WM_SYSCOMMAND, SC_KEYMENU, 0); });
        return true;
    }

    bool FAltAlone = false;
    QPointer<QWidget> FAltWindow; // the window the Alt press came to
};

TApplication::TApplication() : TComponent(nullptr)
{
    FKeyFilter = new KeyFilter();
    qApp->installEventFilter(FKeyFilter);
    InstallActivationReturn();
    SetWindowProcErrorHandler([this](std::exception_ptr e) { HandleException(e); });
}

TApplication::~TApplication()
{
    SetWindowProcErrorHandler(nullptr);
    // Forms first, while the application object is still whole.
    DestroyComponents();
    if (qApp)
        qApp->removeEventFilter(FKeyFilter);
    delete FKeyFilter;
}

void TApplication::Initialize(int& argc, char** argv)
{
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    if (!qApp)
        new QApplication(argc, argv);
    InitializeExisting();
}

void TApplication::InitializeExisting()
{
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    SetDecimalSeparator(QLatin1Char(','));
    if (!Application)
        Application = new TApplication();
    if (!Screen)
        Screen = new TScreen();
}

void TApplication::Finalize()
{
    delete Application;
    Application = nullptr;
    delete Screen;
    Screen = nullptr;
}

void TApplication::SetTitle(const QString& title)
{
    // Only the title: Qt would append a display name to every dialog's caption.
    FTitle = title;
}

QString TApplication::ExeName() const { return QCoreApplication::applicationFilePath(); }

void TApplication::RegisterForm(TCustomForm* form)
{
    if (!FMainForm)
        FMainForm = form;
    form->DoCreate();
}

void TApplication::Run()
{
    if (FMainForm && ShowMainForm && !FTerminated)
        FMainForm->Show();
    if (!FTerminated)
        QApplication::exec();
}

void TApplication::Terminate()
{
    FTerminated = true;
    QCoreApplication::exit(0);
}

void TApplication::ProcessMessages() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void TApplication::HandleException(std::exception_ptr error)
{
    if (OnException) {
        OnException(error);
        return;
    }
    try {
        std::rethrow_exception(error);
    } catch (const EAbort&) {
        // A silent end of the command.
    } catch (const Exception& e) {
        ShowException(e.Message());
    } catch (const std::bad_alloc&) {
        ShowException(QStringLiteral("Na tuto operaci nemá program dost paměti"));
    } catch (const std::exception& e) {
        ShowException(QString::fromUtf8(e.what()));
    } catch (...) {
        ShowException(QStringLiteral("Neznámá chyba"));
    }
}

void TApplication::ShowException(const QString& message)
{
    QString text = message.trimmed();
    if (!text.isEmpty() && !text.endsWith(QLatin1Char('.')))
        text += QLatin1Char('.');
    ShowMessageBox(nullptr, text, FTitle, MB_OK | MB_ICONERROR);
}

int TApplication::MessageBox(const QString& text, const QString& caption, unsigned flags)
{
    return ShowMessageBox(nullptr, text, caption, flags);
}

void TApplication::SetHint(const QString& hint)
{
    if (hint == FHint)
        return;
    FHint = hint;
    if (OnHint)
        SafeCall([&] { OnHint(this); });
}

void TApplication::NoteMouseControl(TControl* control)
{
    if (!Application || control == Application->FMouseControl)
        return;
    Application->FMouseControl = control;
    // The hint of the control, or of the nearest parent that has one.
    QString hint;
    for (TControl* c = control; c; c = c->Parent()) {
        if (!c->Hint().isEmpty()) {
            hint = c->Hint();
            break;
        }
    }
    Application->SetHint(GetLongHint(hint));
}

void TApplication::ControlDestroyed(TControl* control)
{
    if (Application && Application->FMouseControl == control)
        Application->FMouseControl = nullptr;
}

QPoint TApplication::LastMousePressPos() { return gLastPress; }

TCustomForm* TApplication::ActiveForm() const { return Screen ? Screen->ActiveForm() : nullptr; }

TScreen::TScreen() : TComponent(nullptr) {}

void TScreen::SetCursor(TCursor cursor)
{
    if (cursor == FCursor)
        return;
    const bool hadOverride = FCursor != crDefault;
    FCursor = cursor;
    if (hadOverride)
        QApplication::restoreOverrideCursor();
    if (cursor != crDefault)
        QApplication::setOverrideCursor(QCursor(CursorToQt(cursor)));
}

int TScreen::Width() const
{
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->geometry().width() : 1024;
}

int TScreen::Height() const
{
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->geometry().height() : 768;
}

TCustomForm* TScreen::ActiveForm() const
{
    QWidget* w = QApplication::activeWindow();
    return w ? TCustomForm::FormOfWidget(w) : nullptr;
}

void ReportAndGoOn(const std::function<void()>& step)
{
    try {
        step();
    } catch (const EAbort&) {
        throw;
    } catch (const Exception&) {
        if (Application)
            Application->HandleException(std::current_exception());
    }
}
