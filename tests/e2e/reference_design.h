#pragma once
// The reference design of the print checks and the print benchmark: a disc
// label on a sheet, with a background, a text, a key-colour logo and a shape,
// and a print correction.

#include "classlib/pictures/bitmap.h"
#include "classlib/pictures/picture.h"
#include "designer/main/frm_main.h"

#include <QImage>
#include <QPainter>

struct TReferenceDesign {
    TLabel* Text = nullptr;
    TImage* Logo = nullptr;
    TShape* Frame = nullptr;
};

// A dark green disc inset on a magenta key colour, size x size pixels.
inline QImage KeyColourLogo(int size, int inset)
{
    QImage logo(size, size, QImage::Format_RGB32);
    logo.fill(qRgb(255, 0, 255));
    QPainter p(&logo);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 90, 0));
    p.drawEllipse(inset, inset, size - 2 * inset, size - 2 * inset);
    return logo;
}

inline TReferenceDesign BuildReferenceDesign(TFrmMain* m)
{
    TReferenceDesign d;
    m->DeleteTemplateParams();
    m->CreateTemplateParams(false, false, 118, 44, 46, 15, 0, 0, 0, 0, 0, QStringLiteral("Reference"));
    m->PrintCorrX = 2;
    m->PrintCorrY = -1;

    // A light background, so dark ink stands out on it.
    const int w = m->PNLCD->Width(), h = m->PNLCD->Height();
    QImage back(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            back.setPixel(x, y, qRgb(200 + 55 * x / w, 220, 255 - 40 * y / h));
    m->IMGBck->Picture()->Bitmap()->SetImage(back);

    d.Text = new TLabel(m);
    d.Text->SetTag(1);
    d.Text->SetParent(m->PNLCD);
    d.Text->Font()->SetName(QStringLiteral("Arial"));
    d.Text->Font()->SetSize(16);
    d.Text->Font()->SetColor(clBlack);
    d.Text->SetTransparent(true);
    d.Text->SetCaption(QStringLiteral("TESSAVIK"));
    d.Text->SetAutoSize(false);
    d.Text->SetBounds(170, 60, 150, 30);

    const QImage logo = KeyColourLogo(64, 4);
    d.Logo = new TImage(m);
    d.Logo->SetTag(1);
    d.Logo->SetParent(m->PNLCD);
    d.Logo->Picture()->Bitmap()->SetImage(logo);
    d.Logo->SetStretch(true);
    d.Logo->SetTransparent(true);
    d.Logo->SetBounds(310, 250, 80, 80);

    d.Frame = new TShape(m);
    d.Frame->SetTag(1);
    d.Frame->SetParent(m->PNLCD);
    d.Frame->SetShape(stRoundRect);
    d.Frame->Pen()->SetColor(clRed);
    d.Frame->Pen()->SetWidth(2);
    d.Frame->Brush()->SetStyle(bsClear);
    d.Frame->SetBounds(100, 300, 100, 60);

    m->RenumberObjects();
    return d;
}
