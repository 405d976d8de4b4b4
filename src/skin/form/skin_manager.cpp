#include "skin/form/skin_manager.h"

#include "classlib/controls/control.h"
#include "classlib/forms/application.h"
#include "classlib/forms/form.h"
#include "platform/window_info.h"
#include "platform/window_proc.h"
#include "skin/form/popup_menu.h"
#include "skin/form/skin_form.h"
#include "skin/form/skin_messages.h"
#include "skin/skin_data.h"

#include <QCoreApplication>
#include <QWindow>
#include <QWidget>
#include <algorithm>
#include <cstdlib>

namespace {
std::unique_ptr<TSkinManage>& Instance()
{
    static std::unique_ptr<TSkinManage> instance;
    return instance;
}

bool Answers(HWND window, unsigned msg) { return SendMessage(window, msg, 0, 0) == 1; }

// Shown, but its native window not on the screen yet.
bool BeingShown(HWND window)
{
    const QWindow* handle = window->windowHandle();
    return window->isVisible() && !(handle && handle->isExposed());
}
} // namespace

TSkinManage* SkinManager() { return Instance().get(); }

TSkinManage* CreateSkinManager()
{
    if (!Instance()) {
        Instance() = std::make_unique<TSkinManage>();
        // Freed with the application, before Qt's own objects go.
        static const bool registered = [] {
            qAddPostRoutine(FreeSkinManager);
            return true;
        }();
        (void)registered;
    }
    return Instance().get();
}

void FreeSkinManager() { Instance().reset(); }

TWinControl* FindControlByHandle(HWND window)
{
    if (!window)
        return nullptr;
    const QVariant v = window->property("tvControl");
    return v.isValid() ? static_cast<TWinControl*>(v.value<void*>()) : nullptr;
}

TSkinManage::TSkinManage()
{
    FTimer.setInterval(100);
    FTimer.setSingleShot(false);
    // A request takes effect its interval later, not up to a twentieth earlier.
    FTimer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&FTimer, &QTimer::timeout, this, [this] { TimerTick(); });
}

TSkinManage::~TSkinManage()
{
    FTimer.stop();
    for (HHOOK h : FMsgFilterHooks)
        UnhookWindowsHookEx(h);
    FMsgFilterHooks.clear();
    // Every window gets its own look back before the objects go.
    while (!FForms.empty())
        UnskinAndFree(FForms.front());
    for (TWinSkinPopMenu* p : FPopupMenus) {
        p->Detach();
        delete p;
    }
    FPopupMenus.clear();
    if (FHook)
        UnhookWindowsHookEx(FHook);
    FHook = 0;
}

void TSkinManage::InstallHook()
{
    FWinVersion = GetVersion();
    if (FHook)
        return;
    FHook = SetWindowsHookEx(
        WH_CBT,
        [this](int code, WPARAM w, LPARAM l) -> LRESULT {
            SafeCall([&] { HookEvent(code, w, l); });
            return CallNextHookEx(FHook, code, w, l);
        },
        nullptr, GetCurrentThreadId());
    // A manager still alive at exit goes before the hook list it is in.
    static const bool registered = [] {
        std::atexit(FreeSkinManager);
        return true;
    }();
    (void)registered;
}

