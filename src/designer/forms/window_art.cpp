#include "designer/forms/window_art.h"

#include "classlib/pictures/picture.h"
#include "classlib/sysutils.h"

#include <QFile>

// Outside any namespace, as the resource registration needs.
static void InitWindowArt() { Q_INIT_RESOURCE(window_art); }

bool LoadWindowArt(TPicture* picture, const QString& name)
{
    static const bool registered = (InitWindowArt(), true);
    (void)registered;
    const QString path = QStringLiteral(":/window_art/") + name;
    if (!picture || !QFile::exists(path))
        return false;
    try {
        picture->LoadFromFile(path);
    } catch (const Exception&) {
        return false;
    }
    return true;
}
