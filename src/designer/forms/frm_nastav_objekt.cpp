#include "designer/forms/frm_nastav_objekt.h"

#include "designer/forms/frm_srafovani.h"
#include "designer/main/frm_main.h"

TFrmNastavObjekt* FrmNastavObjekt = nullptr;

namespace {
// The dialog's result, shared by every showing.
bool gConfirmed = false;
} // namespace

TFrmNastavObjekt::TFrmNastavObjekt(TComponent* owner) : TForm(owner)
{
    SetName(QStringLiteral("FrmNastavObjekt"));
    SetCaption(QStringLiteral("Nastavení objektu"));
    SetBorderStyle(bsSingle);
    SetBorderIcons(biSystemMenu);
    SetPosition(poScreenCenter);
    SetClientSize(361, 289);

    PageControl1 = Placed(new TPageControl(this), "PageControl1", this, 4, 4, 353, 281);
    auto page = [this](const char* name, const QString& caption) {
        auto* t = new TTabSheet(this);
        t->SetName(QString::fromLatin1(name));
        t->SetPageControl(PageControl1);
        t->SetCaption(caption);
        return t;
    };
    TabSheet1 = page("TabSheet1", QStringLiteral("Vlastnosti"));
    TabSheet2 = page("TabSheet2", QStringLiteral("Velikost"));

    GroupBox1 = Placed(new TGroupBox(this), "GroupBox1", TabSheet1, 8, 8, 129, 177);
    GroupBox1->SetCaption(QStringLiteral(" Náhled "));
    PShape = Placed(new TShape(this), "PShape", GroupBox1, 16, 24, 97, 137);

    GroupBox2 = Placed(new TGroupBox(this), "GroupBox2", TabSheet1, 144, 8, 193, 177);
    GroupBox2->SetCaption(QStringLiteral("Okraj a pozadí"));
    VizRam = Placed(new TCheckBox(this), "VizRam", GroupBox2, 10, 20, 170, 17);
    VizRam->SetCaption(QStringLiteral("Zobrazovat okraj"));
    VizRam->OnClick = [this](TComponent* s) { VizRamClick(s); };
    lbSirka = Placed(new TLabel(this), "lbSirka", GroupBox2, 10, 46, 90, 13);
    lbSirka->SetCaption(QStringLiteral("Šířka okraje"));
    lbSirka->SetTransparent(true);
    SpinEdit = Placed(new TSpinEdit(this), "SpinEdit", GroupBox2, 110, 42, 65, 22);
    SpinEdit->SetMinValue(0);
    SpinEdit->SetMaxValue(100);
    SpinEdit->OnChange = [this](TComponent* s) { SpinEditChange(s); };
    PrPozadi = Placed(new TCheckBox(this), "PrPozadi", GroupBox2, 10, 72, 170, 17);
    PrPozadi->SetCaption(QStringLiteral("Průhledné pozadí"));
    PrPozadi->OnClick = [this](TComponent* s) { PrPozadiClick(s); };
    auto button = [this](const char* name, TWinControl* parent, const QString& caption, int l, int t, int w) {
        auto* b = Placed(new TButton(this), name, parent, l, t, w, 25);
        b->SetCaption(caption);
        return b;
    };
    btnClPozadi = button("btnClPozadi", GroupBox2, QStringLiteral("Barva pozadí"), 10, 96, 173);
    btnClPozadi->OnClick = [this](TComponent* s) { btnClPozadiClick(s); };
    btnClOkraj = button("btnClOkraj", GroupBox2, QStringLiteral("Barva okraje"), 10, 122, 173);
    btnClOkraj->OnClick = [this](TComponent* s) { btnClOkrajClick(s); };
    btnSraf = button("btnSraf", GroupBox2, QStringLiteral("Šrafování"), 10, 148, 173);
    btnSraf->OnClick = [this](TComponent* s) { btnSrafClick(s); };

    auto bound = [&](const char* labelName, const char* caption, TLabel*& label, const char* editName, TEdit*& edit,
                     int row) {
        label = Placed(new TLabel(this), labelName, TabSheet2, 16, 20 + 30 * row, 60, 13);
        label->SetCaption(QString::fromUtf8(caption));
        label->SetTransparent(true);
        edit = Placed(new TEdit(this), editName, TabSheet2, 80, 16 + 30 * row, 73, 21);
        auto* unit = Placed(new TLabel(this), nullptr, TabSheet2, 160, 20 + 30 * row, 20, 13);
        unit->SetCaption(QStringLiteral("px"));
        unit->SetTransparent(true);
    };
    bound("lbTop", "Nahoře:", lbTop, "top", top, 0);
    bound("lbLeft", "Vlevo:", lbLeft, "left", left, 1);
    bound("lbWidth", "Šířka:", lbWidth, "width", width, 2);
    bound("lbHeight", "Výška:", lbHeight, "height", height, 3);

    // The same three buttons on both pages.
    auto buttons = [&](TTabSheet* sheet, const char* ok, const char* cancel, const char* apply, TButton*& okButton,
                       TButton*& cancelButton, TButton*& applyButton) {
        okButton = button(ok, sheet, QStringLiteral("&OK"), 102, 222, 75);
        okButton->SetDefault(true);
        okButton->OnClick = [this](TComponent* s) { btnOKClick(s); };
        cancelButton = button(cancel, sheet, QStringLiteral("&Storno"), 184, 222, 75);
        cancelButton->SetCancel(true);
        cancelButton->OnClick = [this](TComponent* s) { btnStornoClick(s); };
        applyButton = button(apply, sheet, QStringLiteral("&Použít"), 266, 222, 75);
        applyButton->OnClick = [this](TComponent* s) { btnPouzitClick(s); };
    };
    buttons(TabSheet1, "btnOK", "btnStorno", "btnPouzit", btnOK, btnStorno, btnPouzit);
    buttons(TabSheet2, "btnOK2", "btnStorno2", "btnPouzit2", btnOK2, btnStorno2, btnPouzit2);

    ColorDialog = new TColorDialog(this);
    ColorDialog->SetName(QStringLiteral("ColorDialog"));

    PageControl1->SetActivePage(TabSheet1);
    OnShow = [this](TComponent* s) { FormShow(s); };
    if (!FrmNastavObjekt)
        FrmNastavObjekt = this;
}

