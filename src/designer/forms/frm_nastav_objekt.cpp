#include "designer/forms/frm_nastav_objekt.h"

TFrmNastavObjekt* FrmNastavObjekt = nullptr;

TFrmNastavObjekt::TFrmNastavObjekt(TComponent* owner) : TForm(owner)
{
    SetName(QStringLiteral("FrmNastavObjekt"));
    SetCaption(QStringLiteral("Nastavení objektu"));
    SetBorderStyle(bsSingle);
    SetBorderIcons(biSystemMenu);
    SetPosition(poScreenCenter);
    SetClientSize(361, 289);
    if (!FrmNastavObjekt)
        FrmNastavObjekt = this;
}

TFrmNastavObjekt::~TFrmNastavObjekt()
{
    if (FrmNastavObjekt == this)
        FrmNastavObjekt = nullptr;
}
