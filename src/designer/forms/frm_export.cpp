#include "designer/forms/frm_export.h"

#include "designer/forms/window_art.h"

TFrmExport* FrmExport = nullptr;

TFrmExport::TFrmExport(TComponent* owner) : TForm(owner)
{
    SetName(QStringLiteral("FrmExport"));
    SetCaption(QStringLiteral("Export"));
    SetBorderStyle(bsSingle);
    SetBorderIcons(biSystemMenu);
    SetPosition(poScreenCenter);
    SetClientSize(483, 302);

    auto place = [this](auto* c, const char* name, int l, int t, int w, int h) {
        return Placed(c, name, this, l, t, w, h);
    };
    Image1 = place(new TImage(this), "Image1", 16, 12, 48, 48);
    Image1->SetTransparent(true);
    LoadWindowArt(Image1->Picture(), QStringLiteral("export.bmp"));
    Label1 = place(new TLabel(this), "Label1", 76, 24, 300, 24);
    Label1->Font()->SetName(QStringLiteral("Arial"));
    Label1->Font()->SetHeight(-21);
    Label1->Font()->SetStyle(FontStyleBit(fsBold));
    Label1->SetCaption(QStringLiteral("Export do souboru obrázku..."));
    Bevel1 = place(new TBevel(this), "Bevel1", 16, 70, 451, 2);
    Bevel1->SetShape(bsTopLine);

    auto option = [&](const char* name, const QString& text, int top, bool checked) {
        TCheckBox* c = place(new TCheckBox(this), name, 32, top, 420, 17);
        c->SetCaption(text);
        c->SetChecked(checked);
        return c;
    };
    orez = option("orez", QStringLiteral("Ořezat výstup dle šablony"), 88, false);
    ExPozadi = option("ExPozadi", QStringLiteral("Vložit pozadí"), 128, true);
    ExObrazky = option("ExObrazky", QStringLiteral("Vložit obrázky"), 152, true);
    ExTexty = option("ExTexty", QStringLiteral("Vložit texty (kulatý text, textové pole, text)"), 176, true);
    ExObjekty = option("ExObjekty", QStringLiteral("Vložit objekty (rámeček, kruh)"), 200, true);

    Bevel2 = place(new TBevel(this), "Bevel2", 16, 240, 451, 2);
    Bevel2->SetShape(bsTopLine);
    Button1 = place(new TButton(this), "Button1", 376, 260, 91, 25);
    Button1->SetCaption(QStringLiteral("&Pokračovat"));
    Button1->SetDefault(true);
    Button1->OnClick = [this](TComponent* s) { Button1Click(s); };
    if (!FrmExport)
        FrmExport = this;
}

TFrmExport::~TFrmExport()
{
    if (FrmExport == this)
        FrmExport = nullptr;
}

void TFrmExport::Button1Click(TComponent*) { Close(); }
