// The real program started without a screen: which windows appear, and the
// main window's caption.

#include "test_support.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <gtest/gtest.h>

namespace {
struct Run {
    QString Err;
    int ExitCode = -1;
};

Run StartProgram(const QStringList& args, int quitAfterMs)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("TESSAVIK_TRACE", "1");
    env.insert("TESSAVIK_QUIT_AFTER", QString::number(quitAfterMs));
    env.insert("XDG_CONFIG_HOME", TestSupport::MakeTempDir());
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(TestSupport::MakeTempDir());
    p.start(TestSupport::BinDir() + "/tessavik", args);
    Run r;
    if (!p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished();
    }
    r.Err = QString::fromUtf8(p.readAllStandardError());
    r.ExitCode = p.exitCode();
    return r;
}
} // namespace

TEST(ProgramStart, WithoutAFileTheStartWindowAppearsAfterTheMainWindow)
{
    const Run r = StartProgram({}, 1500);
    EXPECT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    const int main = r.Err.indexOf("shown FrmMain");
    const int start = r.Err.indexOf("shown FrmStart");
    ASSERT_GE(main, 0) << r.Err.toStdString();
    ASSERT_GE(start, 0) << r.Err.toStdString();
    EXPECT_LT(main, start);
    EXPECT_TRUE(r.Err.contains("quit"));
}

TEST(ProgramStart, WithAFileTheStartWindowStaysHidden)
{
    const QString file = TestSupport::MakeTempDir() + "/prazdny.tvk";
    const Run r = StartProgram({file, "second-argument-is-ignored"}, 1500);
    EXPECT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    EXPECT_TRUE(r.Err.contains("shown FrmMain")) << r.Err.toStdString();
    EXPECT_FALSE(r.Err.contains("shown FrmStart")) << r.Err.toStdString();
}
