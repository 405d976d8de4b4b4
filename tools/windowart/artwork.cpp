#include "artwork.h"

#include <QConicalGradient>
#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

namespace WindowArt {
namespace {
const QColor kWindowFace(212, 208, 200); // the classic button face
const QColor kDeep(13, 27, 51);
const QColor kBlue(43, 74, 122);

QFont ArtFont(int pixelSize, bool bold)
{
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

// A disc's iridescent sheen: rainbow spokes, faint.
void Sheen(QPainter& p, QPointF centre, double radius, int alpha)
{
    QConicalGradient g(centre, 30);
    // The last stop repeats the first, so the sheen has no seam.
    const QColor stops[] = {QColor(255, 120, 120), QColor(255, 230, 120), QColor(120, 255, 160), QColor(120, 200, 255),
                            QColor(200, 130, 255), QColor(255, 170, 120), QColor(255, 120, 120)};
    for (int i = 0; i < 7; ++i) {
        QColor c = stops[i];
        c.setAlpha(i % 2 ? alpha : alpha / 3);
        g.setColorAt(i / 6.0, c);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(centre, radius, radius);
}

// Draws layer (with alpha) over base; pixels the layer does not touch become the key.
QImage KeyedOver(const QImage& base, const QImage& layer)
{
    QImage out = base.convertToFormat(QImage::Format_RGB32);
    QPainter p(&out);
    p.drawImage(0, 0, layer);
    p.end();
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x)
            if (qAlpha(layer.pixel(x, y)) == 0)
                out.setPixel(x, y, KeyColour());
    return out;
}

QImage Layer(int w, int h)
{
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

QImage Plain(int w, int h, const QColor& c)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(c);
    return img;
}
} // namespace

QRgb KeyColour() { return qRgb(255, 0, 255); }

QImage StartRing()
{
    QImage img(400, 400, QImage::Format_RGB32);
    img.fill(kDeep);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(200, 200);
    // The disc body.
    QRadialGradient body(c, 172);
    body.setColorAt(0.0, QColor(70, 110, 170));
    body.setColorAt(0.35, kBlue);
    body.setColorAt(1.0, QColor(18, 36, 68));
    p.setPen(Qt::NoPen);
    p.setBrush(body);
    p.drawEllipse(c, 172, 172);
    Sheen(p, c, 171, 70);
    // Fine grooves.
    p.setBrush(Qt::NoBrush);
    for (int r = 70; r < 168; r += 6) {
        p.setPen(QPen(QColor(255, 255, 255, 10 + (r % 4) * 3), 1));
        p.drawEllipse(c, r, r);
    }
    // The clear hub around the hole.
    QRadialGradient hub(c, 58);
    hub.setColorAt(0.0, QColor(200, 215, 235, 200));
    hub.setColorAt(0.6, QColor(150, 175, 210, 150));
    hub.setColorAt(1.0, QColor(90, 120, 170, 120));
    p.setPen(QPen(QColor(220, 230, 245, 160), 1.5));
    p.setBrush(hub);
    p.drawEllipse(c, 58, 58);
    p.setPen(QPen(QColor(255, 255, 255, 110), 1));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, 34, 34);
    // Rim.
    p.setPen(QPen(QColor(170, 195, 235), 2));
    p.drawEllipse(c, 171, 171);
    // Title above the hub.
    p.setPen(Qt::white);
    p.setFont(ArtFont(40, true));
    p.drawText(QRectF(60, 72, 280, 50), Qt::AlignCenter, QStringLiteral("Tessavik"));
    p.setPen(QColor(200, 215, 240));
    p.setFont(ArtFont(14, false));
    p.drawText(QRectF(60, 118, 280, 20), Qt::AlignCenter, QStringLiteral("etikety pro CD a DVD"));
    // Soft plates under the three choices (the texts are the window's labels).
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 28));
    p.drawRoundedRect(QRectF(58, 206, 85, 45), 8, 8);
    p.drawRoundedRect(QRectF(254, 206, 91, 45), 8, 8);
    p.drawRoundedRect(QRectF(155, 268, 91, 45), 8, 8);
    // The web link in the hot area.
    QFont link = ArtFont(12, false);
    link.setUnderline(true);
    p.setFont(link);
    p.setPen(QColor(160, 200, 255));
    p.drawText(QRectF(150, 323, 94, 28), Qt::AlignCenter, QStringLiteral("tessavik.example"));
    return img;
}

QImage AboutBackground()
{
    QImage img(456, 242, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 456, 242);
    g.setColorAt(0.0, QColor(22, 44, 84));
    g.setColorAt(1.0, QColor(8, 18, 38));
    p.fillRect(img.rect(), g);
    // Two faint discs leaving the picture on the right.
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 2; ++i) {
        const QPointF c(470 - i * 60, 250 + i * 20);
        for (int r = 40; r < 220; r += 9) {
            p.setPen(QPen(QColor(120, 170, 255, 14 - i * 5), 1));
            p.drawEllipse(c, r, r);
        }
    }
    // A thin light line under the program name.
    QLinearGradient line(166, 0, 440, 0);
    line.setColorAt(0.0, QColor(140, 180, 240, 0));
    line.setColorAt(0.3, QColor(140, 180, 240, 160));
    line.setColorAt(1.0, QColor(140, 180, 240, 0));
    p.fillRect(QRectF(166, 50, 274, 1), line);
    return img;
}

