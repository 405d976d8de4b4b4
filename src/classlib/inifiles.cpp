#include "classlib/inifiles.h"

#include "classlib/sysutils.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <sys/stat.h>

struct TIniFile::Parsed {
    QStringList Lines;
    bool Ansi = false; // the file was not UTF-8: written back in the same code page
    // Line breaks as the file has them (a file made here gets the platform's).
    QString LineBreak = QStringLiteral("\r\n");
    bool Exists = false;
    QString Error; // refused before reading
};

namespace {
bool IsSectionLine(const QString& line, QString& name)
{
    const QString t = line.trimmed();
    if (!t.startsWith(QLatin1Char('[')))
        return false;
    const int close = t.indexOf(QLatin1Char(']'));
    name = (close < 0 ? t.mid(1) : t.mid(1, close - 1)).trimmed();
    return true;
}

bool IsKeyLine(const QString& line, QString& key, QString& value)
{
    const QString t = line.trimmed();
    if (t.isEmpty() || t.startsWith(QLatin1Char(';')) || t.startsWith(QLatin1Char('[')))
        return false;
    const int eq = t.indexOf(QLatin1Char('='));
    if (eq < 0)
        return false;
    key = t.left(eq).trimmed();
    value = t.mid(eq + 1).trimmed();
    if (value.size() >= 2 && ((value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"'))) ||
                              (value.startsWith(QLatin1Char('\'')) && value.endsWith(QLatin1Char('\'')))))
        value = value.mid(1, value.size() - 2);
    return true;
}

// Line range [first, end) of the first section with that name; first = -1 when absent.
void FindSection(const QStringList& lines, const QString& section, int& first, int& end)
{
    first = -1;
    end = -1;
    for (int i = 0; i < lines.size(); ++i) {
        QString name;
        if (!IsSectionLine(lines[i], name))
            continue;
        if (first >= 0) {
            end = i;
            return;
        }
        if (name.compare(section, Qt::CaseInsensitive) == 0)
            first = i + 1;
    }
    if (first >= 0)
        end = lines.size();
}

int FindKey(const QStringList& lines, int first, int end, const QString& key, QString* value)
{
    for (int i = first; i < end; ++i) {
        QString k, v;
        if (IsKeyLine(lines[i], k, v) && k.compare(key, Qt::CaseInsensitive) == 0) {
            if (value)
                *value = v;
            return i;
        }
    }
    return -1;
}
} // namespace

TIniFile::TIniFile(const QString& fileName) : FFileName(fileName) {}

const TIniFile::Parsed& TIniFile::Load() const
{
    // A short-lived profile object reads one file many times: keep what was
    // read while the file stays as it was.
    const QString path = ResolvePathCase(FFileName);
    const QFileInfo info(path);
    const QDateTime time = info.exists() ? info.lastModified() : QDateTime();
    const qint64 size = info.exists() ? info.size() : -1;
    if (FCache && time == FCacheTime && size == FCacheSize)
        return *FCache;
    FCache = std::make_shared<Parsed>();
    FCacheTime = time;
    FCacheSize = size;
    Parsed& p = *FCache;
    p.Error = WholeFileRefusal(path, MaxProfileFileBytes);
    if (!p.Error.isEmpty())
        return p;
    // A missing file (or a link to one) reads as empty and is made by the first
    // write; one that is there but cannot be read is never written over.
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 && errno == ENOENT)
        return p;
    QFile f;
    try {
        OpenFileForReading(f, path);
    } catch (const EFileError& e) {
        p.Error = e.Message();
        return p;
    }
    p.Exists = true;
    // Asking for the limit itself would take that much memory for every read.
    const QByteArray bytes = f.read(std::min(f.size(), MaxProfileFileBytes));
    const QString text = DecodeText(bytes);
    p.Ansi = !bytes.isEmpty() && text != QString::fromUtf8(bytes);
    if (const qsizetype lf = bytes.indexOf('\n'); lf >= 0 && (lf == 0 || bytes[lf - 1] != '\r'))
        p.LineBreak = QStringLiteral("\n");
    p.Lines = SplitLines(text);
    return p;
}

QString TIniFile::ReadError() const { return Load().Error; }

