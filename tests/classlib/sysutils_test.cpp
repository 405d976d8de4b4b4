#include "classlib/sysutils.h"
#include "classlib/system_errors.h"
#include "test_support.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <sys/stat.h>
#include <cerrno>
#include <limits>
#include <gtest/gtest.h>

TEST(SysUtils, FloatTextUsesCommaAndNoTrailingZeros)
{
    SetDecimalSeparator(QLatin1Char(','));
    EXPECT_EQ(FloatToStr(118.0), "118");
    EXPECT_EQ(FloatToStr(44.5), "44,5");
    EXPECT_EQ(FloatToStr(0.1), "0,1");
    EXPECT_EQ(FloatToStr(-21.8), "-21,8");
    EXPECT_EQ(FloatToStr(1.0 / 3.0), "0,333333333333333");
    EXPECT_DOUBLE_EQ(StrToFloat("44,5"), 44.5);
    EXPECT_DOUBLE_EQ(StrToFloat(" 118 "), 118.0);
    EXPECT_THROW(StrToFloat("44.5"), EConvertError);
    EXPECT_THROW(StrToFloat("abc"), EConvertError);
    EXPECT_THROW(StrToFloat(""), EConvertError);
}

TEST(SysUtils, IntegerText)
{
    EXPECT_EQ(StrToInt("42"), 42);
    EXPECT_EQ(StrToInt("-7"), -7);
    EXPECT_EQ(StrToInt("$FF"), 255);
    EXPECT_EQ(StrToInt("  3"), 3);
    EXPECT_THROW(StrToInt("3 "), EConvertError);
    EXPECT_THROW(StrToInt("1,5"), EConvertError);
    EXPECT_THROW(StrToInt("99999999999"), EConvertError);
    EXPECT_EQ(StrToIntDef("x", 9), 9);
}

TEST(SysUtils, TrimTakesBlanksAndControlCharacters)
{
    EXPECT_EQ(Trim(QString::fromUtf8("\x01\t a b \x1f")), QStringLiteral("a b"));
}

TEST(SysUtils, MulDivRoundsToNearest)
{
    EXPECT_EQ(MulDiv(100, 200, 100), 200);
    EXPECT_EQ(MulDiv(100, 100, 200), 50);
    EXPECT_EQ(MulDiv(3, 1, 2), 2);   // 1.5 -> 2
    EXPECT_EQ(MulDiv(-3, 1, 2), -2); // -1.5 -> -2
    EXPECT_EQ(MulDiv(10, 2, 3), 7);  // 6.67 -> 7
    EXPECT_EQ(MulDiv(2000000000, 3, 4), 1500000000); // no 32-bit overflow
    EXPECT_EQ(MulDiv(1, 1, 0), -1);
    EXPECT_EQ(Round(2.5), 2); // banker's rounding
    EXPECT_EQ(Round(3.5), 4);
}

TEST(SysUtils, FileNamePieces)
{
    EXPECT_EQ(ExtractFileName("/a/b/c.tvk"), "c.tvk");
    EXPECT_EQ(ExtractFilePath("/a/b/c.tvk"), "/a/b/");
    EXPECT_EQ(ExtractFileDir("/a/b/c.tvk"), "/a/b");
    EXPECT_EQ(ExtractFileExt("/a/b.x/c.tvk"), ".tvk");
    EXPECT_EQ(ExtractFileExt("/a/b.x/c"), "");
    EXPECT_EQ(ExtractFileName("C:\\x\\y.jpg"), "y.jpg");
}

// The code page table must agree with the system's own converter.
TEST(SysUtils, Windows1250MatchesIconv)
{
    QByteArray all;
    for (int b = 0x80; b <= 0xFF; ++b)
        if (b != 0x81 && b != 0x83 && b != 0x88 && b != 0x90 && b != 0x98)
            all.append(static_cast<char>(b));
    QProcess iconv;
    iconv.start("iconv", {"-f", "CP1250", "-t", "UTF-8"});
    ASSERT_TRUE(iconv.waitForStarted());
    iconv.write(all);
    iconv.closeWriteChannel();
    ASSERT_TRUE(iconv.waitForFinished());
    const QString expected = QString::fromUtf8(iconv.readAllStandardOutput());
    EXPECT_EQ(AnsiToUnicode(all), expected);
    EXPECT_EQ(UnicodeToAnsi(expected), all);
}

TEST(SysUtils, DecodeTextTakesUtf8OrWindows1250)
{
    const QString czech = QStringLiteral("Žluťoučký kůň");
    EXPECT_EQ(DecodeText(czech.toUtf8()), czech);
    EXPECT_EQ(DecodeText(UnicodeToAnsi(czech)), czech);
    EXPECT_FALSE(IsAsciiOnly(czech));
    EXPECT_TRUE(IsAsciiOnly("Text"));
}

