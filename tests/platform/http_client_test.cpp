#include "platform/http_client.h"

#include "local_http_server.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

using namespace TestSupport;

TEST(HttpClient, PostsTheFormBodyUnchangedAndReturnsTheReply)
{
    LocalHttpServer server([](const HttpRequest&) {
        HttpReply reply;
        reply.Body = "210 OK\r\nline\r\n.\r\n";
        return reply;
    });
    THttpClient client;
    const QByteArray body = "cmd=cddb+query+0200B401&hello=a+b+c+1.0&proto=4";
    const THttpResponse response = client.Post(server.BaseUrl() + QStringLiteral("/~cddb/cddb.cgi"), body);
    EXPECT_EQ(response.StatusCode, 200);
    EXPECT_EQ(response.Body, QByteArray("210 OK\r\nline\r\n.\r\n"));
    EXPECT_EQ(response.ContentType, QByteArray("text/plain"));
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].Method, QByteArray("POST"));
    EXPECT_EQ(requests[0].Path, QByteArray("/~cddb/cddb.cgi"));
    EXPECT_EQ(requests[0].Body, body);
    EXPECT_EQ(requests[0].Header("Content-Type"), QByteArray("application/x-www-form-urlencoded"));
    EXPECT_TRUE(requests[0].Header("Expect").isEmpty());
}

TEST(HttpClient, GetAndHttpErrorStatusAreReturnedNotRaised)
{
    LocalHttpServer server([](const HttpRequest& request) {
        HttpReply reply;
        reply.Status = request.Path == "/missing" ? 404 : 200;
        reply.Body = request.Method;
        return reply;
    });
    THttpClient client;
    const THttpResponse missing = client.Get(server.BaseUrl() + QStringLiteral("/missing"));
    EXPECT_EQ(missing.StatusCode, 404);
    EXPECT_EQ(missing.Body, QByteArray("GET"));
}

TEST(HttpClient, SilentServerHitsTheTimeOut)
{
    LocalHttpServer server([](const HttpRequest&) {
        HttpReply reply;
        reply.Silent = true;
        return reply;
    });
    THttpClient client;
    client.TimeoutMs = 400;
    QElapsedTimer clock;
    clock.start();
    try {
        client.Post(server.BaseUrl() + QStringLiteral("/x"), "a=b");
        FAIL() << "a silent server must not count as an answer";
    } catch (const EHttpError& e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("did not answer in time"))) << e.what();
        EXPECT_EQ(e.Failure(), THttpFailure::NoAnswer);
    }
    EXPECT_LT(clock.elapsed(), 3000);
}

TEST(HttpClient, AReplyTrickledPastTheTimeLimitIsToldAsTooSlow)
{
    // A byte every 100 ms never leaves the server idle for long.
    LocalHttpServer server([](const HttpRequest&) {
        HttpReply reply;
        reply.Body = QByteArray(100, 'x');
        reply.TrickleMs = 100;
        return reply;
    });
    THttpClient client;
    client.TimeoutMs = 800;
    client.IdleTimeoutMs = 500;
    QElapsedTimer clock;
    clock.start();
    try {
        client.Get(server.BaseUrl());
        FAIL() << "the time limit holds for the whole reply";
    } catch (const EHttpError& e) {
        EXPECT_EQ(e.Failure(), THttpFailure::TooSlow) << e.what();
        EXPECT_FALSE(e.Received().isEmpty());
    }
    EXPECT_LT(clock.elapsed(), 3000);
}

TEST(HttpClient, RefusedConnectionAndBadAddressesRaise)
{
    quint16 closedPort = 0;
    {
        LocalHttpServer server([](const HttpRequest&) { return HttpReply(); });
        closedPort = server.Port();
    }
    THttpClient client;
    client.ConnectTimeoutMs = 1000;
    EXPECT_THROW(client.Get(QStringLiteral("http://127.0.0.1:%1/").arg(closedPort)), EHttpError);
    EXPECT_THROW(client.Get(QStringLiteral("file:///etc/passwd")), EHttpError);
    EXPECT_THROW(client.Get(QStringLiteral("not a url")), EHttpError);
}

TEST(HttpClient, OversizedReplyRaisesWithWhatArrived)
{
    LocalHttpServer server([](const HttpRequest&) {
        HttpReply reply;
        reply.Body = QByteArray(100000, 'x');
        return reply;
    });
    THttpClient client;
    client.MaxReplySize = 1000;
    try {
        client.Get(server.BaseUrl());
        FAIL() << "the size limit must hold";
    } catch (const EHttpError& e) {
        EXPECT_LE(e.Received().size(), 1000);
        EXPECT_TRUE(e.Message().contains(QStringLiteral("larger than 1000"))) << e.what();
    }
}

TEST(HttpClient, GoesThroughTheProxyGivenAndIgnoresTheEnvironmentsProxy)
{
    LocalHttpServer proxy([](const HttpRequest&) {
        HttpReply reply;
        reply.Body = "via proxy";
        return reply;
    });
    THttpClient client;
    client.ProxyHost = QStringLiteral("127.0.0.1");
    client.ProxyPort = proxy.Port();
    const THttpResponse response = client.Post(QStringLiteral("http://cddb.example.invalid/~cddb/cddb.cgi"), "q=1");
    EXPECT_EQ(response.Body, QByteArray("via proxy"));
    ASSERT_EQ(proxy.Requests().size(), 1u);
    EXPECT_EQ(proxy.Requests()[0].Path, QByteArray("http://cddb.example.invalid/~cddb/cddb.cgi"));

    // Without a proxy host the environment's proxy is not used either.
    LocalHttpServer direct([](const HttpRequest&) {
        HttpReply reply;
        reply.Body = "direct";
        return reply;
    });
    const QByteArray oldProxy = qgetenv("http_proxy");
    const QByteArray oldNoProxy = qgetenv("no_proxy");
    qputenv("http_proxy", "http://127.0.0.1:" + QByteArray::number(proxy.Port()));
    qunsetenv("no_proxy");
    THttpClient plain;
    const THttpResponse reply = plain.Get(direct.BaseUrl() + QStringLiteral("/"));
    if (oldProxy.isNull()) qunsetenv("http_proxy"); else qputenv("http_proxy", oldProxy);
    if (!oldNoProxy.isNull()) qputenv("no_proxy", oldNoProxy);
    EXPECT_EQ(reply.Body, QByteArray("direct"));
    EXPECT_EQ(proxy.Requests().size(), 1u);
}
