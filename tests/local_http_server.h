#pragma once
// A tiny HTTP/1.1 server on 127.0.0.1 for network tests. It runs on its own thread,
// answers each request through a handler and records what it was sent.

#include <QByteArray>
#include <QString>
#include <atomic>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace TestSupport {

struct HttpRequest {
    QByteArray Method;
    QByteArray Path;
    std::vector<std::pair<QByteArray, QByteArray>> Headers;
    QByteArray Body;
    // The value of a header (name ignoring case), empty when it is not there.
    QByteArray Header(const QByteArray& name) const;
};

struct HttpReply {
    int Status = 200;
    QByteArray Body;
    QByteArray ContentType = "text/plain";
    // Keep the connection open and never answer.
    bool Silent = false;
    // Announce the whole body but close the connection after this many of its bytes.
    qsizetype CutAfter = -1;
    // Send the headers at once, then the body one byte every this many milliseconds.
    int TrickleMs = 0;
};

class LocalHttpServer {
public:
    using Handler = std::function<HttpReply(const HttpRequest&)>;
    explicit LocalHttpServer(Handler handler);
    ~LocalHttpServer();
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    quint16 Port() const { return FPort; }
    // "http://127.0.0.1:<port>"
    QString BaseUrl() const;
    std::vector<HttpRequest> Requests() const;

private:
    void Run();
    void Serve(int client);

    Handler FHandler;
    int FListen = -1;
    quint16 FPort = 0;
    std::atomic<bool> FStop{false};
    mutable std::mutex FMutex;
    std::vector<HttpRequest> FRequests;
    std::vector<int> FHeld;
    std::thread FThread;
};

} // namespace TestSupport
