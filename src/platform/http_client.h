#pragma once
// A small synchronous HTTP client on libcurl: one request at a time, through an
// optional proxy, with connect and transfer time-outs so that a silent server
// cannot hold the caller for ever. Every request uses a fresh connection.

#include "classlib/sysutils.h"

#include <QByteArray>
#include <QString>

// What went wrong with a request, for a caller that tells the user.
enum class THttpFailure {
    Other,
    NoAnswer,    // no connection, or no reply in time
    TooSlow,     // the reply had begun but was not whole in time
    CutShort,    // the connection ended before the reply was whole
    TooLarge,    // the reply passed the size limit
    Status,      // the server answered with an HTTP error status (raised by callers)
};

// Transport failures: no connection, time-out, reply too large, bad address.
class EHttpError : public Exception {
public:
    explicit EHttpError(QString message, QByteArray received = {}, THttpFailure failure = THttpFailure::Other)
        : Exception(std::move(message)), FReceived(std::move(received)), FFailure(failure) {}
    // Whatever part of the reply body had arrived before the failure.
    const QByteArray& Received() const { return FReceived; }
    THttpFailure Failure() const { return FFailure; }

private:
    QByteArray FReceived;
    THttpFailure FFailure;
};

struct THttpResponse {
    int StatusCode = 0;
    QByteArray ContentType;
    QByteArray Body;
};

class THttpClient {
public:
    // Proxy host, empty for a direct connection (proxy settings of the environment are not used).
    QString ProxyHost;
    int ProxyPort = 0;
    int ConnectTimeoutMs = 10000;
    // Limit for the whole request, connecting included.
    int TimeoutMs = 30000;
    // A server that sends nothing of its reply for this long is given up (0: no limit).
    int IdleTimeoutMs = 0;
    qint64 MaxReplySize = 4 * 1024 * 1024;

    // Both raise EHttpError on transport failures; any HTTP status is returned.
    THttpResponse Post(const QString& url, const QByteArray& body,
                       const QByteArray& contentType = QByteArrayLiteral("application/x-www-form-urlencoded"));
    THttpResponse Get(const QString& url);

private:
    THttpResponse Perform(const QString& url, const QByteArray* postBody, const QByteArray& contentType);
};
