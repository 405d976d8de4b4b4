#include "designer/forms/frm_new.h"

TFrmNew* FrmNew = nullptr;

TFrmNew::TFrmNew(TComponent* owner) : TForm(owner)
{
    SetName(QStringLiteral("FrmNew"));
    SetCaption(QStringLiteral("Nový"));
    SetBorderStyle(bsSingle);
    SetBorderIcons(biSystemMenu);
    SetPosition(poScreenCenter);
    SetClientSize(553, 293);
    if (!FrmNew)
        FrmNew = this;
}

TFrmNew::~TFrmNew()
{
    if (FrmNew == this)
        FrmNew = nullptr;
}
