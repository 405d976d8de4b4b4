#pragma once
#include "classlib/forms/form.h"

class TFrmInsFiles : public TForm {
public:
    TV_CLASS_NAME(TFrmInsFiles)
    explicit TFrmInsFiles(TComponent* owner);
    ~TFrmInsFiles() override;
};

extern TFrmInsFiles* FrmInsFiles;
