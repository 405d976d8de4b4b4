#pragma once
// The about box: the program's name with a shadow, its emblem and the
// maker's contact lines on a background picture.

#include "classlib/controls/ext_controls.h"
#include "classlib/controls/image.h"
#include "classlib/controls/speed_button.h"
#include "classlib/controls/std_controls.h"
#include "classlib/controls/trans_memo.h"
#include "classlib/forms/form.h"

class TFrmOProgramu : public TForm {
public:
    TV_CLASS_NAME(TFrmOProgramu)
    explicit TFrmOProgramu(TComponent* owner);
    ~TFrmOProgramu() override;

    TImage* Image1 = nullptr;        // background picture over the whole window
    TBevel* Bevel1 = nullptr;        // raised frame over it
    TImage* Image2 = nullptr;        // the emblem
    TLabel* lblNazevProg = nullptr;  // the name's dark shadow
    TLabel* lblNazevProg2 = nullptr; // the name in white, over its shadow
    TTransMemo* TransMemo1 = nullptr;
    TBevel* Bevel2 = nullptr;        // raised frame round the close button
    TSpeedButton* btnClose = nullptr;

    void btnCloseClick(TComponent* sender);
};

extern TFrmOProgramu* FrmOProgramu;
