#include "designer/forms/frm_ins_text.h"

TFrmInsText* FrmInsText = nullptr;

namespace {
// The dialog's result, shared by every showing.
bool gConfirmed = false;
constexpr int kEastEuropeCharset = 238;
} // namespace

void TFrmInsText::AssignDefaultFont(TFont* font)
{
    font->SetName(QStringLiteral("Arial"));
    font->SetHeight(-27);
    font->SetStyle(FontStyleBit(fsBold));
    font->SetCharset(kEastEuropeCharset);
    font->SetColor(clBlack);
}

TFrmInsText::TFrmInsText(TComponent* owner) : TForm(owner)
{
    SetName(QStringLiteral("FrmInsText"));
    SetCaption(QStringLiteral("Vložit text"));
    SetBorderStyle(bsSingle);
    SetBorderIcons(biSystemMenu);
    SetPosition(poScreenCenter);
    SetClientSize(369, 245);

    auto named = [](auto* c, const char* name, TWinControl* parent) {
        Named(c, name)->SetParent(parent);
        return c;
    };
    PageControl1 = named(new TPageControl(this), "PageControl1", this);
    PageControl1->SetBounds(4, 4, 361, 237);
    Tab1 = new TTabSheet(this);
    Tab1->SetName(QStringLiteral("Tab1"));
    Tab1->SetPageControl(PageControl1);
    Tab1->SetCaption(QStringLiteral("Vložení textu"));
    TabRotace1 = new TTabSheet(this);
    TabRotace1->SetName(QStringLiteral("TabRotace1"));
    TabRotace1->SetPageControl(PageControl1);
    TabRotace1->SetCaption(QStringLiteral("Vlastnosti textu"));

    GB1 = named(new TGroupBox(this), "GB1", Tab1);
    GB1->SetBounds(8, 8, 337, 56);
    GB1->SetCaption(QStringLiteral("Text"));
    text = named(new TEdit(this), "text", GB1);
    text->SetBounds(8, 22, 321, 21);
    Memo = named(new TEdit(this), "Memo", Tab1);
    Memo->SetBounds(8, 176, 60, 21);
    Memo->SetVisible(false);
    Memo->SetParentFont(false);
    AssignDefaultFont(Memo->Font());

    GB2 = named(new TGroupBox(this), "GB2", Tab1);
    GB2->SetBounds(8, 72, 337, 60);
    GB2->SetCaption(QStringLiteral("Písmo"));
    btnFont = named(new TButton(this), "btnFont", GB2);
    btnFont->SetBounds(8, 22, 150, 25);
    btnFont->SetCaption(QStringLiteral("Typ písma"));
    btnFont->OnClick = [this](TComponent* s) { btnFontClick(s); };
    btnColor = named(new TButton(this), "btnColor", GB2);
    btnColor->SetBounds(168, 22, 150, 25);
    btnColor->SetCaption(QStringLiteral("Barva písma"));
    btnColor->OnClick = [this](TComponent* s) { btnColorClick(s); };

    auto okCancel = [&](TWinControl* page, const char* ok, const char* cancel, TButton*& okButton, TButton*& cancelButton) {
        okButton = named(new TButton(this), ok, page);
        okButton->SetBounds(182, 172, 75, 25);
        okButton->SetCaption(QStringLiteral("&OK"));
        okButton->SetDefault(true);
        okButton->OnClick = [this](TComponent* s) { BtnOKClick(s); };
        cancelButton = named(new TButton(this), cancel, page);
        cancelButton->SetBounds(266, 172, 75, 25);
        cancelButton->SetCaption(QStringLiteral("&Storno"));
        cancelButton->SetCancel(true);
        cancelButton->OnClick = [this](TComponent* s) { btnStornoClick(s); };
    };
    okCancel(Tab1, "BtnOK", "btnStorno", BtnOK, btnStorno);

    GB3 = named(new TGroupBox(this), "GB3", TabRotace1);
    GB3->SetBounds(8, 8, 160, 124);
    GB3->SetCaption(QStringLiteral("Otočení"));
    auto radio = [&](const char* name, const QString& caption, int top) {
        auto* r = named(new TRadioButton(this), name, GB3);
        r->SetBounds(10, top, 140, 21);
        r->SetCaption(caption);
        return r;
    };
    Rot0 = radio("Rot0", QStringLiteral("Otočit o 0°"), 22);
    Rot90 = radio("Rot90", QStringLiteral("Otočit o 90°"), 46);
    Rot180 = radio("Rot180", QStringLiteral("Otočit o 180°"), 70);
    Rot270 = radio("Rot270", QStringLiteral("Otočit o 270°"), 94);
    Rot0->SetChecked(true);

    GB4 = named(new TGroupBox(this), "GB4", TabRotace1);
    GB4->SetBounds(176, 8, 169, 124);
    GB4->SetCaption(QStringLiteral("Vykreslení"));
    auto check = [&](const char* name, const QString& caption, int top, bool on) {
        auto* c = named(new TCheckBox(this), name, GB4);
        c->SetBounds(10, top, 150, 21);
        c->SetCaption(caption);
        c->SetChecked(on);
        return c;
    };
    AutoSize = check("AutoSize", QStringLiteral("Automatická velikost"), 22, true);
    Aliasing = check("Aliasing", QStringLiteral("Vyhlazovat písmo"), 46, true);
    Filling = check("Filling", QStringLiteral("Pouze obrys písma"), 70, false);
    okCancel(TabRotace1, "btnOK2", "btnStorno2", btnOK2, btnStorno2);

    FontDialog = new TFontDialog(this);
    FontDialog->SetName(QStringLiteral("FontDialog"));
    ColorDialog = new TColorDialog(this);
    ColorDialog->SetName(QStringLiteral("ColorDialog"));
    ColorDialog->FullOpen = true;

    PageControl1->SetActivePage(Tab1);
    OnShow = [this](TComponent* s) { FormShow(s); };
    if (!FrmInsText)
        FrmInsText = this;
}

TFrmInsText::~TFrmInsText()
{
    if (FrmInsText == this)
        FrmInsText = nullptr;
}

bool TFrmInsText::IsConfirmed() const { return gConfirmed; }

void TFrmInsText::ShowPropertiesTab(bool visible) { TabRotace1->SetTabVisible(visible); }

void TFrmInsText::FormShow(TComponent*)
{
    gConfirmed = false;
    // The caret waits in the text field once the window shows.
    if (PageControl1->ActivePageIndex() == 0)
        SetActiveControl(text);
    text->SetText(Memo->Text());
}

void TFrmInsText::BtnOKClick(TComponent*)
{
    Memo->SetText(text->Text());
    gConfirmed = Memo->Text().length() >= 1;
    Close();
}

void TFrmInsText::btnStornoClick(TComponent*)
{
    gConfirmed = false;
    Close();
}

void TFrmInsText::btnFontClick(TComponent*)
{
    FontDialog->Font()->Assign(Memo->Font());
    if (FontDialog->Execute())
        Memo->Font()->Assign(FontDialog->Font());
}

void TFrmInsText::btnColorClick(TComponent*)
{
    ColorDialog->Color = Memo->Font()->Color();
    if (ColorDialog->Execute())
        Memo->Font()->SetColor(ColorDialog->Color);
}
