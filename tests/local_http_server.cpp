#include "local_http_server.h"

#include <QList>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>
#include <stdexcept>

namespace TestSupport {

QByteArray HttpRequest::Header(const QByteArray& name) const
{
    for (const auto& [key, value] : Headers) {
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    }
    return {};
}

LocalHttpServer::LocalHttpServer(Handler handler) : FHandler(std::move(handler))
{
    FListen = ::socket(AF_INET, SOCK_STREAM, 0);
    if (FListen < 0)
        throw std::runtime_error("socket");
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    if (::bind(FListen, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(FListen, 16) != 0)
        throw std::runtime_error("bind/listen");
    socklen_t len = sizeof addr;
    ::getsockname(FListen, reinterpret_cast<sockaddr*>(&addr), &len);
    FPort = ntohs(addr.sin_port);
    FThread = std::thread([this] { Run(); });
}

LocalHttpServer::~LocalHttpServer()
{
    FStop = true;
    FThread.join();
    for (int fd : FHeld)
        ::close(fd);
    ::close(FListen);
}

QString LocalHttpServer::BaseUrl() const { return QStringLiteral("http://127.0.0.1:%1").arg(FPort); }

std::vector<HttpRequest> LocalHttpServer::Requests() const
{
    std::lock_guard<std::mutex> lock(FMutex);
    return FRequests;
}

void LocalHttpServer::Run()
{
    while (!FStop) {
        pollfd p{FListen, POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0)
            continue;
        const int client = ::accept(FListen, nullptr, nullptr);
        if (client >= 0)
            Serve(client);
    }
}

void LocalHttpServer::Serve(int client)
{
    timeval tv{2, 0};
    ::setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    QByteArray data;
    char buffer[4096];
    qsizetype headerEnd = -1;
    qsizetype contentLength = 0;
    for (;;) {
        if (headerEnd < 0) {
            headerEnd = data.indexOf("\r\n\r\n");
            if (headerEnd >= 0) {
                const QByteArray lower = data.left(headerEnd).toLower();
                const qsizetype at = lower.indexOf("content-length:");
                if (at >= 0) {
                    const qsizetype eol = lower.indexOf("\r\n", at);
                    contentLength = lower.mid(at + 15, eol < 0 ? -1 : eol - at - 15).trimmed().toLongLong();
                }
            }
        }
        if (headerEnd >= 0 && data.size() >= headerEnd + 4 + contentLength)
            break;
        const ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
        if (n <= 0) {
            ::close(client);
            return;
        }
        data.append(buffer, n);
    }

    HttpRequest request;
    const QList<QByteArray> headerLines = data.left(headerEnd).split('\n');
    const QList<QByteArray> first = headerLines.value(0).trimmed().split(' ');
    request.Method = first.value(0);
    request.Path = first.value(1);
    for (qsizetype i = 1; i < headerLines.size(); ++i) {
        const QByteArray line = headerLines[i].trimmed();
        const qsizetype colon = line.indexOf(':');
        if (colon > 0)
            request.Headers.emplace_back(line.left(colon).trimmed(), line.mid(colon + 1).trimmed());
    }
    request.Body = data.mid(headerEnd + 4, contentLength);
    {
        std::lock_guard<std::mutex> lock(FMutex);
        FRequests.push_back(request);
    }

    const HttpReply reply = FHandler(request);
    if (reply.Silent) {
        FHeld.push_back(client);
        return;
    }
    QByteArray out = "HTTP/1.1 " + QByteArray::number(reply.Status) + " Status\r\n";
    out += "Content-Type: " + reply.ContentType + "\r\n";
    out += "Content-Length: " + QByteArray::number(reply.Body.size()) + "\r\n";
    out += "Connection: close\r\n\r\n";
    const QByteArray body = reply.CutAfter >= 0 ? reply.Body.left(reply.CutAfter) : reply.Body;
    auto send = [client](const QByteArray& bytes) {
        qsizetype sent = 0;
        while (sent < bytes.size()) {
            const ssize_t n = ::send(client, bytes.constData() + sent, static_cast<size_t>(bytes.size() - sent), MSG_NOSIGNAL);
            if (n <= 0)
                return false;
            sent += n;
        }
        return true;
    };
    if (reply.TrickleMs > 0) {
        bool open = send(out);
        for (qsizetype i = 0; open && i < body.size(); ++i) {
            // In short naps, so that stopping the server does not wait for the next byte.
            for (int slept = 0; slept < reply.TrickleMs && !FStop; slept += 20)
                ::usleep(20000);
            open = !FStop && send(body.mid(i, 1));
        }
    } else {
        send(out + body);
    }
    ::shutdown(client, SHUT_WR);
    ::close(client);
}

} // namespace TestSupport
