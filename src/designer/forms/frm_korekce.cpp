#include "designer/forms/frm_korekce.h"

#include "designer/forms/window_art.h"

TFrmKorekce* FrmKorekce = nullptr;

TFrmKorekce::TFrmKorekce(TComponent* owner) : TForm(owner)
{
    SetName(QStringLiteral("FrmKorekce"));
    SetCaption(QStringLiteral("Korekce tisku"));
    SetBorderStyle(bsSingle);
    SetBorderIcons(biSystemMenu);
    SetPosition(poScreenCenter);
    SetClientSize(328, 177);

    auto place = [this](auto* c, const char* name, int l, int t, int w, int h) {
        return Placed(c, name, this, l, t, w, h);
    };
    auto label = [&](const char* name, const QString& text, int l, int t) {
        TLabel* lbl = place(new TLabel(this), name, l, t, 40, 13);
        lbl->SetCaption(text);
        return lbl;
    };

    lbPrKor1 = label("lbPrKor1", QStringLiteral("Posun celého tisku v milimetrech: kladné X doprava, kladné Y dolů."), 12, 4);
    lbPrKor2 = label("lbPrKor2", QStringLiteral("Korekce platí pro každý další tisk."), 12, 32);
    // The texts come from the language file: long ones wrap.
    for (TLabel* l : {lbPrKor1, lbPrKor2}) {
        l->SetAutoSize(false);
        l->SetWordWrap(true);
        l->SetWidth(304);
    }
    // Two lines each, above the pictures and the spin edits.
    lbPrKor1->SetHeight(28);
    lbPrKor2->SetHeight(28);

    Image1 = place(new TImage(this), "Image1", 16, 60, 32, 32);
    Image2 = place(new TImage(this), "Image2", 16, 100, 32, 32);
    Image1->SetTransparent(true);
    Image2->SetTransparent(true);
    LoadWindowArt(Image1->Picture(), QStringLiteral("offset_x.bmp"));
    LoadWindowArt(Image2->Picture(), QStringLiteral("offset_y.bmp"));

    Label1 = label("Label1", QStringLiteral("Offset X:"), 60, 70);
    offx = place(new TSpinEdit(this), "offx", 124, 66, 73, 22);
    Label3 = label("Label3", QStringLiteral("mm"), 204, 70);
    Label2 = label("Label2", QStringLiteral("Offset Y:"), 60, 110);
    offy = place(new TSpinEdit(this), "offy", 124, 106, 73, 22);
    Label4 = label("Label4", QStringLiteral("mm"), 204, 110);
    // Minimum and maximum both 0: any whole number, in steps of 1.
    for (TSpinEdit* s : {offx, offy}) {
        s->SetMinValue(0);
        s->SetMaxValue(0);
        s->SetIncrement(1);
    }

    btnOK1 = place(new TButton(this), "btnOK1", 160, 142, 75, 25);
    btnOK1->SetCaption(QStringLiteral("&OK"));
    btnOK1->SetDefault(true);
    btnOK1->OnClick = [this](TComponent* s) { btnOK1Click(s); };
    btnStorno1 = place(new TButton(this), "btnStorno1", 241, 142, 75, 25);
    btnStorno1->SetCaption(QStringLiteral("&Storno"));
    btnStorno1->SetCancel(true);
    btnStorno1->OnClick = [this](TComponent* s) { btnStorno1Click(s); };

    OnShow = [this](TComponent* s) { FormShow(s); };
    if (!FrmKorekce)
        FrmKorekce = this;
}

TFrmKorekce::~TFrmKorekce()
{
    if (FrmKorekce == this)
        FrmKorekce = nullptr;
}

void TFrmKorekce::FormShow(TComponent*) { FConfirmed = false; }

void TFrmKorekce::btnOK1Click(TComponent*)
{
    FConfirmed = true;
    Close();
}

void TFrmKorekce::btnStorno1Click(TComponent*)
{
    FConfirmed = false;
    Close();
}
