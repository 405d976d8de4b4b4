#pragma once
// A small synchronous HTTP client on libcurl: one request at a time, through an
// optional proxy, with connect and transfer time-outs so that a silent server
// cannot hold the caller for ever. Every request uses a fresh connection.

#include "classlib/sysutils.h"

#include <QByteArray>
#include <QString>

// Transport failures: no connection, time-out, reply too large, bad address.
class EHttpError : public Exception {
public:
    explicit EHttpError(QString message, QByteArray received = {})
        : Exception(std::move(message)), FReceived(std::move(received)) {}
    // Whatever part of the reply body had arrived before the failure.
    const QByteArray& Received() const { return FReceived; }

private:
    QByteArray FReceived;
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
    qint64 MaxReplySize = 4 * 1024 * 1024;

    // Both raise EHttpError on transport failures; any HTTP status is returned.
    THttpResponse Post(const QString& url, const QByteArray& body,
                       const QByteArray& contentType = QByteArrayLiteral("application/x-www-form-urlencoded"));
    THttpResponse Get(const QString& url);

private:
    THttpResponse Perform(const QString& url, const QByteArray* postBody, const QByteArray& contentType);
};
