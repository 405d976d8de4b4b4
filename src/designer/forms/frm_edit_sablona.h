#pragma once
#include "classlib/forms/form.h"

class TFrmEditSablona : public TForm {
public:
    TV_CLASS_NAME(TFrmEditSablona)
    explicit TFrmEditSablona(TComponent* owner);
    ~TFrmEditSablona() override;
};

extern TFrmEditSablona* FrmEditSablona;
