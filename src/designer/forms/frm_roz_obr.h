#pragma once
#include "classlib/forms/form.h"

class TFrmRozObr : public TForm {
public:
    TV_CLASS_NAME(TFrmRozObr)
    explicit TFrmRozObr(TComponent* owner);
    ~TFrmRozObr() override;
};

extern TFrmRozObr* FrmRozObr;
