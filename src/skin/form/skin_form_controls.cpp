#include "skin/form/skin_form.h"

#include "skin/controls/skin_chooser.h"
#include "skin/controls/skin_control.h"
#include "skin/controls/skin_scroll.h"

#include <algorithm>

// The control skinners of the window, chosen per control or child window.

void TWinSkinForm::SkinChildControls()
{
    if (FForm && FSkinData)
        TSkinChooser(this, FSkinData).SkinChildControls(FForm);
}

void TWinSkinForm::SkinChildWindowByClass()
{
    if (FHandle && FSkinData)
        TSkinChooser(this, FSkinData).SkinChildWindows(FHandle);
}

void TWinSkinForm::RestoreControls(bool restore)
{
    // Each skinner leaves the list as it goes; one may free the skinners it
    // made itself (a combo box its list's), which are then no longer listed.
    const std::vector<TComponent*> skinners = FControls;
    auto listed = [this](TComponent* c) { return std::find(FControls.begin(), FControls.end(), c) != FControls.end(); };
    for (TComponent* c : skinners) {
        if (!listed(c))
            continue;
        auto* skinner = static_cast<TSkinControl*>(c);
        if (restore)
            skinner->Restore();
        if (listed(c))
            delete skinner;
    }
    FControls.clear();
}

void TWinSkinForm::AddControl(TComponent* skinner)
{
    if (skinner && std::find(FControls.begin(), FControls.end(), skinner) == FControls.end())
        FControls.push_back(skinner);
}

void TWinSkinForm::RemoveControl(TComponent* skinner)
{
    FControls.erase(std::remove(FControls.begin(), FControls.end(), skinner), FControls.end());
    if (FHotControl == skinner)
        FHotControl = nullptr;
}

void TWinSkinForm::ScrollFix(HWND window)
{
    if (!window)
        return;
    for (TComponent* c : FControls) {
        auto* old = dynamic_cast<TSkinControl*>(c);
        if (!old || old->Hwnd() != window)
            continue;
        TControl* control = old->Control();
        const bool listView = dynamic_cast<TSkinListView*>(old) != nullptr;
        TSkinData* data = old->SkinData() ? old->SkinData() : FSkinData;
        old->Restore();
        delete old; // leaves the list
        if (!control)
            return;
        TSkinScrollbar* fresh = listView ? new TSkinListView(control) : new TSkinScrollbar(control);
        fresh->InitScroll(control, data, this, nullptr);
        return;
    }
}
