#include "designer/forms/frm_edit_sablona_box.h"

#include "classlib/inifiles.h"
#include "designer/forms/frm_new.h"

TFrmEditSablonaBox* FrmEditSablonaBox = nullptr;

namespace {
const QString kSection = QStringLiteral("KRAB");
} // namespace

TFrmEditSablonaBox::TFrmEditSablonaBox(TComponent* owner) : TTemplateEditor(owner, kSection, QStringLiteral("12"))
{
    SetName(QStringLiteral("FrmEditSablonaBox"));
    SetClientSize(377, 297);
    CreateNameField();

    auto group = [&](const char* name, const QString& text, int left, int top, int width, int height) {
        TGroupBox* g = Placed(new TGroupBox(this), name, this, left, top, width, height);
        g->SetCaption(text);
        return g;
    };
    GroupBox1 = group("GroupBox1", QStringLiteral("Čtverec 1"), 8, 44, 176, 124);
    GroupBox2 = group("GroupBox2", QStringLiteral("Čtverec 2"), 193, 44, 176, 124);
    auto row = [&](TGroupBox* g, const char* edit, const char* key, const QString& text, bool size, int top) {
        const QByteArray n(edit);
        AddLabel(("lb" + n).constData(), text, g, 10, top + 4);
        // Both rectangles have the same four labels: a message names the rectangle too.
        const QString title = g->Caption() + QStringLiteral(" – ") + text.chopped(1);
        TEdit* e = AddField(edit, QString::fromLatin1(key), title, size, g, 64, top);
        AddLabel(("lb" + n + "mm").constData(), QStringLiteral("mm"), g, 140, top + 4);
        return e;
    };
    PRT = row(GroupBox1, "PRT", "PRT", QStringLiteral("Zhora:"), false, 20);
    PRL = row(GroupBox1, "PRL", "PRL", QStringLiteral("Zleva:"), false, 46);
    PRS = row(GroupBox1, "PRS", "PRS", QStringLiteral("Šířka:"), true, 72);
    PRV = row(GroupBox1, "PRV", "PRV", QStringLiteral("Výška:"), true, 98);
    PRT2 = row(GroupBox2, "PRT2", "PR2T", QStringLiteral("Zhora:"), false, 20);
    PRL2 = row(GroupBox2, "PRL2", "PR2L", QStringLiteral("Zleva:"), false, 46);
    PRS2 = row(GroupBox2, "PRS2", "PR2S", QStringLiteral("Šířka:"), true, 72);
    PRV2 = row(GroupBox2, "PRV2", "PR2V", QStringLiteral("Výška:"), true, 98);

    SirkaBool = Placed(new TCheckBox(this), "SirkaBool", this, 16, 176, 120, 17);
    SirkaBool->SetCaption(QStringLiteral("Na šířku"));
    GroupBox3 = group("GroupBox3", QStringLiteral("Šablona:"), 8, 200, 361, 48);
    auto kind = [&](const char* name, const QString& text, int left) {
        TRadioButton* r = Placed(new TRadioButton(this), name, GroupBox3, left, 20, 80, 17);
        r->SetCaption(text);
        return r;
    };
    typ0 = kind("typ0", QStringLiteral("CD"), 10);
    typ1 = kind("typ1", QStringLiteral("Pozadí"), 96);
    typ2 = kind("typ2", QStringLiteral("Booklet"), 182);
    typ3 = kind("typ3", QStringLiteral("DVD"), 268);
    CreateButtons(260);

    if (!FrmEditSablonaBox)
        FrmEditSablonaBox = this;
}

TFrmEditSablonaBox::~TFrmEditSablonaBox()
{
    if (FrmEditSablonaBox == this)
        FrmEditSablonaBox = nullptr;
}

TListBox* TFrmEditSablonaBox::ChooserList() const { return FrmNew ? FrmNew->ListBox2 : nullptr; }

TRadioButton* TFrmEditSablonaBox::TypeButton(int kind) const
{
    switch (kind) {
    case 0: return typ0;
    case 1: return typ1;
    case 2: return typ2;
    case 3: return typ3;
    default: return nullptr;
    }
}

void TFrmEditSablonaBox::LoadExtras(const TIniFile& ini, const QString& num)
{
    SirkaBool->SetChecked(ini.ReadBool(kSection, QStringLiteral("Sirka") + num, false));
    // A kind beyond the four leaves the buttons as the last showing left them.
    if (TRadioButton* r = TypeButton(ini.ReadInteger(kSection, QStringLiteral("Typ") + num, 0)))
        r->SetChecked(true);
}

void TFrmEditSablonaBox::ResetExtrasForAdd()
{
    SirkaBool->SetChecked(false);
    typ0->SetChecked(true);
}

void TFrmEditSablonaBox::WriteExtras(TIniFile& ini, const QString& num)
{
    ini.WriteBool(kSection, QStringLiteral("Sirka") + num, SirkaBool->Checked());
    for (int kind = 0; kind < 4; ++kind)
        if (TypeButton(kind)->Checked()) {
            ini.WriteInteger(kSection, QStringLiteral("Typ") + num, kind);
            break;
        }
}
