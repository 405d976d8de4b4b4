#include "classlib/streaming/reader.h"

#include "classlib/streaming/extended_float.h"
#include "classlib/sysutils.h"

#include <QtEndian>
#include <algorithm>
#include <array>
#include <cstring>

namespace {
// Lengths are read in pieces so a lying length on a pipe cannot make us
// allocate more than the device actually holds.
constexpr int64_t kChunk = 1 << 20;
} // namespace

QString ValueTypeName(TValueType type)
{
    static const char* const kNames[] = {
        "vaNull", "vaList", "vaInt8", "vaInt16", "vaInt32", "vaExtended", "vaString",
        "vaIdent", "vaFalse", "vaTrue", "vaBinary", "vaSet", "vaLString", "vaNil",
        "vaCollection", "vaSingle", "vaCurrency", "vaDate", "vaWString", "vaInt64",
        "vaUTF8String",
    };
    const int i = static_cast<int>(type);
    if (i >= 0 && i <= kLastValueType)
        return QString::fromLatin1(kNames[i]);
    return QStringLiteral("value type %1").arg(i);
}

void TReader::ReadError(const QString& message) { throw EReadError(message); }

void TReader::InvalidValue(TValueType found)
{
    ReadError(QStringLiteral("Neplatná hodnota vlastnosti (%1)").arg(ValueTypeName(found)));
}

TReader::TNesting::TNesting(TReader& reader) : FReader(reader)
{
    if (++FReader.FDepth > kMaxDepth) {
        --FReader.FDepth;
        ReadError(QStringLiteral("Data jsou vnořena příliš hluboko"));
    }
}

uint8_t TReader::ReadByte()
{
    char c = 0;
    if (!FStream.getChar(&c))
        ReadError(QStringLiteral("Data nečekaně končí"));
    return static_cast<uint8_t>(c);
}

QByteArray TReader::ReadBytes(int64_t count)
{
    if (count < 0)
        ReadError(QStringLiteral("Neplatný formát dat: záporná délka"));
    if (count == 0)
        return {};
    if (!FStream.isSequential() && count > FStream.size() - FStream.pos())
        ReadError(QStringLiteral("Data nečekaně končí"));
    QByteArray out;
    while (out.size() < count) {
        const int64_t want = std::min<int64_t>(count - out.size(), kChunk);
        const QByteArray piece = FStream.read(want);
        if (piece.isEmpty())
            ReadError(QStringLiteral("Data nečekaně končí"));
        out.append(piece);
    }
    return out;
}

int32_t TReader::ReadInt32Raw()
{
    const QByteArray b = ReadBytes(4);
    return qFromLittleEndian<qint32>(b.constData());
}

void TReader::ReadSignature()
{
    const QByteArray sig = FStream.read(4);
    if (sig.size() != 4 || std::memcmp(sig.constData(), kRecordSignature, 4) != 0)
        ReadError(QStringLiteral("Neplatný formát dat: chybí značka záznamu"));
}

bool TReader::ReadPrefix(int& flags, int& childPos)
{
    flags = 0;
    childPos = -1;
    char c = 0;
    if (FStream.peek(&c, 1) != 1)
        ReadError(QStringLiteral("Data nečekaně končí"));
    const auto b = static_cast<uint8_t>(c);
    if ((b & 0xF0) != 0xF0)
        return false;
    ReadByte();
    flags = b & 0x0F;
    if (flags & ffChildPos)
        childPos = ReadInteger();
    return true;
}

TValueType TReader::NextValue()
{
    char c = 0;
    if (FStream.peek(&c, 1) != 1)
        ReadError(QStringLiteral("Data nečekaně končí"));
    const auto b = static_cast<uint8_t>(c);
    if (b > kLastValueType)
        ReadError(QStringLiteral("Neplatný formát dat: neznámý druh hodnoty %1").arg(b));
    return static_cast<TValueType>(b);
}

bool TReader::EndOfList()
{
    char c = 0;
    if (FStream.peek(&c, 1) != 1)
        ReadError(QStringLiteral("Data nečekaně končí"));
    return c == 0;
}

TValueType TReader::ReadValue()
{
    const TValueType t = NextValue();
    ReadByte();
    return t;
}

void TReader::ReadListEnd()
{
    const TValueType t = ReadValue();
    if (t != TValueType::vaNull)
        ReadError(QStringLiteral("Neplatný formát dat: neukončený seznam (%1)").arg(ValueTypeName(t)));
}

QByteArray TReader::ReadShortBytes()
{
    const uint8_t len = ReadByte();
    return ReadBytes(len);
}

QString TReader::ReadStr() { return AnsiToUnicode(ReadShortBytes()); }

int64_t TReader::ReadIntegerData(TValueType type)
{
    switch (type) {
    case TValueType::vaInt8:
        return static_cast<int8_t>(ReadByte());
    case TValueType::vaInt16: {
        const QByteArray b = ReadBytes(2);
        return qFromLittleEndian<qint16>(b.constData());
    }
    case TValueType::vaInt32:
        return ReadInt32Raw();
    case TValueType::vaInt64: {
        const QByteArray b = ReadBytes(8);
        return qFromLittleEndian<qint64>(b.constData());
    }
    default:
        InvalidValue(type);
    }
}

int32_t TReader::ReadInteger()
{
    const TValueType t = ReadValue();
    if (t != TValueType::vaInt8 && t != TValueType::vaInt16 && t != TValueType::vaInt32)
        InvalidValue(t);
    return static_cast<int32_t>(ReadIntegerData(t));
}

