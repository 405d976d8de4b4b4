#include "designer/forms/frm_ins_dir.h"

TFrmInsDir* FrmInsDir = nullptr;

TFrmInsDir::TFrmInsDir(TComponent* owner) : TForm(owner)
{
    SetName(QStringLiteral("FrmInsDir"));
    SetCaption(QStringLiteral("Vložit seznam složek"));
    SetBorderStyle(bsSingle);
    SetBorderIcons(biSystemMenu);
    SetPosition(poScreenCenter);
    SetClientSize(310, 140);
    if (!FrmInsDir)
        FrmInsDir = this;
}

TFrmInsDir::~TFrmInsDir()
{
    if (FrmInsDir == this)
        FrmInsDir = nullptr;
}
