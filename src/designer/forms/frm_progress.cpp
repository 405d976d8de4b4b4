#include "designer/forms/frm_progress.h"

TFrmProgress* FrmProgress = nullptr;

TFrmProgress::TFrmProgress(TComponent* owner) : TForm(owner)
{
    SetName(QStringLiteral("FrmProgress"));
    SetCaption(QStringLiteral(""));
    SetBorderStyle(bsNone);
    SetPosition(poScreenCenter);
    SetClientSize(291, 71);
    if (!FrmProgress)
        FrmProgress = this;
}

TFrmProgress::~TFrmProgress()
{
    if (FrmProgress == this)
        FrmProgress = nullptr;
}