void TSkinManage::HookEvent(int code, WPARAM wParam, LPARAM lParam)
{
    HWND window = HwndOf(wParam);
    if (!window)
        return;
    switch (code) {
    case HCBT_CREATEWND: {
        const auto* cbt = reinterpret_cast<const CBT_CREATEWND*>(lParam);
        const CREATESTRUCT* cs = cbt ? cbt->lpcs : nullptr;
        const QString cls = cs ? cs->lpszClass : GetClassName(window);
        const uint32_t style = cs ? cs->style : static_cast<uint32_t>(GetWindowLong(window, GWL_STYLE));
        const uint32_t exStyle = cs ? cs->dwExStyle : static_cast<uint32_t>(GetWindowLong(window, GWL_EXSTYLE));
        if (cls.compare(QLatin1String("ScrollBar"), Qt::CaseInsensitive) == 0 && (style & SBS_SIZEGRIP)) {
            if (TWinSkinForm* f = FindForm(GetParent(window)))
                f->SizeGripCreated(window);
        }
        if (!(style & WS_CHILD) && cls == QLatin1String("#32768"))
            SkinPopupMenu(window);
        if (exStyle & WS_EX_MDICHILD)
            SkinForm(window);
        break;
    }
    case HCBT_DESTROYWND:
        UnskinWindow(window);
        break;
    case HCBT_ACTIVATE:
        if (FSkinOnState == 0)
            FSkinOnState = 1;
        SkinForm(window);
        break;
    default:
        break;
    }
}

void TSkinManage::AddSkinData(TSkinData* data)
{
    if (!data || std::find(FSkinDataList.begin(), FSkinDataList.end(), data) != FSkinDataList.end())
        return;
    FSkinDataList.push_back(data);
    if (!FCurrentSkinData && data->SkinFormtype() == sfMainform)
        FCurrentSkinData = data;
}

void TSkinManage::RemoveSkinData(TSkinData* data)
{
    FSkinDataList.erase(std::remove(FSkinDataList.begin(), FSkinDataList.end(), data), FSkinDataList.end());
    if (FPendingSkinData == data)
        FPendingSkinData = nullptr;
    if (FCurrentSkinData == data) {
        FCurrentSkinData = nullptr;
        for (TSkinData* d : FSkinDataList) {
            if (d->SkinFormtype() == sfMainform) {
                FCurrentSkinData = d;
                break;
            }
        }
    }
    // With no switched-on skin left, the manager is back where it started:
    // new windows are not skinned, and the next skin switched on skins each
    // window as it is activated.
    if (std::none_of(FSkinDataList.begin(), FSkinDataList.end(), [](TSkinData* d) { return d->Active(); })) {
        FRunning = false;
        FSkinOnState = 0;
    }
    // Nothing may keep drawing with a skin that is gone.
    std::vector<TWinSkinForm*> users;
    for (TWinSkinForm* f : FForms)
        if (f->SkinData() == data)
            users.push_back(f);
    for (TWinSkinForm* f : users)
        UnskinAndFree(f);
    for (auto it = FPopupMenus.begin(); it != FPopupMenus.end();) {
        if ((*it)->SkinData() == data) {
            (*it)->Detach();
            delete *it;
            it = FPopupMenus.erase(it);
        } else {
            ++it;
        }
    }
}

TSkinData* TSkinManage::ChooseSkinData(HWND window, const QString& className) const
{
    auto last = [this](auto pred) -> TSkinData* {
        for (auto it = FSkinDataList.rbegin(); it != FSkinDataList.rend(); ++it)
            if (pred(*it))
                return *it;
        return nullptr;
    };
    if (TSkinData* d = last([window](TSkinData* s) {
            if (s->SkinFormtype() != sfOnlyThisForm)
                return false;
            auto* owner = dynamic_cast<TCustomForm*>(s->Owner());
            return owner && window && owner->Window() == window;
        }))
        return d;
    const QString lower = className.toLower();
    if (lower == QLatin1String("tmessageform") || lower == QLatin1String("#32770"))
        if (TSkinData* d = last([](TSkinData* s) { return s->SkinFormtype() == sfDialog; }))
            return d;
    if (TSkinData* d = last([](TSkinData* s) { return s->SkinFormtype() == sfMainform; }))
        return d;
    return FSkinDataList.empty() ? nullptr : FSkinDataList.front();
}

void TSkinManage::ScheduleAction(int action, int milliseconds)
{
    FPendingAction = action;
    FTimer.setInterval(milliseconds);
    if (FSkinOnState == 0) {
        // Nothing is skinned yet: the hook skins each window as it is activated.
        if (action == saSkinAll)
            FRunning = true;
        else if (action == saUnskinAll)
            FRunning = false;
        return;
    }
    FTimer.start();
}

