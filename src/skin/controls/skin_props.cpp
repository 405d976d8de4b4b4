#include "skin/controls/skin_props.h"

#include "classlib/controls/com_controls.h"
#include "classlib/controls/control.h"
#include "classlib/controls/speed_button.h"
#include "classlib/controls/std_controls.h"

#include <vector>

namespace {
std::vector<TSkinProperty>& Registry();

// The published properties of the class library's own controls that the
// skinners read or write.
void RegisterStandard(std::vector<TSkinProperty>& list)
{
    auto add = [&list](TSkinProperty p) { list.push_back(std::move(p)); };
    auto applies = [](auto* tag) {
        using T = std::remove_pointer_t<decltype(tag)>;
        return [](const TObject* o) { return dynamic_cast<const T*>(o) != nullptr; };
    };
    const QStringList boolNames = {QStringLiteral("False"), QStringLiteral("True")};
    auto boolProp = [&](const QString& name, std::function<bool(const TObject*)> ok, std::function<bool(TObject*)> get,
                        std::function<void(TObject*, bool)> set) {
        TSkinProperty p;
        p.Name = name;
        p.Kind = TSkinPropKind::Enumeration;
        p.Names = boolNames;
        p.Applies = std::move(ok);
        p.GetOrd = [get](TObject* o) { return get(o) ? 1 : 0; };
        if (set)
            p.SetOrd = [set](TObject* o, int64_t v) { set(o, v != 0); };
        add(std::move(p));
    };

    {
        TSkinProperty p;
        p.Name = QStringLiteral("Caption");
        p.Kind = TSkinPropKind::String;
        p.Applies = applies(static_cast<TControl*>(nullptr));
        p.GetStr = [](TObject* o) { return static_cast<TControl*>(o)->Caption(); };
        p.SetStr = [](TObject* o, const QString& v) { static_cast<TControl*>(o)->SetCaption(v); };
        add(std::move(p));
    }
    {
        TSkinProperty p;
        p.Name = QStringLiteral("Color");
        p.Kind = TSkinPropKind::Ordinal;
        p.Applies = applies(static_cast<TControl*>(nullptr));
        p.GetOrd = [](TObject* o) { return static_cast<int64_t>(static_cast<TControl*>(o)->Color()); };
        p.SetOrd = [](TObject* o, int64_t v) { static_cast<TControl*>(o)->SetColor(static_cast<TColor>(v)); };
        add(std::move(p));
    }
    {
        TSkinProperty p;
        p.Name = QStringLiteral("Font");
        p.Kind = TSkinPropKind::Object;
        p.Applies = applies(static_cast<TControl*>(nullptr));
        p.GetObj = [](TObject* o) -> TObject* { return static_cast<TControl*>(o)->Font(); };
        add(std::move(p));
    }
    {
        TSkinProperty p;
        p.Name = QStringLiteral("BiDiMode");
        p.Kind = TSkinPropKind::Enumeration;
        p.Names = {QStringLiteral("bdLeftToRight"), QStringLiteral("bdRightToLeft"),
                   QStringLiteral("bdRightToLeftNoAlign"), QStringLiteral("bdRightToLeftReadingOnly")};
        p.Applies = applies(static_cast<TControl*>(nullptr));
        p.GetOrd = [](TObject* o) { return static_cast<int64_t>(static_cast<TControl*>(o)->BiDiMode()); };
        add(std::move(p));
    }
    boolProp(QStringLiteral("Enabled"), applies(static_cast<TControl*>(nullptr)),
             [](TObject* o) { return static_cast<TControl*>(o)->Enabled(); },
             [](TObject* o, bool v) { static_cast<TControl*>(o)->SetEnabled(v); });
    boolProp(QStringLiteral("Visible"), applies(static_cast<TControl*>(nullptr)),
             [](TObject* o) { return static_cast<TControl*>(o)->Visible(); },
             [](TObject* o, bool v) { static_cast<TControl*>(o)->SetVisible(v); });
    boolProp(QStringLiteral("ParentBackground"), applies(static_cast<TWinControl*>(nullptr)),
             [](TObject* o) { return static_cast<TWinControl*>(o)->ParentBackground(); },
             [](TObject* o, bool v) { static_cast<TWinControl*>(o)->SetParentBackground(v); });
    boolProp(QStringLiteral("Flat"), applies(static_cast<TSpeedButton*>(nullptr)),
             [](TObject* o) { return static_cast<TSpeedButton*>(o)->Flat(); },
             [](TObject* o, bool v) { static_cast<TSpeedButton*>(o)->SetFlat(v); });
    boolProp(QStringLiteral("Transparent"), applies(static_cast<TSpeedButton*>(nullptr)),
             [](TObject* o) { return static_cast<TSpeedButton*>(o)->Transparent(); },
             [](TObject* o, bool v) { static_cast<TSpeedButton*>(o)->SetTransparent(v); });
    boolProp(QStringLiteral("Default"), applies(static_cast<TButton*>(nullptr)),
             [](TObject* o) { return static_cast<TButton*>(o)->Default(); },
             [](TObject* o, bool v) { static_cast<TButton*>(o)->SetDefault(v); });
    boolProp(QStringLiteral("SimplePanel"), applies(static_cast<TStatusBar*>(nullptr)),
             [](TObject* o) { return static_cast<TStatusBar*>(o)->SimplePanel(); },
             [](TObject* o, bool v) { static_cast<TStatusBar*>(o)->SetSimplePanel(v); });
    {
        TSkinProperty p;
        p.Name = QStringLiteral("SimpleText");
        p.Kind = TSkinPropKind::String;
        p.Applies = applies(static_cast<TStatusBar*>(nullptr));
        p.GetStr = [](TObject* o) { return static_cast<TStatusBar*>(o)->SimpleText(); };
        p.SetStr = [](TObject* o, const QString& v) { static_cast<TStatusBar*>(o)->SetSimpleText(v); };
        add(std::move(p));
    }
}

std::vector<TSkinProperty>& Registry()
{
    static std::vector<TSkinProperty> list = [] {
        std::vector<TSkinProperty> l;
        RegisterStandard(l);
        return l;
    }();
    return list;
}
} // namespace

