#include "designer/forms/frm_roz_obr.h"

TFrmRozObr* FrmRozObr = nullptr;

TFrmRozObr::TFrmRozObr(TComponent* owner) : TForm(owner)
{
    SetName(QStringLiteral("FrmRozObr"));
    SetCaption(QStringLiteral("Rozmazání obrázku"));
    SetBorderStyle(bsSingle);
    SetBorderIcons(biSystemMenu);
    SetPosition(poScreenCenter);
    SetClientSize(441, 361);
    if (!FrmRozObr)
        FrmRozObr = this;
}

TFrmRozObr::~TFrmRozObr()
{
    if (FrmRozObr == this)
        FrmRozObr = nullptr;
}
