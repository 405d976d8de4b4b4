#include "skin/skin_reader.h"

#include "classlib/sysutils.h"
#include "skin/lzh.h"
#include "skin/skin_message.h"

#include <cstring>

namespace {
int32_t ReadInt32(const QByteArray& data, int64_t offset)
{
    // Bytes past the end read as 0, as the decoder gives them.
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) {
        const int64_t at = offset + i;
        const uint8_t b = at < data.size() ? static_cast<uint8_t>(data[static_cast<qsizetype>(at)]) : 0;
        v |= static_cast<uint32_t>(b) << (8 * i);
    }
    return static_cast<int32_t>(v);
}

// A code symbol takes at least one bit; a match (at most 60 bytes) takes at
// least ten with its position. A complete stream of n bytes thus unpacks to at
// most 48 n bytes, plus one last match.
int64_t MaxUnpackedSize(int64_t codeBytes)
{
    return codeBytes * 48 + Lzhuf::F;
}

// Far above any skin; a larger claim is a damaged or hostile file.
constexpr int64_t kMaxArchiveData = int64_t(256) << 20;
} // namespace

QString OlderSkinMessage()
{
    return QStringLiteral("This is Older Skin File") + QChar(13) + QStringLiteral("Please update to new version !");
}

QString SkinRefusedMessage(const QString& fileName, const QString& reason)
{
    QString text;
    if (!fileName.isEmpty())
        text = QStringLiteral("Skin \"%1\" nelze použít.").arg(fileName) + QChar(13);
    text += reason;
    if (!fileName.isEmpty())
        text += QChar(13) + QStringLiteral("Zůstává dosavadní vzhled programu.");
    return text;
}

QString SkinReadErrorText(TSkinReadError error)
{
    switch (error) {
    case TSkinReadError::None:
        break;
    case TSkinReadError::Empty:
        return QStringLiteral("Soubor je prázdný.");
    case TSkinReadError::SizeHeader:
        return QStringLiteral("Hlavička souboru udává nemožnou velikost dat, soubor není archiv skinu nebo je poškozený.");
    case TSkinReadError::NotAnArchive:
        return QStringLiteral("Soubor není archiv skinu nebo je poškozený.");
    case TSkinReadError::OlderVersion:
        return OlderSkinMessage();
    case TSkinReadError::Damaged:
        return QStringLiteral("Archiv skinu je poškozený: seznam položek nesouhlasí s daty.");
    }
    return QString();
}

bool TSkinReader::Fail(TSkinReadError error)
{
    Clear();
    FError = error;
    if (FReportFailures)
        SkinShowMessage(FailureMessage());
    return false;
}

QString TSkinReader::FailureMessage() const
{
    if (FError == TSkinReadError::None)
        return QString();
    return SkinRefusedMessage(FSourceName, SkinReadErrorText(FError));
}

QString TSkinReader::LowerAscii(const QString& text)
{
    QString s = text;
    for (QChar& c : s) {
        if (c.unicode() >= 'A' && c.unicode() <= 'Z')
            c = QChar(static_cast<char16_t>(c.unicode() + ('a' - 'A')));
    }
    return s;
}

QList<QByteArray> TSkinReader::SplitLines(const QByteArray& text)
{
    QList<QByteArray> lines;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        const qsizetype start = i;
        while (i < n && text[i] != '\r' && text[i] != '\n')
            ++i;
        lines.append(text.mid(start, i - start));
        if (i < n && text[i] == '\r')
            ++i;
        if (i < n && text[i] == '\n')
            ++i;
    }
    return lines;
}

bool TSkinReader::Decompress(const QByteArray& source, QByteArray& dest, bool* truncated)
{
    dest.clear();
    if (truncated)
        *truncated = false;
    const int32_t size = ReadInt32(source, 0);
    const int64_t codeBytes = std::max<int64_t>(0, source.size() - 4);
    if (size > MaxUnpackedSize(codeBytes) || size > kMaxArchiveData)
        return false;
    if (size > 0)
        dest.reserve(std::min<int64_t>(size, int64_t(16) << 20));
    qsizetype pos = 4;
    TLZH lzh;
    lzh.LZHDecode(
        size,
        [&dest](const uint8_t* buffer, int count) { dest.append(reinterpret_cast<const char*>(buffer), count); },
        [&source, &pos](uint8_t* buffer, int wanted) {
            const qsizetype n = std::min<qsizetype>(wanted, source.size() - pos);
            if (n <= 0)
                return 0;
            std::memcpy(buffer, source.constData() + pos, static_cast<size_t>(n));
            pos += n;
            return static_cast<int>(n);
        });
    if (truncated)
        *truncated = lzh.ReadPastEnd();
    return true;
}