void TSkinManage::RefreshSkinForms()
{
    std::vector<QPointer<QWidget>> windows;
    for (TWinSkinForm* f : FForms)
        if (f->SkinData() == FPendingSkinData && !f->Released())
            windows.emplace_back(f->Handle());
    for (const QPointer<QWidget>& w : windows)
        if (TWinSkinForm* f = FindForm(w))
            f->Reskin();
}

bool TSkinManage::PassesVisibleTopLevel(HWND window) const
{
    if (!window || !IsWindowVisible(window))
        return false;
    return (GetWindowLong(window, GWL_STYLE) & WS_CHILD) == 0;
}

void TSkinManage::TimerTick()
{
    FTimer.stop();
    TSkinData* data = FPendingSkinData;
    if (!data)
        return;
    const int action = FPendingAction;
    if (data->SkinFormtype() != sfOnlyThisForm) {
        switch (action) {
        case saSkinAll: {
            FRunning = true;
            FFormAttached = false;
            FChildFlag = true;
            Purge();
            if (Screen) {
                for (int i = Screen->FormCount() - 1; i >= 0; --i) {
                    if (i >= Screen->FormCount())
                        continue;
                    HWND w = Screen->Forms(i)->Window();
                    if (PassesVisibleTopLevel(w))
                        SkinForm(w);
                }
            }
            FChildFlag = false;
            break;
        }
        case saUnskinAll:
            FRunning = false;
            Purge();
            while (!FForms.empty())
                UnskinAndFree(FForms.front());
            break;
        case saReskin: {
            Purge();
            std::vector<QPointer<QWidget>> windows;
            for (TWinSkinForm* f : FForms)
                if (f->SkinData() == data)
                    windows.emplace_back(f->Handle());
            for (const QPointer<QWidget>& w : windows)
                if (TWinSkinForm* f = FindForm(w))
                    f->RefreshSkin();
            for (const QPointer<QWidget>& w : windows)
                if (TWinSkinForm* f = FindForm(w))
                    f->Repaint();
            break;
        }
        default:
            break;
        }
    } else {
        auto* owner = dynamic_cast<TCustomForm*>(data->Owner());
        switch (action) {
        case saSkinAll:
            FRunning = true;
            FChildFlag = true;
            if (Screen && owner) {
                for (int i = Screen->FormCount() - 1; i >= 0; --i) {
                    if (Screen->Forms(i) != owner)
                        continue;
                    if (PassesVisibleTopLevel(owner->Window()))
                        SkinForm(owner->Window());
                    break;
                }
            }
            FChildFlag = false;
            break;
        case saUnskinAll: {
            FRunning = false;
            Purge();
            for (auto it = FForms.rbegin(); it != FForms.rend(); ++it) {
                if ((*it)->SkinData() == data) {
                    UnskinAndFree(*it);
                    break;
                }
            }
            break;
        }
        case saReskin:
            Purge();
            for (TWinSkinForm* f : FForms) {
                if (f->SkinData() == data) {
                    f->RefreshSkin();
                    f->Repaint();
                    break;
                }
            }
            break;
        default:
            break;
        }
    }
    data->DoSkinChanged();
    if (FPendingSkinData == data)
        FPendingSkinData = nullptr;
}

