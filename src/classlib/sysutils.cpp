#include "classlib/sysutils.h"

#include "classlib/system_errors.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cmath>
#include <limits>

void Abort() { throw EAbort(); }

namespace {
QChar gDecimalSeparator = QLatin1Char(',');

// Windows-1250, bytes 0x80..0xFF; 0 marks a byte with no character.
const char16_t kCp1250High[128] = {
    0x20AC, 0,      0x201A, 0,      0x201E, 0x2026, 0x2020, 0x2021,
    0,      0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0,      0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

QString Trimmed(const QString& s) { return s.trimmed(); }
} // namespace

QChar DecimalSeparator() { return gDecimalSeparator; }
void SetDecimalSeparator(QChar c) { gDecimalSeparator = c; }

QString FloatToStr(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    if (value == 0)
        return QStringLiteral("0");
    // General format, precision 15: fixed notation unless the exponent is
    // below -4 or at least the precision.
    const int exponent = static_cast<int>(std::floor(std::log10(std::fabs(value))));
    QString text;
    if (exponent < -4 || exponent >= 15) {
        text = QString::number(value, 'E', 14);
        // Mantissa without trailing zeros, exponent without "+" and leading zeros.
        const int e = text.indexOf(QLatin1Char('E'));
        QString mantissa = text.left(e);
        QString exp = text.mid(e + 1);
        if (mantissa.contains(QLatin1Char('.'))) {
            while (mantissa.endsWith(QLatin1Char('0')))
                mantissa.chop(1);
            if (mantissa.endsWith(QLatin1Char('.')))
                mantissa.chop(1);
        }
        const bool negExp = exp.startsWith(QLatin1Char('-'));
        exp.remove(0, (exp.startsWith(QLatin1Char('-')) || exp.startsWith(QLatin1Char('+'))) ? 1 : 0);
        while (exp.size() > 1 && exp.startsWith(QLatin1Char('0')))
            exp.remove(0, 1);
        text = mantissa + QLatin1Char('E') + (negExp ? QStringLiteral("-") : QString()) + exp;
    } else {
        text = QString::number(value, 'g', 15);
        if (text.contains(QLatin1Char('e'))) // 'g' may still pick exponent form near the limits
            text = QString::number(value, 'f', std::max(0, 14 - exponent));
        if (text.contains(QLatin1Char('.'))) {
            while (text.endsWith(QLatin1Char('0')))
                text.chop(1);
            if (text.endsWith(QLatin1Char('.')))
                text.chop(1);
        }
    }
    text.replace(QLatin1Char('.'), gDecimalSeparator);
    return text;
}

bool TryStrToFloat(const QString& text, double& value)
{
    QString s = Trimmed(text);
    if (s.isEmpty())
        return false;
    // Only the program's separator counts as the decimal point.
    if (gDecimalSeparator != QLatin1Char('.') && s.contains(QLatin1Char('.')))
        return false;
    s.replace(gDecimalSeparator, QLatin1Char('.'));
    for (QChar c : s) {
        const char16_t u = c.unicode();
        if (!((u >= '0' && u <= '9') || u == '.' || u == '+' || u == '-' || u == 'e' || u == 'E'))
            return false;
    }
    bool ok = false;
    const double v = s.toDouble(&ok);
    if (!ok)
        return false;
    value = v;
    return true;
}

double StrToFloat(const QString& text)
{
    double v = 0;
    if (!TryStrToFloat(text, v))
        throw EConvertError(QStringLiteral("\"%1\" není platné číslo").arg(text));
    return v;
}

bool TryStrToInt(const QString& text, int& value)
{
    QString s = text;
    // Leading blanks are skipped; trailing ones are an error, as the platform's Val.
    int i = 0;
    while (i < s.size() && s[i] == QLatin1Char(' '))
        ++i;
    s = s.mid(i);
    if (s.isEmpty())
        return false;
    bool neg = false;
    if (s[0] == QLatin1Char('+') || s[0] == QLatin1Char('-')) {
        neg = s[0] == QLatin1Char('-');
        s.remove(0, 1);
    }
    int base = 10;
    if (s.startsWith(QLatin1Char('$'))) {
        base = 16;
        s.remove(0, 1);
    } else if (s.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        base = 16;
        s.remove(0, 2);
    }
    if (s.isEmpty())
        return false;
    long long v = 0;
    for (QChar c : s) {
        int d;
        const char16_t u = c.unicode();
        if (u >= '0' && u <= '9')
            d = u - '0';
        else if (base == 16 && u >= 'a' && u <= 'f')
            d = u - 'a' + 10;
        else if (base == 16 && u >= 'A' && u <= 'F')
            d = u - 'A' + 10;
        else
            return false;
        v = v * base + d;
        if (v > 0xFFFFFFFFLL)
            return false;
    }
    if (base == 10) {
        if (neg)
            v = -v;
        if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
            return false;
        value = static_cast<int>(v);
    } else {
        // Hex text covers the whole 32-bit pattern.
        value = static_cast<int>(static_cast<uint32_t>(v));
        if (neg)
            value = -value;
    }
    return true;
}

int StrToInt(const QString& text)
{
    int v = 0;
    if (!TryStrToInt(text, v))
        throw EConvertError(QStringLiteral("\"%1\" není platné celé číslo").arg(text));
    return v;
}

int StrToIntDef(const QString& text, int def)
{
    int v = 0;
    return TryStrToInt(text, v) ? v : def;
}

QString IntToStr(long long value) { return QString::number(value); }

QString Trim(const QString& text)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && text[start].unicode() <= ' ')
        ++start;
    while (end > start && text[end - 1].unicode() <= ' ')
        --end;
    return text.mid(start, end - start);
}

