#include "designer/forms/frm_progress.h"

TFrmProgress* FrmProgress = nullptr;

TFrmProgress::TFrmProgress(TComponent* owner) : TForm(owner)
{
    SetName(QStringLiteral("FrmProgress"));
    SetCaption(QString());
    SetBorderStyle(bsNone);
    SetPosition(poScreenCenter);
    SetClientSize(291, 71);

    auto place = [this](auto* c, const char* name, int l, int t, int w, int h) {
        return Placed(c, name, this, l, t, w, h);
    };
    Bevel1 = place(new TBevel(this), "Bevel1", 0, 0, 291, 71);
    Bevel1->SetAlign(alClient);
    Bevel1->SetStyle(bsRaised);
    lblProbihaTisk = place(new TLabel(this), "lblProbihaTisk", 8, 8, 120, 16);
    lblProbihaTisk->Font()->SetName(QStringLiteral("Arial"));
    lblProbihaTisk->Font()->SetHeight(-13);
    lblProbihaTisk->Font()->SetStyle(FontStyleBit(fsBold));
    lblProbihaTisk->SetCaption(QStringLiteral("Probíhá tisk..."));
    Progress = place(new TGauge(this), "Progress", 8, 32, 273, 19);
    Progress->SetForeColor(clBlue);
    Progress->SetShowText(true);
    ProgressOBJ = place(new TGauge(this), "ProgressOBJ", 8, 58, 273, 9);
    ProgressOBJ->SetForeColor(clBlue);
    ProgressOBJ->SetShowText(false);
    if (!FrmProgress)
        FrmProgress = this;
}

TFrmProgress::~TFrmProgress()
{
    if (FrmProgress == this)
        FrmProgress = nullptr;
}
