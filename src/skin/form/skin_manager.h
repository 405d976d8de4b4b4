#pragma once
// The single skin manager: holds the registered skin data components and
// carries out their skin, unskin and reskin requests one timer tick after they
// were made. Skinning of the windows themselves joins it with the form skinner.

#include <QObject>
#include <QTimer>
#include <memory>
#include <vector>

class TSkinData;

class TSkinManage : public QObject {
public:
    enum TAction { saNone = 0, saSkinAll = 1, saUnskinAll = 2, saReskin = 3 };

    TSkinManage();
    ~TSkinManage() override;
    TSkinManage(const TSkinManage&) = delete;
    TSkinManage& operator=(const TSkinManage&) = delete;

    // Watches window activation for the whole run: the first activation means
    // skinning has really begun.
    void InstallHook();
    bool HookInstalled() const { return FHookInstalled; }

    void AddSkinData(TSkinData* data);
    void RemoveSkinData(TSkinData* data);
    const std::vector<TSkinData*>& SkinDataList() const { return FSkinDataList; }
    // The first registered skin data of the main-form type.
    TSkinData* CurrentSkinData() const { return FCurrentSkinData; }

    // The last request before the tick wins. Before skinning has begun, skin
    // all and unskin all only switch the running flag.
    void ScheduleAction(int action, int milliseconds);
    // Every skinned form that uses the pending skin data re-reads its skin.
    void RefreshSkinForms();
    void TimerTick();

    bool Running() const { return FRunning; }
    void SetRunning(bool on) { FRunning = on; }
    int SkinOnState() const { return FSkinOnState; }
    void SetSkinOnState(int state) { FSkinOnState = state; }
    int PendingAction() const { return FPendingAction; }
    TSkinData* PendingSkinData() const { return FPendingSkinData; }
    void SetPendingSkinData(TSkinData* data) { FPendingSkinData = data; }
    bool TimerActive() const { return FTimer.isActive(); }
    int TimerInterval() const { return FTimer.interval(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTimer FTimer;
    std::vector<TSkinData*> FSkinDataList;
    TSkinData* FCurrentSkinData = nullptr;
    bool FHookInstalled = false;
    bool FRunning = false;
    int FSkinOnState = 0;
    int FPendingAction = saNone;
    TSkinData* FPendingSkinData = nullptr;
};

// The manager of the program; null until the first skin data is loaded.
TSkinManage* SkinManager();
TSkinManage* CreateSkinManager();
void FreeSkinManager();
