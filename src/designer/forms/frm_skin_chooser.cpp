#include "designer/forms/frm_skin_chooser.h"

TForm21* Form21 = nullptr;

TForm21::TForm21(TComponent* owner) : TForm(owner)
{
    SetName(QStringLiteral("Form21"));
    SetCaption(QStringLiteral("Form21"));
    SetBorderStyle(bsSingle);
    SetBorderIcons(biSystemMenu);
    SetPosition(poScreenCenter);
    SetClientSize(677, 446);
    if (!Form21)
        Form21 = this;
}

TForm21::~TForm21()
{
    if (Form21 == this)
        Form21 = nullptr;
}