TEST(SysUtils, ASaveGoesThroughALinkButNeverReplacesASpecialFile)
{
    const QString dir = TestSupport::MakeTempDir();
    // A link to a regular file: the target gets the new content, the link stays.
    const QString target = dir + QStringLiteral("/cil.tvk");
    const QString link = dir + QStringLiteral("/odkaz.tvk");
    SaveFileSafely(target, [](QIODevice& f) { f.write("stary"); });
    ASSERT_TRUE(QFile::link(target, link));
    SaveFileSafely(link, [](QIODevice& f) { f.write("novy"); });
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(TestSupport::ReadFile(target), QByteArray("novy"));
    // A pipe, named directly or through a link, stays a pipe and the save is refused.
    const QString fifo = dir + QStringLiteral("/roura");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString fifoLink = dir + QStringLiteral("/roura.ini");
    ASSERT_TRUE(QFile::link(fifo, fifoLink));
    for (const QString& name : {fifo, fifoLink}) {
        try {
            SaveFileSafely(name, [](QIODevice& f) { f.write("x"); });
            FAIL() << "a pipe was replaced through " << name.toStdString();
        } catch (const EFileError& e) {
            EXPECT_EQ(e.Message(), QStringLiteral("Soubor \"%1\" nelze uložit: nejde o obyčejný soubor. "
                                                  "Původní soubor zůstal beze změny.").arg(name));
        }
    }
    struct stat st {};
    ASSERT_EQ(lstat(QFile::encodeName(fifo).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    EXPECT_TRUE(QFileInfo(fifoLink).isSymLink());
}

TEST(SysUtils, AFailedSaveSaysWhichFileAndWhyInCzech)
{
    const QString dir = TestSupport::MakeTempDir();
    // A folder that is not there: nothing is written, the message names the file.
    const QString missing = dir + QStringLiteral("/chybi/soubor.txt");
    try {
        SaveFileSafely(missing, [](QIODevice& f) { f.write("x"); });
        FAIL() << "saved into a missing folder";
    } catch (const EFileError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Soubor \"%1\" nelze uložit: soubor nebo složka neexistuje.").arg(missing));
    }
    // A failure while the content is made names the file and keeps the old one.
    const QString file = dir + QStringLiteral("/stary.txt");
    SaveFileSafely(file, [](QIODevice& f) { f.write("stary"); });
    try {
        SaveFileSafely(file, [](QIODevice&) { throw EInvalidGraphic(QStringLiteral("obrázek nelze zakódovat")); });
        FAIL() << "a failed content was saved";
    } catch (const EFileError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Soubor \"%1\" nelze uložit: obrázek nelze zakódovat. "
                                              "Původní soubor zůstal beze změny.").arg(file));
    }
    EXPECT_EQ(TestSupport::ReadFile(file), QByteArray("stary"));
    // A file where a folder should be.
    const QString under = file + QStringLiteral("/pod.txt");
    try {
        SaveFileSafely(under, [](QIODevice& f) { f.write("x"); });
        FAIL() << "saved under a file";
    } catch (const EFileError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Soubor \"%1\" nelze uložit: část cesty není složka.").arg(under));
    }
    // The reasons the system gives, and what the folder tells when it gives none.
    EXPECT_EQ(SystemErrorText(ENOSPC), QStringLiteral("na disku není dost místa"));
    EXPECT_EQ(SystemErrorText(EROFS), QStringLiteral("disk nebo složka je jen pro čtení"));
    EXPECT_EQ(WriteFailureReason(missing, 0), QStringLiteral("soubor nebo složka neexistuje"));
    EXPECT_EQ(WriteFailureReason(file + QStringLiteral("/pod"), 0), QStringLiteral("část cesty není složka"));
    EXPECT_EQ(WriteFailureReason(file, 0, std::numeric_limits<qint64>::max()), QStringLiteral("na disku není dost místa"));
}

namespace {
int ModeOf(const QString& file)
{
    struct stat st {};
    return ::stat(QFile::encodeName(file).constData(), &st) == 0 ? static_cast<int>(st.st_mode & 07777) : -1;
}
} // namespace

