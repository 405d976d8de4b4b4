// The value layer: the tags the writer picks and every tag the reader takes.
#include "classlib/streaming/extended_float.h"
#include "classlib/streaming/reader.h"
#include "classlib/streaming/writer.h"
#include "classlib/sysutils.h"
#include "stream_test_bytes.h"

#include <QBuffer>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <random>

using StreamTest::Bytes;

namespace {
QByteArray Written(const std::function<void(TWriter&)>& f)
{
    TWriter w;
    f(w);
    return w.Buffer();
}

struct ReaderOn {
    QByteArray Data;
    QBuffer Buffer;
    TReader Reader;
    explicit ReaderOn(const QByteArray& data) : Data(data), Buffer(&Data), Reader(Buffer)
    {
        Buffer.open(QIODevice::ReadOnly);
    }
};

// A device that only streams, so the reader cannot ask it for its size.
class PipeDevice : public QIODevice {
public:
    explicit PipeDevice(QByteArray data) : FData(std::move(data)) { open(QIODevice::ReadOnly); }
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return FData.size() - FPos + QIODevice::bytesAvailable(); }
    qint64 MaxRequested = 0;

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        MaxRequested = std::max(MaxRequested, maxSize);
        const qint64 n = std::min<qint64>(maxSize, FData.size() - FPos);
        memcpy(data, FData.constData() + FPos, size_t(n));
        FPos += n;
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray FData;
    qint64 FPos = 0;
};
} // namespace

TEST(StreamValues, IntegersTakeTheSmallestTag)
{
    EXPECT_EQ(Written([](TWriter& w) { w.WriteInteger(127); }), QByteArray(Bytes().u8s({2, 0x7F})));
    EXPECT_EQ(Written([](TWriter& w) { w.WriteInteger(128); }), QByteArray(Bytes().u8s({3, 0x80, 0x00})));
    EXPECT_EQ(Written([](TWriter& w) { w.WriteInteger(-129); }), QByteArray(Bytes().u8s({3, 0x7F, 0xFF})));
    EXPECT_EQ(Written([](TWriter& w) { w.WriteInteger(40000); }),
              QByteArray(Bytes().u8s({4, 0x40, 0x9C, 0x00, 0x00})));
    EXPECT_EQ(Written([](TWriter& w) { w.WriteInteger(-128); }), QByteArray(Bytes().u8s({2, 0x80})));
    EXPECT_EQ(Written([](TWriter& w) { w.WriteInteger(32767); }), QByteArray(Bytes().u8s({3, 0xFF, 0x7F})));
    EXPECT_EQ(Written([](TWriter& w) { w.WriteInteger(-32769); }),
              QByteArray(Bytes().u8s({4, 0xFF, 0x7F, 0xFF, 0xFF})));
    EXPECT_EQ(Written([](TWriter& w) { w.WriteInteger(-27); }), QByteArray(Bytes().u8s({2, 0xE5})));
    EXPECT_EQ(Written([](TWriter& w) { w.WriteInteger(int64_t(1) << 40); }),
              QByteArray(Bytes().u8(19).i64(int64_t(1) << 40)));
    // Asking for a tag too small for the value falls back to the one that holds it.
    EXPECT_EQ(Written([](TWriter& w) { w.WriteIntegerAs(TValueType::vaInt8, 300); }),
              QByteArray(Bytes().u8(3).i16(300)));
    EXPECT_EQ(Written([](TWriter& w) { w.WriteIntegerAs(TValueType::vaInt32, 5); }),
              QByteArray(Bytes().u8(4).i32(5)));
}

