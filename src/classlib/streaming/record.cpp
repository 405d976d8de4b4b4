#include "classlib/streaming/record.h"

#include "classlib/streaming/reader.h"
#include "classlib/streaming/writer.h"
#include "classlib/sysutils.h"

#include <cmath>

TRecordValue TRecordValue::Integer(int64_t value)
{
    TRecordValue v;
    if (value >= -128 && value <= 127)
        v.Type = TValueType::vaInt8;
    else if (value >= -32768 && value <= 32767)
        v.Type = TValueType::vaInt16;
    else if (value >= INT32_MIN && value <= INT32_MAX)
        v.Type = TValueType::vaInt32;
    else
        v.Type = TValueType::vaInt64;
    v.Int = value;
    return v;
}

TRecordValue TRecordValue::String(const QString& text)
{
    TRecordValue v;
    v.Type = StringValueType(text);
    v.Text = text;
    return v;
}

TRecordValue TRecordValue::Ident(const QString& ident)
{
    TRecordValue v;
    v.Type = TValueType::vaIdent;
    v.Text = ident;
    return v;
}

TRecordValue TRecordValue::Boolean(bool value)
{
    TRecordValue v;
    v.Type = value ? TValueType::vaTrue : TValueType::vaFalse;
    return v;
}

TRecordValue TRecordValue::SetOf(const QStringList& members)
{
    TRecordValue v;
    v.Type = TValueType::vaSet;
    v.Set = members;
    return v;
}

TRecordValue TRecordValue::Binary(const QByteArray& data)
{
    TRecordValue v;
    v.Type = TValueType::vaBinary;
    v.Bytes = data;
    return v;
}

TRecordValue TRecordValue::Nil()
{
    TRecordValue v;
    v.Type = TValueType::vaNil;
    return v;
}

bool TRecordValue::IsInteger() const
{
    return Type == TValueType::vaInt8 || Type == TValueType::vaInt16 || Type == TValueType::vaInt32 ||
           Type == TValueType::vaInt64;
}

bool TRecordValue::IsString() const
{
    return Type == TValueType::vaString || Type == TValueType::vaLString || Type == TValueType::vaWString ||
           Type == TValueType::vaUTF8String;
}

bool TRecordValue::operator==(const TRecordValue& o) const
{
    if (Type != o.Type)
        return false;
    // NaN floats compare equal to themselves so round trips of odd data hold.
    const bool floatsEqual = Float == o.Float || (std::isnan(Float) && std::isnan(o.Float));
    return Int == o.Int && floatsEqual && Text == o.Text && Bytes == o.Bytes && Set == o.Set &&
           Items == o.Items && Collection == o.Collection;
}

const TRecordProperty* TComponentRecord::Find(const QString& name) const
{
    for (const TRecordProperty& p : Properties)
        if (p.Name.compare(name, Qt::CaseInsensitive) == 0)
            return &p;
    return nullptr;
}

TRecordValue ReadRecordValue(TReader& reader)
{
    TRecordValue v;
    v.Type = reader.ReadValue();
    switch (v.Type) {
    case TValueType::vaNull:
    case TValueType::vaFalse:
    case TValueType::vaTrue:
    case TValueType::vaNil:
        break;
    case TValueType::vaList: {
        TReader::TNesting nest(reader);
        while (!reader.EndOfList())
            v.Items.push_back(ReadRecordValue(reader));
        reader.ReadListEnd();
        break;
    }
    case TValueType::vaInt8:
    case TValueType::vaInt16:
    case TValueType::vaInt32:
    case TValueType::vaInt64:
        v.Int = reader.ReadIntegerData(v.Type);
        break;
    case TValueType::vaExtended:
        v.Float = reader.ReadExtendedData();
        break;
    case TValueType::vaString:
    case TValueType::vaLString:
    case TValueType::vaWString:
    case TValueType::vaUTF8String:
        v.Text = reader.ReadStringData(v.Type);
        break;
    case TValueType::vaIdent:
        v.Text = reader.ReadStr();
        break;
    case TValueType::vaBinary:
        v.Bytes = reader.ReadBinaryData();
        break;
    case TValueType::vaSet:
        v.Set = reader.ReadSetData();
        break;
    case TValueType::vaCollection: {
        TReader::TNesting nest(reader);
        while (!reader.EndOfList()) {
            TCollectionItem item;
            const TValueType n = reader.NextValue();
            if (n == TValueType::vaInt8 || n == TValueType::vaInt16 || n == TValueType::vaInt32) {
                item.Order.Type = reader.ReadValue();
                item.Order.Int = reader.ReadIntegerData(item.Order.Type);
            }
            const TValueType list = reader.ReadValue();
            if (list != TValueType::vaList)
                TReader::InvalidValue(list);
            while (!reader.EndOfList()) {
                TRecordProperty p;
                p.Name = reader.ReadStr();
                p.Value = ReadRecordValue(reader);
                item.Properties.push_back(std::move(p));
            }
            reader.ReadListEnd();
            v.Collection.push_back(std::move(item));
        }
        reader.ReadListEnd();
        break;
    }
    case TValueType::vaSingle:
        v.Float = reader.ReadSingleData();
        break;
    case TValueType::vaCurrency:
        v.Int = reader.ReadCurrencyData();
        break;
    case TValueType::vaDate:
        v.Float = reader.ReadDateData();
        break;
    }
    return v;
}

