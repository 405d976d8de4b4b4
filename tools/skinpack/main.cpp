// skinpack: packs skin archives, lists and extracts them through the program's
// own reader, and builds the program's skins from the artwork drawn in code.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <cstdio>

#include "archive_writer.h"
#include "artwork.h"
#include "skin/skin_message.h"
#include "skin/skin_reader.h"

namespace {
int Usage()
{
    std::fprintf(stderr,
                 "usage: skinpack list FILE\n"
                 "       skinpack extract FILE DIR\n"
                 "       skinpack pack OUT FILE...\n"
                 "       skinpack build SKINDIR RESDIR\n");
    return 2;
}

void Print(const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stdout);
}

bool ReadArchive(const QString& path, TSkinReader& reader)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "skinpack: cannot open %s\n", qPrintable(path));
        return false;
    }
    if (!reader.LoadFromStream(f.readAll())) {
        std::fprintf(stderr, "skinpack: %s is not a readable skin archive\n", qPrintable(path));
        return false;
    }
    return true;
}

bool WriteFile(const QString& path, const QByteArray& data)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(data) != data.size()) {
        std::fprintf(stderr, "skinpack: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

int List(const QString& path)
{
    TSkinReader reader;
    if (!ReadArchive(path, reader))
        return 1;
    int64_t total = 0;
    for (int i = 0; i < reader.Count(); ++i) {
        Print(QStringLiteral("%1  %2\n").arg(reader.Size(i), 9).arg(reader.Names()[i]));
        total += reader.Size(i);
    }
    Print(QStringLiteral("%1  %2 entries, format %3, %4 bytes of data\n")
              .arg(total, 9)
              .arg(reader.Count())
              .arg(reader.Version())
              .arg(reader.Data().size()));
    return 0;
}

int Extract(const QString& path, const QString& dir)
{
    TSkinReader reader;
    if (!ReadArchive(path, reader))
        return 1;
    if (!QDir().mkpath(dir)) {
        std::fprintf(stderr, "skinpack: cannot create %s\n", qPrintable(dir));
        return 1;
    }
    int rc = 0;
    for (const QString& name : reader.Names()) {
        // Entry names come from the file: keep every write inside dir.
        QString safe = name;
        safe.replace(QLatin1Char('/'), QLatin1Char('_')).replace(QLatin1Char('\\'), QLatin1Char('_'));
        if (safe.isEmpty() || safe == QLatin1String(".") || safe == QLatin1String("..")) {
            std::fprintf(stderr, "skinpack: entry without a usable name skipped\n");
            continue;
        }
        QByteArray data;
        reader.ExtractByName(name, data);
        if (!WriteFile(QDir(dir).filePath(safe), data))
            rc = 1;
    }
    return rc;
}

int Pack(const QString& out, const QStringList& files)
{
    QList<SkinPack::TEntry> entries;
    for (const QString& file : files) {
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "skinpack: cannot open %s\n", qPrintable(file));
            return 1;
        }
        entries.append({QFileInfo(file).fileName(), f.readAll()});
    }
    return WriteFile(out, SkinPack::BuildArchive(entries)) ? 0 : 1;
}
} // namespace

int main(int argc, char** argv)
{
    // Drawing text needs fonts, hence a GUI application even without a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QString runtime = QDir::tempPath() + QStringLiteral("/skinpack-runtime");
        QDir().mkpath(runtime);
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
    }
    QGuiApplication app(argc, argv);
    SetSkinMessageHandler([](const QString& text) {
        QString line = text;
        line.replace(QChar(13), QLatin1Char(' '));
        std::fprintf(stderr, "skinpack: %s\n", qPrintable(line));
    });
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.size() == 2 && args[0] == QLatin1String("list"))
        return List(args[1]);
    if (args.size() == 3 && args[0] == QLatin1String("extract"))
        return Extract(args[1], args[2]);
    if (args.size() >= 3 && args[0] == QLatin1String("pack"))
        return Pack(args[1], args.mid(2));
    if (args.size() == 3 && args[0] == QLatin1String("build"))
        return SkinPack::BuildAll(args[1], args[2]) ? 0 : 1;
    return Usage();
}
