// fuzz-layer: tv_designer
// Arbitrary bytes as the language file: every key the loaders read, through
// the profile reader, as start-up reads them. No crash, no exception, and a
// file without the section "Czech" gives every entry its default.
#include "classlib/inifiles.h"
#include "designer/localisation/language_texts.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QString>
#include <cstdlib>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const QString path =
        QDir::tempPath() + QStringLiteral("/fuzz_language_%1.ini").arg(static_cast<qint64>(getpid()));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            abort();
        f.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    const TIniFile ini(path);
    const QString section = QString::fromLatin1(LanguageSection);
    const bool hasSection = ini.SectionExists(section);
    // A key that serves two targets reads the same both times: one read each.
    static QSet<QString> seen;
    seen.clear();
    for (const TLanguageLoader& l : LanguageLoaders())
        for (const TLanguageEntry& e : l.Entries) {
            const QString key = QString::fromLatin1(e.Key);
            if (seen.contains(key))
                continue;
            seen.insert(key);
            const QString def = QString::fromUtf8(e.Default);
            const QString text = ini.ReadString(section, key, def);
            if (!hasSection && text != def)
                abort();
        }
    return 0;
}
