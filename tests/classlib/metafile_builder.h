#pragma once
// Builds small metafiles record by record for the tests.

#include <QByteArray>
#include <QImage>
#include <QString>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>
#include <initializer_list>

namespace MetafileBuilder {

inline void Put16(QByteArray& b, int v)
{
    b.append(char(v & 0xFF));
    b.append(char((v >> 8) & 0xFF));
}
inline void Put32(QByteArray& b, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b.append(char((v >> (8 * i)) & 0xFF));
}
inline void PutFloat(QByteArray& b, float f)
{
    uint32_t v;
    std::memcpy(&v, &f, 4);
    Put32(b, v);
}

// A packed DIB (info header, no colour table) of a 24-bit image, bottom-up.
inline QByteArray Dib24(const QImage& img)
{
    QByteArray d;
    Put32(d, 40);
    Put32(d, uint32_t(img.width()));
    Put32(d, uint32_t(img.height()));
    Put16(d, 1);
    Put16(d, 24);
    for (int i = 0; i < 6; ++i)
        Put32(d, 0);
    const int stride = ((img.width() * 3 + 3) / 4) * 4;
    for (int y = img.height() - 1; y >= 0; --y) {
        QByteArray row;
        for (int x = 0; x < img.width(); ++x) {
            const QRgb c = img.pixel(x, y);
            row.append(char(qBlue(c)));
            row.append(char(qGreen(c)));
            row.append(char(qRed(c)));
        }
        while (row.size() < stride)
            row.append(char(0));
        d += row;
    }
    return d;
}

// Enhanced metafile: records of 32-bit fields; the header is added by Build.
class TEmf {
public:
    void Rec(uint32_t type, std::initializer_list<int64_t> fields)
    {
        QByteArray payload;
        for (int64_t f : fields)
            Put32(payload, uint32_t(f));
        Raw(type, payload);
    }
    void Raw(uint32_t type, QByteArray payload)
    {
        while (payload.size() % 4)
            payload.append(char(0));
        Put32(FRecords, type);
        Put32(FRecords, uint32_t(8 + payload.size()));
        FRecords += payload;
        ++FCount;
    }
    // A picture of w x h pixels at 96 per inch (reference device 960 px = 254 mm).
    QByteArray Build(int w, int h, int handles = 16) const
    {
        QByteArray head;
        Put32(head, 1);
        Put32(head, 88);
        for (int v : {0, 0, w - 1, h - 1})
            Put32(head, uint32_t(v));
        for (int v : {0, 0, w * 2540 / 96, h * 2540 / 96})
            Put32(head, uint32_t(v));
        Put32(head, 0x464D4520);
        Put32(head, 0x10000);
        Put32(head, uint32_t(88 + FRecords.size() + 20));
        Put32(head, uint32_t(FCount + 2));
        Put16(head, handles);
        Put16(head, 0);
        Put32(head, 0);
        Put32(head, 0);
        Put32(head, 0);
        Put32(head, 960);
        Put32(head, 960);
        Put32(head, 254);
        Put32(head, 254);
        QByteArray eof;
        Put32(eof, 14);
        Put32(eof, 20);
        Put32(eof, 0);
        Put32(eof, 16);
        Put32(eof, 20);
        return head + FRecords + eof;
    }