TEST(StreamValues, StringsPickAsciiLongOrUtf8)
{
    EXPECT_EQ(Written([](TWriter& w) { w.WriteString("Text"); }), QByteArray(Bytes().u8(6).str("Text")));
    // "Čaj": Č is two bytes in UTF-8.
    EXPECT_EQ(Written([](TWriter& w) { w.WriteString(QString::fromUtf8("\xC4\x8C" "aj")); }),
              QByteArray(Bytes().u8(20).i32(4).u8s({0xC4, 0x8C}).raw("aj")));
    const QString long300(300, QLatin1Char('x'));
    EXPECT_EQ(Written([&](TWriter& w) { w.WriteString(long300); }),
              QByteArray(Bytes().u8(12).i32(300).rawb(QByteArray(300, 'x'))));
    const QString s255(255, QLatin1Char('a'));
    EXPECT_EQ(Written([&](TWriter& w) { w.WriteString(s255); }).left(2), QByteArray(Bytes().u8s({6, 0xFF})));
    EXPECT_EQ(Written([&](TWriter& w) { w.WriteString(s255 + "b"); }).left(5),
              QByteArray(Bytes().u8(12).i32(256)));
    // A long non-ASCII text is still UTF-8, never a short string.
    const QString longCzech = QString(300, QChar(0x0159));
    EXPECT_EQ(Written([&](TWriter& w) { w.WriteString(longCzech); }).left(5), QByteArray(Bytes().u8(20).i32(600)));
    EXPECT_EQ(Written([](TWriter& w) { w.WriteString(QString()); }), QByteArray(Bytes().u8s({6, 0})));
}

TEST(StreamValues, ShortStringsAreCutTo255Bytes)
{
    const QByteArray out = Written([](TWriter& w) { w.WriteIdent(QString(300, QLatin1Char('n'))); });
    ASSERT_EQ(out.size(), 2 + 255);
    EXPECT_EQ(static_cast<uint8_t>(out[1]), 255);
}

TEST(StreamValues, SetsBooleansIdentsBinary)
{
    EXPECT_EQ(Written([](TWriter& w) { w.WriteSet({}); }), QByteArray(Bytes().u8s({11, 0})));
    EXPECT_EQ(Written([](TWriter& w) { w.WriteSet({"fsBold", "fsItalic"}); }),
              QByteArray(Bytes().u8(11).str("fsBold").str("fsItalic").u8(0)));
    EXPECT_EQ(Written([](TWriter& w) {
                  w.WriteBoolean(false);
                  w.WriteBoolean(true);
                  w.WriteNil();
              }),
              QByteArray(Bytes().u8s({8, 9, 13})));
    EXPECT_EQ(Written([](TWriter& w) { w.WriteIdent("clRed"); }), QByteArray(Bytes().ident("clRed")));
    EXPECT_EQ(Written([](TWriter& w) { w.WriteBinary("abc"); }), QByteArray(Bytes().u8(10).i32(3).raw("abc")));
}

TEST(StreamValues, ExtendedFloatsConvert)
{
    // 1.0: integer bit set, biased exponent 0x3FFF.
    const std::array<uint8_t, 10> one{0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F};
    EXPECT_EQ(ExtendedToDouble(one), 1.0);
    EXPECT_EQ(DoubleToExtended(1.0), one);
    // -2.5 = -1.25 * 2^1: mantissa 0xA000..., exponent 0x4000 with the sign.
    const std::array<uint8_t, 10> m25{0, 0, 0, 0, 0, 0, 0, 0xA0, 0x00, 0xC0};
    EXPECT_EQ(ExtendedToDouble(m25), -2.5);
    EXPECT_EQ(DoubleToExtended(-2.5), m25);
    EXPECT_EQ(DoubleToExtended(0.0), (std::array<uint8_t, 10>{}));
    EXPECT_TRUE(std::signbit(ExtendedToDouble(DoubleToExtended(-0.0))));
    EXPECT_EQ(ExtendedToDouble(DoubleToExtended(std::numeric_limits<double>::infinity())),
              std::numeric_limits<double>::infinity());
    EXPECT_TRUE(std::isnan(ExtendedToDouble(DoubleToExtended(std::nan("")))));
    // Beyond the range of a double: infinity, not garbage.
    const std::array<uint8_t, 10> huge{0, 0, 0, 0, 0, 0, 0, 0x80, 0xFE, 0x7F};
    EXPECT_TRUE(std::isinf(ExtendedToDouble(huge)));
    std::mt19937_64 rng(7);
    for (int i = 0; i < 2000; ++i) {
        uint64_t bits = rng();
        double d = 0;
        memcpy(&d, &bits, 8);
        if (std::isnan(d))
            continue;
        EXPECT_EQ(ExtendedToDouble(DoubleToExtended(d)), d) << bits;
    }
    EXPECT_EQ(ExtendedToDouble(DoubleToExtended(std::numeric_limits<double>::denorm_min())),
              std::numeric_limits<double>::denorm_min());
}

