// fuzz-layer: tv_skin
// Skin archive files: decoding, the container checks and extraction.
#include <cstddef>
#include <cstdint>

#include "skin/skin_message.h"
#include "skin/skin_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool quiet = [] {
        SetSkinMessageHandler([](const QString&) {});
        return true;
    }();
    (void)quiet;
    TSkinReader reader;
    if (!reader.LoadFromStream(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size))))
        return 0;
    QByteArray out;
    QString name;
    for (const QString& n : reader.Names())
        reader.ExtractByName(n.toUpper(), out);
    reader.ExtractByPart(QStringLiteral(".ini"), out, name);
    return 0;
}
