// fuzz-layer: tv_catalogue
// Feeds arbitrary bytes through everything that reads a CDDB server's reply.
#include "catalogue/cddb_connect.h"
#include "catalogue/cddb_entry.h"
#include "classlib/sysutils.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = DecodeText(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    const QStringList lines = TCDDBConnect::SplitLines(text);
    const int code = TCDDBConnect::ParseResponseCode(text);
    if (code < 0 || code > 999)
        __builtin_trap();
    const QStringList matches = TCDDBConnect::MatchList(lines);
    if (matches.size() > lines.size())
        __builtin_trap();
    if (!lines.isEmpty()) {
        TCDDBEntry::ExtractWord(lines.first(), 1, false);
        TCDDBEntry::ExtractWord(lines.last(), 2, true);
    }
    TCDDBEntry entry;
    entry.ParseCDDBEntry(lines, QStringLiteral("0200B401"));
    if (entry.Tracks.size() > lines.size() || entry.DiscId != QStringLiteral("0200B401"))
        __builtin_trap();
    return 0;
}
