#pragma once
// The box template editor: changes, adds and deletes the templates of
// section "KRAB" of the template file (box inserts and other rectangles).

#include "designer/forms/frm_edit_sablona_base.h"

class TFrmEditSablonaBox : public TTemplateEditor {
public:
    TV_CLASS_NAME(TFrmEditSablonaBox)
    explicit TFrmEditSablonaBox(TComponent* owner);
    ~TFrmEditSablonaBox() override;

    TGroupBox* GroupBox1 = nullptr; // "Čtverec 1": the label
    TGroupBox* GroupBox2 = nullptr; // "Čtverec 2": the inner rectangle
    TGroupBox* GroupBox3 = nullptr; // "Šablona:": the kind
    TEdit* PRT = nullptr;
    TEdit* PRL = nullptr;
    TEdit* PRS = nullptr;
    TEdit* PRV = nullptr;
    TEdit* PRT2 = nullptr;
    TEdit* PRL2 = nullptr;
    TEdit* PRS2 = nullptr;
    TEdit* PRV2 = nullptr;
    TCheckBox* SirkaBool = nullptr;
    TRadioButton* typ0 = nullptr; // "CD"
    TRadioButton* typ1 = nullptr; // "Pozadí"
    TRadioButton* typ2 = nullptr; // "Booklet"
    TRadioButton* typ3 = nullptr; // "DVD"

protected:
    TListBox* ChooserList() const override;
    bool CountBeforeName() const override { return false; }
    void LoadExtras(const TIniFile& ini, const QString& num) override;
    void ResetExtrasForAdd() override;
    void WriteExtras(TIniFile& ini, const QString& num) override;

private:
    TRadioButton* TypeButton(int kind) const;
};

extern TFrmEditSablonaBox* FrmEditSablonaBox;
