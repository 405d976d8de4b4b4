#pragma once
// What a saved class streams: its published properties in the class's fixed
// order, each with a kind, a default (or "always"), a stored condition and a
// getter/setter pair on the object; plus a creator. Sub-object properties are
// listed with their "." path ("Font.Height") in the sub-object's place.

#include "classlib/component.h"
#include "classlib/sysutils.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

enum class TPropKind {
    Integer,        // tags 2, 3, 4
    NamedInteger,   // an integer whose values may have registered names (colour, charset, cursor)
    Enumeration,    // identifier from Names, value = position in Names
    Boolean,        // tags 8, 9
    String,         // tags 6, 12, 18, 20 in; 6, 12, 20 out
    Set,            // tag 11 of member names; value = bit (1 << position in Names)
    Reference,      // identifier or nil; not resolved on reading
    Binary,         // defined binary data, tag 10
};

// Name table of an integer type.
struct TIntegerIdents {
    bool (*ToIdent)(int value, QString& ident) = nullptr;
    bool (*FromIdent)(const QString& ident, int& value) = nullptr;
};

struct TPropInfo {
    QString Name;
    TPropKind Kind = TPropKind::Integer;
    TIntegerIdents Idents;          // NamedInteger
    QStringList Names;              // Enumeration, Set
    bool Always = false;            // no default: written whenever stored
    int64_t Default = 0;            // Integer, NamedInteger, Enumeration, Boolean, Set
    std::function<bool(TComponent&)> Stored;   // empty: always stored

    std::function<int64_t(TComponent&)> GetOrd;
    std::function<void(TComponent&, int64_t)> SetOrd;
    std::function<QString(TComponent&)> GetStr;
    std::function<void(TComponent&, const QString&)> SetStr;
    std::function<TComponent*(TComponent&)> GetRef;
    // Receives the identifier as written ("FrmMain.PopupMenuTxt"), empty for nil.
    std::function<void(TComponent&, const QString&)> SetRef;
    std::function<QByteArray(TComponent&)> GetBin;
    std::function<void(TComponent&, const QByteArray&)> SetBin;

    bool IsOrdinal() const
    {
        return Kind == TPropKind::Integer || Kind == TPropKind::NamedInteger || Kind == TPropKind::Enumeration ||
               Kind == TPropKind::Boolean || Kind == TPropKind::Set;
    }
};

class TStreamClass {
public:
    QString ClassName;
    std::function<std::unique_ptr<TComponent>()> Create;
    std::vector<TPropInfo> Properties;
    // Runs once a record has set every property (what the class does after loading).
    std::function<void(TComponent&)> Loaded;

    // By name, letter case ignored; null when the class has no such property.
    const TPropInfo* FindProperty(const QString& name) const;
};

class TStreamRegistry {
public:
    TStreamRegistry() = default;
    TStreamRegistry(const TStreamRegistry&) = delete;
    TStreamRegistry& operator=(const TStreamRegistry&) = delete;

    // Replaces a class registered under the same name.
    void Register(TStreamClass streamClass);
    void Unregister(const QString& className);
    // Exact class name, as records and ClassName() give it.
    const TStreamClass* Find(const QString& className) const;
    QStringList ClassNames() const;

    // The registry project and style files are read and written with: the
    // saved classes of the class library, registered on first use; the
    // designer adds its own.
    static TStreamRegistry& Default();

private:
    std::map<QString, TStreamClass> FClasses;
};

// Builds a TStreamClass for class T with typed accessors. Each property call
// adds an entry; Default/Always/StoredIf modify the entry added last.
template <class T>
class TStreamClassBuilder {
public:
    TStreamClassBuilder(const QString& className, std::function<std::unique_ptr<T>()> create)
    {
        FClass.ClassName = className;
        FClass.Create = [create]() -> std::unique_ptr<TComponent> { return create(); };
    }
    // Starts from the property list of base (a class T derives from).
    TStreamClassBuilder(const QString& className, std::function<std::unique_ptr<T>()> create,
                        const TStreamClass& base)
        : TStreamClassBuilder(className, std::move(create))
    {
        FClass.Properties = base.Properties;
    }

