// fuzz-layer: tv_classlib
// The "Picture.Data" framing reader with every picture kind behind it: read a
// value, draw what it holds, write it again and read that back.
#include "classlib/graphics/canvas.h"
#include "classlib/pictures/picture.h"
#include "classlib/sysutils.h"

#include <QGuiApplication>
#include <QImage>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TPicture p;
    try {
        p.ReadDataFromBytes(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    } catch (const Exception&) {
        return 0;
    }
    if (!p.HasGraphic())
        return 0;
    QImage img(24, 24, QImage::Format_RGB32);
    img.fill(Qt::white);
    TCanvas c;
    c.BindImage(&img);
    c.StretchDraw(Rect(0, 0, 24, 24), p.Graphic());
    c.Unbind();
    if (int64_t(p.Width()) * p.Height() > 4'000'000)
        return 0;
    const QByteArray again = p.DataBytes();
    TPicture q;
    q.ReadDataFromBytes(again); // what we write must read back
    if (q.Width() != p.Width() || q.Height() != p.Height())
        std::abort();
    return 0;
}
