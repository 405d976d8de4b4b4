// The real program started without a screen with skinning on: each window it
// activates gets its skinned form once, and switching the skin off takes the
// skinned forms away again.

#include "test_support.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <gtest/gtest.h>

namespace {
QString RunSkinned(const QStringList& args, int quitAfterMs, int skinOffAfterMs, QByteArray skinFile = {})
{
    if (skinFile.isEmpty())
        skinFile = (TestSupport::BinDir() + "/skiny/mxskin20.skn").toUtf8();
    const QString config = TestSupport::MakeTempDir();
    QDir().mkpath(config + "/tessavik");
    {
        QFile ini(config + "/tessavik/velkaro3.ini");
        EXPECT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[Setting]\nSkinFileName=" + skinFile + "\nSkinEnabled=1\n");
    }
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("TESSAVIK_TRACE", "1");
    env.insert("TESSAVIK_QUIT_AFTER", QString::number(quitAfterMs));
    if (skinOffAfterMs > 0)
        env.insert("TESSAVIK_SKIN_OFF_AFTER", QString::number(skinOffAfterMs));
    env.insert("XDG_CONFIG_HOME", config);
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(TestSupport::MakeTempDir());
    p.start(TestSupport::BinDir() + "/tessavik", args);
    if (!p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished();
    }
    EXPECT_EQ(p.exitCode(), 0);
    return QString::fromUtf8(p.readAllStandardError());
}

QString EmptyProject()
{
    const QString file = TestSupport::MakeTempDir() + "/prazdny.tvk";
    QFile f(file);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    return file;
}
} // namespace

TEST(SkinnedProgram, EachActivatedWindowIsSkinnedOnceAndNoneAfterSwitchingOff)
{
    // Without a file the start window is the first one shown and activated.
    const QString start = RunSkinned({}, 2000, 0);
    EXPECT_EQ(start.count("skinned FrmStart\n"), 1) << start.toStdString();
    EXPECT_EQ(start.count("skinned "), 1) << start.toStdString();

    // With a file the main window is; it stays skinned to the end.
    const QString main = RunSkinned({EmptyProject()}, 2000, 0);
    EXPECT_EQ(main.count("skinned FrmMain\n"), 1) << main.toStdString();
    EXPECT_EQ(main.count("skinned "), 1) << main.toStdString();
    EXPECT_TRUE(main.contains("skinforms 1\n")) << main.toStdString();

    // Switched off on the way: no window is skinned at the end.
    const QString off = RunSkinned({EmptyProject()}, 2500, 1200);
    EXPECT_EQ(off.count("skinned FrmMain\n"), 1) << off.toStdString();
    EXPECT_TRUE(off.contains("skin off\n")) << off.toStdString();
    EXPECT_TRUE(off.contains("skinforms 0\n")) << off.toStdString();
}

TEST(SkinnedProgram, ADeviceAsTheSkinFileIsRefusedAndTheStartGoesOn)
{
    // A device never ends: read whole it would hold the start for ever.
    QElapsedTimer clock;
    clock.start();
    const QString out = RunSkinned({EmptyProject()}, 2000, 0, "/dev/zero");
    EXPECT_LT(clock.elapsed(), 20000);
    // The message about the file holds the start until it is answered; the
    // main window shows behind it.
    EXPECT_TRUE(out.contains("quit\n")) << out.toStdString();
    EXPECT_TRUE(out.contains("shown FrmMain")) << out.toStdString();
}
