#include "designer/forms/frm_ins_text.h"

TFrmInsText* FrmInsText = nullptr;

TFrmInsText::TFrmInsText(TComponent* owner) : TForm(owner)
{
    SetName(QStringLiteral("FrmInsText"));
    SetCaption(QStringLiteral("Vložit text"));
    SetBorderStyle(bsSingle);
    SetBorderIcons(biSystemMenu);
    SetPosition(poScreenCenter);
    SetClientSize(369, 245);
    if (!FrmInsText)
        FrmInsText = this;
}

TFrmInsText::~TFrmInsText()
{
    if (FrmInsText == this)
        FrmInsText = nullptr;
}
