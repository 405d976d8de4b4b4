#pragma once
// The picture blur: the source picture in the hidden image `original`, a
// preview blurred with the radius `int` and stored as a JPEG of quality 85,
// which the main window takes over after OK.

#include "classlib/controls/image.h"
#include "classlib/controls/spin_edit.h"
#include "classlib/controls/std_controls.h"
#include "classlib/forms/form.h"

class TBitmap;

class TFrmRozObr : public TForm {
public:
    TV_CLASS_NAME(TFrmRozObr)
    explicit TFrmRozObr(TComponent* owner);
    ~TFrmRozObr() override;

    // The result of the last showing: OK pressed.
    static bool IsConfirmed();

    TImage* original = nullptr; // hidden: the source picture
    TImage* Nahled = nullptr;   // the preview
    TLabel* lblIntenzita = nullptr;
    TSpinEdit* int_ = nullptr;  // "int": the radius in pixels, 0 to 100
    TButton* BtnNahled = nullptr;
    TButton* btnOK1 = nullptr;
    TButton* btnStorno1 = nullptr;

    void FormShow(TComponent* sender);
    void BtnNahledClick(TComponent* sender);
    void btnOK1Click(TComponent* sender);
    void btnStorno1Click(TComponent* sender);

    // Makes the preview's graphic a bitmap (a JPEG picture through its
    // pixels). Any other kind: the message, OK disabled, an empty bitmap in
    // the preview, and false.
    bool ConvertPictureToBitmap();
    // Blurs a 24-bit bitmap in place; another pixel format gets the message,
    // OK disabled, the bitmap unchanged, and false.
    bool BlurBitmap24(TBitmap* bitmap, int radius);
};

extern TFrmRozObr* FrmRozObr;