int MulDiv(int number, int numerator, int denominator)
{
    if (denominator == 0)
        return -1;
    const long long product = static_cast<long long>(number) * numerator;
    long long q = product / denominator;
    const long long r = product % denominator;
    // Round half away from zero.
    if (std::llabs(r) * 2 >= std::llabs(static_cast<long long>(denominator))) {
        if ((product < 0) != (denominator < 0))
            --q;
        else
            ++q;
    }
    return static_cast<int>(q);
}

long long Round(double value) { return static_cast<long long>(std::nearbyint(value)); }
long long Trunc(double value) { return static_cast<long long>(std::trunc(value)); }

static int LastSeparator(const QString& path)
{
    return std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
}

QString ExtractFileName(const QString& path) { return path.mid(LastSeparator(path) + 1); }
QString ExtractFilePath(const QString& path) { return path.left(LastSeparator(path) + 1); }
QString ExtractFileDir(const QString& path)
{
    const int i = LastSeparator(path);
    if (i < 0)
        return QString();
    if (i == 0)
        return QStringLiteral("/");
    return path.left(i);
}
QString ExtractFileExt(const QString& path)
{
    const QString name = ExtractFileName(path);
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot);
}
QString IncludeTrailingPathDelimiter(const QString& path)
{
    if (path.endsWith(QLatin1Char('/')))
        return path;
    return path + QLatin1Char('/');
}
QString ExcludeTrailingPathDelimiter(const QString& path)
{
    QString p = path;
    while (p.size() > 1 && (p.endsWith(QLatin1Char('/')) || p.endsWith(QLatin1Char('\\'))))
        p.chop(1);
    return p;
}

QString ResolvePathCase(const QString& path)
{
    QString p = path;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (p.isEmpty() || QFileInfo::exists(p))
        return p;
    const bool absolute = p.startsWith(QLatin1Char('/'));
    const QStringList parts = p.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString current = absolute ? QStringLiteral("/") : QStringLiteral(".");
    QString result = absolute ? QStringLiteral("/") : QString();
    for (int i = 0; i < parts.size(); ++i) {
        const QString& part = parts[i];
        QString found;
        const QString direct = IncludeTrailingPathDelimiter(current) + part;
        if (part == QLatin1String(".") || part == QLatin1String("..") || QFileInfo::exists(direct)) {
            found = part;
        } else {
            const QStringList entries = QDir(current).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
            for (const QString& e : entries) {
                if (e.compare(part, Qt::CaseInsensitive) == 0) {
                    found = e;
                    break;
                }
            }
        }
        if (found.isEmpty())
            return p; // nothing better: the caller's error will name the path it asked for
        current = IncludeTrailingPathDelimiter(current) + found;
        result += found;
        if (i + 1 < parts.size())
            result += QLatin1Char('/');
    }
    return result;
}

bool FileExists(const QString& path)
{
    QFileInfo fi(ResolvePathCase(path));
    return fi.exists() && !fi.isDir();
}

namespace {
QString OpenFailureReason(const QString& path, int err)
{
    // The system calls a link whose file is gone missing; the user sees the link.
    struct stat st {};
    if (err == ENOENT && lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISLNK(st.st_mode))
        return QStringLiteral("symbolický odkaz vede na soubor, který neexistuje");
    // Where the folder is missing as well, the file is not the only thing missing.
    if (err == ENOENT && !QFileInfo(QFileInfo(path).absolutePath()).isDir())
        return SystemErrorText(ENOENT);
    return ReadErrorText(err);
}

// Files built into the program (":/...") are Qt's to open.
bool IsResourcePath(const QString& path) { return path.startsWith(QLatin1Char(':')); }

// Writes all bytes or gives the system's error number.
int WriteAll(int fd, const char* data, qint64 size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(std::min<qint64>(size, 1 << 30)));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return ENOSPC;
        data += n;
        size -= n;
    }
    return 0;
}

