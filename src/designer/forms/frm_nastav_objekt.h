#pragma once
#include "classlib/forms/form.h"

class TFrmNastavObjekt : public TForm {
public:
    TV_CLASS_NAME(TFrmNastavObjekt)
    explicit TFrmNastavObjekt(TComponent* owner);
    ~TFrmNastavObjekt() override;
};

extern TFrmNastavObjekt* FrmNastavObjekt;
