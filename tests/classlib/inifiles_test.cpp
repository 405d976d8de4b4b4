#include "classlib/inifiles.h"
#include "classlib/sysutils.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {
QString WriteTemp(const QByteArray& bytes)
{
    const QString path = TestSupport::MakeTempDir() + "/t.ini";
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return path;
}
} // namespace

TEST(IniFile, MissingFileAndKeysGiveDefaults)
{
    TIniFile ini(TestSupport::MakeTempDir() + "/none.ini");
    EXPECT_EQ(ini.ReadString("Setting", "KorX", "d"), "d");
    EXPECT_EQ(ini.ReadInteger("Setting", "KorX", 7), 7);
    EXPECT_TRUE(ini.ReadBool("Setting", "SkinEnabled", true));
    EXPECT_FALSE(ini.SectionExists("Setting"));
}

TEST(IniFile, SectionsAndKeysIgnoreCaseEmptyValueIsEmpty)
{
    TIniFile ini(WriteTemp("; comment\r\n[czech]\r\n  Caption = Ahoj \r\nEmpty=\r\nquoted=\"  x \"\r\n[Other]\r\nCaption=Jiné\r\n"));
    EXPECT_EQ(ini.ReadString("Czech", "CAPTION", "Error"), "Ahoj");
    EXPECT_EQ(ini.ReadString("CZECH", "empty", "Error"), "");
    EXPECT_EQ(ini.ReadString("Czech", "quoted", ""), "  x ");
    EXPECT_EQ(ini.ReadString("Czech", "missing", "Error"), "Error");
    EXPECT_EQ(ini.ReadString("other", "caption", ""), QString::fromUtf8("Jiné"));
}

TEST(IniFile, ReadsWindows1250AndUtf8Alike)
{
    const QString text = QString::fromUtf8("[Czech]\nsDotaz=Dotaz – uložit změny?\n");
    TIniFile utf8(WriteTemp(text.toUtf8()));
    TIniFile ansi(WriteTemp(UnicodeToAnsi(text)));
    EXPECT_EQ(utf8.ReadString("Czech", "sDotaz", ""), QString::fromUtf8("Dotaz – uložit změny?"));
    EXPECT_EQ(ansi.ReadString("Czech", "sDotaz", ""), QString::fromUtf8("Dotaz – uložit změny?"));
}

TEST(IniFile, WritesKeepTheRestOfTheFile)
{
    const QString path = WriteTemp("; keep me\n[Setting]\nKorX=1\nOther=x\n\n[Next]\nA=b\n");
    TIniFile ini(path);
    ini.WriteInteger("setting", "korx", -3);
    ini.WriteInteger("Setting", "KorY", 4);
    ini.WriteBool("New", "SkinEnabled", false);
    EXPECT_EQ(ini.ReadInteger("Setting", "KorX", 0), -3);
    EXPECT_EQ(ini.ReadInteger("Setting", "KorY", 0), 4);
    EXPECT_FALSE(ini.ReadBool("New", "SkinEnabled", true));
    EXPECT_EQ(ini.ReadString("Next", "A", ""), "b");
    EXPECT_EQ(ini.ReadString("Setting", "Other", ""), "x");
    const QString all = QString::fromUtf8(TestSupport::ReadFile(path));
    EXPECT_TRUE(all.startsWith("; keep me"));
    EXPECT_LT(all.indexOf("KorY=4"), all.indexOf("[Next]"));
    TStringList keys;
    ini.ReadSection("Setting", keys);
    EXPECT_EQ(keys.ToQStringList(), QStringList({"korx", "Other", "KorY"}));
}

TEST(IniFile, WriteCreatesFileAndFolder)
{
    const QString path = TestSupport::MakeTempDir() + "/sub/dir/velkaro3.ini";
    TIniFile ini(path);
    ini.WriteString("Setting", "SkinFileName", "/x/y.skn");
    EXPECT_EQ(TIniFile(path).ReadString("Setting", "SkinFileName", ""), "/x/y.skn");
}

TEST(StringList, TextSplitsAllLineBreaksAndJoinsWithCrLf)
{
    TStringList l;
    l.SetText("a\r\nb\rc\nd\r\n");
    EXPECT_EQ(l.Count(), 4);
    EXPECT_EQ(l.Text(), "a\r\nb\r\nc\r\nd\r\n");
    l.SetCommaText("x,\"y z\",\"q\"\"\"");
    EXPECT_EQ(l.ToQStringList(), QStringList({"x", "y z", "q\""}));
    l.SetText("TLabel=panel\nTEdit=edit");
    EXPECT_EQ(l.Values("tedit"), "edit");
}

TEST(StringList, SortedFindAndDuplicates)
{
    TStringList l;
    l.SetSorted(true);
    l.Add("b");
    l.Add("A");
    l.Add("c");
    l.Add("B"); // ignored duplicate
    EXPECT_EQ(l.ToQStringList(), QStringList({"A", "b", "c"}));
    EXPECT_EQ(l.IndexOf("C"), 2);
    EXPECT_THROW(l.Insert(0, "z"), EComponentError);
}

