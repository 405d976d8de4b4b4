#pragma once
#include "classlib/forms/form.h"

class TFrmInsText : public TForm {
public:
    TV_CLASS_NAME(TFrmInsText)
    explicit TFrmInsText(TComponent* owner);
    ~TFrmInsText() override;
};

extern TFrmInsText* FrmInsText;
