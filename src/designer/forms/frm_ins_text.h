#pragma once
// The text dialog: the text of a new object, its font and colour, and (for
// text drawn as a picture) rotation and drawing options. The confirmed text
// and the font for new text stay in the hidden edit Memo between uses.

#include "classlib/controls/com_controls.h"
#include "classlib/controls/std_controls.h"
#include "classlib/forms/dialogs.h"
#include "classlib/forms/form.h"

class TFrmInsText : public TForm {
public:
    TV_CLASS_NAME(TFrmInsText)
    explicit TFrmInsText(TComponent* owner);
    ~TFrmInsText() override;

    // Whether the last showing ended with OK and a text.
    bool IsConfirmed() const;
    void ShowPropertiesTab(bool visible);
    // The design font of Memo: Arial, bold, 20 pt, central European.
    static void AssignDefaultFont(TFont* font);

    void FormShow(TComponent* sender);
    void BtnOKClick(TComponent* sender);
    void btnStornoClick(TComponent* sender);
    void btnFontClick(TComponent* sender);
    void btnColorClick(TComponent* sender);

    TPageControl* PageControl1 = nullptr;
    TTabSheet* Tab1 = nullptr;
    TGroupBox* GB1 = nullptr;
    TGroupBox* GB2 = nullptr;
    TEdit* text = nullptr;
    TEdit* Memo = nullptr; // hidden
    TButton* btnFont = nullptr;
    TButton* btnColor = nullptr;
    TButton* BtnOK = nullptr;
    TButton* btnStorno = nullptr;
    TTabSheet* TabRotace1 = nullptr;
    TGroupBox* GB3 = nullptr;
    TGroupBox* GB4 = nullptr;
    TRadioButton *Rot0 = nullptr, *Rot90 = nullptr, *Rot180 = nullptr, *Rot270 = nullptr;
    TCheckBox* AutoSize = nullptr;
    TCheckBox* Aliasing = nullptr;
    TCheckBox* Filling = nullptr;
    TButton* btnOK2 = nullptr;
    TButton* btnStorno2 = nullptr;
    TFontDialog* FontDialog = nullptr;
    TColorDialog* ColorDialog = nullptr;
};

extern TFrmInsText* FrmInsText;
