#include <QBuffer>
#include <gtest/gtest.h>

#include "skin/quick_ini.h"

namespace {
TQuickIni Ini(const QByteArray& text)
{
    TQuickIni ini;
    ini.LoadFromStream(text);
    return ini;
}
} // namespace

TEST(QuickIni, KeysAndSectionsMatchInAnyCaseValuesKeepTheirs)
{
    const TQuickIni ini = Ini("[X]\r\nImage = a.bmp\r\nName=Mixed Case \r\n");
    EXPECT_EQ(ini.ReadString("x", "IMAGE", "def"), QStringLiteral("a.bmp"));
    EXPECT_EQ(ini.ReadString("X", "name", "def"), QStringLiteral("Mixed Case"));
    EXPECT_EQ(ini.ReadString("y", "image", "def"), QStringLiteral("def"));
    EXPECT_EQ(ini.ReadString("x", "missing", "def"), QStringLiteral("def"));
}

TEST(QuickIni, Integers)
{
    const TQuickIni ini = Ini("[N]\nhex=0x10\nHEX2=0XfF\nlead=010\nplain=42\nneg=-7\ndollar=$1A\n"
                              "empty=\nword=abc\nbadhex=0xZZ\nzero=0\nmax=0xFFFFFFFF\nspace=1 2\n");
    EXPECT_EQ(ini.ReadInteger("n", "hex", -1), 16);
    EXPECT_EQ(ini.ReadInteger("n", "hex2", -1), 255);
    EXPECT_EQ(ini.ReadInteger("n", "lead", -1), 10);
    EXPECT_EQ(ini.ReadInteger("n", "plain", -1), 42);
    EXPECT_EQ(ini.ReadInteger("n", "neg", -1), -7);
    EXPECT_EQ(ini.ReadInteger("n", "dollar", -1), 26);
    EXPECT_EQ(ini.ReadInteger("n", "empty", 5), 5);
    EXPECT_EQ(ini.ReadInteger("n", "word", 5), 5);
    EXPECT_EQ(ini.ReadInteger("n", "badhex", 5), 5);
    EXPECT_EQ(ini.ReadInteger("n", "zero", 5), 0);
    EXPECT_EQ(ini.ReadInteger("n", "max", 5), -1);
    EXPECT_EQ(ini.ReadInteger("n", "space", 5), 5);
    EXPECT_EQ(ini.ReadInteger("n", "absent", 5), 5);
}

TEST(QuickIni, FirstSectionAndFirstKeyWinEmptyValueGivesDefault)
{
    const TQuickIni ini = Ini("k=before\n[A]\nk=first\nk=second\ne=\ne=later\n[b]\nk=b\n[a]\nk=third\nother=x\n");
    EXPECT_EQ(ini.ReadString("a", "k", "d"), QStringLiteral("first"));
    // The empty value decides: later lines with the key are not looked at.
    EXPECT_EQ(ini.ReadString("a", "e", "d"), QStringLiteral("d"));
    // Only the first [a] is searched.
    EXPECT_EQ(ini.ReadString("A", "other", "d"), QStringLiteral("d"));
    EXPECT_EQ(ini.ReadString("b", "k", "d"), QStringLiteral("b"));
    // Keys before the first section can never be read.
    EXPECT_EQ(ini.ReadString("", "k", "d"), QStringLiteral("d"));
}

TEST(QuickIni, CommentsBlanksAndOddLines)
{
    const TQuickIni ini = Ini(" ; comment\n\t[S] \n;k=commented\n#x=1\n  spaced key  =  v w  \nnoequals\n"
                              "=novalue\n[ T]\nk=t\n");
    EXPECT_EQ(ini.ReadString("s", "k", "d"), QStringLiteral("d"));
    EXPECT_EQ(ini.ReadString("s", "#x", "d"), QStringLiteral("1"));
    EXPECT_EQ(ini.ReadString("s", "SPACED KEY", "d"), QStringLiteral("v w"));
    EXPECT_EQ(ini.ReadString("s", "noequals", "d"), QStringLiteral("d"));
    EXPECT_EQ(ini.ReadString("s", "", "d"), QStringLiteral("d"));
    // Blanks inside the brackets count.
    EXPECT_EQ(ini.ReadString("T", "k", "d"), QStringLiteral("d"));
    EXPECT_EQ(ini.ReadString(" T", "k", "d"), QStringLiteral("t"));
    EXPECT_EQ(ini.Lines().size(), 7);
    EXPECT_EQ(ini.FindSection("s"), 0);
    EXPECT_EQ(ini.FindSection("nope"), -1);
}

TEST(QuickIni, LineEndsAndZeroByte)
{
    // CR LF, CR, LF; a lone CR then a lone LF is one line end.
    const TQuickIni ini = Ini(QByteArray("[a]\rk1=1\nk2=2\r\nk3=3\n\rk4=4\0[b]\nk=5\n", 34));
    EXPECT_EQ(ini.ReadInteger("a", "k1", 0), 1);
    EXPECT_EQ(ini.ReadInteger("a", "k2", 0), 2);
    EXPECT_EQ(ini.ReadInteger("a", "k3", 0), 3);
    EXPECT_EQ(ini.ReadInteger("a", "k4", 0), 4);
    // Text ends at the zero byte.
    EXPECT_EQ(ini.ReadInteger("b", "k", 0), 0);
    QStringList sections;
    ini.ReadSections(sections);
    EXPECT_EQ(sections, QStringList({"a"}));
}

TEST(QuickIni, SectionsListAndReload)
{
    TQuickIni ini = Ini("[One]\n[ Two ]\n[Three]\nx=1\n[]\n");
    QStringList sections;
    ini.ReadSections(sections);
    EXPECT_EQ(sections, QStringList({"One", "Two", "Three", ""}));
    // Loading again replaces everything; a null stream changes nothing.
    ini.LoadFromStream(static_cast<QIODevice*>(nullptr));
    EXPECT_EQ(ini.ReadInteger("three", "x", 0), 1);
    QByteArray other("junk\n[Four]\ny=2\n");
    QBuffer buffer(&other);
    buffer.open(QIODevice::ReadOnly);
    buffer.seek(5);  // from the current position
    ini.LoadFromStream(&buffer);
    EXPECT_EQ(ini.ReadInteger("three", "x", 0), 0);
    EXPECT_EQ(ini.ReadInteger("four", "y", 0), 2);
    EXPECT_EQ(ini.Lines().size(), 2);
}

TEST(QuickIni, LineRoutines)
{
    EXPECT_EQ(TQuickIni::KeyOf(" KeY = v=w"), QStringLiteral("key"));
    EXPECT_EQ(TQuickIni::KeyOf("novalue"), QString());
    EXPECT_EQ(TQuickIni::ValueOf("KeY = v=w ", "key"), QStringLiteral("v=w"));
    EXPECT_EQ(TQuickIni::ValueOf("key=v", "other"), QString());
    EXPECT_EQ(TQuickIni::ValueOf("", "key"), QString());
    EXPECT_TRUE(TQuickIni::IsSection(" [a] "));
    EXPECT_FALSE(TQuickIni::IsSection("[a"));
    EXPECT_FALSE(TQuickIni::IsSection("x[a]"));
}

TEST(QuickIni, Windows1250Text)
{
    // Bytes that are not UTF-8 are read in the system's ANSI code page.
    const TQuickIni ini = Ini("[Personality]\nSkinName=\x8A" "koda \xE8" "ern\xE1\n");
    EXPECT_EQ(ini.ReadString("personality", "skinname", ""), QString::fromUtf8("Škoda černá"));
}
