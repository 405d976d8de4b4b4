#pragma once
// The progress window of printing and export: objects done, and the rows of
// the picture being copied. Its callers set the gauges and show and close it.

#include "classlib/controls/ext_controls.h"
#include "classlib/controls/gauge.h"
#include "classlib/controls/std_controls.h"
#include "classlib/forms/form.h"

class TFrmProgress : public TForm {
public:
    TV_CLASS_NAME(TFrmProgress)
    explicit TFrmProgress(TComponent* owner);
    ~TFrmProgress() override;

    TBevel* Bevel1 = nullptr;
    TLabel* lblProbihaTisk = nullptr;
    TGauge* Progress = nullptr;    // objects done, with its percentage
    TGauge* ProgressOBJ = nullptr; // progress inside one object
};

extern TFrmProgress* FrmProgress;
