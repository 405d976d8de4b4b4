// The real program started without a screen: which windows appear, and the
// main window's caption.

#include "classlib/controls/std_controls.h"
#include "classlib/streaming/component_stream.h"
#include "test_support.h"

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <gtest/gtest.h>

namespace {
struct ProgramRun {
    QString Err;
    int ExitCode = -1;
};

ProgramRun StartProgram(const QStringList& args, int quitAfterMs)
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
    ProgramRun r;
    if (!p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished();
    }
    r.Err = QString::fromUtf8(p.readAllStandardError());
    r.ExitCode = p.exitCode();
    return r;
}
} // namespace

TEST(ProgramStart, WithoutAFileTheStartWindowAppearsOnce)
{
    const ProgramRun r = StartProgram({}, 1500);
    EXPECT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    EXPECT_EQ(r.Err.count("shown FrmStart"), 1) << r.Err.toStdString();
    // The main window of an untitled document, in the texts of the language
    // file beside the program.
    EXPECT_TRUE(r.Err.contains(QString::fromUtf8("shown FrmMain Bez názvu - Tessavik"))) << r.Err.toStdString();
    EXPECT_TRUE(r.Err.contains("quit"));
}

TEST(ProgramStart, WithAFileTheStartWindowStaysHidden)
{
    // An empty project file is a design with no objects.
    const QString file = TestSupport::MakeTempDir() + "/prazdny.tvk";
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    const ProgramRun r = StartProgram({file, "second-argument-is-ignored"}, 1500);
    EXPECT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    EXPECT_TRUE(r.Err.contains("shown FrmMain")) << r.Err.toStdString();
    EXPECT_FALSE(r.Err.contains("shown FrmStart")) << r.Err.toStdString();
    EXPECT_TRUE(r.Err.contains("caption FrmMain prazdny.tvk - Tessavik")) << r.Err.toStdString();
}

TEST(ProgramStart, AFileWhoseTemplateTypeIsNoWholeNumberStartsUntitled)
{
    for (const char* typ : {"abc", "", "1.5", "2147483648"}) {
        SCOPED_TRACE(typ);
        const QString file = TestSupport::MakeTempDir() + "/typ.tvk";
        {
            QFile f(file);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            TCheckBox param(nullptr);
            param.SetTag(5);
            param.SetName("Typ");
            param.SetCaption(QString::fromLatin1(typ));
            WriteComponentRecord(f, &param);
        }
        const QByteArray bytes = TestSupport::ReadFile(file);
        const ProgramRun r = StartProgram({file}, 1500);
        // The program runs on past the file's message, with an untitled
        // document, and the file is left alone.
        EXPECT_EQ(r.ExitCode, 0) << r.Err.toStdString();
        EXPECT_TRUE(r.Err.contains("quit")) << r.Err.toStdString();
        EXPECT_TRUE(r.Err.contains(QString::fromUtf8("shown FrmMain Bez názvu - Tessavik"))) << r.Err.toStdString();
        EXPECT_EQ(TestSupport::ReadFile(file), bytes);
    }
}
