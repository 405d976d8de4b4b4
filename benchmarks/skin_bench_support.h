#pragma once
// What the skin benchmarks share: running the event loop for a while, and the
// shipped skin archives (a folder on the command line, else the one beside the
// program).
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QStringList>

inline void Pump(int ms)
{
    QElapsedTimer t;
    t.start();
    do
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    while (t.elapsed() < ms);
}

inline QString SkinFolder(int argc, char** argv)
{
    return argc > 1 ? QString::fromLocal8Bit(argv[1]) : QCoreApplication::applicationDirPath() + "/../bin/skiny";
}

// The archives of the folder by name, as full paths.
inline QStringList SkinFiles(const QString& dir)
{
    QStringList skins;
    for (const QString& name : QDir(dir).entryList({QStringLiteral("*.skn")}, QDir::Files, QDir::Name))
        skins << QDir(dir).filePath(name);
    return skins;
}
