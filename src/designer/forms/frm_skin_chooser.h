#pragma once
#include "classlib/forms/form.h"

class TForm21 : public TForm {
public:
    TV_CLASS_NAME(TForm21)
    explicit TForm21(TComponent* owner);
    ~TForm21() override;
};

extern TForm21* Form21;
