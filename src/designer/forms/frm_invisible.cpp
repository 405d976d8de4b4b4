#include "designer/forms/frm_invisible.h"

TFrmInvisible* FrmInvisible = nullptr;

TFrmInvisible::TFrmInvisible(TComponent* owner) : TForm(owner)
{
    SetName(QStringLiteral("FrmInvisible"));
    SetCaption(QStringLiteral("Nová verze"));
    SetBorderStyle(bsSingle);
    SetBorderIcons(biSystemMenu);
    SetPosition(poScreenCenter);
    SetClientSize(329, 121);
    if (!FrmInvisible)
        FrmInvisible = this;
}

TFrmInvisible::~TFrmInvisible()
{
    if (FrmInvisible == this)
        FrmInvisible = nullptr;
}
