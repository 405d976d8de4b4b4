#include "designer/forms/frm_ins_files.h"

TFrmInsFiles* FrmInsFiles = nullptr;

TFrmInsFiles::TFrmInsFiles(TComponent* owner) : TForm(owner)
{
    SetName(QStringLiteral("FrmInsFiles"));
    SetCaption(QStringLiteral("Vložit seznam souborů"));
    SetBorderStyle(bsSingle);
    SetBorderIcons(biSystemMenu);
    SetPosition(poScreenCenter);
    SetClientSize(310, 140);

    auto place = [this](auto* c, const char* name, int l, int t, int w, int h) {
        return Placed(c, name, this, l, t, w, h);
    };
    delext = place(new TCheckBox(this), "delext", 16, 16, 280, 17);
    delext->SetCaption(QStringLiteral("Odstranit přípony souborů"));
    delext->SetChecked(true);
    Label1 = place(new TLabel(this), "Label1", 16, 48, 80, 13);
    Label1->SetCaption(QStringLiteral("Maska souborů:"));
    maska = place(new TEdit(this), "maska", 16, 64, 113, 21);
    maska->SetText(QStringLiteral("*.*"));
    auto maskButton = [&](const char* name, const char* text, int left, void (TFrmInsFiles::*handler)(TComponent*)) {
        TButton* b = place(new TButton(this), name, left, 64, 49, 22);
        b->SetCaption(QString::fromLatin1(text));
        b->OnClick = [this, handler](TComponent* s) { (this->*handler)(s); };
        return b;
    };
    Button2 = maskButton("Button2", "*.mp3", 136, &TFrmInsFiles::Button2Click);
    Button3 = maskButton("Button3", "*.wav", 192, &TFrmInsFiles::Button3Click);
    Button4 = maskButton("Button4", "*.*", 248, &TFrmInsFiles::Button4Click);
    Button1 = place(new TButton(this), "Button1", 224, 104, 75, 25);
    Button1->SetCaption(QStringLiteral("Pokračovat"));
    Button1->SetDefault(true);
    Button1->OnClick = [this](TComponent* s) { Button1Click(s); };
    if (!FrmInsFiles)
        FrmInsFiles = this;
}

TFrmInsFiles::~TFrmInsFiles()
{
    if (FrmInsFiles == this)
        FrmInsFiles = nullptr;
}

void TFrmInsFiles::Button1Click(TComponent*) { Close(); }
void TFrmInsFiles::Button2Click(TComponent*) { maska->SetText(QStringLiteral("*.mp3")); }
void TFrmInsFiles::Button3Click(TComponent*) { maska->SetText(QStringLiteral("*.wav")); }
void TFrmInsFiles::Button4Click(TComponent*) { maska->SetText(QStringLiteral("*.*")); }
