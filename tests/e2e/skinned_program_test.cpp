// The real program started without a screen with skinning on: each window it
// activates gets its skinned form once, and switching the skin off takes the
// skinned forms away again.

#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <gtest/gtest.h>

namespace {
QString RunSkinned(const QStringList& args, int quitAfterMs, int skinOffAfterMs)
{
    const QString config = TestSupport::MakeTempDir();
    QDir().mkpath(config + "/tessavik");
    {
        QFile ini(config + "/tessavik/velkaro3.ini");
        EXPECT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[Setting]\nSkinFileName=" + (TestSupport::BinDir() + "/skiny/mxskin20.skn").toUtf8() +
                  "\nSkinEnabled=1\n");
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

TEST(SkinnedProgram, StartedFromAnotherFolderItFindsItsSkinBesideItself)
{
    auto run = [](const QByteArray& settings) {
        const QString config = TestSupport::MakeTempDir();
        if (!settings.isEmpty()) {
            QDir().mkpath(config + "/tessavik");
            QFile ini(config + "/tessavik/velkaro3.ini");
            EXPECT_TRUE(ini.open(QIODevice::WriteOnly));
            ini.write(settings);
        }
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("TESSAVIK_TRACE", "1");
        env.insert("TESSAVIK_QUIT_AFTER", "2000");
        env.insert("XDG_CONFIG_HOME", config);
        p.setProcessEnvironment(env);
        // A folder with nothing of the program's in it, as "cd ~" gives.
        p.setWorkingDirectory(TestSupport::MakeTempDir());
        p.start(TestSupport::BinDir() + "/tessavik", QStringList());
        if (!p.waitForFinished(30000)) {
            p.kill();
            p.waitForFinished();
        }
        EXPECT_EQ(p.exitCode(), 0);
        return QString::fromUtf8(p.readAllStandardError());
    };
    // No settings: the default skin file beside the program skins the start window.
    const QString fresh = run(QByteArray());
    EXPECT_EQ(fresh.count("skinned FrmStart\n"), 1) << fresh.toStdString();
    EXPECT_FALSE(fresh.contains("message ")) << fresh.toStdString();

    // A name relative to the program's folder.
    const QString relative = run("[Setting]\nSkinFileName=skiny/zelena.skn\nSkinEnabled=1\n");
    EXPECT_EQ(relative.count("skinned FrmStart\n"), 1) << relative.toStdString();
    EXPECT_FALSE(relative.contains("message ")) << relative.toStdString();

    // A file that is not there is named once.
    const QString missing = run("[Setting]\nSkinFileName=/nikde/neni.skn\nSkinEnabled=1\n");
    EXPECT_EQ(missing.count("message "), 1) << missing.toStdString();
    EXPECT_TRUE(missing.contains(QString::fromUtf8("message Soubor vzhledu \"/nikde/neni.skn\" nelze načíst")))
        << missing.toStdString();
}
