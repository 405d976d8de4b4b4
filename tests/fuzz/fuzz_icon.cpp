// fuzz-layer: tv_classlib
// The icon reader, from a file and from inside picture data.
#include "classlib/graphics/canvas.h"
#include "classlib/pictures/icon.h"
#include "classlib/sysutils.h"

#include <QBuffer>
#include <QGuiApplication>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    for (bool framed : {false, true}) {
        QBuffer buf;
        buf.setData(bytes);
        buf.open(QIODevice::ReadOnly);
        TIcon icon;
        try {
            if (framed)
                icon.ReadData(buf);
            else
                icon.LoadFromStream(buf);
        } catch (const Exception&) {
            continue;
        }
        QImage img(16, 16, QImage::Format_RGB32);
        img.fill(Qt::white);
        TCanvas c;
        c.BindImage(&img);
        c.StretchDraw(Rect(0, 0, 16, 16), &icon);
        c.Unbind();
    }
    return 0;
}
