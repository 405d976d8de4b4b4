// fuzz-layer: tv_classlib
// The BMP reader: any bytes either load or throw EInvalidGraphic; a loaded
// bitmap saves and reloads.
#include "classlib/pictures/bitmap.h"
#include "classlib/sysutils.h"

#include <QBuffer>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Sizes beyond a few million pixels only cost time here (the unit tests
    // cover the size limits); keep the fuzzer fast.
    if (size >= 26) {
        const int64_t w = int32_t(data[18] | (data[19] << 8) | (data[20] << 16) | (uint32_t(data[21]) << 24));
        const int64_t h = int32_t(data[22] | (data[23] << 8) | (data[24] << 16) | (uint32_t(data[25]) << 24));
        if (std::llabs(w) * std::llabs(h) > 2'000'000)
            return 0;
    }
    QBuffer buf;
    buf.setData(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    buf.open(QIODevice::ReadOnly);
    TBitmap b;
    try {
        b.LoadFromStream(buf);
    } catch (const EInvalidGraphic&) {
        return 0;
    }
    if (b.Width() * int64_t(b.Height()) > 4'000'000)
        return 0;
    const QByteArray again = b.SaveToBytes();
    TBitmap c;
    QBuffer in;
    in.setData(again);
    in.open(QIODevice::ReadOnly);
    c.LoadFromStream(in); // our own output must always load
    if (c.Width() != b.Width() || c.Height() != b.Height())
        std::abort();
    return 0;
}
