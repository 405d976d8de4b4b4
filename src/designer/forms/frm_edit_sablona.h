#pragma once
// The disc template editor: changes, adds and deletes the templates of
// section "CD" of the template file.

#include "designer/forms/frm_edit_sablona_base.h"

class TFrmEditSablona : public TTemplateEditor {
public:
    TV_CLASS_NAME(TFrmEditSablona)
    explicit TFrmEditSablona(TComponent* owner);
    ~TFrmEditSablona() override;

    TEdit* PRT = nullptr; // top of the disc's bounding square
    TEdit* PRL = nullptr; // its left
    TEdit* PRS = nullptr; // outer diameter
    TEdit* PRV = nullptr; // diameter of the hole

protected:
    TListBox* ChooserList() const override;
    bool CountBeforeName() const override { return true; }
};

extern TFrmEditSablona* FrmEditSablona;
