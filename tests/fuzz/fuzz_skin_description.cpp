// fuzz-layer: tv_skin
// Skin descriptions read into skin elements, with a few pictures to name.
#include <QBuffer>
#include <QImage>
#include <cstddef>
#include <cstdint>

#include "skin/quick_ini.h"
#include "skin/skin_data.h"
#include "skin/skin_reader.h"

namespace {
void AppendInt32(QByteArray& out, int32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.append(static_cast<char>((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF));
}

QByteArray Bmp(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, (x + y) % 3 == 0 ? qRgb(255, 0, 255) : qRgb(x * 5, y * 7, 90));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    img.save(&buffer, "BMP");
    return bytes;
}

// A container with pictures "a.bmp" .. "d.bmp" of assorted shapes.
TSkinReader& Pictures()
{
    static TSkinReader reader = [] {
        const QByteArray pics[] = {Bmp(54, 18), Bmp(120, 10), Bmp(3, 40), Bmp(1, 1)};
        const QByteArray names = "a.bmp\r\nb.bmp\r\nc.bmp\r\nd.bmp\r\n";
        QByteArray c;
        AppendInt32(c, 20000);
        AppendInt32(c, static_cast<int32_t>(names.size()));
        AppendInt32(c, 0);
        AppendInt32(c, 0);
        c += names;
        for (const QByteArray& p : pics)
            AppendInt32(c, static_cast<int32_t>(p.size()));
        for (const QByteArray& p : pics)
            c += p;
        TSkinReader r;
        r.LoadFromUnpacked(c);
        return r;
    }();
    return reader;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static TSkinData* skin = new TSkinData(nullptr);
    TQuickIni ini;
    ini.LoadFromStream(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    skin->ReadSkin(ini, Pictures());
    return 0;
}