TFrmNastavObjekt::~TFrmNastavObjekt()
{
    if (FrmNastavObjekt == this)
        FrmNastavObjekt = nullptr;
}

bool TFrmNastavObjekt::IsConfirmed() { return gConfirmed; }

void TFrmNastavObjekt::FormShow(TComponent*)
{
    gConfirmed = false;
    // The controls show the preview's pen; setting them must not rewrite it
    // (a dashed outline would turn into none, another pen mode into the mask).
    FShowing = true;
    SpinEdit->SetValue(PShape->Pen()->Width());
    VizRam->SetChecked(PShape->Pen()->Style() == psSolid);
    PrPozadi->SetChecked(PShape->Pen()->Mode() != pmCopy);
    FShowing = false;
}

void TFrmNastavObjekt::btnOKClick(TComponent*)
{
    gConfirmed = true;
    Close();
}

void TFrmNastavObjekt::btnStornoClick(TComponent*) { Close(); }

void TFrmNastavObjekt::btnPouzitClick(TComponent*)
{
    if (FrmMain)
        FrmMain->ApplyShapeSettings();
    gConfirmed = false;
}

void TFrmNastavObjekt::VizRamClick(TComponent*)
{
    if (!FShowing)
        PShape->Pen()->SetStyle(VizRam->Checked() ? psSolid : psClear);
}

void TFrmNastavObjekt::SpinEditChange(TComponent*)
{
    if (!FShowing)
        PShape->Pen()->SetWidth(SpinEdit->Value());
}

void TFrmNastavObjekt::PrPozadiClick(TComponent*)
{
    if (!FShowing)
        PShape->Pen()->SetMode(PrPozadi->Checked() ? pmMask : pmCopy);
}

void TFrmNastavObjekt::btnClPozadiClick(TComponent*)
{
    ColorDialog->Color = PShape->Brush()->Color();
    if (ColorDialog->Execute())
        PShape->Brush()->SetColor(ColorDialog->Color);
}

void TFrmNastavObjekt::btnClOkrajClick(TComponent*)
{
    ColorDialog->Color = PShape->Pen()->Color();
    if (ColorDialog->Execute())
        PShape->Pen()->SetColor(ColorDialog->Color);
}

void TFrmNastavObjekt::btnSrafClick(TComponent*)
{
    if (!FrmSrafovani)
        return;
    FrmSrafovani->PShape->Brush()->Assign(PShape->Brush());
    FrmSrafovani->PShape->Pen()->Assign(PShape->Pen());
    FrmSrafovani->PShape->SetShape(PShape->Shape());
    FrmSrafovani->ShowModal();
}