void RegisterSkinProperty(TSkinProperty property) { Registry().push_back(std::move(property)); }

const TSkinProperty* FindSkinProperty(const TObject* object, const QString& name)
{
    if (!object)
        return nullptr;
    const auto& list = Registry();
    for (auto it = list.rbegin(); it != list.rend(); ++it)
        if (it->Name.compare(name, Qt::CaseInsensitive) == 0 && it->Applies && it->Applies(object))
            return &*it;
    return nullptr;
}

bool HasProperty(const TObject* object, const QString& name) { return FindSkinProperty(object, name) != nullptr; }

int64_t GetOrdProp(TObject* object, const QString& name)
{
    const TSkinProperty* p = FindSkinProperty(object, name);
    if (!p || (p->Kind != TSkinPropKind::Ordinal && p->Kind != TSkinPropKind::Enumeration) || !p->GetOrd)
        return -1;
    return p->GetOrd(object);
}

QString GetPropValue(TObject* object, const QString& name)
{
    const TSkinProperty* p = FindSkinProperty(object, name);
    if (!p)
        return {};
    switch (p->Kind) {
    case TSkinPropKind::String:
        return p->GetStr ? p->GetStr(object) : QString();
    case TSkinPropKind::Enumeration: {
        if (!p->GetOrd)
            return {};
        const int64_t v = p->GetOrd(object);
        return v >= 0 && v < p->Names.size() ? p->Names.at(static_cast<qsizetype>(v)) : QString::number(v);
    }
    case TSkinPropKind::Ordinal:
        return p->GetOrd ? QString::number(p->GetOrd(object)) : QString();
    case TSkinPropKind::Object:
        return {};
    }
    return {};
}

QString GetWideStrProp(TObject* object, const QString& name)
{
    const TSkinProperty* p = FindSkinProperty(object, name);
    if (!p || p->Kind != TSkinPropKind::String || !p->GetStr)
        return {};
    return p->GetStr(object);
}

TObject* GetObjectProp(TObject* object, const QString& name)
{
    const TSkinProperty* p = FindSkinProperty(object, name);
    if (!p || p->Kind != TSkinPropKind::Object || !p->GetObj)
        return nullptr;
    return p->GetObj(object);
}

void SetPropValue(TObject* object, const QString& name, const QString& value)
{
    const TSkinProperty* p = FindSkinProperty(object, name);
    if (!p)
        return;
    switch (p->Kind) {
    case TSkinPropKind::Enumeration: {
        if (p->SetOrd)
            for (qsizetype i = 0; i < p->Names.size(); ++i)
                if (p->Names.at(i).compare(value.trimmed(), Qt::CaseInsensitive) == 0) {
                    p->SetOrd(object, static_cast<int64_t>(i));
                    return;
                }
        return;
    }
    case TSkinPropKind::Ordinal: {
        bool ok = false;
        const qlonglong v = value.trimmed().toLongLong(&ok);
        if (ok && p->SetOrd)
            p->SetOrd(object, v);
        return;
    }
    case TSkinPropKind::String:
        if (p->SetStr)
            p->SetStr(object, value);
        return;
    case TSkinPropKind::Object:
        return;
    }
}

bool PropIsTrue(TObject* object, const QString& name)
{
    return GetPropValue(object, name).toLower() == QLatin1String("true");
}
