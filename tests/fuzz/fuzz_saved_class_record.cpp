// fuzz-layer: tv_classlib
// Records read into the class library's real saved classes (labels measure
// their text, so a headless application is running).
#include "classlib/streaming/component_stream.h"
#include "classlib/sysutils.h"

#include <QApplication>
#include <QBuffer>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication* app = new QApplication(*argc, *argv);
    (void)app;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer buf(&bytes);
    buf.open(QIODevice::ReadOnly);
    const TRecordReadResult r = ReadComponentRecords(buf);
    for (const auto& c : r.Components)
        (void)ComponentRecordBytes(c.get());
    return 0;
}
