#pragma once
#include "classlib/forms/form.h"

class TFrmKorekce : public TForm {
public:
    TV_CLASS_NAME(TFrmKorekce)
    explicit TFrmKorekce(TComponent* owner);
    ~TFrmKorekce() override;
};

extern TFrmKorekce* FrmKorekce;
