#include "designer/forms/frm_edit_sablona.h"

#include "designer/forms/frm_new.h"

TFrmEditSablona* FrmEditSablona = nullptr;

TFrmEditSablona::TFrmEditSablona(TComponent* owner) : TTemplateEditor(owner, QStringLiteral("CD"), QStringLiteral("21"))
{
    SetName(QStringLiteral("FrmEditSablona"));
    SetClientSize(377, 217);
    CreateNameField();
    auto row = [&](const char* label, const char* edit, const char* key, const QString& text, bool size, int top) {
        AddLabel(label, text, this, 16, top + 4);
        TEdit* e = AddField(edit, QString::fromLatin1(key), text.chopped(1), size, this, 112, top);
        AddLabel((QByteArray(label) + "mm").constData(), QStringLiteral("mm"), this, 188, top + 4);
        return e;
    };
    PRT = row("lbPRT", "PRT", "PRT", QStringLiteral("Zhora:"), false, 48);
    PRL = row("lbPRL", "PRL", "PRL", QStringLiteral("Zleva:"), false, 76);
    PRS = row("lbPRS", "PRS", "PRS", QStringLiteral("Velký průměr:"), true, 104);
    PRV = row("lbPRV", "PRV", "PRV", QStringLiteral("Průměr středu:"), true, 132);
    CreateButtons(180);
    if (!FrmEditSablona)
        FrmEditSablona = this;
}

TFrmEditSablona::~TFrmEditSablona()
{
    if (FrmEditSablona == this)
        FrmEditSablona = nullptr;
}

TListBox* TFrmEditSablona::ChooserList() const { return FrmNew ? FrmNew->ListBox1 : nullptr; }
