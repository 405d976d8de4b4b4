#include "designer/forms/frm_o_programu.h"

TFrmOProgramu* FrmOProgramu = nullptr;

TFrmOProgramu::TFrmOProgramu(TComponent* owner) : TForm(owner)
{
    SetName(QStringLiteral("FrmOProgramu"));
    SetCaption(QStringLiteral(""));
    SetBorderStyle(bsNone);
    SetPosition(poScreenCenter);
    SetClientSize(456, 242);
    if (!FrmOProgramu)
        FrmOProgramu = this;
}

TFrmOProgramu::~TFrmOProgramu()
{
    if (FrmOProgramu == this)
        FrmOProgramu = nullptr;
}
