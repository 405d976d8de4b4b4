#include "designer/forms/frm_roz_obr.h"

#include "classlib/forms/application.h"
#include "classlib/forms/message_box.h"
#include "classlib/pictures/bitmap.h"
#include "classlib/pictures/jpeg_image.h"
#include "classlib/pictures/picture.h"
#include "classlib/sysutils.h"
#include "designer/objects/gauss_blur.h"

TFrmRozObr* FrmRozObr = nullptr;

namespace {
bool Confirmed = false;

// The hourglass while the blur keeps the program busy.
class TBusyCursor {
public:
    TBusyCursor() : FOld(Screen ? Screen->Cursor() : crDefault)
    {
        if (Screen)
            Screen->SetCursor(crHourGlass);
    }
    ~TBusyCursor()
    {
        if (Screen)
            Screen->SetCursor(FOld);
    }
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;

private:
    TCursor FOld;
};
} // namespace

TFrmRozObr::TFrmRozObr(TComponent* owner) : TForm(owner)
{
    SetName(QStringLiteral("FrmRozObr"));
    SetCaption(QStringLiteral("Rozmazání obrázku"));
    SetBorderStyle(bsSingle);
    SetBorderIcons(biSystemMenu);
    SetPosition(poScreenCenter);
    SetClientSize(441, 361);

    original = Placed(new TImage(this), "original", this, 8, 8, 425, 305);
    original->SetVisible(false);
    Nahled = Placed(new TImage(this), "Nahled", this, 8, 8, 425, 305);
    Nahled->SetCenter(true);
    Nahled->SetProportional(true);

    lblIntenzita = Placed(new TLabel(this), "lblIntenzita", this, 8, 331, 50, 13);
    lblIntenzita->SetCaption(QStringLiteral("Intenzita:"));
    int_ = Placed(new TSpinEdit(this), "int", this, 64, 327, 57, 22);
    int_->SetMinValue(0);
    int_->SetMaxValue(100);
    int_->SetIncrement(1);
    int_->SetValue(1);

    BtnNahled = Placed(new TButton(this), "BtnNahled", this, 128, 325, 113, 25);
    BtnNahled->SetCaption(QStringLiteral("Vytvoř náhled"));
    BtnNahled->OnClick = [this](TComponent* s) { BtnNahledClick(s); };
    btnOK1 = Placed(new TButton(this), "btnOK1", this, 276, 325, 75, 25);
    btnOK1->SetCaption(QStringLiteral("OK"));
    btnOK1->OnClick = [this](TComponent* s) { btnOK1Click(s); };
    btnStorno1 = Placed(new TButton(this), "btnStorno1", this, 358, 325, 75, 25);
    btnStorno1->SetCaption(QStringLiteral("Storno"));
    btnStorno1->SetCancel(true);
    btnStorno1->OnClick = [this](TComponent* s) { btnStorno1Click(s); };

    OnShow = [this](TComponent* s) { FormShow(s); };
    if (!FrmRozObr)
        FrmRozObr = this;
}

TFrmRozObr::~TFrmRozObr()
{
    if (FrmRozObr == this)
        FrmRozObr = nullptr;
}

bool TFrmRozObr::IsConfirmed() { return Confirmed; }

void TFrmRozObr::FormShow(TComponent*)
{
    Nahled->Picture()->Assign(original->Picture());
    BtnNahled->SetEnabled(true);
    btnOK1->SetEnabled(true);
    Confirmed = false;
}

void TFrmRozObr::btnOK1Click(TComponent*)
{
    Confirmed = true;
    Close();
}

void TFrmRozObr::btnStorno1Click(TComponent*) { Close(); }

bool TFrmRozObr::ConvertPictureToBitmap()
{
    TPicture* preview = Nahled->Picture();
    if (dynamic_cast<TBitmap*>(preview->Graphic()))
        return true;
    try {
        TJPEGImage jpeg;
        jpeg.Assign(preview);
        TBitmap bitmap;
        bitmap.Assign(&jpeg);
        preview->SetGraphic(&bitmap);
        return true;
    } catch (const Exception&) {
        Application->MessageBox(
            QString::fromUtf8("Chyba: Tento obrázek nelze rozmazat, není v požadovaném formátu JPG, JPEG, BMP"),
            Application->Title(), MB_OK);
        btnOK1->SetEnabled(false);
        preview->Bitmap(); // an empty bitmap in place of the picture
        return false;
    }
}

bool TFrmRozObr::BlurBitmap24(TBitmap* bitmap, int radius)
{
    if (!bitmap || bitmap->PixelFormat() != pf24bit) {
        Application->MessageBox(QString::fromUtf8("Rozmazat lze pouze 24 bitové obrázky."), QStringLiteral("Chyba"),
                                MB_OK);
        btnOK1->SetEnabled(false);
        return false;
    }
    QImage& image = bitmap->Image();
    if (image.isNull() || radius < 1)
        return true;
    BlurPixels32(image.bits(), image.width(), image.height(), image.bytesPerLine(), radius);
    return true;
}

void TFrmRozObr::BtnNahledClick(TComponent*)
{
    Nahled->Picture()->Assign(original->Picture());
    const int radius = int_->Value();
    if (radius < 1)
        return;
    BtnNahled->SetEnabled(false);
    TBusyCursor busy;
    TJPEGImage jpeg;
    // A picture that cannot pass through JPEG ends the preview here, with the
    // one message and the empty bitmap the conversion left.
    if (ConvertPictureToBitmap()) {
        auto* bitmap = dynamic_cast<TBitmap*>(Nahled->Picture()->Graphic());
        BlurBitmap24(bitmap, radius);
        jpeg.SetCompressionQuality(85);
        jpeg.Assign(bitmap);
        Nahled->Picture()->Assign(&jpeg);
        Nahled->Invalidate();
    }
    BtnNahled->SetEnabled(true);
}
