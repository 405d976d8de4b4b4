#include "designer/forms/frm_edit_sablona_box.h"

TFrmEditSablonaBox* FrmEditSablonaBox = nullptr;

TFrmEditSablonaBox::TFrmEditSablonaBox(TComponent* owner) : TForm(owner)
{
    SetName(QStringLiteral("FrmEditSablonaBox"));
    SetCaption(QStringLiteral("Editace šablony"));
    SetBorderStyle(bsSingle);
    SetBorderIcons(biSystemMenu);
    SetPosition(poScreenCenter);
    SetClientSize(377, 297);
    if (!FrmEditSablonaBox)
        FrmEditSablonaBox = this;
}

TFrmEditSablonaBox::~TFrmEditSablonaBox()
{
    if (FrmEditSablonaBox == this)
        FrmEditSablonaBox = nullptr;
}
