#pragma once
// A main window for designer tests: created and shown like the program does,
// with its settings folder in a fresh temporary place.

#include "designer/main/frm_main.h"

#include <QFile>
#include <memory>
#include <sys/inotify.h>
#include <unistd.h>

class TMainWindowFixture {
public:
    TMainWindowFixture();
    ~TMainWindowFixture();
    TFrmMain* Main() const { return FMain.get(); }
    // Runs the first show; "-" shows neither the start window nor a file.
    void ShowWindow(const QString& startFile = QStringLiteral("-"));

private:
    std::unique_ptr<TFrmMain> FMain;
    QByteArray FOldConfig;
};

// Counts the opens of one file while it lives, through the kernel's file
// events (the program's code is not asked). Closes are watched too: the
// kernel merges an event with the unread one before it when they are alike.
class TOpenCounter {
public:
    explicit TOpenCounter(const QString& file)
        : FFd(inotify_init1(IN_NONBLOCK)), FWatch(inotify_add_watch(FFd, QFile::encodeName(file).constData(), IN_OPEN | IN_CLOSE))
    {
    }
    ~TOpenCounter() { close(FFd); }
    TOpenCounter(const TOpenCounter&) = delete;
    TOpenCounter& operator=(const TOpenCounter&) = delete;
    bool Ok() const { return FFd >= 0 && FWatch >= 0; }
    int Opens()
    {
        alignas(inotify_event) char buffer[4096];
        for (ssize_t n; (n = read(FFd, buffer, sizeof buffer)) > 0;)
            for (char* at = buffer; at < buffer + n;) {
                const auto* e = reinterpret_cast<const inotify_event*>(at);
                FOpens += (e->mask & IN_OPEN) != 0;
                at += sizeof(inotify_event) + e->len;
            }
        return FOpens;
    }

private:
    int FFd;
    int FWatch;
    int FOpens = 0;
};