QImage AboutEmblem(const QImage& background)
{
    const QImage base = background.copy(24, 14, 130, 130);
    QImage layer = Layer(130, 130);
    QPainter p(&layer);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(65, 65);
    // A disc with its printed label, lying over a box insert.
    QPainterPath card;
    card.addRoundedRect(QRectF(10, 22, 78, 92), 4, 4);
    p.setPen(QPen(QColor(200, 210, 230), 1.5));
    QLinearGradient paper(10, 22, 88, 114);
    paper.setColorAt(0, QColor(250, 250, 252));
    paper.setColorAt(1, QColor(205, 214, 232));
    p.setBrush(paper);
    p.save();
    p.translate(c);
    p.rotate(-12);
    p.translate(-c);
    p.drawPath(card);
    p.setPen(QPen(QColor(43, 74, 122, 120), 3));
    for (int i = 0; i < 4; ++i)
        p.drawLine(QPointF(20, 40 + i * 12), QPointF(60 - i * 6, 40 + i * 12));
    p.restore();
    const QPointF dc(76, 72);
    QRadialGradient body(dc, 52);
    body.setColorAt(0.0, QColor(90, 140, 210));
    body.setColorAt(1.0, QColor(30, 60, 120));
    p.setPen(QPen(QColor(180, 205, 245), 1.5));
    p.setBrush(body);
    p.drawEllipse(dc, 52, 52);
    Sheen(p, dc, 51, 90);
    // The label on the disc: a white band with a stroke of colour.
    QPainterPath labelRing;
    labelRing.addEllipse(dc, 46, 46);
    labelRing.addEllipse(dc, 20, 20);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 235));
    p.drawPath(labelRing);
    p.setPen(QPen(QColor(230, 120, 40), 5, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(dc.x() - 35, dc.y() - 35, 70, 70), 20 * 16, 110 * 16);
    p.setPen(QPen(QColor(43, 74, 122), 5, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(dc.x() - 27, dc.y() - 27, 54, 54), 200 * 16, 90 * 16);
    // The hole shows what lies beneath: cut it out of the layer.
    p.setCompositionMode(QPainter::CompositionMode_Clear);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawEllipse(dc, 7, 7);
    p.end();
    QImage out = KeyedOver(base, layer);
    // The picture's key is its bottom-left pixel: keep that corner outside.
    out.setPixel(0, out.height() - 1, KeyColour());
    return out;
}

QImage ExportIcon()
{
    QImage layer = Layer(48, 48);
    QPainter p(&layer);
    p.setRenderHint(QPainter::Antialiasing);
    // A picture frame with a landscape, and a disc sliding into it.
    p.setPen(QPen(QColor(60, 70, 90), 1.5));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(14.5, 6.5, 30, 26));
    QPainterPath hills;
    hills.moveTo(16, 31);
    hills.lineTo(24, 20);
    hills.lineTo(30, 26);
    hills.lineTo(36, 17);
    hills.lineTo(43, 31);
    hills.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(70, 150, 90));
    p.drawPath(hills);
    p.setBrush(QColor(240, 190, 40));
    p.drawEllipse(QPointF(22, 13), 3, 3);
    const QPointF dc(16, 32);
    QRadialGradient body(dc, 14);
    body.setColorAt(0, QColor(110, 160, 225));
    body.setColorAt(1, QColor(35, 70, 135));
    p.setPen(QPen(QColor(25, 45, 90), 1));
    p.setBrush(body);
    p.drawEllipse(dc, 14, 14);
    Sheen(p, dc, 13, 110);
    p.setCompositionMode(QPainter::CompositionMode_Clear);
    p.setBrush(Qt::black);
    p.drawEllipse(dc, 3, 3);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    // The arrow from the disc to the picture.
    p.setPen(QPen(QColor(200, 60, 40), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(28, 41), QPointF(40, 41));
    p.drawLine(QPointF(36, 37), QPointF(40, 41));
    p.drawLine(QPointF(36, 45), QPointF(40, 41));
    p.end();
    QImage out = KeyedOver(Plain(48, 48, kWindowFace), layer);
    out.setPixel(0, out.height() - 1, KeyColour());
    return out;
}

QImage OffsetArrow(bool vertical)
{
    QImage layer = Layer(32, 32);
    QPainter p(&layer);
    p.setRenderHint(QPainter::Antialiasing);
    // A sheet of paper with a double-headed arrow across it.
    p.setPen(QPen(QColor(90, 90, 100), 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(6.5, 2.5, 19, 27));
    p.setPen(QPen(QColor(43, 74, 160), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    if (!vertical)
        p.translate(32, 0), p.rotate(90);
    p.drawLine(QPointF(16, 5), QPointF(16, 27));
    p.drawPolyline(QPolygonF({QPointF(11, 10), QPointF(16, 5), QPointF(21, 10)}));
    p.drawPolyline(QPolygonF({QPointF(11, 22), QPointF(16, 27), QPointF(21, 22)}));
    p.end();
    QImage out = KeyedOver(Plain(32, 32, kWindowFace), layer);
    out.setPixel(0, out.height() - 1, KeyColour());
    return out;
}
} // namespace WindowArt