void TSkinReader::Clear()
{
    FNames.clear();
    FCount = 0;
    FTruncated = false;
    FSizes.fill(0);
    FData.clear();
}

bool TSkinReader::LoadFromStream(const QByteArray& source)
{
    Clear();
    FError = TSkinReadError::None;
    if (source.isEmpty())
        return Fail(TSkinReadError::Empty);
    // Less than the container's own header cannot be a skin.
    if (ReadInt32(source, 0) < 16)
        return Fail(TSkinReadError::SizeHeader);
    QByteArray unpacked;
    bool truncated = false;
    if (!Decompress(source, unpacked, &truncated))
        return Fail(TSkinReadError::SizeHeader);
    if (!LoadFromUnpacked(unpacked))
        return false;
    FTruncated = truncated;
    return true;
}

bool TSkinReader::LoadFromUnpacked(const QByteArray& unpacked)
{
    Clear();
    FError = TSkinReadError::None;
    FVersion = ReadInt32(unpacked, 0);
    FNameBlockLength = ReadInt32(unpacked, 4);
    FReserved1 = ReadInt32(unpacked, 8);
    FReserved2 = ReadInt32(unpacked, 12);
    // Only an earlier version number marks an old skin; anything else in its
    // place is not a skin container at all.
    if (FVersion > 0 && FVersion < FormatVersion)
        return Fail(TSkinReadError::OlderVersion);
    if (FVersion != FormatVersion)
        return Fail(TSkinReadError::NotAnArchive);

    // The format gives no archive whose parts do not fit; such a file is refused.
    const int64_t total = unpacked.size();
    const int64_t nameBlockEnd = 16 + static_cast<int64_t>(FNameBlockLength);
    if (FNameBlockLength < 0 || nameBlockEnd > total)
        return Fail(TSkinReadError::Damaged);
    QByteArray block = unpacked.mid(16, FNameBlockLength);
    for (char& c : block) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + ('a' - 'A'));
    }
    const QList<QByteArray> lines = SplitLines(block);
    if (lines.size() > MaxEntries)
        return Fail(TSkinReadError::Damaged);
    const int count = static_cast<int>(lines.size());
    const int64_t dataStart = nameBlockEnd + 4 * static_cast<int64_t>(count);
    if (dataStart > total)
        return Fail(TSkinReadError::Damaged);
    int64_t sum = 0;
    for (int i = 0; i < count; ++i) {
        const int32_t size = ReadInt32(unpacked, nameBlockEnd + 4 * i);
        if (size < 0)
            return Fail(TSkinReadError::Damaged);
        FSizes[static_cast<size_t>(i)] = size;
        sum += size;
    }
    if (sum > total - dataStart)
        return Fail(TSkinReadError::Damaged);

    for (const QByteArray& line : lines)
        FNames.append(DecodeText(line));
    FCount = count;
    FData = unpacked.mid(static_cast<qsizetype>(dataStart));
    return true;
}

void TSkinReader::ExtractByName(const QString& name, QByteArray& dest) const
{
    dest.clear();
    const QString wanted = LowerAscii(name);
    int64_t offset = 0;
    for (int i = 0; i < FCount; ++i) {
        const int32_t size = FSizes[static_cast<size_t>(i)];
        if (FNames[i] == wanted) {
            dest = FData.mid(static_cast<qsizetype>(offset), size);
            return;
        }
        offset += size;
    }
}

void TSkinReader::ExtractByPart(const QString& part, QByteArray& dest, QString& entryName) const
{
    dest.clear();
    entryName.clear();
    int64_t offset = 0;
    for (int i = 0; i < FCount; ++i) {
        const int32_t size = FSizes[static_cast<size_t>(i)];
        if (FNames[i].contains(part)) {
            dest = FData.mid(static_cast<qsizetype>(offset), size);
            entryName = FNames[i];
            return;
        }
        offset += size;
    }
}
