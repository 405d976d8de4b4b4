#include "designer/forms/frm_ins_files.h"

TFrmInsFiles* FrmInsFiles = nullptr;

TFrmInsFiles::TFrmInsFiles(TComponent* owner) : TForm(owner)
{
    SetName(QStringLiteral("FrmInsFiles"));
    SetCaption(QStringLiteral("Vložit seznam souborů"));
    SetBorderStyle(bsSingle);
    SetBorderIcons(biSystemMenu);
    SetPosition(poScreenCenter);
    SetClientSize(310, 140);
    if (!FrmInsFiles)
        FrmInsFiles = this;
}

TFrmInsFiles::~TFrmInsFiles()
{
    if (FrmInsFiles == this)
        FrmInsFiles = nullptr;
}
