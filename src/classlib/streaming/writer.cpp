#include "classlib/streaming/writer.h"

#include "classlib/streaming/extended_float.h"
#include "classlib/sysutils.h"

#include <QtEndian>
#include <cstring>
#include <limits>

namespace {
template <typename T>
void AppendLE(QByteArray& out, T value)
{
    char buf[sizeof(T)];
    qToLittleEndian<T>(value, buf);
    out.append(buf, sizeof(T));
}

int32_t LengthOf(const QByteArray& bytes)
{
    if (bytes.size() > std::numeric_limits<int32_t>::max())
        throw EFileError(QStringLiteral("Hodnota je příliš velká pro uložení do souboru"));
    return static_cast<int32_t>(bytes.size());
}
} // namespace

TValueType StringValueType(const QString& text)
{
    if (!IsAsciiOnly(text))
        return TValueType::vaUTF8String;
    return text.size() <= 255 ? TValueType::vaString : TValueType::vaLString;
}

void TWriter::Flush(QIODevice& stream)
{
    if (FBuffer.isEmpty())
        return;
    const qint64 written = stream.write(FBuffer);
    if (written != FBuffer.size())
        throw EFileError(QStringLiteral("Data nelze zapsat: %1").arg(stream.errorString()));
    FBuffer.clear();
}

void TWriter::WriteSignature() { FBuffer.append(kRecordSignature, 4); }

void TWriter::WritePrefix(int flags, int childPos)
{
    WriteByte(static_cast<uint8_t>(0xF0 | (flags & 0x0F)));
    if (flags & ffChildPos)
        WriteInteger(childPos);
}

void TWriter::WriteShortBytes(const QByteArray& bytes)
{
    const QByteArray cut = bytes.left(255);
    WriteByte(static_cast<uint8_t>(cut.size()));
    FBuffer.append(cut);
}

void TWriter::WriteStr(const QString& text) { WriteShortBytes(UnicodeToAnsi(text)); }

void TWriter::WriteInt32Raw(int32_t value) { AppendLE<qint32>(FBuffer, value); }

void TWriter::WriteInteger(int64_t value)
{
    if (value >= -128 && value <= 127)
        WriteIntegerAs(TValueType::vaInt8, value);
    else if (value >= -32768 && value <= 32767)
        WriteIntegerAs(TValueType::vaInt16, value);
    else if (value >= std::numeric_limits<int32_t>::min() && value <= std::numeric_limits<int32_t>::max())
        WriteIntegerAs(TValueType::vaInt32, value);
    else
        WriteIntegerAs(TValueType::vaInt64, value);
}

void TWriter::WriteIntegerAs(TValueType type, int64_t value)
{
    switch (type) {
    case TValueType::vaInt8:
        if (value < -128 || value > 127)
            break;
        WriteValue(type);
        WriteByte(static_cast<uint8_t>(static_cast<int8_t>(value)));
        return;
    case TValueType::vaInt16:
        if (value < -32768 || value > 32767)
            break;
        WriteValue(type);
        AppendLE<qint16>(FBuffer, static_cast<qint16>(value));
        return;
    case TValueType::vaInt32:
        if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max())
            break;
        WriteValue(type);
        WriteInt32Raw(static_cast<int32_t>(value));
        return;
    case TValueType::vaInt64:
        WriteValue(type);
        AppendLE<qint64>(FBuffer, value);
        return;
    default:
        break;
    }
    WriteInteger(value);
}

void TWriter::WriteBoolean(bool value) { WriteValue(value ? TValueType::vaTrue : TValueType::vaFalse); }

void TWriter::WriteString(const QString& text)
{
    if (StringValueType(text) == TValueType::vaUTF8String)
        WriteUtf8String(text);
    else
        WriteAnsiString(text);
}

void TWriter::WriteAnsiString(const QString& text)
{
    const QByteArray bytes = UnicodeToAnsi(text);
    if (bytes.size() <= 255) {
        WriteValue(TValueType::vaString);
        WriteShortBytes(bytes);
    } else {
        WriteValue(TValueType::vaLString);
        WriteInt32Raw(LengthOf(bytes));
        FBuffer.append(bytes);
    }
}

void TWriter::WriteWideString(const QString& text)
{
    WriteValue(TValueType::vaWString);
    if (text.size() > std::numeric_limits<int32_t>::max())
        throw EFileError(QStringLiteral("Hodnota je příliš velká pro uložení do souboru"));
    WriteInt32Raw(static_cast<int32_t>(text.size()));
    for (QChar c : text)
        AppendLE<quint16>(FBuffer, c.unicode());
}

void TWriter::WriteUtf8String(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    WriteValue(TValueType::vaUTF8String);
    WriteInt32Raw(LengthOf(bytes));
    FBuffer.append(bytes);
}

void TWriter::WriteIdent(const QString& ident)
{
    WriteValue(TValueType::vaIdent);
    WriteStr(ident);
}

void TWriter::WriteSet(const QStringList& members)
{
    WriteValue(TValueType::vaSet);
    for (const QString& m : members)
        if (!m.isEmpty())
            WriteStr(m);
    WriteByte(0);
}

void TWriter::WriteBinary(const QByteArray& data)
{
    WriteValue(TValueType::vaBinary);
    WriteInt32Raw(LengthOf(data));
    FBuffer.append(data);
}

void TWriter::WriteFloat(double value)
{
    WriteValue(TValueType::vaExtended);
    const auto raw = DoubleToExtended(value);
    FBuffer.append(reinterpret_cast<const char*>(raw.data()), 10);
}

void TWriter::WriteSingle(float value)
{
    WriteValue(TValueType::vaSingle);
    quint32 bits = 0;
    std::memcpy(&bits, &value, 4);
    AppendLE<quint32>(FBuffer, bits);
}

void TWriter::WriteCurrency(int64_t units)
{
    WriteValue(TValueType::vaCurrency);
    AppendLE<qint64>(FBuffer, units);
}

void TWriter::WriteDate(double value)
{
    WriteValue(TValueType::vaDate);
    quint64 bits = 0;
    std::memcpy(&bits, &value, 8);
    AppendLE<quint64>(FBuffer, bits);
}