TEST(StreamValues, ReaderTakesEveryTag)
{
    const QByteArray data = Bytes()
                                .u8(2).u8(0xFE)                        // -2
                                .u8(3).i16(-300)
                                .u8(4).i32(-70000)
                                .u8(19).i64(-(int64_t(1) << 40))
                                .u8(5).u8s({0, 0, 0, 0, 0, 0, 0, 0xC0, 0x00, 0x40}) // 3.0
                                .u8(6).str("abc")
                                .u8(12).i32(3).raw("xyz")
                                .u8(18).i32(2).u8s({0x0D, 0x01, 0x61, 0x00}) // "ča"
                                .u8(20).i32(2).u8s({0xC5, 0x99})             // "ř"
                                .u8(6).strb(QByteArray("\x9A", 1))            // "š" in Windows-1250
                                .u8(16).i64(12345)
                                .u8(17).i64(0x3FF8000000000000)                // 1.5
                                .u8(15).i32(0x40200000)                        // 2.5f
                                .u8(7).str("alClient")
                                .u8(11).str("a").str("b").u8(0)
                                .u8(10).i32(2).raw("zz");
    ReaderOn r(data);
    auto& rd = r.Reader;
    EXPECT_EQ(rd.ReadInteger(), -2);
    EXPECT_EQ(rd.ReadInteger(), -300);
    EXPECT_EQ(rd.ReadInteger(), -70000);
    EXPECT_EQ(rd.ReadInt64(), -(int64_t(1) << 40));
    EXPECT_EQ(rd.ReadFloat(), 3.0);
    EXPECT_EQ(rd.ReadString(), "abc");
    EXPECT_EQ(rd.ReadString(), "xyz");
    EXPECT_EQ(rd.ReadString(), QString::fromUtf8("\xC4\x8D" "a"));
    EXPECT_EQ(rd.ReadString(), QString::fromUtf8("\xC5\x99"));
    EXPECT_EQ(rd.ReadString(), QString::fromUtf8("\xC5\xA1"));
    ASSERT_EQ(rd.ReadValue(), TValueType::vaCurrency);
    EXPECT_EQ(rd.ReadCurrencyData(), 12345);
    ASSERT_EQ(rd.ReadValue(), TValueType::vaDate);
    EXPECT_EQ(rd.ReadDateData(), 1.5);
    ASSERT_EQ(rd.ReadValue(), TValueType::vaSingle);
    EXPECT_EQ(rd.ReadSingleData(), 2.5f);
    EXPECT_EQ(rd.ReadIdent(), "alClient");
    EXPECT_EQ(rd.ReadSet(), QStringList({"a", "b"}));
    EXPECT_EQ(rd.ReadBinary(), "zz");
    EXPECT_TRUE(r.Buffer.atEnd());
}

TEST(StreamValues, PrefixByteWithPosition)
{
    ReaderOn r(Bytes().u8(0xF3).u8(3).i16(1000).str("TLabel"));
    int flags = 0, pos = 0;
    EXPECT_TRUE(r.Reader.ReadPrefix(flags, pos));
    EXPECT_EQ(flags, ffInherited | ffChildPos);
    EXPECT_EQ(pos, 1000);
    EXPECT_EQ(r.Reader.ReadStr(), "TLabel");

    ReaderOn none(Bytes().str("TLabel"));
    EXPECT_FALSE(none.Reader.ReadPrefix(flags, pos));
    EXPECT_EQ(none.Reader.ReadStr(), "TLabel");
}

