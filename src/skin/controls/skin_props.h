#pragma once
// Published properties by name, as the control skinners read them: a control
// of any class is asked for "Caption", "Down" or "Glyph" without the skinner
// knowing its class. A class answers the names registered for it (or for a
// class it inherits); a nil object or a missing name gives the default.

#include "classlib/component.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

enum class TSkinPropKind { Ordinal, Enumeration, String, Object };

struct TSkinProperty {
    QString Name;
    TSkinPropKind Kind = TSkinPropKind::Ordinal;
    // True for the objects that have this property.
    std::function<bool(const TObject*)> Applies;
    // Ordinal value (integers, booleans, enumerations by position).
    std::function<int64_t(TObject*)> GetOrd;
    std::function<void(TObject*, int64_t)> SetOrd;
    // Enumeration names by position ("False", "True"; "taLeftJustify", ...).
    QStringList Names;
    std::function<QString(TObject*)> GetStr;
    std::function<void(TObject*, const QString&)> SetStr;
    std::function<TObject*(TObject*)> GetObj;
};

// Adds a property (later registrations of a name are asked first).
void RegisterSkinProperty(TSkinProperty property);
// Shortcuts for the common kinds; T is the class that has the property.
template <class T>
void RegisterBoolProperty(const QString& name, std::function<bool(T*)> get, std::function<void(T*, bool)> set = {})
{
    TSkinProperty p;
    p.Name = name;
    p.Kind = TSkinPropKind::Enumeration;
    p.Names = {QStringLiteral("False"), QStringLiteral("True")};
    p.Applies = [](const TObject* o) { return dynamic_cast<const T*>(o) != nullptr; };
    p.GetOrd = [get](TObject* o) { return get(static_cast<T*>(o)) ? 1 : 0; };
    if (set)
        p.SetOrd = [set](TObject* o, int64_t v) { set(static_cast<T*>(o), v != 0); };
    RegisterSkinProperty(std::move(p));
}
template <class T>
void RegisterIntProperty(const QString& name, std::function<int64_t(T*)> get, std::function<void(T*, int64_t)> set = {})
{
    TSkinProperty p;
    p.Name = name;
    p.Kind = TSkinPropKind::Ordinal;
    p.Applies = [](const TObject* o) { return dynamic_cast<const T*>(o) != nullptr; };
    p.GetOrd = [get](TObject* o) { return get(static_cast<T*>(o)); };
    if (set)
        p.SetOrd = [set](TObject* o, int64_t v) { set(static_cast<T*>(o), v); };
    RegisterSkinProperty(std::move(p));
}
template <class T>
void RegisterEnumProperty(const QString& name, const QStringList& names, std::function<int64_t(T*)> get,
                          std::function<void(T*, int64_t)> set = {})
{
    TSkinProperty p;
    p.Name = name;
    p.Kind = TSkinPropKind::Enumeration;
    p.Names = names;
    p.Applies = [](const TObject* o) { return dynamic_cast<const T*>(o) != nullptr; };
    p.GetOrd = [get](TObject* o) { return get(static_cast<T*>(o)); };
    if (set)
        p.SetOrd = [set](TObject* o, int64_t v) { set(static_cast<T*>(o), v); };
    RegisterSkinProperty(std::move(p));
}
template <class T>
void RegisterStringProperty(const QString& name, std::function<QString(T*)> get,
                            std::function<void(T*, const QString&)> set = {})
{
    TSkinProperty p;
    p.Name = name;
    p.Kind = TSkinPropKind::String;
    p.Applies = [](const TObject* o) { return dynamic_cast<const T*>(o) != nullptr; };
    p.GetStr = [get](TObject* o) { return get(static_cast<T*>(o)); };
    if (set)
        p.SetStr = [set](TObject* o, const QString& v) { set(static_cast<T*>(o), v); };
    RegisterSkinProperty(std::move(p));
}
template <class T>
void RegisterObjectProperty(const QString& name, std::function<TObject*(T*)> get)
{
    TSkinProperty p;
    p.Name = name;
    p.Kind = TSkinPropKind::Object;
    p.Applies = [](const TObject* o) { return dynamic_cast<const T*>(o) != nullptr; };
    p.GetObj = [get](TObject* o) { return get(static_cast<T*>(o)); };
    RegisterSkinProperty(std::move(p));
}

// The property of that name the object has (letter case ignored), or null.
const TSkinProperty* FindSkinProperty(const TObject* object, const QString& name);
bool HasProperty(const TObject* object, const QString& name);
// Ordinal value; -1 when missing or not of an ordinal kind.
int64_t GetOrdProp(TObject* object, const QString& name);
// The value as text: strings as they are, enumerations by name, integers in
// decimal; empty when missing.
QString GetPropValue(TObject* object, const QString& name);
// A string property's value (our strings are all wide); empty when missing.
QString GetWideStrProp(TObject* object, const QString& name);
TObject* GetObjectProp(TObject* object, const QString& name);
// Enumerations by name (letter case ignored), integers by StrToInt, strings as
// they are; other kinds and unknown names are ignored.
void SetPropValue(TObject* object, const QString& name, const QString& value);
// The property's text lower-cased equals "true".
bool PropIsTrue(TObject* object, const QString& name);
