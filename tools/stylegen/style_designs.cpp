#include "style_designs.h"

#include "classlib/controls/ext_controls.h"
#include "classlib/controls/image.h"
#include "classlib/controls/std_controls.h"
#include "classlib/forms/menus.h"
#include "classlib/pictures/bitmap.h"
#include "classlib/pictures/picture.h"
#include "classlib/streaming/component_stream.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <memory>

namespace {
constexpr int kEastEurope = 238;

// One style under construction: objects bottom first, each owned by the style
// and written with the names the designer gives them ("C0" upward).
class TStyle {
public:
    explicit TStyle(TComponent& frm) : FFrm(frm) {}

    TLabel& Text(const QString& text, int l, int t, int w, int h, int height, TColor color, TFontStyles style,
                 const QString& face = QStringLiteral("Arial"))
    {
        auto* o = Add(std::make_unique<TLabel>(nullptr));
        o->SetAutoSize(false);
        o->SetBounds(l, t, w, h);
        o->SetCaption(text);
        o->SetParentFont(false);
        o->Font()->SetCharset(kEastEurope);
        o->Font()->SetName(face);
        o->Font()->SetHeight(height);
        o->Font()->SetColor(color);
        o->Font()->SetStyle(style);
        o->SetTransparent(true);
        o->SetPopupMenu(Menu("PopupMenuTxt"));
        return *o;
    }

    TShape& Shape(TShapeType kind, const QString& hint, int l, int t, int w, int h, TColor pen, int penWidth,
                  TColor brush, TBrushStyle brushStyle)
    {
        auto* o = Add(std::make_unique<TShape>(nullptr));
        o->SetBounds(l, t, w, h);
        o->SetShape(kind);
        o->SetHint(hint);
        o->Pen()->SetColor(pen);
        o->Pen()->SetWidth(penWidth);
        o->Brush()->SetColor(brush);
        o->Brush()->SetStyle(brushStyle);
        return *o;
    }

    TImage& Picture(const QImage& image, const QString& hint, int l, int t, int w, int h)
    {
        auto* o = Add(std::make_unique<TImage>(nullptr));
        o->SetBounds(l, t, w, h);
        o->SetHint(hint);
        TBitmap bmp;
        bmp.SetImage(image.convertToFormat(QImage::Format_RGB32));
        o->Picture()->Assign(&bmp);
        o->SetStretch(true);
        o->SetTransparent(true);
        o->SetPopupMenu(Menu("PopupMenuIMG"));
        return *o;
    }

    QByteArray Bytes()
    {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        for (size_t i = 0; i < FObjects.size(); ++i) {
            FObjects[i]->SetName(QStringLiteral("C%1").arg(i));
            WriteComponentRecord(buffer, FObjects[i].get());
        }
        return buffer.data();
    }

private:
    template <class T>
    T* Add(std::unique_ptr<T> o)
    {
        o->SetTag(1);
        T* raw = o.get();
        FObjects.push_back(std::move(o));
        return raw;
    }
    TPopupMenu* Menu(const char* name)
    {
        if (auto* m = dynamic_cast<TPopupMenu*>(FFrm.FindComponent(QString::fromLatin1(name))))
            return m;
        auto* m = new TPopupMenu(&FFrm);
        m->SetName(QString::fromLatin1(name));
        return m;
    }

    TComponent& FFrm;
    std::vector<std::unique_ptr<TControl>> FObjects;
};

TFontStyles Bold() { return FontStyleBit(fsBold); }
TFontStyles Italic() { return FontStyleBit(fsItalic); }
TFontStyles Plain() { return 0; }

// A small ornament: a leaf spray on white (white is the transparent key colour).
QImage Ornament(int w, int h, QColor ink)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(ink, 2));
    p.setBrush(ink);
    p.drawLine(QPointF(4, h / 2.0), QPointF(w - 4, h / 2.0));
    for (int i = 0; i < 5; ++i) {
        const double x = 8 + i * (w - 32) / 4.0;
        QPainterPath leaf;
        leaf.moveTo(x, h / 2.0);
        leaf.quadTo(x + 6, h / 2.0 - 10, x + 12, h / 2.0 - 2);
        leaf.quadTo(x + 6, h / 2.0 - 2, x, h / 2.0);
        p.drawPath(leaf);
        QPainterPath low;
        low.moveTo(x + 4, h / 2.0);
        low.quadTo(x + 10, h / 2.0 + 10, x + 16, h / 2.0 + 2);
        low.quadTo(x + 10, h / 2.0 + 2, x + 4, h / 2.0);
        p.drawPath(low);
    }
    return img;
}

const char* kTracks =
    "1. Ranní mlha\r\n2. Cesta k moři\r\n3. Světla města\r\n4. Tichá voda\r\n5. Poslední vlak\r\n"
    "6. Zpátky domů";

