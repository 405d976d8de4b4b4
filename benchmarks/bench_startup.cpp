// bench-layer: tv_classlib
// Cold start of the program to its shown main window, headless: the program is
// started with a file argument (so no start window) and timed until it reports
// the main window shown. Prints each run and the median.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <vector>

#include "median.h"

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString program = QCoreApplication::applicationDirPath() + "/../bin/tessavik";
    const int runs = argc > 1 ? QString(argv[1]).toInt() : 9;
    QTemporaryDir config, work;
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("TESSAVIK_TRACE", "1");
        env.insert("TESSAVIK_QUIT_AFTER", "100");
        env.insert("XDG_CONFIG_HOME", config.path());
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(work.path());
        QElapsedTimer t;
        t.start();
        p.start(program, {work.path() + "/none.tvk"});
        QByteArray err;
        double shown = -1;
        while (p.state() != QProcess::NotRunning || p.bytesAvailable() || !p.readAllStandardError().isEmpty()) {
            p.waitForReadyRead(50);
            err += p.readAllStandardError();
            if (shown < 0 && err.contains("shown FrmMain"))
                shown = t.nsecsElapsed() / 1e6;
            if (p.state() == QProcess::NotRunning)
                break;
        }
        p.waitForFinished();
        if (shown < 0) {
            std::fprintf(stderr, "run %d: main window not reported\n%s\n", i, err.constData());
            return 1;
        }
        ms.push_back(shown);
        std::printf("run %d: %.1f ms\n", i + 1, shown);
    }
    std::printf("median cold start to shown main window: %.1f ms (%d runs)\n", Median(ms), runs);
    return 0;
}
