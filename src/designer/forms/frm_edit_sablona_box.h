#pragma once
#include "classlib/forms/form.h"

class TFrmEditSablonaBox : public TForm {
public:
    TV_CLASS_NAME(TFrmEditSablonaBox)
    explicit TFrmEditSablonaBox(TComponent* owner);
    ~TFrmEditSablonaBox() override;
};

extern TFrmEditSablonaBox* FrmEditSablonaBox;
