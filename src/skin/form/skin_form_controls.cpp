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
    // Not yet: asking every child of a bare dialog for its class and style
    // leaves the item views of Qt's file dialog blank. Bare windows keep their
    // controls' own look until the choosing of skinners handles them.
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
