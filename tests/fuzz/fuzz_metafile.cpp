// fuzz-layer: tv_classlib
// The metafile loader and record player: load any bytes, then draw what loads
// onto a small image.
#include "classlib/pictures/metafile.h"
#include "classlib/sysutils.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TMetafile m;
    try {
        m.LoadFromBytes(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    } catch (const EInvalidGraphic&) {
        return 0;
    }
    QImage img(48, 32, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    m.Play(p, QRectF(0, 0, 48, 32));
    p.end();
    return 0;
}