TEST(SysUtils, ASmallSaveOntoAFullDiskFailsAndKeepsTheOldFile)
{
    // A save smaller than any write buffer fails only when the file is flushed
    // at its end: on a full file system and under a file-size limit alike.
    const QByteArray old(3269, 'o');
    const QByteArray replacement(3000, 'n');
    for (bool noMount : {false, true}) {
        SCOPED_TRACE(noMount ? "file-size limit" : "small file system");
        if (noMount)
            qputenv("TV_TEST_NO_MOUNT", "1");
        const QString dir = TestSupport::MakeTempDir() + QStringLiteral("/disk");
        TestSupport::TFullDisk disk(dir);
        qunsetenv("TV_TEST_NO_MOUNT");
        const QString file = dir + QStringLiteral("/navrh.tvk");
        const QString fresh = dir + QStringLiteral("/novy.tvk");
        SaveFileSafely(file, [&](QIODevice& f) { f.write(old); });
        ASSERT_TRUE(QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        disk.Fill();
        QStringList messages;
        for (const QString& name : {file, fresh}) {
            try {
                SaveFileSafely(name, [&](QIODevice& f) { f.write(replacement); });
            } catch (const EFileError& e) {
                messages << e.Message();
            }
        }
        disk.Release();
        ASSERT_EQ(messages.size(), 2);
        EXPECT_EQ(messages[0], QStringLiteral("Soubor \"%1\" nelze uložit: %2. Původní soubor zůstal beze změny.")
                                   .arg(file, disk.Reason()));
        EXPECT_EQ(messages[1], QStringLiteral("Soubor \"%1\" nelze uložit: %2.").arg(fresh, disk.Reason()));
        EXPECT_EQ(TestSupport::ReadFile(file), old);
        EXPECT_EQ(ModeOf(file), 0600);
        EXPECT_FALSE(QFileInfo::exists(fresh));
        // No half-written temporary file is left behind.
        EXPECT_EQ(QDir(dir).entryList(QDir::Files | QDir::Hidden), QStringList({"navrh.tvk"}));
        // With room again the save goes through and keeps the file's permissions.
        SaveFileSafely(file, [&](QIODevice& f) { f.write(replacement); });
        EXPECT_EQ(TestSupport::ReadFile(file), replacement);
        EXPECT_EQ(ModeOf(file), 0600);
    }
}

TEST(SysUtils, AFileThatCannotBeOpenedSaysWhyInTheWordsOfReading)
{
    const QString dir = TestSupport::MakeTempDir();
    const QString file = dir + QStringLiteral("/soubor.tvk");
    SaveFileSafely(file, [](QIODevice& f) { f.write("obsah"); });
    const QString missing = dir + QStringLiteral("/chybi.tvk");
    const QString folder = dir + QStringLiteral("/slozka.tvk");
    ASSERT_TRUE(QDir().mkdir(folder));
    const QString loop = dir + QStringLiteral("/smycka.tvk");
    ASSERT_TRUE(QFile::link(loop, loop));
    const QString dangling = dir + QStringLiteral("/odkaz.tvk");
    ASSERT_TRUE(QFile::link(missing, dangling));
    auto openError = [](const QString& name) {
        try {
            QFile f;
            OpenFileForReading(f, name);
            return QString();
        } catch (const EFileError& e) {
            return e.Message();
        }
    };
    auto expected = [](const QString& name, const char* reason) {
        return QStringLiteral("Soubor \"%1\" nelze otevřít: %2.").arg(name, QString::fromUtf8(reason));
    };
    EXPECT_EQ(openError(missing), expected(missing, "soubor neexistuje"));
    EXPECT_EQ(openError(folder), expected(folder, "je to složka, ne soubor"));
    EXPECT_EQ(openError(loop), expected(loop, "symbolické odkazy tvoří smyčku"));
    EXPECT_EQ(openError(dangling), expected(dangling, "symbolický odkaz vede na soubor, který neexistuje"));
    EXPECT_EQ(openError(file + QStringLiteral("/pod")), expected(file + QStringLiteral("/pod"), "část cesty není složka"));
    {
        TestSupport::TReadDenied denied(file);
        EXPECT_EQ(openError(file), expected(file, "nemáte oprávnění ke čtení tohoto souboru"));
    }
    EXPECT_EQ(openError(file), QString());
    EXPECT_EQ(ReadWholeFile(file, 100), QByteArray("obsah"));
    // Whole-file reads say the same.
    try {
        ReadWholeFile(folder, 100);
        ADD_FAILURE() << "a folder was read";
    } catch (const EFileError& e) {
        EXPECT_EQ(e.Message(), expected(folder, "je to složka, ne soubor"));
    }
    // Reading and writing each have their own words for a missing permission.
    EXPECT_EQ(ReadErrorText(EACCES), QStringLiteral("nemáte oprávnění ke čtení tohoto souboru"));
    EXPECT_EQ(SystemErrorText(EACCES), QStringLiteral("k tomuto místu nemáte oprávnění k zápisu"));
    // A save onto a name that has become a folder names the folder, and leaves it.
    try {
        SaveFileSafely(folder, [](QIODevice& f) { f.write("x"); });
        ADD_FAILURE() << "saved over a folder";
    } catch (const EFileError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Soubor \"%1\" nelze uložit: pod tímto názvem je složka.").arg(folder));
    }
    EXPECT_TRUE(QFileInfo(folder).isDir());
}
