#include "platform/cd_audio_device.h"

#include "disc_image.h"
#include "test_support.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace TestSupport;

TEST(CDAudioDevice, ReadsTheContentsOfACueImage)
{
    const QString dir = MakeTempDir();
    const QString cue = MakeCueImage(dir, QStringLiteral("disc"), {150, 9700, 25887}, 39297);
    auto device = TCDAudioDevice::Open(cue);
    ASSERT_TRUE(device->IsReady());
    EXPECT_EQ(device->TrackCount(), 3);
    EXPECT_EQ(device->TrackStart(1), 150);
    EXPECT_EQ(device->TrackStart(2), 9700);
    EXPECT_EQ(device->TrackStart(3), 25887);
    EXPECT_EQ(device->TrackLength(1), 9700 - 150);
    EXPECT_EQ(device->TrackLength(3), 39297 - 25887);
    EXPECT_EQ(device->LeadOut(), 39297);
    EXPECT_THROW(device->TrackStart(0), ECDAudioError);
    EXPECT_THROW(device->TrackLength(4), ECDAudioError);
}

TEST(CDAudioDevice, ReadsACdrdaoTocFileWithOneImageFile)
{
    const QString dir = MakeTempDir();
    // libcdio finds the image file of a TOC file from the current folder: name it in full.
    const QByteArray bin = QFile::encodeName(dir + QStringLiteral("/disc.bin"));
    QFile toc(dir + QStringLiteral("/disc.toc"));
    ASSERT_TRUE(toc.open(QIODevice::WriteOnly));
    toc.write("CD_DA\n"
              "TRACK AUDIO\nFILE \"" + bin + "\" 0 02:00:00\n"
              "TRACK AUDIO\nFILE \"" + bin + "\" 02:00:00 01:00:10\n");
    toc.close();
    QFile binFile(QFile::decodeName(bin));
    ASSERT_TRUE(binFile.open(QIODevice::WriteOnly));
    ASSERT_TRUE(binFile.resize((9000 + 4510) * 2352));
    binFile.close();

    auto device = TCDAudioDevice::Open(toc.fileName());
    ASSERT_EQ(device->TrackCount(), 2);
    EXPECT_EQ(device->TrackStart(1), 150);
    EXPECT_EQ(device->TrackStart(2), 9150);
    EXPECT_EQ(device->TrackLength(2), 4510);
    EXPECT_EQ(device->LeadOut(), 9150 + 4510);
}

TEST(CDAudioDevice, OneDevicePerNameSharedByItsUsers)
{
    const QString dir = MakeTempDir();
    const QString cue = MakeCueImage(dir, QStringLiteral("shared"), {150}, 13650);
    auto first = TCDAudioDevice::Open(cue);
    auto second = TCDAudioDevice::Open(dir + QStringLiteral("/./shared.cue"));
    EXPECT_EQ(first.get(), second.get());
    const QString other = MakeCueImage(dir, QStringLiteral("other"), {150}, 13650);
    EXPECT_NE(TCDAudioDevice::Open(other).get(), first.get());
    first.reset();
    EXPECT_TRUE(second->IsReady()) << "the remaining user keeps the device";
}

TEST(CDAudioDevice, MissingOrUnreadableImagesRaise)
{
    const QString dir = MakeTempDir();
    EXPECT_THROW(TCDAudioDevice::Open(dir + QStringLiteral("/none.cue")), ECDAudioError);
    QFile junk(dir + QStringLiteral("/junk.cue"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("this is not a cue sheet\n");
    junk.close();
    EXPECT_THROW(TCDAudioDevice::Open(junk.fileName()), ECDAudioError);
    // A failed open leaves nothing behind that a later open could trip over.
    const QString good = MakeCueImage(dir, QStringLiteral("none"), {150}, 13650);
    EXPECT_TRUE(TCDAudioDevice::Open(good)->IsReady());
}

TEST(CDAudioDevice, RemovingTheImageEjectsAndRestoringInserts)
{
    const QString dir = MakeTempDir();
    const QString cue = MakeCueImage(dir, QStringLiteral("eject"), {150, 5000}, 20000);
    auto device = TCDAudioDevice::Open(cue);
    ASSERT_TRUE(device->IsReady());
    ASSERT_TRUE(QFile::rename(cue, cue + QStringLiteral(".away")));
    EXPECT_FALSE(device->IsReady());
    EXPECT_THROW(device->TrackCount(), ECDAudioError);
    EXPECT_THROW(device->LeadOut(), ECDAudioError);
    // Another disc goes in under the same name.
    ASSERT_TRUE(QFile::remove(cue + QStringLiteral(".away")));
    MakeCueImage(dir, QStringLiteral("eject"), {150, 300, 900}, 4000);
    EXPECT_TRUE(device->IsReady());
    EXPECT_EQ(device->TrackCount(), 3);
    EXPECT_EQ(device->LeadOut(), 4000);
}

TEST(CDAudioDevice, NoDriveMeansNotReady)
{
    auto device = TCDAudioDevice::Open();
    if (device->IsReady())
        GTEST_SKIP() << "this machine has an audio disc in its drive";
    EXPECT_THROW(device->TrackCount(), ECDAudioError);
    EXPECT_THROW(device->TrackStart(1), ECDAudioError);
}
