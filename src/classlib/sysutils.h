#pragma once
// Small run-time helpers the rest of the program leans on: exceptions that end a
// command, number text with "," as decimal separator, file-name pieces, ANSI text.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <stdexcept>

class QFile;
class QIODevice;

// Base of every error that ends the current command with a message box.
class Exception : public std::exception {
public:
    explicit Exception(QString message) : FMessage(std::move(message)), FUtf8(FMessage.toUtf8()) {}
    const QString& Message() const { return FMessage; }
    const char* what() const noexcept override { return FUtf8.constData(); }

private:
    QString FMessage;
    QByteArray FUtf8;
};

class EConvertError : public Exception { using Exception::Exception; };
class EComponentError : public Exception { using Exception::Exception; };
class EInvalidOperation : public Exception { using Exception::Exception; };
class EFileError : public Exception { using Exception::Exception; };
class EInvalidGraphic : public Exception { using Exception::Exception; };
class EReadError : public Exception { using Exception::Exception; };

// Thrown to end a command silently (no message box), like the class library's Abort.
class EAbort : public Exception {
public:
    EAbort() : Exception(QStringLiteral("Operation aborted")) {}
};
[[noreturn]] void Abort();

// The decimal separator used by all number text of the program (FormCreate sets ",").
QChar DecimalSeparator();
void SetDecimalSeparator(QChar c);

// General float-to-text: up to 15 significant digits, no trailing zeros.
QString FloatToStr(double value);
// Text-to-float with the program's decimal separator; throws EConvertError.
double StrToFloat(const QString& text);
bool TryStrToFloat(const QString& text, double& value);
// Text-to-integer: optional sign, decimal or "$"/"0x" hex; throws EConvertError.
int StrToInt(const QString& text);
bool TryStrToInt(const QString& text, int& value);
int StrToIntDef(const QString& text, int def);
QString IntToStr(long long value);
// Blanks and control characters (up to U+0020) off both ends; other spaces stay.
QString Trim(const QString& text);

// Multiplies to 64 bits and rounds the quotient to the nearest integer
// (halves away from zero); -1 when the divisor is 0.
int MulDiv(int number, int numerator, int denominator);
// Banker's rounding, as the platform's Round.
long long Round(double value);
long long Trunc(double value);

// File-name pieces with "/" as separator (a "\" is accepted as well).
QString ExtractFileName(const QString& path);
QString ExtractFilePath(const QString& path);   // with trailing separator
QString ExtractFileDir(const QString& path);    // without trailing separator
QString ExtractFileExt(const QString& path);    // with the dot
QString IncludeTrailingPathDelimiter(const QString& path);
QString ExcludeTrailingPathDelimiter(const QString& path);
bool FileExists(const QString& path);
// Opens a file for reading (name resolved as ResolvePathCase does); EFileError says why not.
void OpenFileForReading(QFile& file, const QString& fileName);
// Writes a file beside the old one, syncs it and renames it over the old one, so a failed
// save (a full disk too) keeps the old file; a folder, read-only or special file stays.
// A link is saved through to its target and kept. Throws EFileError naming shownName (the
// path itself when empty) and the system's reason, in Czech.
void SaveFileSafely(const QString& path, const std::function<void(QIODevice&)>& write,
                    const QString& shownName = QString());
bool DirectoryExists(const QString& path);
// Resolves a path whose components may differ in letter case or use "\"
// from what is on disk; returns the path unchanged when nothing matches.
QString ResolvePathCase(const QString& path);

// The system's ANSI code page is Windows-1250.
QString AnsiToUnicode(const QByteArray& bytes);
QByteArray UnicodeToAnsi(const QString& text);   // unmappable characters become '?'
bool IsAsciiOnly(const QString& text);
// CR LF and a lone CR become LF.
QString ToLineFeeds(const QString& text);
// Lines split at CR LF, CR or LF; a final line break does not start another line.
QStringList SplitLines(const QString& text);
// Bytes that are valid UTF-8 are read as UTF-8, anything else as Windows-1250.
QString DecodeText(const QByteArray& bytes);

// Files read whole are refused before reading when they could never be what
// the program expects: larger than the limit of their kind, or no plain file
// at all (a device such as /dev/zero or a pipe would read forever or block).
constexpr qint64 MaxProjectFileBytes = 256LL * 1024 * 1024; // projects and styles
constexpr qint64 MaxPictureFileBytes = 256LL * 1024 * 1024;
constexpr qint64 MaxProfileFileBytes = 16LL * 1024 * 1024; // INI files: templates, language, settings
// Empty when the file may be read whole (a missing file too: opening it then
// fails as usual); otherwise the reason, in the program's words, naming it.
QString WholeFileRefusal(const QString& fileName, qint64 maxBytes);
// The whole file, or EFileError when it is refused or cannot be read.
QByteArray ReadWholeFile(const QString& fileName, qint64 maxBytes);
