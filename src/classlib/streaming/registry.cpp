#include "classlib/streaming/registry.h"

#include "classlib/streaming/saved_classes.h"

const TPropInfo* TStreamClass::FindProperty(const QString& name) const
{
    for (const TPropInfo& p : Properties)
        if (p.Name.compare(name, Qt::CaseInsensitive) == 0)
            return &p;
    return nullptr;
}

void TStreamRegistry::Register(TStreamClass streamClass)
{
    const QString name = streamClass.ClassName;
    FClasses.insert_or_assign(name, std::move(streamClass));
}

void TStreamRegistry::Unregister(const QString& className) { FClasses.erase(className); }

const TStreamClass* TStreamRegistry::Find(const QString& className) const
{
    auto it = FClasses.find(className);
    return it == FClasses.end() ? nullptr : &it->second;
}

QStringList TStreamRegistry::ClassNames() const
{
    QStringList names;
    for (const auto& [name, cls] : FClasses)
        names.append(name);
    return names;
}

TStreamRegistry& TStreamRegistry::Default()
{
    static TStreamRegistry* registry = [] {
        auto* r = new TStreamRegistry;
        RegisterSavedClasses(*r);
        return r;
    }();
    return *registry;
}
