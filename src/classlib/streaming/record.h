#pragma once
// A component record held as plain data: class name, component name, the
// property entries in the order they stand and the nested child records.
// Any record of the format can be read into this form and written back,
// whatever classes it names; tests and tools inspect records through it.

#include "classlib/streaming/value_type.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

class TReader;
class TWriter;
struct TRecordProperty;
struct TCollectionItem;

struct TRecordValue {
    TValueType Type = TValueType::vaNull;
    int64_t Int = 0;            // integers; currency in units of 1/10000
    double Float = 0;           // extended, single, date
    QString Text;               // strings and identifiers
    QByteArray Bytes;           // binary
    QStringList Set;            // set members
    std::vector<TRecordValue> Items;           // list
    std::vector<TCollectionItem> Collection;   // collection

    // Values with the tags the writer of this program picks.
    static TRecordValue Integer(int64_t value);
    static TRecordValue String(const QString& text);
    static TRecordValue Ident(const QString& ident);
    static TRecordValue Boolean(bool value);
    static TRecordValue SetOf(const QStringList& members);
    static TRecordValue Binary(const QByteArray& data);
    static TRecordValue Nil();

    bool IsInteger() const;
    bool IsString() const;
    bool operator==(const TRecordValue& other) const;
};

struct TRecordProperty {
    QString Name;
    TRecordValue Value;
    bool operator==(const TRecordProperty&) const = default;
};

struct TCollectionItem {
    TRecordValue Order;   // vaNull when the item has no order value
    std::vector<TRecordProperty> Properties;
    bool operator==(const TCollectionItem&) const = default;
};

struct TComponentRecord {
    bool HasPrefix = false;
    int Flags = 0;          // ffInherited, ffChildPos, ffInline
    int ChildPos = -1;      // with ffChildPos
    QString ClassName;
    QString Name;
    std::vector<TRecordProperty> Properties;
    std::vector<TComponentRecord> Children;

    // First entry of that name (letter case ignored), or null.
    const TRecordProperty* Find(const QString& name) const;
    bool operator==(const TComponentRecord&) const = default;
};

// One whole record: signature, then the component. Throws EReadError.
TComponentRecord ReadRecord(QIODevice& stream);
// Every record up to the end of the device.
std::vector<TComponentRecord> ReadRecords(QIODevice& stream);
void WriteRecord(QIODevice& stream, const TComponentRecord& record);
QByteArray RecordBytes(const TComponentRecord& record);

// Pieces for readers that walk records themselves.
TRecordValue ReadRecordValue(TReader& reader);
void WriteRecordValue(TWriter& writer, const TRecordValue& value);
// A component without the signature: prefix, names, properties, children.
TComponentRecord ReadRecordComponent(TReader& reader);
void WriteRecordComponent(TWriter& writer, const TComponentRecord& record);
