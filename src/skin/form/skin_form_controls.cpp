#include "skin/form/skin_form.h"

#include "skin/controls/skin_chooser.h"
#include "skin/controls/skin_control.h"

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
