#pragma once
#include "classlib/forms/form.h"

class TFrmInsDir : public TForm {
public:
    TV_CLASS_NAME(TFrmInsDir)
    explicit TFrmInsDir(TComponent* owner);
    ~TFrmInsDir() override;
};

extern TFrmInsDir* FrmInsDir;
