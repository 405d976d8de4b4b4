#include <QDir>
#include <gtest/gtest.h>

#include "archive_writer.h"
#include "lzh_encoder.h"
#include "skin/lzh.h"
#include "skin/skin_reader.h"
#include "test_support.h"

using namespace TestSupport;

namespace {
QByteArray Unpack(const QByteArray& packed)
{
    QByteArray out;
    EXPECT_TRUE(TSkinReader::Decompress(packed, out));
    return out;
}

QStringList VectorNames()
{
    QDir dir(TestDataDir() + QStringLiteral("/lzhuf"));
    QStringList names;
    for (const QString& f : dir.entryList({QStringLiteral("*.lzh"), QStringLiteral("*.skn")}, QDir::Files, QDir::Name))
        names << f;
    return names;
}
} // namespace

TEST(Lzh, PositionTablesFollowThePublishedRuns)
{
    using namespace Lzhuf;
    // Spot values of the published tables at the group boundaries.
    EXPECT_EQ(d_code[0x1F], 0);
    EXPECT_EQ(d_code[0x20], 1);
    EXPECT_EQ(d_code[0x50], 4);
    EXPECT_EQ(d_code[0x90], 12);
    EXPECT_EQ(d_code[0xC0], 24);
    EXPECT_EQ(d_code[0xF0], 48);
    EXPECT_EQ(d_code[0xFF], 63);
    EXPECT_EQ(d_len[0x1F], 3);
    EXPECT_EQ(d_len[0x20], 4);
    EXPECT_EQ(d_len[0x4F], 4);
    EXPECT_EQ(d_len[0x50], 5);
    EXPECT_EQ(d_len[0x90], 6);
    EXPECT_EQ(d_len[0xC0], 7);
    EXPECT_EQ(d_len[0xF0], 8);
}

TEST(Lzh, EveryIndependentVectorDecodesToItsTwin)
{
    const QStringList names = VectorNames();
    ASSERT_GE(names.size(), 5);
    for (const QString& name : names) {
        const QString base = TestDataDir() + QStringLiteral("/lzhuf/") + QFileInfo(name).completeBaseName();
        const QByteArray packed = ReadFile(TestDataDir() + QStringLiteral("/lzhuf/") + name);
        const QByteArray expected = ReadFile(base + QStringLiteral(".unpacked"));
        ASSERT_FALSE(expected.isEmpty()) << qPrintable(name);
        EXPECT_EQ(Unpack(packed), expected) << qPrintable(name);
    }
}

TEST(Lzh, OurEncoderRoundTripsTheVectorsData)
{
    // The independent coder searches matches differently, so only the decoded
    // bytes are compared; short inputs come out bit for bit the same.
    for (const QString& name : VectorNames()) {
        const QString base = TestDataDir() + QStringLiteral("/lzhuf/") + QFileInfo(name).completeBaseName();
        const QByteArray unpacked = ReadFile(base + QStringLiteral(".unpacked"));
        EXPECT_EQ(Unpack(SkinPack::LzhEncode(unpacked)), unpacked) << qPrintable(name);
    }
    EXPECT_EQ(SkinPack::LzhEncode(ReadFile(TestDataDir() + QStringLiteral("/lzhuf/text.unpacked"))),
              ReadFile(TestDataDir() + QStringLiteral("/lzhuf/text.lzh")));
    EXPECT_EQ(SkinPack::LzhEncode(ReadFile(TestDataDir() + QStringLiteral("/lzhuf/runs.unpacked"))),
              ReadFile(TestDataDir() + QStringLiteral("/lzhuf/runs.lzh")));
}

TEST(Lzh, RoundTripsAwkwardInputs)
{
    QList<QByteArray> inputs;
    inputs << QByteArray(1, 'x') << QByteArray(5000, '\0') << QByteArray(10000, ' ');
    QByteArray ramp;
    for (int i = 0; i < 300000; ++i)
        ramp.append(static_cast<char>((i * 7 + i / 613) & 0xFF));
    inputs << ramp;
    // Skewed symbol counts drive the tree to its count limit and rebuilds,
    // with some codes much longer than others.
    QByteArray skewed;
    uint32_t seed = 12345;
    for (int i = 0; i < 400000; ++i) {
        seed = seed * 1103515245u + 12345u;
        const int pick = static_cast<int>((seed >> 16) % 1000);
        skewed.append(pick < 990 ? 'a' : static_cast<char>(pick & 0xFF));
    }
    inputs << skewed;
    for (const QByteArray& in : inputs) {
        const QByteArray packed = SkinPack::LzhEncode(in);
        EXPECT_EQ(Unpack(packed), in) << in.size();
    }
}

