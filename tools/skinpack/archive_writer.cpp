#include "archive_writer.h"

#include "classlib/sysutils.h"
#include "lzh_encoder.h"

namespace SkinPack {
namespace {
void AppendInt32(QByteArray& out, int32_t value)
{
    const auto v = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        out.append(static_cast<char>((v >> (8 * i)) & 0xFF));
}
} // namespace

QByteArray BuildContainer(const QList<TEntry>& entries, int32_t version, int32_t word1, int32_t word2)
{
    QByteArray names;
    for (const TEntry& e : entries)
        names += UnicodeToAnsi(e.Name) + "\r\n";
    QByteArray out;
    AppendInt32(out, version);
    AppendInt32(out, static_cast<int32_t>(names.size()));
    AppendInt32(out, word1);
    AppendInt32(out, word2);
    out += names;
    for (const TEntry& e : entries)
        AppendInt32(out, static_cast<int32_t>(e.Data.size()));
    for (const TEntry& e : entries)
        out += e.Data;
    return out;
}

QByteArray BuildArchive(const QList<TEntry>& entries, int32_t version)
{
    return LzhEncode(BuildContainer(entries, version, 0x1F2E3D4C, 0x5B6A7988));
}
} // namespace SkinPack