TEST(StreamValues, WrongTagsAndBadBytesThrow)
{
    EXPECT_THROW(ReaderOn(Bytes().string("1")).Reader.ReadInteger(), EReadError);
    EXPECT_THROW(ReaderOn(Bytes().u8(19).i64(1)).Reader.ReadInteger(), EReadError);
    EXPECT_THROW(ReaderOn(Bytes().int8(1)).Reader.ReadString(), EReadError);
    EXPECT_THROW(ReaderOn(Bytes().ident("x")).Reader.ReadString(), EReadError);
    EXPECT_THROW(ReaderOn(Bytes().int8(1)).Reader.ReadBoolean(), EReadError);
    EXPECT_THROW(ReaderOn(Bytes().u8(21)).Reader.ReadValue(), EReadError);
    EXPECT_THROW(ReaderOn(Bytes().u8(0xFF)).Reader.NextValue(), EReadError);
    EXPECT_THROW(ReaderOn(Bytes().raw("TPF1")).Reader.ReadSignature(), EReadError);
    EXPECT_THROW(ReaderOn(Bytes().raw("TP")).Reader.ReadSignature(), EReadError);
    // Cut short inside the data of every kind of value.
    EXPECT_THROW(ReaderOn(Bytes().u8(3).u8(1)).Reader.ReadInteger(), EReadError);
    EXPECT_THROW(ReaderOn(Bytes().u8(6).u8(5).raw("ab")).Reader.ReadString(), EReadError);
    EXPECT_THROW(ReaderOn(Bytes().u8(18).i32(3).u8s({0x61, 0})).Reader.ReadString(), EReadError);
    EXPECT_THROW(ReaderOn(Bytes().u8(11).str("a")).Reader.ReadSet(), EReadError);
    EXPECT_THROW(ReaderOn(Bytes().u8(5).u8s({0, 0, 0})).Reader.ReadFloat(), EReadError);
    EXPECT_THROW(ReaderOn(Bytes().u8(10).i32(-1)).Reader.ReadBinary(), EReadError);
    EXPECT_THROW(ReaderOn(Bytes().u8(12).i32(-5)).Reader.ReadString(), EReadError);
    EXPECT_THROW(ReaderOn(Bytes().u8(18).i32(-5)).Reader.ReadString(), EReadError);
    EXPECT_THROW(ReaderOn(QByteArray()).Reader.NextValue(), EReadError);
}

TEST(StreamValues, HugeLengthsFailWithoutAllocating)
{
    // A 2 GB binary claimed by a 10-byte buffer fails at once.
    ReaderOn r(Bytes().u8(10).i32(0x7FFFFFFF).raw("abc"));
    EXPECT_THROW(r.Reader.ReadBinary(), EReadError);
    // On a device of unknown size the bytes are fetched in pieces until they run out.
    PipeDevice pipe(Bytes().u8(20).i32(0x7FFFFFFF).raw("abc"));
    TReader pr(pipe);
    EXPECT_THROW(pr.ReadString(), EReadError);
    EXPECT_LE(pipe.MaxRequested, 1 << 20);
    PipeDevice wide(Bytes().u8(18).i32(0x7FFFFFFF).raw("abcd"));
    TReader wr(wide);
    EXPECT_THROW(wr.ReadString(), EReadError);
}

TEST(StreamValues, SkipValueCrossesNestedListsAndCollections)
{
    const QByteArray data = Bytes()
                                .u8(1).int8(1).u8(1).string("x").u8(0).u8(0)          // list in a list
                                .u8(14).int8(0).u8(1).name("A").int8(5).u8(0)          // collection item with order
                                .u8(1).name("B").string("t").u8(0).u8(0)               // and one without
                                .int8(42);
    ReaderOn r(data);
    r.Reader.SkipValue();
    r.Reader.SkipValue();
    EXPECT_EQ(r.Reader.ReadInteger(), 42);
}

TEST(StreamValues, NestingIsLimited)
{
    Bytes deep;
    for (int i = 0; i < 10000; ++i)
        deep.u8(1);
    ReaderOn r(deep);
    try {
        r.Reader.SkipValue();
        FAIL() << "no error";
    } catch (const EReadError& e) {
        EXPECT_TRUE(e.Message().contains("hluboko")) << e.Message().toStdString();
    }
}

TEST(StreamValues, FlushReportsShortWrites)
{
    TWriter w;
    w.WriteInteger(1);
    QBuffer closed;
    EXPECT_THROW(w.Flush(closed), EFileError);
    QByteArray out;
    QBuffer buf(&out);
    buf.open(QIODevice::WriteOnly);
    w.Flush(buf);
    EXPECT_EQ(out, QByteArray(Bytes().int8(1)));
    EXPECT_TRUE(w.Buffer().isEmpty());
}
