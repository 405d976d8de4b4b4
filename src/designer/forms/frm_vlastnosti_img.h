#pragma once
#include "classlib/forms/form.h"

class TFrmVlastnostiIMG : public TForm {
public:
    TV_CLASS_NAME(TFrmVlastnostiIMG)
    explicit TFrmVlastnostiIMG(TComponent* owner);
    ~TFrmVlastnostiIMG() override;
};

extern TFrmVlastnostiIMG* FrmVlastnostiIMG;
