#pragma once
// Printing tests: a raster printer in place of the program's, the print
// dialog and the box question answered, and small picture helpers.

#include "classlib/forms/dialogs.h"
#include "classlib/forms/message_box.h"
#include "classlib/pictures/bitmap.h"
#include "classlib/pictures/picture.h"
#include "classlib/printers.h"
#include "designer/main/frm_main.h"

#include <QImage>
#include <cmath>
#include <memory>

// A4 at 600 dpi across and 300 dpi down, with unprintable margins.
inline TRasterPrintDevice::TSheet UnevenA4()
{
    TRasterPrintDevice::TSheet s;
    s.Width = 4960;
    s.Height = 3508;
    s.DpiX = 600;
    s.DpiY = 300;
    s.MarginLeft = 60;
    s.MarginTop = 45;
    s.MarginRight = 60;
    s.MarginBottom = 45;
    return s;
}

class TRasterPrinterScope {
public:
    explicit TRasterPrinterScope(const TRasterPrintDevice::TSheet& sheet = UnevenA4())
    {
        auto device = std::make_unique<TRasterPrintDevice>(sheet);
        Device = device.get();
        FOld = SetPrinter(std::make_unique<TPrinter>(std::move(device)));
        // The dialog is confirmed with the copies asked for.
        TCommonDialog::ExecuteHook = [this](TCommonDialog* d) {
            if (auto* p = dynamic_cast<TPrintDialog*>(d)) {
                ++DialogsShown;
                p->Copies = Copies;
                return ConfirmDialog;
            }
            return false;
        };
        SetMessageBoxHook([this](const QString& text, const QString& caption, unsigned flags) {
            ++Questions;
            LastQuestion = text;
            LastCaption = caption;
            LastFlags = flags;
            return Answer;
        });
    }
    ~TRasterPrinterScope()
    {
        TCommonDialog::ExecuteHook = nullptr;
        SetMessageBoxHook(nullptr);
        SetPrinter(std::move(FOld));
    }
    TRasterPrinterScope(const TRasterPrinterScope&) = delete;
    TRasterPrinterScope& operator=(const TRasterPrinterScope&) = delete;

    TRasterPrintDevice* Device = nullptr;
    int Copies = 1;
    bool ConfirmDialog = true;
    int DialogsShown = 0;
    int Answer = IDNO;
    int Questions = 0;
    QString LastQuestion, LastCaption;
    unsigned LastFlags = 0;

private:
    std::unique_ptr<TPrinter> FOld;
};

// The millimetre rule at the screen's 96 pixels per inch.
inline int ScreenMm(double mm) { return static_cast<int>(std::trunc(96.0L * (static_cast<long double>(mm) / 25.4L))); }

inline void SetTemplate(TFrmMain* m, bool isKrab, bool sirka, double okraj, double stred, double left, double top,
                        double left2 = 0, double top2 = 0, double width2 = 0, double height2 = 0)
{
    m->DeleteTemplateParams();
    m->CreateTemplateParams(isKrab, sirka, okraj, stred, left, top, left2, top2, width2, height2, isKrab ? 1 : 0,
                            QStringLiteral("Test"));
    // The surface follows the template, as after a change of template.
    if (okraj > 1000 || stred > 1000)
        return; // absurd values that only the print is to meet
    if (isKrab)
        m->SetupBoxSurface(sirka, left, top, okraj, stred, left2, top2, width2, height2);
    else
        m->SetupCDSurface(okraj, stred);
}

// A picture object (Tag 1) on the surface.
inline TImage* AddPicture(TFrmMain* m, const QImage& pixels, int left, int top, int width, int height, bool stretch,
                          bool transparent)
{
    auto* img = new TImage(m);
    img->SetTag(1);
    img->SetParent(m->PNLCD);
    img->Picture()->Bitmap()->SetImage(pixels.convertToFormat(QImage::Format_RGB32));
    img->SetStretch(stretch);
    img->SetTransparent(transparent);
    img->SetBounds(left, top, width, height);
    return img;
}

// A green picture with a transparent blue text "MMMM" (Arial 40) above it,
// at 110,110 180x90 over the picture's 100,100 200x120; the text.
inline TLabel* AddTextOverPicture(TFrmMain* m, const QImage& green, TImage*& picture)
{
    picture = AddPicture(m, green, 100, 100, 200, 120, true, false);
    auto* text = new TLabel(m);
    text->SetTag(1);
    text->SetParent(m->PNLCD);
    text->Font()->SetName(QStringLiteral("Arial"));
    text->Font()->SetSize(40);
    text->Font()->SetColor(clBlue);
    text->SetTransparent(true);
    text->SetCaption(QStringLiteral("MMMM"));
    text->SetBounds(110, 110, 180, 90);
    m->RenumberObjects();
    m->RebuildLayerList();
    return text;
}

inline QImage SolidImage(int w, int h, QColor c)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(c);
    return img;
}

// The background picture in one colour over the whole surface.
inline void SetSolidBackground(TFrmMain* m, QColor c)
{
    m->IMGBck->Picture()->Bitmap()->SetImage(SolidImage(m->PNLCD->Width(), m->PNLCD->Height(), c));
}

inline QRgb Rgb(const QImage& page, int x, int y) { return page.pixel(x, y) & 0x00FFFFFFu; }
