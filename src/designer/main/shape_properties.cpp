// The shape popup's commands: the settings dialog and the two colours.

#include "designer/main/frm_main.h"

#include "classlib/sysutils.h"
#include "designer/forms/frm_nastav_objekt.h"

namespace {
// A bound as the edit holds it. Beyond the range of window coordinates a
// number is refused like text that is no number.
int BoundValue(const TEdit* edit)
{
    const QString text = edit->Text();
    const int v = StrToInt(text);
    if (v < -32768 || v > 32767)
        throw EConvertError(QStringLiteral("\"%1\" není platné celé číslo").arg(text));
    return v;
}
} // namespace

void TFrmMain::BindShapeCommands()
{
    shp1->OnClick = [this](TComponent* s) { shp1Click(s); };
    shp2->OnClick = [this](TComponent* s) { shp2Click(s); };
    shp3->OnClick = [this](TComponent* s) { shp3Click(s); };
}

TShape* TFrmMain::SelectedShape() const
{
    return IsObject(SelectedObject) ? dynamic_cast<TShape*>(SelectedObject) : nullptr;
}

TColorDialog* TFrmMain::MainColorDialog()
{
    auto* dialog = dynamic_cast<TColorDialog*>(FindComponent(QStringLiteral("ColorDialog")));
    if (!dialog) {
        dialog = new TColorDialog(this);
        dialog->SetName(QStringLiteral("ColorDialog"));
    }
    return dialog;
}

void TFrmMain::shp1Click(TComponent*)
{
    TShape* s = SelectedShape();
    if (!s || !FrmNastavObjekt)
        return;
    TFrmNastavObjekt& d = *FrmNastavObjekt;
    d.PShape->SetShape(s->Shape());
    d.PShape->Brush()->Assign(s->Brush());
    d.PShape->Pen()->Assign(s->Pen());
    d.top->SetText(IntToStr(s->Top()));
    d.left->SetText(IntToStr(s->Left()));
    d.width->SetText(IntToStr(s->Width()));
    d.height->SetText(IntToStr(s->Height()));
    d.ShowModal();
    if (!TFrmNastavObjekt::IsConfirmed())
        return;
    ApplyShapeSettings();
    SetModified();
}

void TFrmMain::ApplyShapeSettings()
{
    TShape* s = SelectedShape();
    if (!s || !FrmNastavObjekt)
        return;
    const TFrmNastavObjekt& d = *FrmNastavObjekt;
    // "Použít" changes the design as OK does, and what is applied stays even
    // when the dialog is cancelled or a bound below is refused: without the
    // mark a close would drop the change without asking.
    SetModified();
    s->Brush()->Assign(d.PShape->Brush());
    s->Pen()->Assign(d.PShape->Pen());
    s->SetTop(BoundValue(d.top));
    s->SetLeft(BoundValue(d.left));
    s->SetWidth(BoundValue(d.width));
    s->SetHeight(BoundValue(d.height));
    ShowSelectionFrame(s->Left(), s->Top(), s->Width(), s->Height());
}

void TFrmMain::shp2Click(TComponent*)
{
    TShape* s = SelectedShape();
    if (!s)
        return;
    TColorDialog* dialog = MainColorDialog();
    dialog->Color = s->Brush()->Color();
    if (!dialog->Execute())
        return;
    s->Brush()->SetColor(dialog->Color);
    SetModified();
}

void TFrmMain::shp3Click(TComponent*)
{
    TShape* s = SelectedShape();
    if (!s)
        return;
    TColorDialog* dialog = MainColorDialog();
    dialog->Color = s->Pen()->Color();
    if (!dialog->Execute())
        return;
    s->Pen()->SetColor(dialog->Color);
    SetModified();
}