// A temporary file beside the one being saved; removed again unless it was
// renamed into place.
class TTempFile {
public:
    ~TTempFile()
    {
        if (Fd >= 0)
            ::close(Fd);
        if (!Name.isEmpty())
            ::unlink(Name.constData());
    }
    // 0 when made, else the system's error number.
    int Create(const QString& beside)
    {
        const QFileInfo info(beside);
        // Short enough that the longest allowed name still leaves room for the rest.
        const QByteArray base = QFile::encodeName(info.fileName()).left(100);
        const QByteArray folder = QFile::encodeName(info.absolutePath());
        for (int attempt = 0; attempt < 100; ++attempt) {
            const QByteArray name = folder + "/.~" + base + '.' +
                                    QByteArray::number(QRandomGenerator::global()->generate(), 16) + ".tmp";
            const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd >= 0) {
                Fd = fd;
                Name = name;
                return 0;
            }
            if (errno != EEXIST && errno != EINTR)
                return errno;
        }
        return EEXIST;
    }
    // Closes the file; the system may report a failed write only here.
    int Close()
    {
        const int fd = Fd;
        Fd = -1;
        return ::close(fd) == 0 || errno == EINTR ? 0 : errno;
    }
    int Fd = -1;
    QByteArray Name;
};
} // namespace

void OpenFileForReading(QFile& file, const QString& fileName)
{
    const QString path = ResolvePathCase(fileName);
    file.setFileName(path);
    if (IsResourcePath(path)) {
        if (!file.open(QIODevice::ReadOnly))
            throw EFileError(
                QStringLiteral("Soubor \"%1\" nelze otevřít: %2.").arg(fileName, ReadErrorText(ENOENT)));
        return;
    }
    // Opened here rather than by QFile, which keeps no reason for a failure
    // and opens a folder as if it were a file.
    const QByteArray native = QFile::encodeName(path);
    int fd = -1;
    do
        fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC);
    while (fd < 0 && errno == EINTR);
    int err = fd < 0 ? errno : 0;
    struct stat st {};
    if (fd >= 0 && fstat(fd, &st) == 0 && S_ISDIR(st.st_mode))
        err = EISDIR;
    if (fd >= 0 && err == 0 && !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        err = EIO;
    if (err != 0) {
        if (fd >= 0)
            ::close(fd);
        throw EFileError(
            QStringLiteral("Soubor \"%1\" nelze otevřít: %2.").arg(fileName, OpenFailureReason(path, err)));
    }
}

void SaveFileSafely(const QString& path, const std::function<void(QIODevice&)>& write, const QString& shownName)
{
    const QString& name = shownName.isEmpty() ? path : shownName;
    // A name that is a link is saved through to the file it points to, keeping
    // the link; a dangling link creates its target.
    QString target = path;
    for (int hops = 0; hops < 40 && QFileInfo(target).isSymLink(); ++hops)
        target = QFileInfo(target).symLinkTarget();
    const QFileInfo old(target);
    const bool hadOld = old.exists() && !old.isDir();
    auto fail = [&](const QString& reason) {
        QString text = QStringLiteral("Soubor \"%1\" nelze uložit: %2.").arg(name, reason);
        if (hadOld)
            text += QStringLiteral(" Původní soubor zůstal beze změny.");
        throw EFileError(text);
    };
    if (old.isDir())
        fail(SystemErrorText(EISDIR));
    // A file marked read-only stays as it is, also for a user the system would
    // let replace it (the saved file is renamed over the old one).
    if (hadOld && !(old.permissions() & QFileDevice::WriteOwner))
        fail(QStringLiteral("soubor je jen pro čtení"));
    // Renaming over a device, a pipe or a socket would replace it with a plain file.
    if ((hadOld && !old.isFile()) || QFileInfo(target).isSymLink())
        fail(QStringLiteral("nejde o obyčejný soubor"));
    // The content is made in memory first, so that a failed write is the
    // system's alone and comes with the system's reason.
    QBuffer content;
    content.open(QIODevice::WriteOnly);
    try {
        write(content);
    } catch (const Exception& e) {
        fail(e.Message());
    }
    const QByteArray& bytes = content.data();
    // Every step is checked, the last write, the sync and the close included: a
    // full disk may show only there, and the old file must then stay.
    const QByteArray native = QFile::encodeName(target);
    TTempFile temp;
    if (const int err = temp.Create(target); err != 0)
        fail(WriteFailureReason(target, err));
    struct stat oldStat {};
    if (hadOld && ::stat(native.constData(), &oldStat) == 0) {
        // The saved file keeps the old one's permissions (and its owner, where allowed).
        fchmod(temp.Fd, oldStat.st_mode & 07777);
        if (fchown(temp.Fd, oldStat.st_uid, oldStat.st_gid) != 0) {
            // Only the system's administrator may give a file away; the file then is the user's.
        }
    }
    int err = WriteAll(temp.Fd, bytes.constData(), bytes.size());
    if (err == 0 && fsync(temp.Fd) != 0 && errno != EINVAL)
        err = errno;
    if (const int closeErr = temp.Close(); err == 0)
        err = closeErr;
    if (err == 0 && ::rename(temp.Name.constData(), native.constData()) != 0)
        err = errno;
    if (err != 0)
        fail(WriteFailureReason(target, err, bytes.size()));
    temp.Name.clear(); // in place now
    // The new name itself reaches the disk.
    const QByteArray folder = QFile::encodeName(old.absolutePath());
    if (const int dirFd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dirFd >= 0) {
        fsync(dirFd);
        ::close(dirFd);
    }
}

