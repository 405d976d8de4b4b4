#pragma once
// Reads the values of component stream records from a device. Every fault in
// the bytes (an unknown tag, a value of another type than asked for, a
// length past the end, nesting too deep) throws EReadError; nothing is read
// beyond the value asked for, so the next record starts where this one ends.

#include "classlib/streaming/value_type.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringList>
#include <cstdint>

class TReader {
public:
    // Lists, collections and child components may nest this deep.
    static constexpr int kMaxDepth = 64;

    explicit TReader(QIODevice& stream) : FStream(stream) {}
    TReader(const TReader&) = delete;
    TReader& operator=(const TReader&) = delete;

    QIODevice& Stream() const { return FStream; }

    // "TPF0"; anything else is an error.
    void ReadSignature();
    // The optional prefix byte (high nibble 0xF): its flags and, with
    // ffChildPos, the position that follows. False when there is none.
    bool ReadPrefix(int& flags, int& childPos);

    // The tag of the next value without consuming it.
    TValueType NextValue();
    TValueType ReadValue();
    // True when the next byte is the 0 that ends a list (of values, of
    // property entries or of child components).
    bool EndOfList();
    void ReadListEnd();

    // Short string: length byte and bytes, read in the ANSI code page.
    QString ReadStr();
    QByteArray ReadShortBytes();

    // Whole values (tag and data); a different tag is an error.
    int32_t ReadInteger();      // tags 2, 3, 4
    int64_t ReadInt64();        // tags 2, 3, 4, 19
    bool ReadBoolean();         // tags 8, 9
    QString ReadString();       // tags 6, 12, 18, 20
    QString ReadIdent();        // tag 7
    QByteArray ReadBinary();    // tag 10
    QStringList ReadSet();      // tag 11
    double ReadFloat();         // tag 5

    // The data that follows a tag already read.
    int64_t ReadIntegerData(TValueType type);   // 2, 3, 4, 19
    QString ReadStringData(TValueType type);    // 6, 12, 18, 20
    QStringList ReadSetData();
    double ReadExtendedData();
    float ReadSingleData();
    int64_t ReadCurrencyData();
    double ReadDateData();
    QByteArray ReadBinaryData();

    // Reads past one value of any type, nested lists included.
    void SkipValue();

    uint8_t ReadByte();
    QByteArray ReadBytes(int64_t count);
    int32_t ReadInt32Raw();

    // Guards one level of nesting; throws past kMaxDepth.
    class TNesting {
    public:
        explicit TNesting(TReader& reader);
        ~TNesting() { --FReader.FDepth; }
        TNesting(const TNesting&) = delete;
        TNesting& operator=(const TNesting&) = delete;

    private:
        TReader& FReader;
    };

    [[noreturn]] static void ReadError(const QString& message);
    [[noreturn]] static void InvalidValue(TValueType found);

private:
    QIODevice& FStream;
    int FDepth = 0;
};
