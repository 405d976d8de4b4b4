#pragma once
// Writes the values of component stream records with the tags this program
// chooses: the smallest integer tag, 7-bit ASCII strings as tag 6 or 12 and
// any other text as UTF-8 (tag 20). Values collect in memory; Flush hands
// them to the device in one write.

#include "classlib/streaming/value_type.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringList>
#include <cstdint>

class TWriter {
public:
    TWriter() = default;

    const QByteArray& Buffer() const { return FBuffer; }
    // Appends everything written so far to stream and empties the buffer;
    // a short write throws EFileError.
    void Flush(QIODevice& stream);

    void WriteSignature();
    void WritePrefix(int flags, int childPos);
    void WriteValue(TValueType type) { WriteByte(static_cast<uint8_t>(type)); }
    void WriteListBegin() { WriteValue(TValueType::vaList); }
    void WriteListEnd() { WriteValue(TValueType::vaNull); }

    // Short string in the ANSI code page, cut to its first 255 bytes.
    void WriteStr(const QString& text);
    void WriteShortBytes(const QByteArray& bytes);

    void WriteInteger(int64_t value);            // tag 2, 3, 4 or 19, the smallest
    void WriteIntegerAs(TValueType type, int64_t value); // exactly that tag when it holds the value
    void WriteBoolean(bool value);
    void WriteString(const QString& text);       // tag 6, 12 or 20
    void WriteAnsiString(const QString& text);   // tag 6 or 12 in the ANSI code page
    void WriteWideString(const QString& text);   // tag 18
    void WriteUtf8String(const QString& text);   // tag 20
    void WriteIdent(const QString& ident);       // tag 7
    void WriteNil() { WriteValue(TValueType::vaNil); }
    void WriteSet(const QStringList& members);   // tag 11
    void WriteBinary(const QByteArray& data);    // tag 10
    void WriteFloat(double value);               // tag 5
    void WriteSingle(float value);               // tag 15
    void WriteCurrency(int64_t units);           // tag 16, units of 1/10000
    void WriteDate(double value);                // tag 17

    void WriteByte(uint8_t b) { FBuffer.append(static_cast<char>(b)); }
    void WriteInt32Raw(int32_t value);
    void WriteBytes(const QByteArray& bytes) { FBuffer.append(bytes); }

private:
    QByteArray FBuffer;
};

// The tag that the writer picks for a string value.
TValueType StringValueType(const QString& text);