bool DirectoryExists(const QString& path)
{
    QFileInfo fi(ResolvePathCase(path));
    return fi.exists() && fi.isDir();
}

QString AnsiToUnicode(const QByteArray& bytes)
{
    QString s;
    s.reserve(bytes.size());
    for (char ch : bytes) {
        const unsigned char b = static_cast<unsigned char>(ch);
        if (b < 0x80)
            s.append(QChar(b));
        else {
            const char16_t u = kCp1250High[b - 0x80];
            s.append(QChar(u ? u : 0xFFFD));
        }
    }
    return s;
}

QByteArray UnicodeToAnsi(const QString& text)
{
    QByteArray out;
    out.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80) {
            out.append(static_cast<char>(u));
            continue;
        }
        char b = '?';
        for (int i = 0; i < 128; ++i) {
            if (kCp1250High[i] == u) {
                b = static_cast<char>(0x80 + i);
                break;
            }
        }
        out.append(b);
    }
    return out;
}

bool IsAsciiOnly(const QString& text)
{
    for (QChar c : text)
        if (c.unicode() >= 0x80)
            return false;
    return true;
}

QString ToLineFeeds(const QString& text)
{
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t;
}

QStringList SplitLines(const QString& text)
{
    QStringList lines = ToLineFeeds(text).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QString DecodeText(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString s = utf8.decode(bytes);
    if (!utf8.hasError()) {
        if (s.startsWith(QChar(0xFEFF)))
            s.remove(0, 1);
        return s;
    }
    return AnsiToUnicode(bytes);
}

namespace {
QString TooLarge(const QString& fileName, qint64 size, qint64 maxBytes)
{
    const qint64 mb = 1024 * 1024;
    return QStringLiteral("Soubor „%1“ je příliš velký (%2 MB); soubor tohoto druhu smí mít nejvýše %3 MB.")
        .arg(fileName)
        .arg((size + mb - 1) / mb)
        .arg(maxBytes / mb);
}
} // namespace

QString WholeFileRefusal(const QString& fileName, qint64 maxBytes)
{
    if (IsResourcePath(fileName)) {
        const QFileInfo info(fileName);
        return info.size() > maxBytes ? TooLarge(fileName, info.size(), maxBytes) : QString();
    }
    // What cannot be looked at (missing, a folder, no permission) the open names.
    struct stat st {};
    if (::stat(QFile::encodeName(ResolvePathCase(fileName)).constData(), &st) != 0 || S_ISDIR(st.st_mode))
        return QString();
    if (!S_ISREG(st.st_mode))
        return QStringLiteral("„%1“ není obyčejný soubor a nelze jej přečíst.").arg(fileName);
    return st.st_size > maxBytes ? TooLarge(fileName, st.st_size, maxBytes) : QString();
}

QByteArray ReadWholeFile(const QString& fileName, qint64 maxBytes)
{
    if (const QString why = WholeFileRefusal(fileName, maxBytes); !why.isEmpty())
        throw EFileError(why);
    QFile f;
    OpenFileForReading(f, fileName);
    QByteArray bytes = f.read(std::min(f.size(), maxBytes));
    // A file that grew past the limit since it was looked at is refused all the same.
    if (!f.atEnd())
        throw EFileError(TooLarge(fileName, f.size(), maxBytes));
    return bytes;
}
