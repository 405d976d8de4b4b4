#pragma once
// A CDDB server on 127.0.0.1 for tests: canned replies by command; an unknown
// command gets "500". Records the commands it was sent.
#include "local_http_server.h"

#include <QMap>
#include <QStringList>
#include <QUrlQuery>
#include <mutex>

class TestCddbServer {
public:
    TestCddbServer()
        : FServer([this](const TestSupport::HttpRequest& request) {
              const QUrlQuery form(QString::fromUtf8(request.Body));
              const QString command = form.queryItemValue(QStringLiteral("cmd"));
              std::lock_guard<std::mutex> lock(FMutex);
              FCommands.append(command);
              TestSupport::HttpReply reply;
              if (FStatus != 200)
                  reply.Status = FStatus;
              reply.Body = FReplies.value(command, "500 Unrecognized command.\r\n");
              reply.Silent = FSilent;
              reply.CutAfter = FCutAfter;
              reply.TrickleMs = FTrickleMs;
              return reply;
          })
    {
    }
    void Reply(const QString& command, const QByteArray& body)
    {
        std::lock_guard<std::mutex> lock(FMutex);
        FReplies.insert(command, body);
    }
    // Every answer with this HTTP status (a broken server).
    void SetStatus(int status)
    {
        std::lock_guard<std::mutex> lock(FMutex);
        FStatus = status;
    }
    // Every request is taken and never answered (a hanging server).
    void SetSilent(bool silent)
    {
        std::lock_guard<std::mutex> lock(FMutex);
        FSilent = silent;
    }
    // Every answer breaks off after this many bytes of its body (-1: whole answers).
    void SetCutAfter(qsizetype bytes)
    {
        std::lock_guard<std::mutex> lock(FMutex);
        FCutAfter = bytes;
    }
    // Every answer sends its headers at once, then a byte of its body every ms.
    void SetTrickle(int ms)
    {
        std::lock_guard<std::mutex> lock(FMutex);
        FTrickleMs = ms;
    }
    QStringList Commands() const
    {
        std::lock_guard<std::mutex> lock(FMutex);
        return FCommands;
    }
    QString BaseUrl() const { return FServer.BaseUrl(); }

private:
    mutable std::mutex FMutex;
    QMap<QString, QByteArray> FReplies;
    QStringList FCommands;
    int FStatus = 200;
    bool FSilent = false;
    qsizetype FCutAfter = -1;
    int FTrickleMs = 0;
    TestSupport::LocalHttpServer FServer;
};
