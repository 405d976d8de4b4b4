#include "classlib/streaming/component_stream.h"

#include "classlib/streaming/reader.h"
#include "classlib/streaming/writer.h"
#include "classlib/sysutils.h"

#include <limits>
#include <new>

namespace {

bool IsIntegerTag(TValueType t)
{
    return t == TValueType::vaInt8 || t == TValueType::vaInt16 || t == TValueType::vaInt32;
}

bool IsStringTag(TValueType t)
{
    return t == TValueType::vaString || t == TValueType::vaLString || t == TValueType::vaWString ||
           t == TValueType::vaUTF8String;
}

int IndexOfName(const QStringList& names, const QString& name)
{
    for (int i = 0; i < names.size(); ++i)
        if (names[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void WriteProperty(TWriter& writer, TComponent& root, const TPropInfo& p)
{
    if (p.Stored && !p.Stored(root))
        return;
    switch (p.Kind) {
    case TPropKind::Integer:
    case TPropKind::NamedInteger:
    case TPropKind::Enumeration:
    case TPropKind::Boolean:
    case TPropKind::Set: {
        const int64_t v = p.GetOrd(root);
        if (!p.Always && v == p.Default)
            return;
        writer.WriteStr(p.Name);
        if (p.Kind == TPropKind::Integer) {
            writer.WriteInteger(v);
        } else if (p.Kind == TPropKind::NamedInteger) {
            QString ident;
            if (p.Idents.ToIdent && v >= std::numeric_limits<int>::min() && v <= std::numeric_limits<int>::max() &&
                p.Idents.ToIdent(static_cast<int>(v), ident))
                writer.WriteIdent(ident);
            else
                writer.WriteInteger(v);
        } else if (p.Kind == TPropKind::Enumeration) {
            if (v < 0 || v >= p.Names.size())
                throw EComponentError(QStringLiteral("Vlastnost %1 nemá platnou hodnotu (%2)").arg(p.Name).arg(v));
            writer.WriteIdent(p.Names[static_cast<int>(v)]);
        } else if (p.Kind == TPropKind::Boolean) {
            writer.WriteBoolean(v != 0);
        } else {
            QStringList members;
            for (int i = 0; i < p.Names.size() && i < 64; ++i)
                if (v & (int64_t(1) << i))
                    members.append(p.Names[i]);
            writer.WriteSet(members);
        }
        return;
    }
    case TPropKind::String: {
        const QString s = p.GetStr(root);
        if (!p.Always && s.isEmpty())
            return;
        writer.WriteStr(p.Name);
        writer.WriteString(s);
        return;
    }
    case TPropKind::Reference: {
        const TComponent* target = p.GetRef(root);
        const QString ident = target ? ReferenceName(&root, target) : QString();
        if (ident.isEmpty()) {
            if (p.Always) {
                writer.WriteStr(p.Name);
                writer.WriteNil();
            }
            return;
        }
        writer.WriteStr(p.Name);
        writer.WriteIdent(ident);
        return;
    }
    case TPropKind::Binary:
        writer.WriteStr(p.Name);
        writer.WriteBinary(p.GetBin(root));
        return;
    }
}

void ReadPropertyValue(TReader& reader, TComponent& component, const TPropInfo& p)
{
    const TValueType t = reader.ReadValue();
    switch (p.Kind) {
    case TPropKind::Integer:
        if (!IsIntegerTag(t))
            TReader::InvalidValue(t);
        p.SetOrd(component, reader.ReadIntegerData(t));
        return;
    case TPropKind::NamedInteger:
        if (IsIntegerTag(t)) {
            p.SetOrd(component, reader.ReadIntegerData(t));
        } else if (t == TValueType::vaIdent) {
            const QString ident = reader.ReadStr();
            int v = 0;
            if (!p.Idents.FromIdent || !p.Idents.FromIdent(ident, v))
                TReader::ReadError(QStringLiteral("Neplatná hodnota vlastnosti %1").arg(ident));
            p.SetOrd(component, v);
        } else {
            TReader::InvalidValue(t);
        }
        return;
    case TPropKind::Enumeration: {
        if (t != TValueType::vaIdent)
            TReader::InvalidValue(t);
        const QString ident = reader.ReadStr();
        const int i = IndexOfName(p.Names, ident);
        if (i < 0)
            TReader::ReadError(QStringLiteral("Neplatná hodnota vlastnosti %1").arg(ident));
        p.SetOrd(component, i);
        return;
    }
    case TPropKind::Boolean:
        if (t != TValueType::vaFalse && t != TValueType::vaTrue)
            TReader::InvalidValue(t);
        p.SetOrd(component, t == TValueType::vaTrue ? 1 : 0);
        return;
    case TPropKind::Set: {
        if (t != TValueType::vaSet)
            TReader::InvalidValue(t);
        int64_t bits = 0;
        for (const QString& m : reader.ReadSetData()) {
            const int i = IndexOfName(p.Names, m);
            if (i < 0 || i >= 64)
                TReader::ReadError(QStringLiteral("Neplatná hodnota vlastnosti %1").arg(m));
            bits |= int64_t(1) << i;
        }
        p.SetOrd(component, bits);
        return;
    }
    case TPropKind::String:
        if (!IsStringTag(t))
            TReader::InvalidValue(t);
        p.SetStr(component, reader.ReadStringData(t));
        return;
    case TPropKind::Reference:
        // Kept as written: the readers never follow references.
        if (t == TValueType::vaIdent)
            p.SetRef(component, reader.ReadStr());
        else if (t == TValueType::vaNil)
            p.SetRef(component, QString());
        else
            TReader::InvalidValue(t);
        return;
    case TPropKind::Binary:
        if (t != TValueType::vaBinary)
            TReader::InvalidValue(t);
        p.SetBin(component, reader.ReadBinaryData());
        return;
    }
}

std::unique_ptr<TComponent> ReadComponent(TReader& reader, const TStreamRegistry& registry)
{
    TReader::TNesting nest(reader);
    int flags = 0;
    int childPos = 0;
    reader.ReadPrefix(flags, childPos);
    const QString className = reader.ReadStr();
    const QString name = reader.ReadStr();
    const TStreamClass* cls = registry.Find(className);
    if (!cls || !cls->Create)
        TReader::ReadError(QStringLiteral("Druh objektu %1 program nezná").arg(className));
    std::unique_ptr<TComponent> component = cls->Create();
    component->SetLoading(true);
    component->SetName(name);
    while (!reader.EndOfList()) {
        const QString propName = reader.ReadStr();
        const TPropInfo* p = cls->FindProperty(propName);
        if (!p)
            TReader::ReadError(
                QStringLiteral("Chyba při čtení %1.%2: vlastnost %2 neexistuje").arg(name, propName));
        try {
            ReadPropertyValue(reader, *component, *p);
        } catch (const Exception& e) {
            throw EReadError(QStringLiteral("Chyba při čtení %1.%2: %3").arg(name, propName, e.Message()));
        }
    }
    reader.ReadListEnd();
    // Nested components belong to the one read; the program's records have none.
    while (!reader.EndOfList()) {
        std::unique_ptr<TComponent> child = ReadComponent(reader, registry);
        component->InsertComponent(child.get());
        child.release();
    }
    reader.ReadListEnd();
    component->SetLoading(false);
    if (cls->Loaded)
        cls->Loaded(*component);
    return component;
}

} // namespace

QString ReferenceName(const TComponent* root, const TComponent* target)
{
    if (!target || target->Name().isEmpty())
        return {};
    const TComponent* owner = target->Owner();
    if (!owner || owner == root)
        return target->Name();
    if (owner->Name().isEmpty())
        return {};
    return owner->Name() + QLatin1Char('.') + target->Name();
}

QByteArray ComponentRecordBytes(TComponent* component, const TStreamRegistry& registry)
{
    if (!component)
        throw EComponentError(QStringLiteral("Není žádný objekt k zápisu"));
    const TStreamClass* cls = registry.Find(component->ClassName());
    if (!cls)
        throw EComponentError(QStringLiteral("Objekt druhu %1 nelze zapsat do souboru").arg(component->ClassName()));
    TWriter writer;
    writer.WriteSignature();
    writer.WriteStr(component->ClassName());
    writer.WriteStr(component->Name());
    for (const TPropInfo& p : cls->Properties)
        WriteProperty(writer, *component, p);
    writer.WriteListEnd();
    writer.WriteListEnd();
    return writer.Buffer();
}

void WriteComponentRecord(QIODevice& stream, TComponent* component, const TStreamRegistry& registry)
{
    const QByteArray bytes = ComponentRecordBytes(component, registry);
    if (stream.write(bytes) != bytes.size())
        throw EFileError(QStringLiteral("Data nelze zapsat: %1").arg(stream.errorString()));
}

std::unique_ptr<TComponent> ReadComponentRecord(QIODevice& stream, const TStreamRegistry& registry)
{
    try {
        TReader reader(stream);
        reader.ReadSignature();
        return ReadComponent(reader, registry);
    } catch (const EReadError&) {
        throw;
    } catch (const Exception& e) {
        throw EReadError(e.Message());
    } catch (const std::bad_alloc&) {
        throw EReadError(QStringLiteral("Při čtení objektu došla paměť"));
    } catch (const std::exception& e) {
        throw EReadError(QString::fromLocal8Bit(e.what()));
    }
}

TRecordReadResult ReadComponentRecords(QIODevice& stream, const TStreamRegistry& registry)
{
    TRecordReadResult result;
    while (!stream.atEnd()) {
        try {
            result.Components.push_back(ReadComponentRecord(stream, registry));
        } catch (const EReadError& e) {
            result.Failed = true;
            result.Error = e.Message();
            break;
        }
    }
    return result;
}