int64_t TReader::ReadInt64()
{
    const TValueType t = ReadValue();
    if (t != TValueType::vaInt8 && t != TValueType::vaInt16 && t != TValueType::vaInt32 &&
        t != TValueType::vaInt64)
        InvalidValue(t);
    return ReadIntegerData(t);
}

bool TReader::ReadBoolean()
{
    const TValueType t = ReadValue();
    if (t == TValueType::vaTrue)
        return true;
    if (t == TValueType::vaFalse)
        return false;
    InvalidValue(t);
}

QString TReader::ReadStringData(TValueType type)
{
    switch (type) {
    case TValueType::vaString:
        return AnsiToUnicode(ReadShortBytes());
    case TValueType::vaLString:
        return AnsiToUnicode(ReadBytes(ReadInt32Raw()));
    case TValueType::vaWString: {
        const int32_t count = ReadInt32Raw();
        if (count < 0)
            ReadError(QStringLiteral("Neplatný formát dat: záporná délka"));
        const QByteArray b = ReadBytes(int64_t(count) * 2);
        QString s(count, Qt::Uninitialized);
        for (int32_t i = 0; i < count; ++i)
            s[i] = QChar(qFromLittleEndian<quint16>(b.constData() + 2 * int64_t(i)));
        return s;
    }
    case TValueType::vaUTF8String:
        return QString::fromUtf8(ReadBytes(ReadInt32Raw()));
    default:
        InvalidValue(type);
    }
}

QString TReader::ReadString() { return ReadStringData(ReadValue()); }

QString TReader::ReadIdent()
{
    const TValueType t = ReadValue();
    if (t != TValueType::vaIdent)
        InvalidValue(t);
    return ReadStr();
}

QByteArray TReader::ReadBinaryData() { return ReadBytes(ReadInt32Raw()); }

QByteArray TReader::ReadBinary()
{
    const TValueType t = ReadValue();
    if (t != TValueType::vaBinary)
        InvalidValue(t);
    return ReadBinaryData();
}

QStringList TReader::ReadSetData()
{
    QStringList members;
    for (;;) {
        const QString name = ReadStr();
        if (name.isEmpty())
            break;
        members.append(name);
    }
    return members;
}

QStringList TReader::ReadSet()
{
    const TValueType t = ReadValue();
    if (t != TValueType::vaSet)
        InvalidValue(t);
    return ReadSetData();
}

double TReader::ReadExtendedData()
{
    const QByteArray b = ReadBytes(10);
    std::array<uint8_t, 10> raw{};
    std::memcpy(raw.data(), b.constData(), 10);
    return ExtendedToDouble(raw);
}

float TReader::ReadSingleData()
{
    const QByteArray b = ReadBytes(4);
    const quint32 bits = qFromLittleEndian<quint32>(b.constData());
    float f = 0;
    std::memcpy(&f, &bits, 4);
    return f;
}

int64_t TReader::ReadCurrencyData() { return ReadIntegerData(TValueType::vaInt64); }

double TReader::ReadDateData()
{
    const QByteArray b = ReadBytes(8);
    const quint64 bits = qFromLittleEndian<quint64>(b.constData());
    double d = 0;
    std::memcpy(&d, &bits, 8);
    return d;
}

double TReader::ReadFloat()
{
    const TValueType t = ReadValue();
    if (t != TValueType::vaExtended)
        InvalidValue(t);
    return ReadExtendedData();
}

void TReader::SkipValue()
{
    const TValueType t = ReadValue();
    switch (t) {
    case TValueType::vaNull:
    case TValueType::vaFalse:
    case TValueType::vaTrue:
    case TValueType::vaNil:
        return;
    case TValueType::vaList: {
        TNesting nest(*this);
        while (!EndOfList())
            SkipValue();
        ReadListEnd();
        return;
    }
    case TValueType::vaInt8:
    case TValueType::vaInt16:
    case TValueType::vaInt32:
    case TValueType::vaInt64:
        ReadIntegerData(t);
        return;
    case TValueType::vaExtended:
        ReadBytes(10);
        return;
    case TValueType::vaString:
    case TValueType::vaIdent:
        ReadShortBytes();
        return;
    case TValueType::vaLString:
    case TValueType::vaUTF8String:
    case TValueType::vaBinary:
        ReadBytes(ReadInt32Raw());
        return;
    case TValueType::vaWString: {
        const int32_t count = ReadInt32Raw();
        if (count < 0)
            ReadError(QStringLiteral("Neplatný formát dat: záporná délka"));
        ReadBytes(int64_t(count) * 2);
        return;
    }
    case TValueType::vaSet:
        ReadSetData();
        return;
    case TValueType::vaCollection: {
        TNesting nest(*this);
        while (!EndOfList()) {
            const TValueType n = NextValue();
            if (n == TValueType::vaInt8 || n == TValueType::vaInt16 || n == TValueType::vaInt32)
                ReadInteger();
            const TValueType list = ReadValue();
            if (list != TValueType::vaList)
                InvalidValue(list);
            while (!EndOfList()) {
                ReadShortBytes();
                SkipValue();
            }
            ReadListEnd();
        }
        ReadListEnd();
        return;
    }
    case TValueType::vaSingle:
        ReadBytes(4);
        return;
    case TValueType::vaCurrency:
    case TValueType::vaDate:
        ReadBytes(8);
        return;
    }
    InvalidValue(t);
}
