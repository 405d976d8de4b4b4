#pragma once
// The single skin manager: watches window creation, activation and
// destruction, decides which windows get a skinned form and which popup menus
// a skinned popup, and carries out the skin, unskin and reskin requests of the
// skin data components one timer tick after they were made.

#include "platform/hooks.h"
#include "platform/messages.h"

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

class TSkinData;
class TWinSkinForm;
class TWinSkinPopMenu;
using HMENU = QWidget*;

class TSkinManage : public QObject {
public:
    enum TAction { saNone = 0, saSkinAll = 1, saUnskinAll = 2, saReskin = 3 };
    // Which kind of menu opens next (set before a menu opens).
    enum TMenuKind { mkPopup = 0, mkMainMenu = 1, mkSystemMenu = 2 };

    TSkinManage();
    ~TSkinManage() override;
    TSkinManage(const TSkinManage&) = delete;
    TSkinManage& operator=(const TSkinManage&) = delete;

    // The window hook for the whole run: creation, activation, destruction.
    void InstallHook();
    bool HookInstalled() const { return FHook != 0; }
    // The hook procedure's work for one code (public so that tests can feed it).
    void HookEvent(int code, WPARAM wParam, LPARAM lParam);

    void AddSkinData(TSkinData* data);
    void RemoveSkinData(TSkinData* data);
    const std::vector<TSkinData*>& SkinDataList() const { return FSkinDataList; }
    // The first registered skin data of the main-form type.
    TSkinData* CurrentSkinData() const { return FCurrentSkinData; }
    // The skin data that governs a window; null when none does.
    TSkinData* ChooseSkinData(HWND window, const QString& className) const;

    // The last request before the tick wins. Before skinning has begun, skin
    // all and unskin all only switch the running flag.
    void ScheduleAction(int action, int milliseconds);
    // Every skinned form that uses the pending skin data re-reads its skin.
    void RefreshSkinForms();
    void TimerTick();

    // True when a skinned form was attached to the window.
    bool SkinForm(HWND window);
    void SkinPopupMenu(HWND window);
    // Releases the popup object of a destroyed window.
    bool UnskinWindow(HWND window);
    // Drops a form that detaches itself from the list (it is not freed).
    void RemoveForm(HWND window);
    void RemoveForm(TWinSkinForm* form);
    // Drops forms whose window is gone and frees the released ones.
    void Purge();
    TWinSkinForm* FindForm(HWND window) const;
    TWinSkinPopMenu* FindPopup(HWND window) const;
    const std::vector<TWinSkinForm*>& Forms() const { return FForms; }
    const std::vector<TWinSkinPopMenu*>& PopupMenus() const { return FPopupMenus; }

    void MarkPopupMenus();
    // The newest skinned popup without a menu gets this one.
    void AssignPopupMenuHandle(HMENU menu);
    // The cache bitmap of the skinned popup that shows menu; null when none.
    const QImage* FindPopupBitmap(HMENU menu) const;
    void SetMDIMaximized(bool flag);
    bool MDIMaximized() const { return FMDIMaximized; }

    // Message-filter hooks (menu-bar tracking) unhooked when the manager goes.
    void AddMsgFilterHook(HHOOK hook);
    void RemoveMsgFilterHook(HHOOK hook);
    const std::vector<HHOOK>& MsgFilterHooks() const { return FMsgFilterHooks; }

    bool Running() const { return FRunning; }
    void SetRunning(bool on) { FRunning = on; }
    bool ChildFlag() const { return FChildFlag; }
    int SkinOnState() const { return FSkinOnState; }
    void SetSkinOnState(int state) { FSkinOnState = state; }
    int MenuKind() const { return FMenuKind; }
    // A main-menu drop-down also sets the menu mark.
    void SetMenuKind(int kind)
    {
        FMenuKind = kind;
        if (kind == mkMainMenu)
            FMenuMark = true;
    }
    bool MenuMark() const { return FMenuMark; }
    void SetMenuMark(bool on) { FMenuMark = on; }
    int PendingAction() const { return FPendingAction; }
    TSkinData* PendingSkinData() const { return FPendingSkinData; }
    void SetPendingSkinData(TSkinData* data) { FPendingSkinData = data; }
    bool TimerActive() const { return FTimer.isActive(); }
    int TimerInterval() const { return FTimer.interval(); }

    // State the skinned forms share.
    bool FormAttached() const { return FFormAttached; }
    void SetFormAttached(bool on) { FFormAttached = on; }
    bool MDIChildMaximized() const { return FMDIChildMaximized; }
    void SetMDIChildMaximized(bool on) { FMDIChildMaximized = on; }
    // While on, a window being attached is hidden until its start message.
    bool HideWhileAttaching() const { return FHideWhileAttaching; }
    void SetHideWhileAttaching(bool on) { FHideWhileAttaching = on; }
    HWND MDIClient() const { return FMDIClient; }
    TWinSkinForm* MDIForm() const { return FMDIForm; }
    void SetMDIClient(HWND client, TWinSkinForm* form);
    // The platform version as GetVersion gives it (tests set others).
    uint32_t WinVersion() const { return FWinVersion; }
    void SetWinVersion(uint32_t v) { FWinVersion = v; }

    // Told for every skinned form whose start sequence has run (program trace).
    std::function<void(TWinSkinForm*)> OnFormStarted;

private:
    void UnskinAndFree(TWinSkinForm* form);
    bool PassesVisibleTopLevel(HWND window) const;

    QTimer FTimer;
    std::vector<TWinSkinForm*> FForms;
    std::vector<TWinSkinPopMenu*> FPopupMenus;
    std::vector<TSkinData*> FSkinDataList;
    std::vector<HHOOK> FMsgFilterHooks;
    HHOOK FHook = 0;
    bool FRunning = false;
    bool FChildFlag = false;
    int FSkinOnState = 0;
    int FMenuKind = mkPopup;
    bool FMenuMark = false;
    bool FMDIMaximized = false;
    bool FFormAttached = false;
    bool FMDIChildMaximized = false;
    bool FHideWhileAttaching = false;
    QPointer<QWidget> FMDIClient;
    TWinSkinForm* FMDIForm = nullptr;
    int FPendingAction = saNone;
    TSkinData* FPendingSkinData = nullptr;
    TSkinData* FCurrentSkinData = nullptr;
    uint32_t FWinVersion = 0;
};

// The manager of the program; null until the first skin data is loaded.
TSkinManage* SkinManager();
TSkinManage* CreateSkinManager();
void FreeSkinManager();

// The class library's control object of a window (the object kept under the
// window's control property); null for a null window or a bare Qt widget.
class TWinControl;
TWinControl* FindControlByHandle(HWND window);