void TIniFile::Save(const Parsed& p)
{
    // What could not be read would be lost by writing the rest back.
    if (!p.Error.isEmpty())
        throw EFileError(p.Error);
    const QString path = QFileInfo::exists(FFileName) ? FFileName : ResolvePathCase(FFileName);
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QString text = p.Lines.join(p.LineBreak) + p.LineBreak;
    SaveFileSafely(path, [&](QIODevice& f) { f.write(p.Ansi ? UnicodeToAnsi(text) : text.toUtf8()); }, FFileName);
    FCache.reset(); // read back from disk next time
}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& def) const
{
    const Parsed& p = Load();
    int first, end;
    FindSection(p.Lines, section, first, end);
    if (first < 0)
        return def;
    QString v;
    return FindKey(p.Lines, first, end, key, &v) < 0 ? def : v;
}

int TIniFile::ReadInteger(const QString& section, const QString& key, int def) const
{
    const QString s = ReadString(section, key, QString());
    return StrToIntDef(s, def);
}

bool TIniFile::ReadBool(const QString& section, const QString& key, bool def) const
{
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

double TIniFile::ReadFloat(const QString& section, const QString& key, double def) const
{
    const QString s = ReadString(section, key, QString());
    double v = def;
    if (!s.isEmpty() && TryStrToFloat(s, v))
        return v;
    return def;
}

void TIniFile::WriteString(const QString& section, const QString& key, const QString& value)
{
    Parsed p = Load();
    int first, end;
    FindSection(p.Lines, section, first, end);
    const QString line = key + QLatin1Char('=') + value;
    if (first < 0) {
        if (!p.Lines.isEmpty() && !p.Lines.last().trimmed().isEmpty())
            p.Lines << QString();
        p.Lines << QLatin1Char('[') + section + QLatin1Char(']') << line;
    } else {
        const int k = FindKey(p.Lines, first, end, key, nullptr);
        if (k >= 0) {
            p.Lines[k] = line;
        } else {
            // After the section's last non-blank line.
            int at = end;
            while (at > first && p.Lines[at - 1].trimmed().isEmpty())
                --at;
            p.Lines.insert(at, line);
        }
    }
    Save(p);
}

void TIniFile::WriteInteger(const QString& section, const QString& key, int value)
{
    WriteString(section, key, QString::number(value));
}

void TIniFile::WriteBool(const QString& section, const QString& key, bool value)
{
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool TIniFile::SectionExists(const QString& section) const
{
    const Parsed& p = Load();
    int first, end;
    FindSection(p.Lines, section, first, end);
    return first >= 0;
}

bool TIniFile::ValueExists(const QString& section, const QString& key) const
{
    const Parsed& p = Load();
    int first, end;
    FindSection(p.Lines, section, first, end);
    return first >= 0 && FindKey(p.Lines, first, end, key, nullptr) >= 0;
}

void TIniFile::ReadSection(const QString& section, TStrings& keys) const
{
    keys.BeginUpdate();
    keys.Clear();
    const Parsed& p = Load();
    int first, end;
    FindSection(p.Lines, section, first, end);
    for (int i = first; first >= 0 && i < end; ++i) {
        QString k, v;
        if (IsKeyLine(p.Lines[i], k, v))
            keys.Add(k);
    }
    keys.EndUpdate();
}

void TIniFile::ReadSections(TStrings& sections) const
{
    sections.BeginUpdate();
    sections.Clear();
    const Parsed& p = Load();
    for (const QString& l : p.Lines) {
        QString name;
        if (IsSectionLine(l, name))
            sections.Add(name);
    }
    sections.EndUpdate();
}

void TIniFile::ReadSectionValues(const QString& section, TStrings& lines) const
{
    lines.BeginUpdate();
    lines.Clear();
    const Parsed& p = Load();
    int first, end;
    FindSection(p.Lines, section, first, end);
    for (int i = first; first >= 0 && i < end; ++i) {
        QString k, v;
        if (IsKeyLine(p.Lines[i], k, v))
            lines.Add(k + QLatin1Char('=') + v);
    }
    lines.EndUpdate();
}

void TIniFile::EraseSection(const QString& section)
{
    Parsed p = Load();
    int first, end;
    FindSection(p.Lines, section, first, end);
    if (first < 0)
        return;
    for (int i = end - 1; i >= first - 1; --i)
        p.Lines.removeAt(i);
    Save(p);
}

void TIniFile::DeleteKey(const QString& section, const QString& key)
{
    Parsed p = Load();
    int first, end;
    FindSection(p.Lines, section, first, end);
    if (first < 0)
        return;
    const int k = FindKey(p.Lines, first, end, key, nullptr);
    if (k < 0)
        return;
    p.Lines.removeAt(k);
    Save(p);
}
