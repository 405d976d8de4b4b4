#pragma once
#include "classlib/forms/form.h"

class TFrmSrafovani : public TForm {
public:
    TV_CLASS_NAME(TFrmSrafovani)
    explicit TFrmSrafovani(TComponent* owner);
    ~TFrmSrafovani() override;
};

extern TFrmSrafovani* FrmSrafovani;
