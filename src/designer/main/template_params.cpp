// The template of the document, kept as hidden check boxes (Tag 5) owned by
// the window: numbers as decimal text in the caption, flags in the check mark.

#include "designer/main/frm_main.h"

#include "classlib/sysutils.h"

void TFrmMain::CreateTemplateParams(bool isKrab, bool sirka, double okraj, double stred, double left, double top,
                                    double left2, double top2, double width2, double height2, int typ, const QString& name)
{
    auto make = [this](const char* key, int order, const QString& caption, bool checked) {
        auto* cb = new TCheckBox(this);
        cb->SetVisible(false);
        cb->SetTag(5);
        cb->SetTop(order);
        cb->SetCaption(caption);
        cb->SetChecked(checked);
        cb->SetName(QString::fromLatin1(key));
        cb->SetParent(ObjectParent ? ObjectParent : PNLCD);
    };
    make("Verze", 0, QStringLiteral("1.0"), false);
    make("Okraj", 30, FloatToStr(okraj), false);
    make("Stred", 60, FloatToStr(stred), false);
    make("Left", 90, FloatToStr(left), false);
    make("Top", 120, FloatToStr(top), false);
    make("Left2", 150, FloatToStr(left2), false);
    make("Top2", 180, FloatToStr(top2), false);
    make("Width2", 200, FloatToStr(width2), false);
    make("Height2", 220, FloatToStr(height2), false);
    make("isKrab", 240, QString(), isKrab);
    make("Sirka", 240, QString(), sirka);
    make("Typ", 220, IntToStr(typ), false);
    make("sNazevSablony", 220, name, false);
}

bool TFrmMain::HasTemplate() const
{
    for (int i = 0; i < ComponentCount(); ++i) {
        TComponent* c = Components(i);
        if (c->Tag() == 5 && c->Name().compare(QLatin1String("Okraj"), Qt::CaseInsensitive) == 0 &&
            dynamic_cast<TCheckBox*>(c))
            return true;
    }
    return false;
}

QString TFrmMain::sBezSablony()
{
    return QString::fromUtf8("Návrh nemá šablonu etikety, a proto není známo, kam na arch patří. "
                             "Šablonu zvolte příkazem Soubor – Změna šablony.");
}

QString TFrmMain::sBezSablonyOrez()
{
    return QString::fromUtf8("Návrh nemá šablonu etikety, a proto není známo, kde etiketa končí. "
                             "Obrázek se uloží celý, bez ořezu.");
}

QString TFrmMain::GetTemplateParam(const QString& key) const
{
    QString value = QStringLiteral("0");
    for (int i = 0; i < ComponentCount(); ++i) {
        TComponent* c = Components(i);
        if (c->Tag() == 5 && c->Name().compare(key, Qt::CaseInsensitive) == 0)
            if (auto* cb = dynamic_cast<TCheckBox*>(c))
                value = cb->Caption();
    }
    return value;
}

bool TFrmMain::GetTemplateFlag(const QString& key) const
{
    bool value = false;
    for (int i = 0; i < ComponentCount(); ++i) {
        TComponent* c = Components(i);
        if (c->Tag() == 5 && c->Name().compare(key, Qt::CaseInsensitive) == 0)
            if (auto* cb = dynamic_cast<TCheckBox*>(c))
                value = cb->Checked();
    }
    return value;
}

void TFrmMain::DeleteTemplateParams()
{
    for (;;) {
        TComponent* found = nullptr;
        for (int i = 0; i < ComponentCount() && !found; ++i)
            if (Components(i)->Tag() == 5)
                found = Components(i);
        if (!found)
            break;
        delete found;
    }
}
