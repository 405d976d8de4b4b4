#include "designer/forms/frm_srafovani.h"

#include "designer/forms/frm_nastav_objekt.h"

TFrmSrafovani* FrmSrafovani = nullptr;

TBrushStyle HatchStyleOfButton(int n)
{
    static const TBrushStyle styles[8] = {bsHorizontal, bsSolid,     bsVertical, bsBDiagonal,
                                          bsDiagCross,  bsCross,     bsClear,    bsFDiagonal};
    return n >= 1 && n <= 8 ? styles[n - 1] : bsSolid;
}

TFrmSrafovani::TFrmSrafovani(TComponent* owner) : TForm(owner)
{
    SetName(QStringLiteral("FrmSrafovani"));
    SetCaption(QStringLiteral("Nastavení objektu"));
    SetBorderStyle(bsSingle);
    SetBorderIcons(biSystemMenu);
    SetPosition(poScreenCenter);
    SetClientSize(305, 209);

    OPageControl1 = Placed(new TPageControl(this), "OPageControl1", this, 4, 4, 297, 201);
    OTabSheet1 = new TTabSheet(this);
    OTabSheet1->SetName(QStringLiteral("OTabSheet1"));
    OTabSheet1->SetPageControl(OPageControl1);
    OTabSheet1->SetCaption(QStringLiteral("Šrafování"));

    OGroupBox1 = Placed(new TGroupBox(this), "OGroupBox1", OTabSheet1, 8, 8, 97, 129);
    OGroupBox1->SetCaption(QStringLiteral("Náhled"));
    PShape = Placed(new TShape(this), "PShape", OGroupBox1, 12, 22, 73, 97);

    OGroupBox2 = Placed(new TGroupBox(this), "OGroupBox2", OTabSheet1, 112, 8, 169, 129);
    OGroupBox2->SetCaption(QStringLiteral("Vzor šrafování"));
    for (int i = 0; i < 8; ++i) {
        const int n = i + 1, l = 10 + (i % 4) * 38, t = 24 + (i / 4) * 48;
        const QByteArray name = "SpeedButton" + QByteArray::number(n);
        auto* b = Placed(new TSpeedButton(this), name.constData(), OGroupBox2, l, t, 34, 40);
        b->OnClick = [this, n](TComponent*) { SpeedButtonClick(n); };
        SpeedButtons[i] = b;
        // The button's face: its pattern in black on white.
        auto* s = Placed(new TShape(this), nullptr, OGroupBox2, l + 5, t + 6, 24, 28);
        s->Brush()->SetColor(clBlack);
        s->Brush()->SetStyle(HatchStyleOfButton(n));
        s->OnClick = [this, n](TComponent*) { SpeedButtonClick(n); };
        Samples[i] = s;
    }

    btnOK = Placed(new TButton(this), "btnOK", OTabSheet1, 124, 144, 75, 25);
    btnOK->SetCaption(QStringLiteral("&OK"));
    btnOK->SetDefault(true);
    btnOK->OnClick = [this](TComponent* s) { btnOKClick(s); };
    btnStorno = Placed(new TButton(this), "btnStorno", OTabSheet1, 206, 144, 75, 25);
    btnStorno->SetCaption(QStringLiteral("&Storno"));
    btnStorno->SetCancel(true);
    btnStorno->OnClick = [this](TComponent* s) { btnStornoClick(s); };

    OPageControl1->SetActivePage(OTabSheet1);
    if (!FrmSrafovani)
        FrmSrafovani = this;
}

TFrmSrafovani::~TFrmSrafovani()
{
    if (FrmSrafovani == this)
        FrmSrafovani = nullptr;
}

void TFrmSrafovani::SpeedButtonClick(int n)
{
    if (FrmNastavObjekt)
        PShape->Brush()->SetColor(FrmNastavObjekt->PShape->Brush()->Color());
    PShape->Brush()->SetStyle(HatchStyleOfButton(n));
}

void TFrmSrafovani::btnOKClick(TComponent*)
{
    if (FrmNastavObjekt)
        FrmNastavObjekt->PShape->Brush()->SetStyle(PShape->Brush()->Style());
    Close();
}

void TFrmSrafovani::btnStornoClick(TComponent*) { Close(); }
