#include "designer/forms/frm_edit_sablona.h"

TFrmEditSablona* FrmEditSablona = nullptr;

TFrmEditSablona::TFrmEditSablona(TComponent* owner) : TForm(owner)
{
    SetName(QStringLiteral("FrmEditSablona"));
    SetCaption(QStringLiteral("Editace šablony"));
    SetBorderStyle(bsSingle);
    SetBorderIcons(biSystemMenu);
    SetPosition(poScreenCenter);
    SetClientSize(377, 257);
    if (!FrmEditSablona)
        FrmEditSablona = this;
}

TFrmEditSablona::~TFrmEditSablona()
{
    if (FrmEditSablona == this)
        FrmEditSablona = nullptr;
}
