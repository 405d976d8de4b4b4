#include "designer/localisation/language_texts.h"

#include "classlib/controls/control.h"
#include "classlib/forms/application.h"
#include "classlib/forms/form.h"
#include "classlib/forms/menus.h"
#include "classlib/inifiles.h"
#include "designer/main/frm_main.h"

#include <QCoreApplication>

namespace {
// The window's own components first; then those owned by them (menu items of a
// menu, pages of a page control), should a window build them that way.
TComponent* FindTarget(const TComponent* owner, const QString& name)
{
    if (TComponent* c = owner->FindComponent(name))
        return c;
    for (int i = 0; i < owner->ComponentCount(); ++i)
        if (TComponent* c = FindTarget(owner->Components(i), name))
            return c;
    return nullptr;
}

// Gives the text to the component's Caption or Hint; false when it has neither.
bool SetText(TComponent* c, TTextTarget target, const QString& text)
{
    if (auto* control = dynamic_cast<TControl*>(c)) {
        if (target == TTextTarget::Caption)
            control->SetCaption(text);
        else
            control->SetHint(text);
        return true;
    }
    if (auto* item = dynamic_cast<TMenuItem*>(c)) {
        if (target == TTextTarget::Caption)
            item->SetCaption(text);
        else
            item->SetHint(text);
        return true;
    }
    return false;
}

bool TargetExists(TCustomForm* window, const TLanguageEntry& e)
{
    switch (e.Target) {
    case TTextTarget::AppTitle:
        return Application != nullptr;
    case TTextTarget::MainField:
        return dynamic_cast<TFrmMain*>(window) != nullptr;
    case TTextTarget::WindowCaption:
        return window != nullptr;
    case TTextTarget::Caption:
    case TTextTarget::Hint: {
        if (!window)
            return false;
        TComponent* c = FindTarget(window, QString::fromLatin1(e.Control));
        return dynamic_cast<TControl*>(c) || dynamic_cast<TMenuItem*>(c);
    }
    }
    return false;
}

void Assign(TCustomForm* window, const TLanguageEntry& e, const QString& text)
{
    switch (e.Target) {
    case TTextTarget::AppTitle:
        if (Application)
            Application->SetTitle(text);
        return;
    case TTextTarget::MainField:
        if (auto* m = dynamic_cast<TFrmMain*>(window))
            m->*(e.Field) = text;
        return;
    case TTextTarget::WindowCaption:
        if (window)
            window->SetCaption(text);
        return;
    case TTextTarget::Caption:
    case TTextTarget::Hint:
        if (window)
            if (TComponent* c = FindTarget(window, QString::fromLatin1(e.Control)))
                SetText(c, e.Target, text);
        return;
    }
}

QString TargetName(const TLanguageLoader& loader, const TLanguageEntry& e)
{
    const QString window = QString::fromLatin1(loader.WindowClass);
    switch (e.Target) {
    case TTextTarget::AppTitle:
        return QStringLiteral("Application.Title");
    case TTextTarget::MainField:
        return window + QLatin1Char('.') + QString::fromLatin1(e.Key);
    case TTextTarget::WindowCaption:
        return window + QStringLiteral(".Caption");
    case TTextTarget::Caption:
        return window + QLatin1Char('.') + QString::fromLatin1(e.Control) + QStringLiteral(".Caption");
    case TTextTarget::Hint:
        return window + QLatin1Char('.') + QString::fromLatin1(e.Control) + QStringLiteral(".Hint");
    }
    return window;
}
} // namespace

QString LanguageFileName()
{
    const QString appDir = FrmMain ? FrmMain->GetAppDir() : QCoreApplication::applicationDirPath();
    return appDir + QStringLiteral("/language.ini");
}

TLanguageFile::TLanguageFile(const QString& fileName)
{
    const TIniFile ini(fileName);
    FError = ini.ReadError();
    TStringList lines;
    ini.ReadSectionValues(QString::fromLatin1(LanguageSection), lines);
    for (const QString& line : lines.ToQStringList()) {
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        const QString key = line.left(eq).toCaseFolded();
        if (!FTexts.contains(key))
            FTexts.insert(key, line.mid(eq + 1));
    }
}

QString TLanguageFile::ReadString(const QString& key, const QString& def) const
{
    const auto it = FTexts.constFind(key.toCaseFolded());
    return it == FTexts.constEnd() ? def : it.value();
}

void ApplyLanguageTexts(const TLanguageLoader& loader) { ApplyLanguageTexts(loader, TLanguageFile(LanguageFileName())); }

void ApplyLanguageTexts(const TLanguageLoader& loader, const TLanguageFile& file)
{
    TCustomForm* window = loader.Window();
    for (const TLanguageEntry& e : loader.Entries) {
        // One lookup per entry: a key that feeds two targets is read twice.
        const QString text = file.ReadString(QString::fromLatin1(e.Key), QString::fromUtf8(e.Default));
        Assign(window, e, text);
    }
}

QStringList MissingLanguageTargets(const TLanguageLoader& loader)
{
    TCustomForm* window = loader.Window();
    QStringList missing;
    for (const TLanguageEntry& e : loader.Entries)
        if (!TargetExists(window, e))
            missing << TargetName(loader, e);
    return missing;
}
