#pragma once
#include "classlib/forms/form.h"

class TFrmInvisible : public TForm {
public:
    TV_CLASS_NAME(TFrmInvisible)
    explicit TFrmInvisible(TComponent* owner);
    ~TFrmInvisible() override;
};

extern TFrmInvisible* FrmInvisible;
