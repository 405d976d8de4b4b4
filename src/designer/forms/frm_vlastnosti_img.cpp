#include "designer/forms/frm_vlastnosti_img.h"

TFrmVlastnostiIMG* FrmVlastnostiIMG = nullptr;

TFrmVlastnostiIMG::TFrmVlastnostiIMG(TComponent* owner) : TForm(owner)
{
    SetName(QStringLiteral("FrmVlastnostiIMG"));
    SetCaption(QStringLiteral("Vlastnosti objektu"));
    SetBorderStyle(bsSingle);
    SetBorderIcons(biSystemMenu);
    SetPosition(poScreenCenter);
    SetClientSize(337, 265);
    if (!FrmVlastnostiIMG)
        FrmVlastnostiIMG = this;
}

TFrmVlastnostiIMG::~TFrmVlastnostiIMG()
{
    if (FrmVlastnostiIMG == this)
        FrmVlastnostiIMG = nullptr;
}
