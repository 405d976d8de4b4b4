// bench-layer: tv_designer
// Cold start of the program headless, until the main window is shown and its
// show handler is done: with an empty project and with a real design (the
// reference design of the printing test, saved as a project) named on the
// command line. Beside the time, the CPU the process spent to get there (all
// its threads) and its peak memory, against a bare Qt window started the same
// way in the same run. Prints each run and the medians.
#include "../tests/e2e/reference_design.h"

#include "classlib/forms/application.h"
#include "classlib/forms/message_box.h"
#include "median.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {
struct TStart {
    double Ms = -1;    // wall time to ready
    double CpuMs = 0;  // user and system time of all the process's threads
    double PeakMb = 0; // peak resident memory
};

// Starts the program, waits until its trace says ready (and, when named, the
// file is open), then ends it at once and takes its resource use.
TStart Measure(const QString& program, const QStringList& args, const QString& work, const QString& config,
               const QByteArray& readyLine, const QString& file)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("TESSAVIK_TRACE", "1");
    env.insert("XDG_CONFIG_HOME", config);
    std::vector<std::string> envStrings, argStrings{program.toStdString()};
    for (const QString& kv : env.toStringList())
        envStrings.push_back(kv.toStdString());
    for (const QString& a : args)
        argStrings.push_back(a.toStdString());
    std::vector<char*> envp, argv;
    for (std::string& e : envStrings)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    for (std::string& a : argStrings)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    const std::string dir = work.toStdString();
    posix_spawn_file_actions_addchdir_np(&actions, dir.c_str());
    QElapsedTimer t;
    t.start();
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    TStart out;
    if (spawned != 0) {
        close(pipeFds[0]);
        return out;
    }
    QByteArray err;
    const QByteArray name = QFileInfo(file).fileName().toUtf8();
    while (t.elapsed() < 60000) {
        pollfd p{pipeFds[0], POLLIN, 0};
        if (poll(&p, 1, 100) <= 0)
            continue;
        char buffer[4096];
        const ssize_t n = read(pipeFds[0], buffer, sizeof buffer);
        if (n <= 0)
            break;
        err.append(buffer, n);
        // The caption names the file once it is open: a box about a file
        // that could not be read would keep the window untitled.
        if (err.contains(readyLine) && (name.isEmpty() || err.contains(name))) {
            out.Ms = t.nsecsElapsed() / 1e6;
            break;
        }
    }
    kill(pid, SIGKILL);
    close(pipeFds[0]);
    rusage use{};
    int status = 0;
    while (wait4(pid, &status, 0, &use) < 0 && errno == EINTR) {
    }
    out.CpuMs = (use.ru_utime.tv_sec + use.ru_stime.tv_sec) * 1e3 + (use.ru_utime.tv_usec + use.ru_stime.tv_usec) / 1e3;
    out.PeakMb = use.ru_maxrss / 1024.0;
    if (out.Ms < 0)
        std::fprintf(stderr, "%s not ready\n%s\n", qPrintable(program), err.constData());
    return out;
}

struct TSeries {
    std::vector<double> Ms, Cpu, Peak;
    void Add(const TStart& s)
    {
        Ms.push_back(s.Ms);
        Cpu.push_back(s.CpuMs);
        Peak.push_back(s.PeakMb);
    }
};
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
    const QString bare = QCoreApplication::applicationDirPath() + "/bare_qt_window";
    TSeries bareRuns;
    for (int i = 0; i < runs; ++i) {
        const TStart s = Measure(bare, {}, work.path(), config.path(), "ready bare", QString());
        if (s.Ms < 0)
            return 1;
        bareRuns.Add(s);
        std::printf("bare Qt window run %d: %.1f ms, CPU %.1f ms, peak %.1f MB\n", i + 1, s.Ms, s.CpuMs, s.PeakMb);
    }
    const double bareCpu = Median(bareRuns.Cpu), barePeak = Median(bareRuns.Peak);
    std::printf("median bare Qt window: %.1f ms, CPU %.1f ms, peak %.1f MB (%d runs)\n", Median(bareRuns.Ms), bareCpu,
                barePeak, runs);
    // Also with skinning switched off in the settings.
    QTemporaryDir configOff;
    QDir().mkpath(configOff.path() + "/tessavik");
    QFile settings(configOff.path() + "/tessavik/velkaro3.ini");
    if (!settings.open(QIODevice::WriteOnly) || settings.write("[Setting]\r\nSkinEnabled=0\r\n") <= 0)
        return 1;
    settings.close();
    struct TCase {
        QString File, Config, Name;
    };
    const TCase cases[] = {{empty, config.path(), QFileInfo(empty).fileName()},
                           {design, config.path(), QFileInfo(design).fileName()},
                           {empty, configOff.path(), QFileInfo(empty).fileName() + " without skin"}};
    for (const TCase& c : cases) {
        const QString& file = c.File;
        TSeries series;
        for (int i = 0; i < runs; ++i) {
            const TStart s = Measure(program, {file}, work.path(), c.Config, "ready FrmMain", file);
            if (s.Ms < 0)
                return 1;
            series.Add(s);
            std::printf("%s run %d: %.1f ms, CPU %.1f ms, peak %.1f MB\n", qPrintable(c.Name), i + 1, s.Ms, s.CpuMs,
                        s.PeakMb);
        }
        const double cpu = Median(series.Cpu), peak = Median(series.Peak);
        std::printf("median cold start to the main window ready with %s: %.1f ms, CPU %.1f ms (%.2fx the bare window), "
                    "peak %.1f MB (%.2fx) (%d runs)\n",
                    qPrintable(c.Name), Median(series.Ms), cpu, cpu / bareCpu, peak,
                    peak / barePeak, runs);
    }
    TApplication::Finalize();
    return 0;
}
