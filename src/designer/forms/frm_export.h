#pragma once
// Options of the bitmap export. The caller reads the five check boxes after
// the window closes, however it was closed.

#include "classlib/controls/ext_controls.h"
#include "classlib/controls/image.h"
#include "classlib/controls/std_controls.h"
#include "classlib/forms/form.h"

class TFrmExport : public TForm {
public:
    TV_CLASS_NAME(TFrmExport)
    explicit TFrmExport(TComponent* owner);
    ~TFrmExport() override;

    TImage* Image1 = nullptr; // the icon
    TLabel* Label1 = nullptr; // the heading
    TBevel* Bevel1 = nullptr;
    TBevel* Bevel2 = nullptr;
    TCheckBox* orez = nullptr;      // crop to the template's outline
    TCheckBox* ExPozadi = nullptr;  // background picture
    TCheckBox* ExObrazky = nullptr; // pictures
    TCheckBox* ExTexty = nullptr;   // the text kinds
    TCheckBox* ExObjekty = nullptr; // shapes
    TButton* Button1 = nullptr;     // "Pokračovat"

    void Button1Click(TComponent* sender);
};

extern TFrmExport* FrmExport;
