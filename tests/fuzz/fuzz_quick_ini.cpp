// fuzz-layer: tv_skin
// Skin descriptions: parsing and every kind of lookup.
#include <cstddef>
#include <cstdint>

#include "skin/quick_ini.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TQuickIni ini;
    ini.LoadFromStream(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    QStringList sections;
    ini.ReadSections(sections);
    for (const QString& s : sections) {
        ini.ReadString(s, QStringLiteral("Image"), QString());
        ini.ReadInteger(s, QStringLiteral("Frame"), 0);
        ini.ReadInteger(s, QStringLiteral("Action"), -1);
    }
    for (const QString& line : ini.Lines()) {
        const QString key = TQuickIni::KeyOf(line);
        TQuickIni::ValueOf(line, key);
        if (!sections.isEmpty())
            ini.ReadInteger(sections.first(), key, 7);
    }
    return 0;
}