    template <class Get, class Set>
    TStreamClassBuilder& Integer(const QString& name, Get get, Set set)
    {
        return AddOrd(name, TPropKind::Integer, get, set);
    }
    template <class Get, class Set>
    TStreamClassBuilder& NamedInteger(const QString& name, TIntegerIdents idents, Get get, Set set)
    {
        AddOrd(name, TPropKind::NamedInteger, get, set);
        Last().Idents = idents;
        return *this;
    }
    template <class Get, class Set>
    TStreamClassBuilder& Enumeration(const QString& name, const QStringList& names, Get get, Set set)
    {
        AddOrd(name, TPropKind::Enumeration, get, set);
        Last().Names = names;
        return *this;
    }
    template <class Get, class Set>
    TStreamClassBuilder& Boolean(const QString& name, Get get, Set set)
    {
        return AddOrd(name, TPropKind::Boolean, get, set);
    }
    template <class Get, class Set>
    TStreamClassBuilder& SetOf(const QString& name, const QStringList& names, Get get, Set set)
    {
        AddOrd(name, TPropKind::Set, get, set);
        Last().Names = names;
        return *this;
    }
    template <class Get, class Set>
    TStreamClassBuilder& String(const QString& name, Get get, Set set)
    {
        TPropInfo& p = Add(name, TPropKind::String);
        p.GetStr = [get](TComponent& c) { return QString(get(Cast(c))); };
        p.SetStr = [set](TComponent& c, const QString& v) { set(Cast(c), v); };
        return *this;
    }
    template <class Get, class Set>
    TStreamClassBuilder& Reference(const QString& name, Get get, Set set)
    {
        TPropInfo& p = Add(name, TPropKind::Reference);
        p.GetRef = [get](TComponent& c) -> TComponent* { return get(Cast(c)); };
        p.SetRef = [set](TComponent& c, const QString& v) { set(Cast(c), v); };
        return *this;
    }
    // Defined binary data: always written when stored.
    template <class Get, class Set>
    TStreamClassBuilder& Binary(const QString& name, Get get, Set set)
    {
        TPropInfo& p = Add(name, TPropKind::Binary);
        p.Always = true;
        p.GetBin = [get](TComponent& c) { return QByteArray(get(Cast(c))); };
        p.SetBin = [set](TComponent& c, const QByteArray& v) { set(Cast(c), v); };
        return *this;
    }

    TStreamClassBuilder& Default(int64_t value)
    {
        Last().Default = value;
        Last().Always = false;
        return *this;
    }
    TStreamClassBuilder& Always()
    {
        Last().Always = true;
        return *this;
    }
    template <class Pred>
    TStreamClassBuilder& StoredIf(Pred pred)
    {
        Last().Stored = [pred](TComponent& c) { return bool(pred(Cast(c))); };
        return *this;
    }

    template <class F>
    TStreamClassBuilder& OnLoaded(F f)
    {
        FClass.Loaded = [f](TComponent& c) { f(Cast(c)); };
        return *this;
    }

    const TStreamClass& Class() const { return FClass; }
    TStreamClass Build() const { return FClass; }

    static T& Cast(TComponent& c)
    {
        T* t = dynamic_cast<T*>(&c);
        if (!t)
            throw EComponentError(QStringLiteral("%1 does not match its stream registration").arg(c.ClassName()));
        return *t;
    }

private:
    TPropInfo& Add(const QString& name, TPropKind kind)
    {
        TPropInfo p;
        p.Name = name;
        p.Kind = kind;
        FClass.Properties.push_back(std::move(p));
        return FClass.Properties.back();
    }
    TPropInfo& Last() { return FClass.Properties.back(); }

    template <class Get, class Set>
    TStreamClassBuilder& AddOrd(const QString& name, TPropKind kind, Get get, Set set)
    {
        TPropInfo& p = Add(name, kind);
        p.GetOrd = [get](TComponent& c) { return static_cast<int64_t>(get(Cast(c))); };
        p.SetOrd = [set](TComponent& c, int64_t v) { set(Cast(c), v); };
        return *this;
    }

    TStreamClass FClass;
};

// A builder for class T that starts from the properties registered for
// baseName (a class T derives from); the caller appends T's own properties
// and registers the result. Throws EComponentError when baseName is unknown.
template <class T>
TStreamClassBuilder<T> ExtendStreamClass(const QString& baseName, const QString& className,
                                         std::function<std::unique_ptr<T>()> create,
                                         const TStreamRegistry& registry = TStreamRegistry::Default())
{
    const TStreamClass* base = registry.Find(baseName);
    if (!base)
        throw EComponentError(QStringLiteral("Class %1 is not registered").arg(baseName));
    return TStreamClassBuilder<T>(className, std::move(create), *base);
}
