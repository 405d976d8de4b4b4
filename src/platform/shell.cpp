#include "platform/shell.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

std::function<bool(const QString& target)> ShellOpenHook;

bool ShellOpen(const QString& target, std::function<void()> failed)
{
    if (ShellOpenHook)
        return ShellOpenHook(target);
    // A path that exists is a document; anything else is taken as an address.
    const bool document = QFileInfo::exists(target);
    const QUrl url = document ? QUrl::fromLocalFile(target) : QUrl::fromUserInput(target);
    if (!url.isValid())
        return false;
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty() || !QCoreApplication::instance())
        return QDesktopServices::openUrl(url);
    // The opener ends with an error at once when no program takes the target;
    // one that found a program may run as long as that program does.
    auto* process = new QProcess(QCoreApplication::instance());
    process->setProgram(opener);
    process->setArguments({url.toString()});
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    QObject::connect(process, &QProcess::finished, process, [process, failed](int code, QProcess::ExitStatus status) {
        if ((code != 0 || status != QProcess::NormalExit) && failed)
            failed();
        process->deleteLater();
    });
    process->start();
    if (!process->waitForStarted(5000)) {
        process->deleteLater();
        return false;
    }
    return true;
}
