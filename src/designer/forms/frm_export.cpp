#include "designer/forms/frm_export.h"

TFrmExport* FrmExport = nullptr;

TFrmExport::TFrmExport(TComponent* owner) : TForm(owner)
{
    SetName(QStringLiteral("FrmExport"));
    SetCaption(QStringLiteral("Export"));
    SetBorderStyle(bsSingle);
    SetBorderIcons(biSystemMenu);
    SetPosition(poScreenCenter);
    SetClientSize(483, 302);
    if (!FrmExport)
        FrmExport = this;
}

TFrmExport::~TFrmExport()
{
    if (FrmExport == this)
        FrmExport = nullptr;
}
