#pragma once
#include "classlib/forms/form.h"

class TFrmNew : public TForm {
public:
    TV_CLASS_NAME(TFrmNew)
    explicit TFrmNew(TComponent* owner);
    ~TFrmNew() override;
};

extern TFrmNew* FrmNew;
