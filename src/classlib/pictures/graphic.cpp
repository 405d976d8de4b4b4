#include "classlib/pictures/graphic.h"

#include "classlib/sysutils.h"

#include <QFile>
#include <QSaveFile>

void TGraphic::SetTransparent(bool value)
{
    if (value == FTransparent)
        return;
    FTransparent = value;
    Changed();
}

void TGraphic::SetModified(bool value)
{
    FModified = value;
    if (value && OnChange)
        OnChange(this);
}

void TGraphic::Changed() { SetModified(true); }

void TGraphic::LoadFromFile(const QString& fileName)
{
    QFile f(ResolvePathCase(fileName));
    if (!f.open(QIODevice::ReadOnly))
        throw EFileError(QStringLiteral("Cannot open file \"%1\". %2").arg(fileName, f.errorString()));
    LoadFromStream(f);
}

void TGraphic::SaveToFile(const QString& fileName)
{
    // Written beside the old file and renamed over it, so a failed save keeps the old one.
    QSaveFile f(fileName);
    if (!f.open(QIODevice::WriteOnly))
        throw EFileError(QStringLiteral("Cannot create file \"%1\". %2").arg(fileName, f.errorString()));
    SaveToStream(f);
    if (!f.commit())
        throw EFileError(QStringLiteral("Cannot write file \"%1\". %2").arg(fileName, f.errorString()));
}