TEST(Lzh, HeaderOfZeroOrLessGivesNothing)
{
    QByteArray packed("\0\0\0\0\x12\x34", 6);
    EXPECT_TRUE(Unpack(packed).isEmpty());
    packed = QByteArray("\xFF\xFF\xFF\xFF\x12\x34", 6);  // -1
    EXPECT_TRUE(Unpack(packed).isEmpty());
}

TEST(Lzh, OverlappingMatchRepeatsTheLastByte)
{
    // A run: one literal then matches at distance 0.
    const QByteArray run(23800, 'q');
    const QByteArray packed = SkinPack::LzhEncode(run);
    EXPECT_LT(packed.size(), 1000);
    EXPECT_EQ(Unpack(packed), run);
    const QByteArray runs = ReadFile(TestDataDir() + QStringLiteral("/lzhuf/runs.lzh"));
    EXPECT_EQ(Unpack(runs), ReadFile(TestDataDir() + QStringLiteral("/lzhuf/runs.unpacked")));
}

TEST(Lzh, TruncatedStreamDecodesToTheStatedLength)
{
    const QByteArray packed = ReadFile(TestDataDir() + QStringLiteral("/lzhuf/random.lzh"));
    const QByteArray expected = ReadFile(TestDataDir() + QStringLiteral("/lzhuf/random.unpacked"));
    const QByteArray cut = packed.left(packed.size() * 3 / 5);
    const QByteArray out = Unpack(cut);
    // The stated size, plus at most the rest of a last match.
    EXPECT_GE(out.size(), expected.size());
    EXPECT_LE(out.size(), expected.size() + Lzhuf::F - 1);
    // What the cut stream still holds decodes as before.
    const qsizetype intact = (cut.size() - 4) * 9 / 10;
    EXPECT_EQ(out.left(intact), expected.left(intact));
}

TEST(Lzh, DecoderReadsOneByteAtATimeThroughItsCallbacks)
{
    const QByteArray packed = ReadFile(TestDataDir() + QStringLiteral("/lzhuf/text.lzh"));
    QByteArray out;
    qsizetype pos = 4;
    int maxWanted = 0;
    TLZH lzh;
    lzh.LZHDecode(
        30, [&](const uint8_t* b, int n) { out.append(reinterpret_cast<const char*>(b), n); },
        [&](uint8_t* b, int wanted) {
            maxWanted = std::max(maxWanted, wanted);
            if (pos >= packed.size())
                return 0;
            *b = static_cast<uint8_t>(packed[pos++]);
            return 1;
        });
    EXPECT_EQ(out, QByteArray("Hello hello hello hello world\n"));
    EXPECT_EQ(maxWanted, 1);
}

TEST(Lzh, ImpossibleSizeHeaderIsRefusedWithoutWork)
{
    // 2 GB claimed by a few bytes: no complete stream of that length holds it.
    QByteArray packed("\xFF\xFF\xFF\x7F\x00\x01\x02", 7);
    QByteArray out("junk");
    EXPECT_FALSE(TSkinReader::Decompress(packed, out));
    EXPECT_TRUE(out.isEmpty());
    // Nor is more than 256 MB, whatever the stream's length.
    QByteArray big(6 << 20, '\0');
    const uint32_t claim = 300u << 20;
    for (int i = 0; i < 4; ++i)
        big[i] = static_cast<char>((claim >> (8 * i)) & 0xFF);
    EXPECT_FALSE(TSkinReader::Decompress(big, out));
    // The densest real stream stays within the bound.
    const QByteArray zeros(1 << 20, '\0');
    EXPECT_EQ(Unpack(SkinPack::LzhEncode(zeros)), zeros);
}
