#include <gtest/gtest.h>

#include "archive_writer.h"
#include "lzh_encoder.h"
#include "skin/skin_message.h"
#include "skin/skin_reader.h"
#include "test_support.h"

using namespace TestSupport;

namespace {
// Collects the messages the reader shows instead of opening a message box.
class TMessageCatcher {
public:
    TMessageCatcher()
    {
        FPrevious = SetSkinMessageHandler([this](const QString& t) { Messages << t; });
    }
    ~TMessageCatcher() { SetSkinMessageHandler(FPrevious); }
    QStringList Messages;

private:
    TSkinMessageHandler FPrevious;
};

QByteArray Vector(const char* name)
{
    return ReadFile(TestDataDir() + QStringLiteral("/lzhuf/") + QLatin1String(name));
}

QByteArray Int32(int32_t v)
{
    QByteArray b;
    for (int i = 0; i < 4; ++i)
        b.append(static_cast<char>((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF));
    return b;
}
} // namespace

TEST(SkinReader, SmallSkinSplitsIntoItsEntries)
{
    TMessageCatcher catcher;
    TSkinReader reader;
    ASSERT_TRUE(reader.LoadFromStream(Vector("skin-small.skn")));
    EXPECT_TRUE(catcher.Messages.isEmpty());
    EXPECT_EQ(reader.Version(), 20000);
    EXPECT_EQ(reader.Names(), QStringList({"skin.ini", "top.bmp", "left.bmp", "close.bmp", "empty name follows"}));
    EXPECT_EQ(reader.Count(), 5);
    int64_t sum = 0;
    for (int i = 0; i < reader.Count(); ++i)
        sum += reader.Size(i);
    EXPECT_EQ(sum, reader.Data().size());

    // Entries are the bytes of the unpacked container, in name order.
    const QByteArray unpacked = Vector("skin-small.unpacked");
    QByteArray top;
    reader.ExtractByName(QStringLiteral("TOP.BMP"), top);
    ASSERT_EQ(top.size(), reader.Size(1));
    EXPECT_TRUE(top.startsWith("BM"));
    EXPECT_EQ(top, unpacked.mid(16 + 60 + 20 + reader.Size(0), reader.Size(1)));
    QByteArray left;
    reader.ExtractByName(QStringLiteral("Left.BMP"), left);
    EXPECT_TRUE(left.startsWith("BM"));
    EXPECT_EQ(left.size(), reader.Size(2));

    QByteArray ini;
    QString iniName;
    reader.ExtractByPart(QStringLiteral(".ini"), ini, iniName);
    EXPECT_EQ(iniName, QStringLiteral("skin.ini"));
    EXPECT_TRUE(ini.startsWith("[TitlebarSkin]"));

    QByteArray none("stale");
    reader.ExtractByName(QStringLiteral("missing.bmp"), none);
    EXPECT_TRUE(none.isEmpty());
    reader.ExtractByName(QStringLiteral("empty name follows"), none);
    EXPECT_TRUE(none.isEmpty());
    QString noName = QStringLiteral("stale");
    reader.ExtractByPart(QStringLiteral(".gif"), none, noName);
    EXPECT_TRUE(noName.isEmpty());
    // The part is not lower-cased: callers pass lower case.
    reader.ExtractByPart(QStringLiteral(".INI"), none, noName);
    EXPECT_TRUE(noName.isEmpty());
}

TEST(SkinReader, OlderVersionIsRefusedWithTheTwoLineMessage)
{
    TMessageCatcher catcher;
    TSkinReader reader;
    EXPECT_FALSE(reader.LoadFromStream(Vector("skin-old-version.skn")));
    ASSERT_EQ(catcher.Messages.size(), 1);
    EXPECT_EQ(catcher.Messages[0], QStringLiteral("This is Older Skin File\rPlease update to new version !"));
    EXPECT_EQ(reader.Version(), 19999);
    EXPECT_EQ(reader.Count(), 0);
    EXPECT_TRUE(reader.Names().isEmpty());
}

TEST(SkinReader, EmptyArchiveFailsTheVersionCheck)
{
    TMessageCatcher catcher;
    TSkinReader reader;
    EXPECT_FALSE(reader.LoadFromStream(QByteArray(4, '\0')));
    EXPECT_EQ(reader.Version(), 0);
    EXPECT_EQ(catcher.Messages.size(), 1);
    EXPECT_FALSE(reader.LoadFromStream(QByteArray()));
}

TEST(SkinReader, OnlyAnEarlierVersionNumberIsCalledAnOlderSkin)
{
    TMessageCatcher catcher;
    TSkinReader reader;
    auto refusal = [&](const QByteArray& source, bool packed) {
        catcher.Messages.clear();
        EXPECT_FALSE(packed ? reader.LoadFromStream(source) : reader.LoadFromUnpacked(source));
        EXPECT_EQ(catcher.Messages.size(), 1);
        return reader.Error();
    };
    const QByteArray tail = Int32(0) + Int32(0) + Int32(0);
    EXPECT_EQ(refusal(Int32(19999) + tail, false), TSkinReadError::OlderVersion);
    EXPECT_EQ(refusal(Int32(1) + tail, false), TSkinReadError::OlderVersion);
    EXPECT_EQ(refusal(Int32(0) + tail, false), TSkinReadError::NotAnArchive);
    EXPECT_EQ(refusal(Int32(20001) + tail, false), TSkinReadError::NotAnArchive);
    EXPECT_EQ(refusal(Int32(-20000) + tail, false), TSkinReadError::NotAnArchive);
    // Size headers of nothing, of less than the container's header, and of more
    // than the code stream could hold.
    EXPECT_EQ(refusal(QByteArray(4, '\0'), true), TSkinReadError::SizeHeader);
    EXPECT_EQ(refusal(Int32(15) + QByteArray(40, 'x'), true), TSkinReadError::SizeHeader);
    EXPECT_EQ(refusal(Int32(0x7FFFFFFF) + QByteArray(40, 'x'), true), TSkinReadError::SizeHeader);
    EXPECT_EQ(refusal(QByteArray(), true), TSkinReadError::Empty);
    EXPECT_FALSE(catcher.Messages[0].contains(QStringLiteral("Older")));
    // A file's name leads its message.
    reader.SetSourceName(QStringLiteral("/x/stary.skn"));
    EXPECT_EQ(refusal(Vector("skin-old-version.skn"), true), TSkinReadError::OlderVersion);
    EXPECT_TRUE(catcher.Messages[0].startsWith(QStringLiteral("Skin \"/x/stary.skn\"")));
    EXPECT_TRUE(catcher.Messages[0].contains(OlderSkinMessage()));
}

TEST(SkinReader, FirstIniEntryInArchiveOrderAndDuplicateNames)
{
    const QList<SkinPack::TEntry> entries = {
        {QStringLiteral("a.bmp"), "AAA"},       {QStringLiteral("One.INI"), "first"},
        {QStringLiteral("two.ini"), "second"},  {QStringLiteral("A.BMP"), "later"},
        {QString(), "nameless"},                {QStringLiteral("with blank.bmp"), "blank"},
    };
    TSkinReader reader;
    ASSERT_TRUE(reader.LoadFromStream(SkinPack::BuildArchive(entries)));
    EXPECT_EQ(reader.Count(), 6);
    QByteArray out;
    QString name;
    reader.ExtractByPart(QStringLiteral(".ini"), out, name);
    EXPECT_EQ(name, QStringLiteral("one.ini"));
    EXPECT_EQ(out, QByteArray("first"));
    reader.ExtractByName(QStringLiteral("a.bmp"), out);
    EXPECT_EQ(out, QByteArray("AAA"));
    reader.ExtractByName(QString(), out);
    EXPECT_EQ(out, QByteArray("nameless"));
    reader.ExtractByName(QStringLiteral("With Blank.bmp"), out);
    EXPECT_EQ(out, QByteArray("blank"));
}

TEST(SkinReader, NameBlockLineEnds)
{
    EXPECT_EQ(TSkinReader::SplitLines("a\r\nb\r\n").size(), 2);
    EXPECT_EQ(TSkinReader::SplitLines("a\rb\nc"), QList<QByteArray>({"a", "b", "c"}));
    EXPECT_EQ(TSkinReader::SplitLines("a\r\n\r\nb"), QList<QByteArray>({"a", "", "b"}));
    EXPECT_EQ(TSkinReader::SplitLines("a\n\rb"), QList<QByteArray>({"a", "", "b"}));
    EXPECT_TRUE(TSkinReader::SplitLines("").isEmpty());
}

TEST(SkinReader, MalformedContainersAreRefusedNotOverRead)
{
    TMessageCatcher catcher;
    auto load = [](const QByteArray& container) {
        TSkinReader reader;
        const bool ok = reader.LoadFromStream(SkinPack::LzhEncode(container));
        if (!ok) {
            EXPECT_EQ(reader.Count(), 0);
        }
        return ok;
    };
    // 1001 entries fit the table, 1002 do not.
    QByteArray names;
    for (int i = 0; i < 1001; ++i)
        names += "e" + QByteArray::number(i) + "\r\n";
    QByteArray sizes;
    for (int i = 0; i < 1001; ++i)
        sizes += Int32(1);
    const QByteArray data(1001, 'x');
    EXPECT_TRUE(load(Int32(20000) + Int32(names.size()) + Int32(0) + Int32(0) + names + sizes + data));
    const QByteArray names1002 = names + "extra";
    EXPECT_FALSE(load(Int32(20000) + Int32(names1002.size()) + Int32(0) + Int32(0) + names1002 + sizes + Int32(1) +
                      data + "x"));

    const QByteArray body = "a.bmp\r\nb.bmp\r\n";
    // Name block longer than the data, or of negative length.
    EXPECT_FALSE(load(Int32(20000) + Int32(5000) + Int32(0) + Int32(0) + body));
    EXPECT_FALSE(load(Int32(20000) + Int32(-3) + Int32(0) + Int32(0) + body));
    // Size table cut short.
    EXPECT_FALSE(load(Int32(20000) + Int32(body.size()) + Int32(0) + Int32(0) + body + Int32(2)));
    // Sizes past the end of the data, or negative.
    EXPECT_FALSE(load(Int32(20000) + Int32(body.size()) + Int32(0) + Int32(0) + body + Int32(2) + Int32(9) + "abcd"));
    EXPECT_FALSE(load(Int32(20000) + Int32(body.size()) + Int32(0) + Int32(0) + body + Int32(-2) + Int32(4) + "abcd"));
    EXPECT_FALSE(load(Int32(20000) + Int32(body.size()) + Int32(0) + Int32(0) + body + Int32(0x7FFFFFFF) +
                      Int32(0x7FFFFFFF) + "abcd"));
    // Exactly fitting, and extra data after the entries, are fine.
    EXPECT_TRUE(load(Int32(20000) + Int32(body.size()) + Int32(0) + Int32(0) + body + Int32(2) + Int32(2) + "abcd"));
    EXPECT_TRUE(load(Int32(20000) + Int32(body.size()) + Int32(0) + Int32(0) + body + Int32(2) + Int32(1) + "abcd"));
    // Each refusal says the archive is damaged; none calls it an older skin.
    EXPECT_EQ(catcher.Messages.size(), 7);
    for (const QString& m : catcher.Messages)
        EXPECT_EQ(m, SkinReadErrorText(TSkinReadError::Damaged));
}

TEST(SkinReader, TruncatedArchiveLoadsOrFailsCleanly)
{
    TMessageCatcher catcher;
    const QByteArray packed = Vector("skin-small.skn");
    for (int cut = 0; cut <= packed.size(); cut += 97) {
        TSkinReader reader;
        if (reader.LoadFromStream(packed.left(cut))) {
            int64_t sum = 0;
            for (int i = 0; i < reader.Count(); ++i)
                sum += reader.Size(i);
            EXPECT_LE(sum, reader.Data().size());
            QByteArray out;
            for (const QString& n : reader.Names())
                reader.ExtractByName(n, out);
        }
    }
    // Cutting only the tail keeps the header and names intact, and the
    // reader tells that the end of its data is made up.
    TSkinReader reader;
    ASSERT_TRUE(reader.LoadFromStream(packed.left(packed.size() - 200)));
    EXPECT_EQ(reader.Count(), 5);
    EXPECT_TRUE(reader.Truncated());
    // Even one byte less is told; the whole stream, or more after it, is not.
    ASSERT_TRUE(reader.LoadFromStream(packed.left(packed.size() - 1)));
    EXPECT_TRUE(reader.Truncated());
    ASSERT_TRUE(reader.LoadFromStream(packed));
    EXPECT_FALSE(reader.Truncated());
    ASSERT_TRUE(reader.LoadFromStream(packed + QByteArray(16, '\0')));
    EXPECT_FALSE(reader.Truncated());
}
