#include "designer/forms/frm_o_programu.h"

#include "designer/forms/window_art.h"

TFrmOProgramu* FrmOProgramu = nullptr;

TFrmOProgramu::TFrmOProgramu(TComponent* owner) : TForm(owner)
{
    SetName(QStringLiteral("FrmOProgramu"));
    SetCaption(QStringLiteral("O programu"));
    SetBorderStyle(bsNone);
    SetPosition(poScreenCenter);
    SetClientSize(456, 242);

    auto place = [this](auto* c, const char* name, int l, int t, int w, int h) {
        return Placed(c, name, this, l, t, w, h);
    };
    auto arialBold = [](TControl* c, int height, TColor colour) {
        c->Font()->SetName(QStringLiteral("Arial"));
        c->Font()->SetHeight(height);
        c->Font()->SetStyle(FontStyleBit(fsBold));
        c->Font()->SetColor(colour);
    };

    Image1 = place(new TImage(this), "Image1", 0, 0, 456, 242);
    Image1->SetAlign(alClient);
    Image1->SetStretch(true);
    LoadWindowArt(Image1->Picture(), QStringLiteral("about_background.jpg"));
    Bevel1 = place(new TBevel(this), "Bevel1", 0, 0, 456, 242);
    Bevel1->SetAlign(alClient);
    Bevel1->SetShape(bsFrame);
    Bevel1->SetStyle(bsRaised);

    Image2 = place(new TImage(this), "Image2", 24, 14, 130, 130);
    Image2->SetTransparent(true);
    LoadWindowArt(Image2->Picture(), QStringLiteral("emblem.bmp"));

    // The white name lies one pixel up and left of its black copy, which
    // shows as a shadow below and to the right.
    const QString name = QStringLiteral("Tessavik 1.0");
    lblNazevProg = place(new TLabel(this), "lblNazevProg", 176, 24, 150, 24);
    arialBold(lblNazevProg, -21, clBlack);
    lblNazevProg->SetTransparent(true);
    lblNazevProg->SetCaption(name);
    lblNazevProg2 = place(new TLabel(this), "lblNazevProg2", 175, 23, 150, 24);
    arialBold(lblNazevProg2, -21, clWhite);
    lblNazevProg2->SetTransparent(true);
    lblNazevProg2->SetCaption(name);

    TransMemo1 = place(new TTransMemo(this), "TransMemo1", 166, 56, 265, 142);
    arialBold(TransMemo1, -11, clWhite);
    TransMemo1->SetBorderStyle(bsNoneBorder);
    TransMemo1->SetReadOnly(true);
    TransMemo1->SetWordWrap(true);
    TransMemo1->SetAlignText(taRightJustify);
    TransMemo1->SetTransparent(true);
    TransMemo1->SetTabStop(false);
    TransMemo1->SetCursor(crArrow);
    TransMemo1->SetCaption(QStringLiteral("Návrh a tisk etiket na CD a DVD\r\n"
                                          "a jejich obaly.\r\n"
                                          "\r\n"
                                          "Autor: tým Tessavik\r\n"
                                          "E-mail: info@tessavik.example\r\n"
                                          "Web: https://tessavik.example\r\n"
                                          "\r\n"
                                          "Program je šířen zdarma."));

    Bevel2 = place(new TBevel(this), "Bevel2", 358, 198, 85, 30);
    Bevel2->SetStyle(bsRaised);
    btnClose = place(new TSpeedButton(this), "btnClose", 360, 200, 81, 26);
    btnClose->SetFlat(true);
    arialBold(btnClose, -13, clWhite);
    btnClose->SetCaption(QStringLiteral("Zavřít"));
    btnClose->OnClick = [this](TComponent* s) { btnCloseClick(s); };
    // "Zavřít" is a speed button, which cannot be the cancel button: Escape
    // reaches it through the window's shortcuts.
    OnShortCut = [this](int key, TShiftState shift, bool& handled) {
        if (key == VK_ESCAPE && shift == 0) {
            btnCloseClick(btnClose);
            handled = true;
        }
    };
    if (!FrmOProgramu)
        FrmOProgramu = this;
}

TFrmOProgramu::~TFrmOProgramu()
{
    if (FrmOProgramu == this)
        FrmOProgramu = nullptr;
}

void TFrmOProgramu::btnCloseClick(TComponent*) { Close(); }
