#include "platform/shell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

std::function<bool(const QString& target)> ShellOpenHook;

bool ShellOpen(const QString& target)
{
    if (ShellOpenHook)
        return ShellOpenHook(target);
    // A path that exists is a document; anything else is taken as an address.
    const QUrl url = QFileInfo::exists(target) ? QUrl::fromLocalFile(target) : QUrl::fromUserInput(target);
    return url.isValid() && QDesktopServices::openUrl(url);
}
