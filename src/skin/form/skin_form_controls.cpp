#include "skin/form/skin_form.h"

#include "skin/controls/skin_control.h"
#include "skin/controls/skin_controls_of.h"
#include "skin/controls/skin_scroll.h"

#include <algorithm>

// The control skinners of the window; choosing a skinner for every kind of
// control joins later, these attach the kinds that have one.

void TWinSkinForm::SkinChildControls()
{
    if (FForm && FSkinData)
        SkinControlsOf(this, FForm, FSkinData);
}

void TWinSkinForm::SkinChildWindowByClass()
{
    // Not yet: asking every child of a bare dialog for its class and style
    // leaves the item views of Qt's file dialog blank. Bare windows keep their
    // controls' own look until the choosing of skinners handles them.
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
