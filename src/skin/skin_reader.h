#pragma once
// Reader of skin archives: an LZHUF-packed container of named entries (the
// bitmaps of a skin and its INI description).

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

// Why an archive was refused.
enum class TSkinReadError {
    None,
    Empty,          // no bytes at all
    SizeHeader,     // the size header claims nothing, or more than the code could hold
    NotAnArchive,   // the unpacked data is not a skin container of any version
    OlderVersion,   // a container of an earlier format version
    Damaged,        // the name block or the size table does not fit the data
};

class TSkinReader {
public:
    static constexpr int MaxEntries = 1001;
    static constexpr int32_t FormatVersion = 20000;

    TSkinReader() = default;

    // Decodes the whole source and splits it into entries. False for an archive
    // of another version, or one whose header, name block or size table does
    // not fit the data, after telling the user why; nothing is then held.
    bool LoadFromStream(const QByteArray& source);
    // The same for archive data already decoded (the container itself).
    bool LoadFromUnpacked(const QByteArray& unpacked);

    // The entry called name (any letter case) into dest; dest empty when absent.
    void ExtractByName(const QString& name, QByteArray& dest) const;
    // The first entry whose name contains part into dest, its name into entryName.
    void ExtractByPart(const QString& part, QByteArray& dest, QString& entryName) const;

    // Unpacks an archive file. False (dest empty) when the size header claims more
    // than the code stream could ever hold, which only a damaged file does, or
    // more than 256 MB.
    // truncated, when given, tells whether the code stream ended before the
    // stated size was reached, so that the end of dest is made up.
    static bool Decompress(const QByteArray& source, QByteArray& dest, bool* truncated = nullptr);

    // The file the archive came from, named in the message of a refusal.
    void SetSourceName(const QString& name) { FSourceName = name; }
    // Off: a refusal is only kept in FailureMessage, for the caller to show
    // once it has put its own state back.
    void SetReportFailures(bool report) { FReportFailures = report; }
    TSkinReadError Error() const { return FError; }
    // The archive loaded, but its code stream was cut short: the entries at
    // its end hold made-up bytes.
    bool Truncated() const { return FTruncated; }
    // The message of the last refusal, empty after a success.
    QString FailureMessage() const;

    const QStringList& Names() const { return FNames; }
    int Count() const { return FCount; }
    int32_t Size(int index) const { return FSizes.at(static_cast<size_t>(index)); }
    const QByteArray& Data() const { return FData; }
    int32_t Version() const { return FVersion; }
    int32_t NameBlockLength() const { return FNameBlockLength; }
    int32_t Reserved1() const { return FReserved1; }
    int32_t Reserved2() const { return FReserved2; }

    // Lines of text ended by CR LF, a lone CR or a lone LF; a last line without
    // an end still counts, an empty line is a line.
    static QList<QByteArray> SplitLines(const QByteArray& text);
    // Lower-cases ASCII letters only, as the archive's names are compared.
    static QString LowerAscii(const QString& text);

private:
    void Clear();
    bool Fail(TSkinReadError error);

    QStringList FNames;
    int FCount = 0;
    std::array<int32_t, MaxEntries> FSizes{};
    QByteArray FData;
    int32_t FVersion = 0;
    int32_t FNameBlockLength = 0;
    int32_t FReserved1 = 0;
    int32_t FReserved2 = 0;
    QString FSourceName;
    bool FReportFailures = true;
    TSkinReadError FError = TSkinReadError::None;
    bool FTruncated = false;
};

// The two lines shown for an archive of another format version.
QString OlderSkinMessage();
// What the user is told when a skin cannot be used: the file (when there is
// one), what is wrong with it, and that the skin in effect stays.
QString SkinRefusedMessage(const QString& fileName, const QString& reason);
// The reason text of a refused archive.
QString SkinReadErrorText(TSkinReadError error);
