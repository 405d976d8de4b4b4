#include "classlib/controls/image.h"

#include "classlib/pictures/bitmap.h"
#include "classlib/pictures/icon.h"
#include "classlib/pictures/metafile.h"
#include "classlib/pictures/picture.h"
#include "classlib/sysutils.h"

TImage::TImage(TComponent* owner) : TGraphicControl(owner), FPicture(std::make_unique<TPicture>())
{
    FWidth = 105;
    FHeight = 105;
    FPicture->OnChange = [this](TPicture*) { PictureChanged(); };
}

TImage::~TImage()
{
    if (FPicture)
        FPicture->OnChange = nullptr;
}

void TImage::SetPicture(const TPicture* picture) { FPicture->Assign(picture); }

TCanvas* TImage::Canvas()
{
    if (!FPicture->Graphic()) {
        auto* bmp = FPicture->Bitmap();
        bmp->SetSize(FWidth, FHeight);
    }
    auto* bmp = dynamic_cast<TBitmap*>(FPicture->Graphic());
    if (!bmp)
        throw EInvalidOperation(QStringLiteral("Obrázek lze upravovat, jen když obsahuje bitmapu"));
    return bmp->Canvas();
}

void TImage::SetAutoSize(bool v)
{
    FAutoSize = v;
    if (v && FPicture->Width() > 0 && FPicture->Height() > 0)
        SetBounds(FLeft, FTop, FPicture->Width(), FPicture->Height());
}

void TImage::SetStretch(bool v)
{
    FStretch = v;
    Invalidate();
}

void TImage::SetCenter(bool v)
{
    FCenter = v;
    Invalidate();
}

void TImage::SetProportional(bool v)
{
    FProportional = v;
    Invalidate();
}

void TImage::SetTransparent(bool v)
{
    if (v == FTransparent)
        return;
    FTransparent = v;
    PictureChanged();
}

void TImage::PictureChanged()
{
    TGraphic* g = FPicture->Graphic();
    // Icons and metafiles carry their own transparency.
    if (g && !dynamic_cast<TMetafile*>(g) && !dynamic_cast<TIcon*>(g) && g->Transparent() != FTransparent) {
        auto saved = FPicture->OnChange;
        FPicture->OnChange = nullptr;
        g->SetTransparent(FTransparent);
        FPicture->OnChange = saved;
    }
    if (FAutoSize && FPicture->Width() > 0 && FPicture->Height() > 0)
        SetBounds(FLeft, FTop, FPicture->Width(), FPicture->Height());
    Invalidate();
}

TRect TImage::DestRect() const
{
    int w = FPicture->Width(), h = FPicture->Height();
    const int cw = FWidth, ch = FHeight;
    if (FStretch || (FProportional && (w > cw || h > ch))) {
        if (FProportional && w > 0 && h > 0) {
            const double xyaspect = double(w) / h;
            if (w > h) {
                w = cw;
                h = static_cast<int>(cw / xyaspect);
                if (h > ch) {
                    h = ch;
                    w = static_cast<int>(ch * xyaspect);
                }
            } else {
                h = ch;
                w = static_cast<int>(ch * xyaspect);
                if (w > cw) {
                    w = cw;
                    h = static_cast<int>(cw / xyaspect);
                }
            }
        } else {
            w = cw;
            h = ch;
        }
    }
    TRect r(0, 0, w, h);
    if (FCenter) {
        const int dx = (cw - w) / 2, dy = (ch - h) / 2;
        r = TRect(dx, dy, dx + w, dy + h);
    }
    return r;
}

void TImage::Paint()
{
    TGraphic* g = FPicture->Graphic();
    if (!g || g->Empty())
        return;
    TGraphicControl::Canvas()->StretchDraw(DestRect(), g);
}
