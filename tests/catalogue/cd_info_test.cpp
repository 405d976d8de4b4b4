#include "catalogue/cd_info.h"

#include "disc_image.h"
#include "qt_print.h"
#include "test_support.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QThread>
#include <gtest/gtest.h>

using namespace TestSupport;

namespace {

// Runs the event loop until done() or the time is up.
template <typename F>
bool WaitFor(F done, int ms = 3000)
{
    QDeadlineTimer deadline(ms);
    while (!done() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }
    return done();
}

QString Image(const std::vector<int>& starts, int leadOut)
{
    static int serial = 0;
    return MakeCueImage(MakeTempDir(), QStringLiteral("disc%1").arg(++serial), starts, leadOut);
}

} // namespace

TEST(CDInfo, MsfConversions)
{
    EXPECT_EQ(TCDInfo::MsfToFrames(TMsfTime{3, 2, 1}), 75 * 182 + 1);
    const TMsfTime msf = TCDInfo::FramesToMsf(303602);
    EXPECT_EQ(msf.Minute, 67u);
    EXPECT_EQ(msf.Second, 28u);
    EXPECT_EQ(msf.Frame, 2u);
    for (int frames : {0, 74, 75, 4499, 4500, 303602})
        EXPECT_EQ(TCDInfo::MsfToFrames(TCDInfo::FramesToMsf(frames)), frames);
}

TEST(CDInfo, OneTrackDiscOfThreeMinutes)
{
    TCDInfo info(nullptr, Image({150}, 150 + 180 * 75));
    EXPECT_TRUE(info.IsReady());
    EXPECT_EQ(info.TrackCount(), 1);
    const TMsfTime start = info.TrackPosition(1);
    EXPECT_EQ(start.Minute, 0u);
    EXPECT_EQ(start.Second, 2u);
    EXPECT_EQ(start.Frame, 0u);
    const TMsfTime length = info.TrackLength(1);
    EXPECT_EQ(length.Minute, 3u);
    EXPECT_EQ(length.Second, 0u);
    EXPECT_EQ(length.Frame, 0u);
    EXPECT_EQ(info.DiscLength(), 180);
    EXPECT_EQ(info.DiscId(), 0x0200B401u);
    EXPECT_EQ(info.DiscIdString(), QStringLiteral("0200B401"));
}

TEST(CDInfo, PublishedDiscIds)
{
    TCDInfo first(nullptr, Image({150, 9700, 25887, 39297, 53795, 63735, 77517, 94877, 107270, 123552, 135522,
                                  148422, 161197, 174790, 192022, 205545, 218010, 228700, 239590, 255470, 266932,
                                  288750},
                                 303602));
    EXPECT_EQ(first.TrackCount(), 22);
    EXPECT_EQ(first.DiscIdString(), QStringLiteral("370FCE16"));

    // Lead-out at 2819 s: the disc plays 2817 s from its first track.
    TCDInfo second(nullptr, Image({150, 21834, 43363, 63436, 89772, 115596, 138570, 167224, 190210}, 2819 * 75));
    EXPECT_EQ(second.DiscLength(), 2817);
    EXPECT_EQ(second.DiscIdString(), QStringLiteral("820B0109"));
}

TEST(CDInfo, LeadOutOnTheLastFrameOfASecondCountsAsThatSecond)
{
    // 3:02.74: the disc is still 180 s long for the id.
    TCDInfo info(nullptr, Image({150}, 150 + 180 * 75 + 74));
    EXPECT_EQ(info.DiscLength(), 180);
    EXPECT_EQ(info.DiscIdString(), QStringLiteral("0200B401"));
}

TEST(CDInfo, SmallIdsKeepTheirLeadingZeros)
{
    // Starts at 2 s and 10 s (digit sums 2 and 1), 16 s long: 03001002.
    TCDInfo info(nullptr, Image({150, 750}, 150 + 16 * 75));
    EXPECT_EQ(info.DiscIdString(), QStringLiteral("03001002"));
}

TEST(CDInfo, TwoReadersShareOneImage)
{
    const QString cue = Image({150, 3000}, 9000);
    TCDInfo a(nullptr, cue);
    TCDInfo b(nullptr, cue);
    EXPECT_EQ(a.DiscIdString(), b.DiscIdString());
    EXPECT_TRUE(b.WasReady());
}

TEST(CDInfo, MissingImageRaisesFromTheConstructor)
{
    EXPECT_THROW(TCDInfo(nullptr, MakeTempDir() + QStringLiteral("/none.cue")), ECDAudioError);
}

TEST(CDInfo, WithoutADriveTheReaderStartsAndIsNotReady)
{
    TComponent owner(nullptr);
    auto* info = new TCDInfo(&owner);
    if (info->IsReady())
        GTEST_SKIP() << "this machine has an audio disc in its drive";
    EXPECT_FALSE(info->WasReady());
    EXPECT_THROW(info->DiscIdString(), ECDAudioError);
    EXPECT_THROW(info->DiscLength(), ECDAudioError);
    EXPECT_EQ(owner.ComponentCount(), 1);
}

TEST(CDInfo, PollReportsEjectAndInsertOncePerChange)
{
    const QString cue = Image({150}, 9000);
    TCDInfo info(nullptr, cue);
    int ejects = 0;
    int inserts = 0;
    info.OnEject = [&](TComponent* sender) {
        EXPECT_EQ(sender, &info);
        ++ejects;
    };
    info.OnInsert = [&](TComponent*) { ++inserts; };
    ASSERT_TRUE(info.WasReady());
    info.PollMedia();
    EXPECT_EQ(ejects + inserts, 0);

    ASSERT_TRUE(QFile::rename(cue, cue + QStringLiteral(".out")));
    info.PollMedia();
    info.PollMedia();
    EXPECT_EQ(ejects, 1);
    EXPECT_EQ(inserts, 0);
    EXPECT_FALSE(info.WasReady());

    ASSERT_TRUE(QFile::rename(cue + QStringLiteral(".out"), cue));
    info.PollMedia();
    info.PollMedia();
    EXPECT_EQ(ejects, 1);
    EXPECT_EQ(inserts, 1);
}

TEST(CDInfo, TimerPollsAndKeepsPollingAfterAFailingHandler)
{
    const QString cue = Image({150}, 9000);
    TCDInfo info(nullptr, cue);
    int ejects = 0;
    int inserts = 0;
    info.OnEject = [&](TComponent*) {
        ++ejects;
        throw Exception(QStringLiteral("handler failed"));
    };
    info.OnInsert = [&](TComponent*) { ++inserts; };
    ASSERT_TRUE(QFile::rename(cue, cue + QStringLiteral(".out")));
    EXPECT_TRUE(WaitFor([&] { return ejects == 1; }));
    ASSERT_TRUE(QFile::rename(cue + QStringLiteral(".out"), cue));
    EXPECT_TRUE(WaitFor([&] { return inserts == 1; }));
    EXPECT_EQ(ejects, 1);
}