TEST(IniFile, AnotherWriterIsSeenByAnObjectThatReadBefore)
{
    const QString path = WriteTemp("[Setting]\nKorX=1\n");
    TIniFile reader(path);
    EXPECT_EQ(reader.ReadInteger("Setting", "KorX", 0), 1);
    TIniFile writer(path);
    writer.WriteInteger("Setting", "KorX", -12);
    EXPECT_EQ(reader.ReadInteger("Setting", "KorX", 0), -12);
}

TEST(IniFile, AFileTooLargeOrNoPlainFileReadsAsEmptyWithItsReasonAndIsNeverWritten)
{
    // A sparse file just over the limit (no disc space used) and a device.
    const QString dir = TestSupport::MakeTempDir();
    const QString large = dir + "/large.ini";
    {
        QFile f(large);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Setting]\r\nKorX=5\r\n");
        ASSERT_TRUE(f.resize(MaxProfileFileBytes + 1));
    }
    const QString zero = dir + "/zero.ini";
    ASSERT_TRUE(QFile::link("/dev/zero", zero));
    for (const QString& path : {large, zero}) {
        SCOPED_TRACE(path.toStdString());
        TIniFile ini(path);
        EXPECT_EQ(ini.ReadInteger("Setting", "KorX", 7), 7);
        EXPECT_TRUE(ini.ReadError().contains(path)) << ini.ReadError().toStdString();
    }
    // Never written through the link to the device: a save renames over its target.
    EXPECT_THROW(TIniFile(large).WriteInteger("Setting", "KorY", 1), EFileError);
    EXPECT_TRUE(TIniFile(large).ReadError().contains(QString::fromUtf8("příliš velký")));
    EXPECT_EQ(QFileInfo(large).size(), MaxProfileFileBytes + 1);
    // Just within the limit it is read.
    ASSERT_TRUE(QFile::resize(large, MaxProfileFileBytes));
    EXPECT_EQ(TIniFile(large).ReadInteger("Setting", "KorX", 7), 5);
    EXPECT_TRUE(TIniFile(large).ReadError().isEmpty());
}

TEST(WholeFile, ReadWithinItsLimitRefusedBeyondOrWhenNoPlainFile)
{
    const QString dir = TestSupport::MakeTempDir();
    const QString small = dir + "/small.bin";
    {
        QFile f(small);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("0123456789");
    }
    EXPECT_EQ(ReadWholeFile(small, 10), QByteArray("0123456789"));
    EXPECT_TRUE(WholeFileRefusal(small, 10).isEmpty());
    EXPECT_THROW(ReadWholeFile(small, 9), EFileError);
    EXPECT_TRUE(WholeFileRefusal(small, 9).contains(small));
    EXPECT_FALSE(WholeFileRefusal("/dev/zero", 1 << 20).isEmpty());
    EXPECT_THROW(ReadWholeFile("/dev/zero", 1 << 20), EFileError);
    // A missing file is left to the open, which names it as usual.
    EXPECT_TRUE(WholeFileRefusal(dir + "/none.bin", 10).isEmpty());
    EXPECT_THROW(ReadWholeFile(dir + "/none.bin", 10), EFileError);
}

TEST(IniFile, AFileThatCannotBeReadSaysWhyAndIsNeverWrittenOver)
{
    const QByteArray templates("[CD]\r\nComboSize=1\r\nCombo1=Sheet\r\n");
    const QString path = WriteTemp(templates);
    // Read while it could not be: the templates would be lost by writing the one key back.
    TIniFile ini(path);
    {
        TestSupport::TReadDenied denied(path);
        EXPECT_EQ(ini.ReadInteger("CD", "ComboSize", 0), 0);
        EXPECT_EQ(ini.ReadError(),
                  QStringLiteral("Soubor \"%1\" nelze otevřít: nemáte oprávnění ke čtení tohoto souboru.").arg(path));
    }
    EXPECT_THROW(ini.WriteString("CD", "Combo2", "New"), EFileError);
    EXPECT_EQ(TestSupport::ReadFile(path), templates);
    // A folder where the file should be is named as one, and stays.
    const QString folder = TestSupport::MakeTempDir() + "/velkaro3.ini";
    ASSERT_TRUE(QDir().mkdir(folder));
    TIniFile settings(folder);
    EXPECT_EQ(settings.ReadInteger("Setting", "KorX", 3), 3);
    EXPECT_TRUE(settings.ReadError().contains(QString::fromUtf8("je to složka"))) << settings.ReadError().toStdString();
    EXPECT_THROW(settings.WriteInteger("Setting", "KorX", 1), EFileError);
    EXPECT_TRUE(QFileInfo(folder).isDir());
    // A missing file, also behind a link, reads as empty and is made by a write.
    const QString dir = TestSupport::MakeTempDir();
    ASSERT_TRUE(QFile::link(dir + "/target.ini", dir + "/link.ini"));
    TIniFile linked(dir + "/link.ini");
    EXPECT_TRUE(linked.ReadError().isEmpty());
    linked.WriteInteger("Setting", "KorX", 4);
    EXPECT_EQ(TIniFile(dir + "/target.ini").ReadInteger("Setting", "KorX", 0), 4);
}