// Disc surface (118 mm): 461 pixels square, centre 230, label radius 222, hole radius 83.
QByteArray Klasik(TComponent& frm)
{
    TStyle s(frm);
    s.Shape(stEllipse, QStringLiteral("Kruh"), 24, 24, 413, 413, TColor(0x803000), 2, clWhite, bsClear);
    s.Shape(stEllipse, QStringLiteral("Kruh"), 138, 138, 185, 185, TColor(0x803000), 1, clWhite, bsClear);
    s.Text(QStringLiteral("Název alba"), 159, 70, 150, 34, -27, TColor(0x803000), Bold());
    s.Text(QStringLiteral("Interpret"), 194, 104, 80, 24, -19, clBlack, Italic());
    s.Text(QStringLiteral("2026"), 212, 360, 40, 20, -16, TColor(0x803000), Plain());
    return s.Bytes();
}

QByteArray Pruhy(TComponent& frm)
{
    TStyle s(frm);
    s.Shape(stRectangle, QStringLiteral("Obdélník"), 0, 96, 461, 46, TColor(0x2B5FA8), 1, TColor(0x2B5FA8), bsSolid);
    s.Shape(stRectangle, QStringLiteral("Obdélník"), 0, 319, 461, 46, TColor(0x2B5FA8), 1, TColor(0x2B5FA8), bsSolid);
    s.Text(QStringLiteral("NÁZEV ALBA"), 142, 103, 180, 32, -27, clWhite, Bold());
    s.Text(QStringLiteral("Interpret"), 190, 327, 90, 28, -21, clWhite, Plain());
    return s.Bytes();
}

// Booklet (119,5 mm): 466 pixels square.
QByteArray Booklet(TComponent& frm)
{
    TStyle s(frm);
    s.Shape(stRoundRect, QStringLiteral("Zaoblený obdélník"), 30, 30, 406, 406, TColor(0x1F4E2E), 3, clWhite, bsClear);
    s.Text(QStringLiteral("Název alba"), 146, 120, 180, 44, -37, TColor(0x1F4E2E), Bold(),
           QStringLiteral("Times New Roman"));
    s.Picture(Ornament(160, 28, QColor(46, 78, 31)), QStringLiteral("ornament.bmp"), 153, 180, 160, 28);
    s.Text(QStringLiteral("Interpret"), 190, 230, 100, 30, -24, clBlack, Italic(), QStringLiteral("Times New Roman"));
    return s.Bytes();
}

// Back insert (151 x 117,5 mm): 585 x 459 pixels; the spines are 6 mm strips.
QByteArray ZadniObal(TComponent& frm)
{
    TStyle s(frm);
    s.Shape(stRectangle, QStringLiteral("Obdélník"), 7, 7, 24, 445, clBlack, 1, TColor(0x303030), bsSolid);
    s.Shape(stRectangle, QStringLiteral("Obdélník"), 554, 7, 24, 445, clBlack, 1, TColor(0x303030), bsSolid);
    s.Text(QStringLiteral("Seznam skladeb"), 70, 40, 300, 30, -24, clBlack, Bold());
    s.Text(QString::fromUtf8(kTracks), 70, 84, 420, 180, -19, clBlack, Plain());
    return s.Bytes();
}

// DVD cover (275 x 184 mm): 1054 x 710 pixels; back half left, spine, front half right.
QByteArray ObalDvd(TComponent& frm)
{
    TStyle s(frm);
    s.Shape(stRectangle, QStringLiteral("Obdélník"), 508, 7, 38, 696, clBlack, 1, TColor(0x6B2A1A), bsSolid);
    s.Shape(stRectangle, QStringLiteral("Obdélník"), 600, 60, 400, 590, TColor(0x6B2A1A), 2, clWhite, bsClear);
    s.Text(QStringLiteral("NÁZEV FILMU"), 640, 110, 320, 44, -37, TColor(0x6B2A1A), Bold());
    s.Text(QStringLiteral("Režie"), 720, 170, 160, 28, -21, clBlack, Italic());
    s.Text(QStringLiteral("Obsah"), 60, 60, 200, 30, -24, clBlack, Bold());
    s.Text(QString::fromUtf8(kTracks), 60, 104, 400, 180, -19, clBlack, Plain());
    return s.Bytes();
}
} // namespace

std::vector<TStyleFile> BuildStyleFiles()
{
    // The references of the records point at the main window's popup menus.
    TComponent frm(nullptr);
    frm.SetName(QStringLiteral("FrmMain"));
    std::vector<TStyleFile> files;
    files.push_back({QStringLiteral("Klasik.cd"), Klasik(frm)});
    files.push_back({QStringLiteral("Pruhy.cd"), Pruhy(frm)});
    files.push_back({QStringLiteral("Zadni obal.bck"), ZadniObal(frm)});
    files.push_back({QStringLiteral("Booklet.bok"), Booklet(frm)});
    files.push_back({QStringLiteral("Obal DVD.dvd"), ObalDvd(frm)});
    return files;
}
