#include "classlib/pictures/stream_io.h"

#include "classlib/sysutils.h"

namespace PictureIO {

void PutLe16(QByteArray& out, uint16_t v)
{
    out.append(char(v & 0xFF));
    out.append(char(v >> 8));
}

void PutLe32(QByteArray& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.append(char((v >> (8 * i)) & 0xFF));
}

QByteArray ReadExact(QIODevice& stream, qint64 n)
{
    if (n < 0)
        throw EReadError(QStringLiteral("Data nečekaně končí"));
    // A stream that knows its size tells us at once when the data is not there.
    if (!stream.isSequential() && stream.size() - stream.pos() < n)
        throw EReadError(QStringLiteral("Data nečekaně končí"));
    QByteArray out;
    constexpr qint64 Chunk = 1 << 20;
    while (out.size() < n) {
        const qint64 want = std::min<qint64>(Chunk, n - out.size());
        const QByteArray part = stream.read(want);
        if (part.isEmpty())
            throw EReadError(QStringLiteral("Data nečekaně končí"));
        out.append(part);
    }
    return out;
}

uint32_t ReadU32(QIODevice& stream)
{
    const QByteArray b = ReadExact(stream, 4);
    return Le32(reinterpret_cast<const uchar*>(b.constData()));
}

uint8_t ReadU8(QIODevice& stream)
{
    char c;
    if (!stream.getChar(&c))
        throw EReadError(QStringLiteral("Data nečekaně končí"));
    return uint8_t(c);
}

QByteArray ReadRest(QIODevice& stream) { return stream.readAll(); }

void WriteBytes(QIODevice& stream, const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return;
    if (stream.write(bytes) != bytes.size())
        throw EFileError(QStringLiteral("Data nelze zapsat"));
}

void WriteU32(QIODevice& stream, uint32_t v)
{
    QByteArray b;
    PutLe32(b, v);
    WriteBytes(stream, b);
}

} // namespace PictureIO
