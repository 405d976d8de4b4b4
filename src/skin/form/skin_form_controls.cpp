#include "skin/form/skin_form.h"

#include "skin/controls/skin_control.h"
#include "skin/controls/skin_controls_of.h"

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
    if (FHandle && FSkinData)
        SkinChildWindowsOf(this, FHandle, FSkinData);
}

void TWinSkinForm::RestoreControls(bool restore)
{
    // Each skinner leaves the list as it goes.
    const std::vector<TComponent*> skinners = FControls;
    for (TComponent* c : skinners) {
        auto* skinner = static_cast<TSkinControl*>(c);
        if (restore)
            skinner->Restore();
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
