#include "designer/forms/frm_srafovani.h"

TFrmSrafovani* FrmSrafovani = nullptr;

TFrmSrafovani::TFrmSrafovani(TComponent* owner) : TForm(owner)
{
    SetName(QStringLiteral("FrmSrafovani"));
    SetCaption(QStringLiteral("Nastavení objektu"));
    SetBorderStyle(bsSingle);
    SetBorderIcons(biSystemMenu);
    SetPosition(poScreenCenter);
    SetClientSize(305, 209);
    if (!FrmSrafovani)
        FrmSrafovani = this;
}

TFrmSrafovani::~TFrmSrafovani()
{
    if (FrmSrafovani == this)
        FrmSrafovani = nullptr;
}
