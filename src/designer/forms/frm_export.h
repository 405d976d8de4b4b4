#pragma once
#include "classlib/forms/form.h"

class TFrmExport : public TForm {
public:
    TV_CLASS_NAME(TFrmExport)
    explicit TFrmExport(TComponent* owner);
    ~TFrmExport() override;
};

extern TFrmExport* FrmExport;