bool TSkinManage::SkinForm(HWND window)
{
    // 1. Skinning of new windows is off.
    if (!FRunning || !window)
        return false;
    // 2. Forget forms whose windows went.
    Purge();
    // 3. Skinned already by some object.
    if (Answers(window, WM_SKINQUERY))
        return false;
    // 4. Skinned already by us.
    if (FindForm(window))
        return false;
    // 5. The window's control object.
    TWinControl* control = nullptr;
    TCustomForm* form = nullptr;
    if (Screen) {
        for (int i = 0; i < Screen->FormCount(); ++i) {
            if (Screen->Forms(i)->Window() == window) {
                form = Screen->Forms(i);
                control = form;
                break;
            }
        }
    }
    if (!control)
        control = FindControlByHandle(window);
    if (!form)
        form = dynamic_cast<TCustomForm*>(control);
    const uint32_t style = static_cast<uint32_t>(GetWindowLong(window, GWL_STYLE));
    const uint32_t exStyle = static_cast<uint32_t>(GetWindowLong(window, GWL_EXSTYLE));
    const bool mdiChild = (exStyle & WS_EX_MDICHILD) != 0;
    const QString cls = GetClassName(window);
    // 6. A child of anything but an MDI client, outside a skin-all pass.
    if (!FChildFlag && (style & WS_CHILD) && !mdiChild &&
        GetClassName(GetParent(window)).toLower() != QLatin1String("mdiclient"))
        return false;
    // 7. A window of another module without a control object, unless a system dialog.
    if (!control && GetWindowLong(window, GWL_HINSTANCE) != HInstance() && cls != QLatin1String("#32770"))
        return false;
    // 8. No area.
    TRect r;
    if (!mdiChild && (!GetWindowRect(window, r) || r.Width() * static_cast<int64_t>(r.Height()) <= 0))
        return false;
    // 9. The fixed tag that keeps a window unskinned.
    if (control && control->Tag() == 99)
        return false;
    // 10, 11. Classes that are never skinned.
    if (cls.contains(QLatin1String("TcxPopupEditPopupWindow")))
        return false;
    if (cls == QLatin1String("TApplication"))
        return false;
    // 12. The form-skin question.
    if (TSkinData* current = FCurrentSkinData) {
        bool doSkin = true;
        if (!current->Options().Contains(xoPreview) && cls.toLower().contains(QLatin1String("preview")))
            doSkin = false;
        if (cls == QLatin1String("#32770") && (style & 0x200))
            doSkin = false;
        current->DoFormSkin(window, cls, doSkin);
        if (!doSkin)
            return false;
    }
    // 13. A skin to draw with.
    TSkinData* data = ChooseSkinData(window, cls);
    if (!data || !data->SkinRead())
        return false;

    auto* skinForm = new TWinSkinForm(control);
    skinForm->SetWindow(window, cls);
    FForms.push_back(skinForm);
    if (form)
        skinForm->InitFromForm(data, form);
    else
        skinForm->InitWindow(data);
    // A window that is being shown (activated before it reaches the screen)
    // starts at once: it must be mapped without the window manager's frame
    // and paint in the skin the first time. Any other starts after the
    // current message.
    if (BeingShown(window))
        SendMessage(window, WM_SKINSTART, 0, 1000);
    else
        PostMessage(window, WM_SKINSTART, 0, 1000);
    return true;
}

void TSkinManage::SkinPopupMenu(HWND window)
{
    if (!FRunning || !window)
        return;
    // Menus destroyed without a destroy report leave detached objects behind.
    for (auto it = FPopupMenus.begin(); it != FPopupMenus.end();) {
        if (!(*it)->Window() || !(*it)->Attached()) {
            (*it)->Detach();
            delete *it;
            it = FPopupMenus.erase(it);
        } else {
            ++it;
        }
    }
    if (Answers(window, WM_SKINQUERY) || FindPopup(window))
        return;
    TSkinData* data = ChooseSkinData(window, GetClassName(window));
    if (!data || !data->SkinRead())
        return;
    const TSkinControlTypes kinds = data->SkinControls();
    switch (FMenuKind) {
    case mkPopup:
        if (!kinds.Contains(xcPopupMenu))
            return;
        break;
    case mkMainMenu:
        if (!kinds.Contains(xcMainMenu) && !kinds.Contains(xcMenuItem))
            return;
        break;
    case mkSystemMenu:
        if (!kinds.Contains(xcSystemMenu))
            return;
        break;
    default:
        break;
    }
    auto* popup = new TWinSkinPopMenu();
    popup->Attach(window, data, nullptr);
    FPopupMenus.push_back(popup);
    if (FMenuMark)
        popup->SetMark(true);
}

