#include "skin/skin_manager.h"

#include "skin/skin_data.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <algorithm>

namespace {
std::unique_ptr<TSkinManage>& Instance()
{
    static std::unique_ptr<TSkinManage> instance;
    return instance;
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

TSkinManage::TSkinManage()
{
    FTimer.setInterval(100);
    QObject::connect(&FTimer, &QTimer::timeout, [this] { TimerTick(); });
}

TSkinManage::~TSkinManage()
{
    FTimer.stop();
    if (FHookInstalled && QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
}

void TSkinManage::InstallHook()
{
    if (FHookInstalled || !QCoreApplication::instance())
        return;
    QCoreApplication::instance()->installEventFilter(this);
    FHookInstalled = true;
}

bool TSkinManage::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::WindowActivate) {
        auto* w = qobject_cast<QWidget*>(watched);
        if (w && w->isWindow() && FSkinOnState == 0)
            FSkinOnState = 1;
    }
    return false;
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
    // No window is skinned before the form skinner joins the manager.
}

void TSkinManage::TimerTick()
{
    FTimer.stop();
    TSkinData* data = FPendingSkinData;
    if (!data)
        return;
    // The passes over the windows (skin, restore, re-read) join with the form skinner.
    if (FPendingAction == saSkinAll)
        FRunning = true;
    else if (FPendingAction == saUnskinAll)
        FRunning = false;
    data->DoSkinChanged();
    FPendingSkinData = nullptr;
}
