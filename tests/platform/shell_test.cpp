// The shell's open verb against a stand-in for the desktop's opener.

#include "platform/shell.h"
#include "test_support.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <gtest/gtest.h>

namespace {
// A PATH whose xdg-open ends with the given status.
class TFakeOpener {
public:
    explicit TFakeOpener(int status)
    {
        FOldPath = qgetenv("PATH");
        const QString dir = TestSupport::MakeTempDir();
        QFile script(dir + "/xdg-open");
        EXPECT_TRUE(script.open(QIODevice::WriteOnly));
        script.write(QStringLiteral("#!/bin/sh\necho \"$1\" > '%1/asked'\nexit %2\n").arg(dir).arg(status).toUtf8());
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("PATH", (dir + ":" + QString::fromLocal8Bit(FOldPath)).toLocal8Bit());
        Dir = dir;
    }
    ~TFakeOpener() { qputenv("PATH", FOldPath); }
    QString Dir;

private:
    QByteArray FOldPath;
};

// Runs the event loop until f holds or the time passes.
bool WaitFor(const std::function<bool()>& f, int ms = 2000)
{
    QElapsedTimer t;
    t.start();
    while (!f() && t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return f();
}
} // namespace

TEST(Shell, AnOpenerThatFindsNoProgramIsReportedOnce)
{
    const QString page = TestSupport::MakeTempDir() + "/index.html";
    QFile(page).open(QIODevice::WriteOnly);
    for (int status : {0, 3}) {
        SCOPED_TRACE(status);
        TFakeOpener opener(status);
        int failures = 0;
        ASSERT_TRUE(ShellOpen(page, [&] { ++failures; }));
        ASSERT_TRUE(WaitFor([&] { return TestSupport::ReadFile(opener.Dir + "/asked").endsWith('\n'); }));
        // The document went as a file address.
        EXPECT_EQ(TestSupport::ReadFile(opener.Dir + "/asked").trimmed(), "file://" + page.toUtf8());
        WaitFor([&] { return failures > 0; }, status == 0 ? 300 : 2000);
        EXPECT_EQ(failures, status == 0 ? 0 : 1);
    }
}
