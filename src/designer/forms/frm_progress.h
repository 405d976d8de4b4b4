#pragma once
#include "classlib/forms/form.h"

class TFrmProgress : public TForm {
public:
    TV_CLASS_NAME(TFrmProgress)
    explicit TFrmProgress(TComponent* owner);
    ~TFrmProgress() override;
};

extern TFrmProgress* FrmProgress;