bool TSkinManage::UnskinWindow(HWND window)
{
    auto it = std::find_if(FPopupMenus.begin(), FPopupMenus.end(),
                           [window](TWinSkinPopMenu* p) { return p->Window() == window; });
    if (it == FPopupMenus.end())
        return false;
    TWinSkinPopMenu* popup = *it;
    FPopupMenus.erase(it);
    popup->Detach();
    delete popup;
    if (FPopupMenus.empty()) {
        FMenuKind = mkPopup;
        FMenuMark = false;
    }
    return true;
}

void TSkinManage::RemoveForm(HWND window)
{
    if (TWinSkinForm* f = FindForm(window))
        RemoveForm(f);
}

void TSkinManage::RemoveForm(TWinSkinForm* form)
{
    FForms.erase(std::remove(FForms.begin(), FForms.end(), form), FForms.end());
    if (FMDIForm == form) {
        FMDIForm = nullptr;
        FMDIClient = nullptr;
    }
}

void TSkinManage::Purge()
{
    std::vector<TWinSkinForm*> released;
    for (TWinSkinForm* f : FForms)
        if (f->Released())
            released.push_back(f);
    for (TWinSkinForm* f : released) {
        RemoveForm(f);
        delete f;
    }
}

void TSkinManage::UnskinAndFree(TWinSkinForm* form)
{
    RemoveForm(form);
    QPointer<QWidget> w = form->Handle();
    form->Unskin();
    delete form;
    if (w)
        RedrawWindow(w, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

TWinSkinForm* TSkinManage::FindForm(HWND window) const
{
    if (!window)
        return nullptr;
    for (TWinSkinForm* f : FForms)
        if (f->Handle() == window)
            return f;
    return nullptr;
}

TWinSkinPopMenu* TSkinManage::FindPopup(HWND window) const
{
    for (TWinSkinPopMenu* p : FPopupMenus)
        if (p->Window() == window)
            return p;
    return nullptr;
}

void TSkinManage::MarkPopupMenus()
{
    for (TWinSkinPopMenu* p : FPopupMenus)
        p->SetMark(true);
}

void TSkinManage::AssignPopupMenuHandle(HMENU menu)
{
    for (auto it = FPopupMenus.rbegin(); it != FPopupMenus.rend(); ++it) {
        if (!(*it)->MenuHandle()) {
            (*it)->SetMenuHandle(menu);
            return;
        }
    }
}

const QImage* TSkinManage::FindPopupBitmap(HMENU menu) const
{
    if (!menu)
        return nullptr;
    for (TWinSkinPopMenu* p : FPopupMenus)
        if (p->MenuHandle() == menu)
            return &p->CacheBitmap();
    return nullptr;
}

void TSkinManage::SetMDIMaximized(bool flag)
{
    if (flag == FMDIMaximized)
        return;
    FMDIMaximized = flag;
    if (FCurrentSkinData && FCurrentSkinData->Options().Contains(xoMDIChildBorder))
        return;
    for (TWinSkinForm* f : FForms) {
        if (f->WindowKind() != TWinSkinForm::wkMDIChild)
            continue;
        // Maximised children show the native caption; restored ones their skinned frame.
        f->SetCaptionStyle(flag);
        f->FrameChanged();
    }
}

void TSkinManage::SetMDIClient(HWND client, TWinSkinForm* form)
{
    FMDIClient = client;
    FMDIForm = form;
}

void TSkinManage::AddMsgFilterHook(HHOOK hook)
{
    if (hook)
        FMsgFilterHooks.push_back(hook);
}

void TSkinManage::RemoveMsgFilterHook(HHOOK hook)
{
    FMsgFilterHooks.erase(std::remove(FMsgFilterHooks.begin(), FMsgFilterHooks.end(), hook), FMsgFilterHooks.end());
}