    // Common records.
    void Brush(int handle, uint32_t colour, int style = 0, int hatch = 0) { Rec(39, {handle, style, colour, hatch}); }
    void Pen(int handle, uint32_t colour, int width = 1, int style = 0) { Rec(38, {handle, style, width, 0, colour}); }
    // ExtCreatePen: a pen with end cap, join and dash entries (PS_USERSTYLE).
    void ExtPen(int handle, int style, int width, uint32_t colour, const std::vector<uint32_t>& entries = {})
    {
        QByteArray p;
        for (int64_t v : {int64_t(handle), int64_t(0), int64_t(0), int64_t(0), int64_t(0), int64_t(style),
                          int64_t(width), int64_t(0), int64_t(colour), int64_t(0), int64_t(entries.size())})
            Put32(p, uint32_t(v));
        for (uint32_t e : entries)
            Put32(p, e);
        Raw(95, p);
    }
    void MoveTo(int x, int y) { Rec(27, {x, y}); }
    void LineTo(int x, int y) { Rec(54, {x, y}); }
    // ArcTo: the ellipse's box, then the points on the start and end radials.
    void ArcTo(int l, int t, int r, int b, int xs, int ys, int xe, int ye) { Rec(55, {l, t, r, b, xs, ys, xe, ye}); }
    void Select(int64_t handle) { Rec(37, {handle}); }
    void Stock(int which) { Select(int64_t(0x80000000u) | which); }
    void Rectangle(int l, int t, int r, int b) { Rec(43, {l, t, r, b}); }
    void Ellipse(int l, int t, int r, int b) { Rec(42, {l, t, r, b}); }
    void Font(int handle, int height, const QString& face, int weight = 400, int escapement = 0)
    {
        QByteArray p;
        Put32(p, uint32_t(handle));
        for (int v : {height, 0, escapement, escapement, weight})
            Put32(p, uint32_t(v));
        for (int v : {0, 0, 0, 1, 0, 0, 0, 0})
            p.append(char(v));
        for (int i = 0; i < 32; ++i)
            Put16(p, i < face.size() ? face[i].unicode() : 0);
        Raw(82, p);
    }
    void Text(int x, int y, const QString& text, const std::vector<int>& dx = {})
    {
        // ExtTextOutW: bounds, graphics mode, scales, then the text record.
        QByteArray p;
        for (int v : {0, 0, 0, 0})
            Put32(p, uint32_t(v));
        Put32(p, 1);
        PutFloat(p, 1);
        PutFloat(p, 1);
        const uint32_t fixed = 8 + 68;
        const uint32_t offString = fixed;
        const uint32_t stringBytes = uint32_t(((text.size() * 2 + 3) / 4) * 4);
        Put32(p, uint32_t(x));
        Put32(p, uint32_t(y));
        Put32(p, uint32_t(text.size()));
        Put32(p, offString);
        Put32(p, 0);
        for (int v : {0, 0, 0, 0})
            Put32(p, uint32_t(v));
        Put32(p, dx.empty() ? 0 : offString + stringBytes);
        QByteArray s;
        for (QChar c : text)
            Put16(s, c.unicode());
        while (s.size() % 4)
            s.append(char(0));
        p += s;
        for (int d : dx)
            Put32(p, uint32_t(d));
        Raw(84, p);
    }
    void StretchDib(int x, int y, int cx, int cy, const QImage& img, uint32_t rop = 0x00CC0020)
    {
        const QByteArray dib = Dib24(img);
        QByteArray p;
        for (int v : {0, 0, 0, 0})
            Put32(p, uint32_t(v));
        const uint32_t offBmi = 80;
        for (int64_t v : {int64_t(x), int64_t(y), int64_t(0), int64_t(0), int64_t(img.width()), int64_t(img.height()),
                          int64_t(offBmi), int64_t(40), int64_t(offBmi + 40), int64_t(dib.size() - 40), int64_t(0),
                          int64_t(rop), int64_t(cx), int64_t(cy)})
            Put32(p, uint32_t(v));
        p += dib;
        Raw(81, p);
    }
    void BitBlt(int x, int y, const QImage& img)
    {
        const QByteArray dib = Dib24(img);
        QByteArray p;
        for (int v : {0, 0, 0, 0})
            Put32(p, uint32_t(v));
        for (int v : {x, y, img.width(), img.height()})
            Put32(p, uint32_t(v));
        Put32(p, 0x00CC0020);
        Put32(p, 0);
        Put32(p, 0);
        for (float f : {1.f, 0.f, 0.f, 1.f, 0.f, 0.f})
            PutFloat(p, f);
        Put32(p, 0);
        Put32(p, 0);
        Put32(p, 100);
        Put32(p, 40);
        Put32(p, 140);
        Put32(p, uint32_t(dib.size() - 40));
        p += dib;
        Raw(76, p);
    }
    void Polygon(std::initializer_list<std::pair<int, int>> pts)
    {
        QByteArray p;
        for (int v : {0, 0, 0, 0})
            Put32(p, uint32_t(v));
        Put32(p, uint32_t(pts.size()));
        for (auto [x, y] : pts) {
            Put32(p, uint32_t(x));
            Put32(p, uint32_t(y));
        }
        Raw(3, p);
    }
    void Xform(uint32_t type, float m11, float m12, float m21, float m22, float dx, float dy, int mode = -1)
    {
        QByteArray p;
        for (float f : {m11, m12, m21, m22, dx, dy})
            PutFloat(p, f);
        if (mode >= 0)
            Put32(p, uint32_t(mode));
        Raw(type, p);
    }

private:
    QByteArray FRecords;
    int FCount = 0;
};

// Windows metafile: records of 16-bit words; Build adds the headers.
class TWmf {
public:
    void Rec(uint16_t func, std::initializer_list<int> words)
    {
        QByteArray payload;
        for (int w : words)
            Put16(payload, w);
        Raw(func, payload);
    }
    void Raw(uint16_t func, QByteArray payload)
    {
        if (payload.size() % 2)
            payload.append(char(0));
        Put32(FRecords, uint32_t(3 + payload.size() / 2));
        Put16(FRecords, func);
        FRecords += payload;
        FMax = std::max(FMax, 3 + int(payload.size() / 2));
    }
    QByteArray Body(int objects = 8) const
    {
        QByteArray h;
        Put16(h, 1);
        Put16(h, 9);
        Put16(h, 0x300);
        Put32(h, uint32_t((18 + FRecords.size() + 6) / 2));
        Put16(h, objects);
        Put32(h, uint32_t(FMax));
        Put16(h, 0);
        QByteArray eof;
        Put32(eof, 3);
        Put16(eof, 0);
        return h + FRecords + eof;
    }
    // With the placeable header: bounding box in units of inch per inch.
    QByteArray Build(int left, int top, int right, int bottom, int inch, int objects = 8) const
    {
        QByteArray p;
        Put32(p, 0x9AC6CDD7);
        Put16(p, 0);
        for (int v : {left, top, right, bottom})
            Put16(p, v);
        Put16(p, inch);
        Put32(p, 0);
        uint16_t sum = 0;
        for (int i = 0; i < 20; i += 2)
            sum ^= uint16_t(uint8_t(p[i]) | (uint8_t(p[i + 1]) << 8));
        Put16(p, sum);
        return p + Body(objects);
    }

    void Window(int x, int y, int w, int h)
    {
        Rec(0x020B, {y, x});
        Rec(0x020C, {h, w});
    }
    void Brush(uint32_t colour, int style = 0)
    {
        QByteArray p;
        Put16(p, style);
        Put32(p, colour);
        Put16(p, 0);
        Raw(0x02FC, p);
    }
    void Pen(uint32_t colour, int width = 1, int style = 0)
    {
        QByteArray p;
        Put16(p, style);
        Put16(p, width);
        Put16(p, 0);
        Put32(p, colour);
        Raw(0x02FA, p);
    }
    void Select(int index) { Rec(0x012D, {index}); }
    void Delete(int index) { Rec(0x01F0, {index}); }
    void Rectangle(int l, int t, int r, int b) { Rec(0x041B, {b, r, t, l}); }

private:
    QByteArray FRecords;
    int FMax = 3;
};

} // namespace MetafileBuilder