void WriteRecordValue(TWriter& writer, const TRecordValue& v)
{
    switch (v.Type) {
    case TValueType::vaNull:
    case TValueType::vaFalse:
    case TValueType::vaTrue:
    case TValueType::vaNil:
        writer.WriteValue(v.Type);
        return;
    case TValueType::vaList:
        writer.WriteListBegin();
        for (const TRecordValue& item : v.Items)
            WriteRecordValue(writer, item);
        writer.WriteListEnd();
        return;
    case TValueType::vaInt8:
    case TValueType::vaInt16:
    case TValueType::vaInt32:
    case TValueType::vaInt64:
        writer.WriteIntegerAs(v.Type, v.Int);
        return;
    case TValueType::vaExtended:
        writer.WriteFloat(v.Float);
        return;
    case TValueType::vaString:
    case TValueType::vaLString:
        // Text the ANSI code page cannot carry goes out as UTF-8 instead of losing letters.
        if (AnsiToUnicode(UnicodeToAnsi(v.Text)) == v.Text)
            writer.WriteAnsiString(v.Text);
        else
            writer.WriteUtf8String(v.Text);
        return;
    case TValueType::vaWString:
        writer.WriteWideString(v.Text);
        return;
    case TValueType::vaUTF8String:
        writer.WriteUtf8String(v.Text);
        return;
    case TValueType::vaIdent:
        writer.WriteIdent(v.Text);
        return;
    case TValueType::vaBinary:
        writer.WriteBinary(v.Bytes);
        return;
    case TValueType::vaSet:
        writer.WriteSet(v.Set);
        return;
    case TValueType::vaCollection:
        writer.WriteValue(TValueType::vaCollection);
        for (const TCollectionItem& item : v.Collection) {
            if (item.Order.IsInteger())
                writer.WriteIntegerAs(item.Order.Type, item.Order.Int);
            writer.WriteListBegin();
            for (const TRecordProperty& p : item.Properties) {
                writer.WriteStr(p.Name);
                WriteRecordValue(writer, p.Value);
            }
            writer.WriteListEnd();
        }
        writer.WriteListEnd();
        return;
    case TValueType::vaSingle:
        writer.WriteSingle(static_cast<float>(v.Float));
        return;
    case TValueType::vaCurrency:
        writer.WriteCurrency(v.Int);
        return;
    case TValueType::vaDate:
        writer.WriteDate(v.Float);
        return;
    }
}

TComponentRecord ReadRecordComponent(TReader& reader)
{
    TReader::TNesting nest(reader);
    TComponentRecord r;
    r.HasPrefix = reader.ReadPrefix(r.Flags, r.ChildPos);
    r.ClassName = reader.ReadStr();
    r.Name = reader.ReadStr();
    while (!reader.EndOfList()) {
        TRecordProperty p;
        p.Name = reader.ReadStr();
        p.Value = ReadRecordValue(reader);
        r.Properties.push_back(std::move(p));
    }
    reader.ReadListEnd();
    while (!reader.EndOfList())
        r.Children.push_back(ReadRecordComponent(reader));
    reader.ReadListEnd();
    return r;
}

void WriteRecordComponent(TWriter& writer, const TComponentRecord& r)
{
    if (r.HasPrefix)
        writer.WritePrefix(r.Flags, r.ChildPos);
    writer.WriteStr(r.ClassName);
    writer.WriteStr(r.Name);
    for (const TRecordProperty& p : r.Properties) {
        writer.WriteStr(p.Name);
        WriteRecordValue(writer, p.Value);
    }
    writer.WriteListEnd();
    for (const TComponentRecord& child : r.Children)
        WriteRecordComponent(writer, child);
    writer.WriteListEnd();
}

TComponentRecord ReadRecord(QIODevice& stream)
{
    TReader reader(stream);
    reader.ReadSignature();
    return ReadRecordComponent(reader);
}

std::vector<TComponentRecord> ReadRecords(QIODevice& stream)
{
    std::vector<TComponentRecord> records;
    while (!stream.atEnd())
        records.push_back(ReadRecord(stream));
    return records;
}

QByteArray RecordBytes(const TComponentRecord& record)
{
    TWriter writer;
    writer.WriteSignature();
    WriteRecordComponent(writer, record);
    return writer.Buffer();
}

void WriteRecord(QIODevice& stream, const TComponentRecord& record)
{
    TWriter writer;
    writer.WriteSignature();
    WriteRecordComponent(writer, record);
    writer.Flush(stream);
}
