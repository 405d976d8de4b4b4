// fuzz-layer: tv_skin
// The decoded container of a skin archive: header, name block, size table.
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
    // The version word is mostly right, so the fuzzer reaches the rest.
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (bytes.size() >= 4 && (bytes[0] & 1)) {
        bytes[0] = 0x20;
        bytes[1] = 0x4E;
        bytes[2] = 0;
        bytes[3] = 0;
    }
    TSkinReader reader;
    if (!reader.LoadFromUnpacked(bytes))
        return 0;
    int64_t sum = 0;
    for (int i = 0; i < reader.Count(); ++i)
        sum += reader.Size(i);
    if (sum > reader.Data().size())
        __builtin_trap();
    QByteArray out;
    QString name;
    for (const QString& n : reader.Names())
        reader.ExtractByName(n, out);
    reader.ExtractByPart(QStringLiteral(".ini"), out, name);
    return 0;
}
