#include "designer/forms/frm_korekce.h"

TFrmKorekce* FrmKorekce = nullptr;

TFrmKorekce::TFrmKorekce(TComponent* owner) : TForm(owner)
{
    SetName(QStringLiteral("FrmKorekce"));
    SetCaption(QStringLiteral("Korekce tisku"));
    SetBorderStyle(bsSingle);
    SetBorderIcons(biSystemMenu);
    SetPosition(poScreenCenter);
    SetClientSize(328, 177);
    if (!FrmKorekce)
        FrmKorekce = this;
}

TFrmKorekce::~TFrmKorekce()
{
    if (FrmKorekce == this)
        FrmKorekce = nullptr;
}
