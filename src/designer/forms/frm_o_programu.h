#pragma once
#include "classlib/forms/form.h"

class TFrmOProgramu : public TForm {
public:
    TV_CLASS_NAME(TFrmOProgramu)
    explicit TFrmOProgramu(TComponent* owner);
    ~TFrmOProgramu() override;
};

extern TFrmOProgramu* FrmOProgramu;
