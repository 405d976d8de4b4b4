// bench-layer: tv_designer
// Cold start of the program headless, timed until the main window is shown and
// its show handler is done: with an empty project and with a real design (the
// reference design of the printing test, saved as a project) named on the
// command line. Prints each run and the medians.
#include "../tests/e2e/reference_design.h"

#include "classlib/forms/application.h"
#include "classlib/forms/message_box.h"
#include "median.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <vector>

namespace {
// Milliseconds from the start to the main window ready, or -1.
double TimeStart(const QString& program, const QString& config, const QString& work, const QString& file)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("TESSAVIK_TRACE", "1");
    env.insert("TESSAVIK_QUIT_AFTER", "1000");
    env.insert("XDG_CONFIG_HOME", config);
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(work);
    QElapsedTimer t;
    t.start();
    p.start(program, {file});
    QByteArray err;
    double ready = -1;
    while (ready < 0 && p.state() != QProcess::NotRunning) {
        p.waitForReadyRead(20);
        err += p.readAllStandardError();
        // The caption names the file once it is open: a box about a file
        // that could not be read would keep the window untitled.
        if (err.contains("ready FrmMain") && err.contains(QFileInfo(file).fileName().toUtf8()))
            ready = t.nsecsElapsed() / 1e6;
    }
    p.kill();
    p.waitForFinished();
    if (ready < 0)
        std::fprintf(stderr, "main window not ready with %s\n%s\n", qPrintable(file), err.constData());
    return ready;
}
} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config, work;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    QApplication app(argc, argv);
    TApplication::InitializeExisting();
    const QString program = QCoreApplication::applicationDirPath() + "/../bin/tessavik";
    const int runs = argc > 1 ? QString(argv[1]).toInt() : 9;

    const QString empty = work.path() + "/empty.tvk";
    QFile(empty).open(QIODevice::WriteOnly);
    const QString design = work.path() + "/design.tvk";
    {
        SetMessageBoxHook([](const QString&, const QString&, unsigned) { return IDOK; });
        TFrmMain main(nullptr);
        main.DoCreate();
        main.SetStartFile(QStringLiteral("-"));
        main.Show();
        BuildReferenceDesign(&main);
        main.UlozSoubor(design);
        main.Hide();
        SetMessageBoxHook(nullptr);
    }
    for (const QString& file : {empty, design}) {
        std::vector<double> ms;
        for (int i = 0; i < runs; ++i) {
            const double t = TimeStart(program, config.path(), work.path(), file);
            if (t < 0)
                return 1;
            ms.push_back(t);
            std::printf("%s run %d: %.1f ms\n", qPrintable(QFileInfo(file).fileName()), i + 1, t);
        }
        std::printf("median cold start to the main window ready with %s: %.1f ms (%d runs)\n",
                    qPrintable(QFileInfo(file).fileName()), Median(ms), runs);
    }
    TApplication::Finalize();
    return 0;
}
