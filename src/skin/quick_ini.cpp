#include "skin/quick_ini.h"

#include "classlib/sysutils.h"
#include "skin/skin_reader.h"

#include <QIODevice>

void TQuickIni::LoadFromStream(QIODevice* stream)
{
    if (!stream)
        return;
    LoadFromStream(stream->readAll());
}

void TQuickIni::LoadFromStream(const QByteArray& data)
{
    FLines.clear();
    FSections.clear();
    QByteArray bytes = data;
    const qsizetype zero = bytes.indexOf('\0');
    if (zero >= 0)
        bytes.truncate(zero);
    const QString text = DecodeText(bytes);

    // One CR and then one LF end a line, so CR LF, CR and LF all count once.
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        const qsizetype start = i;
        while (i < n && text[i] != QLatin1Char('\r') && text[i] != QLatin1Char('\n'))
            ++i;
        const QString line = Trim(text.mid(start, i - start));
        if (i < n && text[i] == QLatin1Char('\r'))
            ++i;
        if (i < n && text[i] == QLatin1Char('\n'))
            ++i;
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        FLines.append(line);
        if (IsSection(line))
            FSections.append({line, static_cast<int>(FLines.size() - 1)});
    }
}

bool TQuickIni::IsSection(const QString& line)
{
    const QString s = Trim(line);
    return s.startsWith(QLatin1Char('[')) && s.endsWith(QLatin1Char(']'));
}

QString TQuickIni::KeyOf(const QString& line)
{
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq < 0)
        return QString();
    return TSkinReader::LowerAscii(Trim(line.left(eq)));
}

QString TQuickIni::ValueOf(const QString& line, const QString& key)
{
    if (line.isEmpty() || key.isEmpty())
        return QString();
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq < 0 || KeyOf(line) != key)
        return QString();
    return Trim(line.mid(eq + 1));
}

int TQuickIni::FindSection(const QString& name) const
{
    const QString wanted = QLatin1Char('[') + name + QLatin1Char(']');
    for (const auto& section : FSections) {
        if (section.first.compare(wanted, Qt::CaseInsensitive) == 0)
            return section.second;
    }
    return -1;
}

void TQuickIni::ReadSections(QStringList& list) const
{
    list.clear();
    for (const auto& section : FSections)
        list.append(Trim(section.first.mid(1, section.first.size() - 2)));
}

QString TQuickIni::ReadString(const QString& section, const QString& key, const QString& def) const
{
    if (FLines.isEmpty())
        return def;
    const int at = FindSection(section);
    if (at < 0)
        return def;
    const QString wanted = TSkinReader::LowerAscii(key);
    for (qsizetype i = at + 1; i < FLines.size(); ++i) {
        const QString& line = FLines[i];
        if (IsSection(line))
            break;
        if (KeyOf(line) == wanted) {
            const QString value = ValueOf(line, wanted);
            return value.isEmpty() ? def : value;
        }
    }
    return def;
}

int TQuickIni::ReadInteger(const QString& section, const QString& key, int def) const
{
    const QString s = ReadString(section, key, QString());
    if (s.size() > 2 && s[0] == QLatin1Char('0')) {
        if (s[1] == QLatin1Char('x') || s[1] == QLatin1Char('X'))
            return StrToIntDef(QLatin1Char('$') + s.mid(2), def);
        // Leading zeros: plain decimal, never octal.
        bool ok = false;
        const int v = s.toInt(&ok, 10);
        return ok ? v : def;
    }
    return StrToIntDef(s, def);
}
