#include "designer/forms/frm_vlastnosti_img.h"

#include "designer/main/frm_main.h"

TFrmVlastnostiIMG* FrmVlastnostiIMG = nullptr;

namespace {
// One result for the window class, as the main window reads it.
bool Confirmed = false;
} // namespace

TFrmVlastnostiIMG::TFrmVlastnostiIMG(TComponent* owner) : TForm(owner)
{
    SetName(QStringLiteral("FrmVlastnostiIMG"));
    SetCaption(QStringLiteral("Vlastnosti objektu"));
    SetBorderStyle(bsSingle);
    SetBorderIcons(biSystemMenu);
    SetPosition(poScreenCenter);
    SetClientSize(337, 265);

    PageControl1 = Placed(new TPageControl(this), "PageControl1", this, 4, 4, 329, 221);
    auto page = [this](const char* name, const QString& caption) {
        auto* p = new TTabSheet(this);
        p->SetName(QString::fromLatin1(name));
        p->SetPageControl(PageControl1);
        p->SetCaption(caption);
        return p;
    };
    ImgTabSheet = page("ImgTabSheet", QStringLiteral("Vlastnosti obrázku"));
    TabSheet1 = page("TabSheet1", QStringLiteral("Velikost"));

    ImgGroupBox1 = Placed(new TGroupBox(this), "ImgGroupBox1", ImgTabSheet, 8, 8, 305, 177);
    ImgGroupBox1->SetCaption(QStringLiteral("Zobrazení obrázku"));
    auto check = [this](const char* name, const QString& caption, int top) {
        auto* c = Placed(new TCheckBox(this), name, ImgGroupBox1, 16, top, 273, 17);
        c->SetCaption(caption);
        return c;
    };
    Trans = check("Trans", QStringLiteral("Transparentní pozadí"), 28);
    ChStretch = check("ChStretch", QStringLiteral("Roztáhnout obrázek"), 60);
    ChAutosize = check("ChAutosize", QStringLiteral("Automatická velikost"), 92);
    // The transparent colour is the picture's own: the button stays hidden.
    Button2 = Placed(new TButton(this), "Button2", ImgGroupBox1, 16, 132, 129, 25);
    Button2->SetCaption(QStringLiteral("Transparentní barva"));
    Button2->SetVisible(false);

    ImgGroupBox2 = Placed(new TGroupBox(this), "ImgGroupBox2", TabSheet1, 8, 8, 305, 105);
    ImgGroupBox2->SetCaption(QStringLiteral("Rozměry v pixelech"));
    txSirka = Placed(new TLabel(this), "txSirka", ImgGroupBox2, 16, 32, 60, 13);
    txSirka->SetCaption(QStringLiteral("Šířka:"));
    txSirka->SetTransparent(true); // the group box's colour behind it
    spSirka = Placed(new TSpinEdit(this), "spSirka", ImgGroupBox2, 96, 28, 89, 22);
    txVyska = Placed(new TLabel(this), "txVyska", ImgGroupBox2, 16, 68, 60, 13);
    txVyska->SetCaption(QStringLiteral("Výška:"));
    txVyska->SetTransparent(true);
    spVyska = Placed(new TSpinEdit(this), "spVyska", ImgGroupBox2, 96, 64, 89, 22);
    // Minimum and maximum both 0: no limits.
    for (TSpinEdit* s : {spSirka, spVyska}) {
        s->SetMinValue(0);
        s->SetMaxValue(0);
        s->SetIncrement(1);
    }

    auto button = [this](const char* name, const QString& caption, int left) {
        auto* b = Placed(new TButton(this), name, this, left, 232, 75, 25);
        b->SetCaption(caption);
        return b;
    };
    btnOK = button("btnOK", QStringLiteral("&OK"), 98);
    btnOK->SetDefault(true);
    btnOK->OnClick = [this](TComponent* s) { btnOKClick(s); };
    btnStorno = button("btnStorno", QStringLiteral("&Storno"), 178);
    btnStorno->SetCancel(true);
    btnStorno->OnClick = [this](TComponent* s) { btnStornoClick(s); };
    btnPouzit = button("btnPouzit", QStringLiteral("&Použít"), 258);
    btnPouzit->OnClick = [this](TComponent* s) { btnPouzitClick(s); };

    OnShow = [this](TComponent* s) { FormShow(s); };
    if (!FrmVlastnostiIMG)
        FrmVlastnostiIMG = this;
}

TFrmVlastnostiIMG::~TFrmVlastnostiIMG()
{
    if (FrmVlastnostiIMG == this)
        FrmVlastnostiIMG = nullptr;
}

bool TFrmVlastnostiIMG::IsConfirmed() { return Confirmed; }

void TFrmVlastnostiIMG::FormShow(TComponent*)
{
    Confirmed = false;
    PageControl1->SetActivePageIndex(0);
}

void TFrmVlastnostiIMG::btnOKClick(TComponent*)
{
    Confirmed = true;
    Close();
}

void TFrmVlastnostiIMG::btnStornoClick(TComponent*) { Close(); }

void TFrmVlastnostiIMG::btnPouzitClick(TComponent*)
{
    if (FrmMain)
        FrmMain->ApplyImageSettings();
    Confirmed = false;
}
