#include "catalogue/cddb_connect.h"

#include "catalogue/cddb_entry.h"
#include "disc_image.h"
#include "fake_dialogs.h"
#include "local_http_server.h"
#include "platform/cd_audio_device.h"
#include "platform/http_client.h"
#include "qt_print.h"
#include "test_support.h"

#include <QCursor>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMap>
#include <QUrlQuery>
#include <gtest/gtest.h>
#include <mutex>

using namespace TestSupport;

namespace {

// A CDDB server on 127.0.0.1: canned replies by command, in the protocol's lines.
class CddbServer {
public:
    CddbServer()
        : FServer([this](const HttpRequest& request) {
              const QUrlQuery form(QString::fromUtf8(request.Body));
              const QString command = form.queryItemValue(QStringLiteral("cmd"));
              std::lock_guard<std::mutex> lock(FMutex);
              FCommands.append(command);
              HttpReply reply;
              if (FSilent) {
                  reply.Silent = true;
              } else if (FReplies.contains(command)) {
                  reply.Body = FReplies.value(command);
              } else {
                  reply.Status = FUnknownStatus;
                  reply.Body = "500 Unrecognized command.\r\n";
              }
              return reply;
          })
    {
    }
    void Reply(const QString& command, const QByteArray& body) { FReplies.insert(command, body); }
    void SetSilent() { FSilent = true; }
    void SetUnknownStatus(int status) { FUnknownStatus = status; }
    QStringList Commands() const
    {
        std::lock_guard<std::mutex> lock(FMutex);
        return FCommands;
    }
    std::vector<HttpRequest> Requests() const { return FServer.Requests(); }
    QString BaseUrl() const { return FServer.BaseUrl(); }
    quint16 Port() const { return FServer.Port(); }

private:
    mutable std::mutex FMutex;
    QMap<QString, QByteArray> FReplies;
    QStringList FCommands;
    bool FSilent = false;
    int FUnknownStatus = 200;
    LocalHttpServer FServer;
};

const QString kQuery = QStringLiteral("cddb+query+0200B401+1+150+180");

// A one-track disc of three minutes: id 0200B401.
QString OneTrackDisc()
{
    static const QString cue = MakeCueImage(MakeTempDir(), QStringLiteral("lookup"), {150}, 150 + 180 * 75);
    return cue;
}

void Connect(TCDDBConnect& cddb, const CddbServer& server)
{
    cddb.SetServer(server.BaseUrl());
    cddb.SetDeviceName(OneTrackDisc());
}

const QByteArray kReadReply = "210 rock 0200B401 CD database entry follows (until terminating `.')\r\n"
                              "# xmcd\r\n"
                              "DISCID=0200b401\r\n"
                              "DTITLE=Some Artist / Some Album\r\n"
                              "TTITLE0=Opening\r\n"
                              ".\r\n";

} // namespace

TEST(CDDBConnect, DefaultsAndTheFormLine)
{
    TCDDBConnect cddb(nullptr);
    EXPECT_EQ(cddb.UserName(), QStringLiteral("Unknown"));
    EXPECT_EQ(cddb.HostName(), QStringLiteral("Unknown"));
    EXPECT_EQ(cddb.ClientName(), QStringLiteral("Unknown"));
    EXPECT_EQ(cddb.ClientVersion(), QStringLiteral("1.0"));
    EXPECT_EQ(cddb.Server(), QStringLiteral("http://gnudb.gnudb.org"));
    EXPECT_TRUE(cddb.ProxyServer().isEmpty());
    EXPECT_EQ(cddb.ProxyPort(), 0);
    EXPECT_GT(cddb.Timeout(), 0);
    EXPECT_EQ(cddb.BuildParams(kQuery),
              QStringLiteral("cmd=cddb+query+0200B401+1+150+180&hello=Unknown+Unknown+Unknown+1.0&proto=4"));
    cddb.SetUserName(QStringLiteral("jan"));
    cddb.SetHostName(QStringLiteral("example.cz"));
    cddb.SetClientName(QStringLiteral("Tessavik"));
    cddb.SetClientVersion(QStringLiteral("3.1"));
    EXPECT_EQ(cddb.BuildParams(QStringLiteral("cddb+read+rock+0200B401")),
              QStringLiteral("cmd=cddb+read+rock+0200B401&hello=jan+example.cz+Tessavik+3.1&proto=4"));
}

TEST(CDDBConnect, ReplyCodesAndLines)
{
    EXPECT_EQ(TCDDBConnect::ParseResponseCode(QStringLiteral("200 rock 0200B401 A / B")), 200);
    EXPECT_EQ(TCDDBConnect::ParseResponseCode(QStringLiteral("211")), 211);
    EXPECT_EQ(TCDDBConnect::ParseResponseCode(QStringLiteral("21 x")), 0);
    EXPECT_EQ(TCDDBConnect::ParseResponseCode(QStringLiteral("21")), 0);
    EXPECT_EQ(TCDDBConnect::ParseResponseCode(QStringLiteral("-12 no")), 0);
    EXPECT_EQ(TCDDBConnect::ParseResponseCode(QStringLiteral("<html>")), 0);
    EXPECT_EQ(TCDDBConnect::ParseResponseCode(QString()), 0);

    EXPECT_EQ(TCDDBConnect::SplitLines(QStringLiteral("a\r\nb\nc\rd\r\n")),
              QStringList({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d")}));
    EXPECT_EQ(TCDDBConnect::SplitLines(QStringLiteral("a\r\n\r\nb")),
              QStringList({QStringLiteral("a"), QString(), QStringLiteral("b")}));
    EXPECT_TRUE(TCDDBConnect::SplitLines(QString()).isEmpty());

    const QStringList listed = {QStringLiteral("211 close matches"), QStringLiteral("rock 0200B401 A / One"),
                                QStringLiteral("jazz 0200B402 B / Two"), QStringLiteral("."),
                                QStringLiteral("misc 0200B403 after the end")};
    EXPECT_EQ(TCDDBConnect::MatchList(listed), QStringList({QStringLiteral("A / One"), QStringLiteral("B / Two")}));
    // Without the closing "." every remaining line is a match, and nothing more.
    EXPECT_EQ(TCDDBConnect::MatchList(listed.mid(0, 3)),
              QStringList({QStringLiteral("A / One"), QStringLiteral("B / Two")}));
    EXPECT_TRUE(TCDDBConnect::MatchList({QStringLiteral("211")}).isEmpty());
}

TEST(CDDBConnect, OneExactMatchIsReadAndParsed)
{
    CddbServer server;
    server.Reply(kQuery, "200 rock 0200B401 Some Artist / Some Album\r\n");
    server.Reply(QStringLiteral("cddb+read+rock+0200B401"), kReadReply);
    TCDDBConnect cddb(nullptr);
    Connect(cddb, server);
    QStringList sent;
    QStringList received;
    cddb.OnSendData = [&](TComponent* sender, const QString& data) {
        EXPECT_EQ(sender, &cddb);
        sent.append(data);
    };
    cddb.OnReceiveData = [&](TComponent*, const QString& data) { received.append(data); };

    TCDDBEntry entry;
    EXPECT_TRUE(cddb.Query(entry));
    EXPECT_EQ(server.Commands(), QStringList({kQuery, QStringLiteral("cddb+read+rock+0200B401")}));
    EXPECT_EQ(entry.DiscId, QStringLiteral("0200B401"));
    EXPECT_EQ(entry.Category, QStringLiteral("rock"));
    EXPECT_EQ(entry.ArtistTitle, QStringLiteral("Some Artist"));
    EXPECT_EQ(entry.CDTitle, QStringLiteral("Some Album"));
    EXPECT_EQ(entry.Tracks, QStringList({QStringLiteral("Opening")}));

    ASSERT_EQ(sent.size(), 2);
    EXPECT_EQ(sent[0], cddb.BuildParams(kQuery));
    ASSERT_EQ(received.size(), 2);
    EXPECT_EQ(received[1], QString::fromUtf8(kReadReply));
    EXPECT_EQ(cddb.ResponseCode(), 210);

    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].Method, QByteArray("POST"));
    EXPECT_EQ(requests[0].Path, QByteArray("/~cddb/cddb.cgi"));
    EXPECT_EQ(requests[0].Header("Content-Type"), QByteArray("application/x-www-form-urlencoded"));
    EXPECT_EQ(requests[0].Body,
              QByteArray("cmd=cddb+query+0200B401+1+150+180&hello=Unknown+Unknown+Unknown+1.0&proto=4"));
}

TEST(CDDBConnect, ReadReplyOtherThan210GivesFalseWithoutError)
{
    CddbServer server;
    server.Reply(kQuery, "200 rock 0200B401 Some Artist / Some Album\r\n");
    server.Reply(QStringLiteral("cddb+read+rock+0200B401"), "401 rock 0200B401 No such CD entry in database.\r\n");
    TCDDBConnect cddb(nullptr);
    Connect(cddb, server);
    TCDDBEntry entry;
    entry.CDTitle = QStringLiteral("as it was");
    EXPECT_FALSE(cddb.Query(entry));
    EXPECT_EQ(entry.CDTitle, QStringLiteral("as it was"));
    EXPECT_EQ(cddb.ResponseCode(), 401);
}

TEST(CDDBConnect, NoMatchConfirmedInTheEntryDialog)
{
    CddbServer server;
    server.Reply(kQuery, "202 No match for disc ID 0200B401.\r\n");
    FakeCDDBDialogs dialogs;
    dialogs.Edit = [](QString& title, QString& artist, QStringList& tracks) {
        title = QStringLiteral("Typed album");
        artist = QStringLiteral("Typed artist");
        tracks[0] = QStringLiteral("Typed track");
        return true;
    };
    TCDDBConnect cddb(nullptr);
    Connect(cddb, server);
    TCDDBEntry entry;
    EXPECT_TRUE(cddb.Query(entry));
    EXPECT_EQ(server.Commands(), QStringList({kQuery}));
    EXPECT_EQ(dialogs.ShownCDTitle, QStringLiteral("Unknown"));
    EXPECT_EQ(dialogs.ShownTracks, QStringList({QStringLiteral("Track 1")}));
    EXPECT_EQ(entry.DiscId, QStringLiteral("0200B401"));
    EXPECT_EQ(entry.CDTitle, QStringLiteral("Typed album"));
    EXPECT_EQ(entry.ArtistTitle, QStringLiteral("Typed artist"));
    EXPECT_EQ(entry.Tracks, QStringList({QStringLiteral("Typed track")}));
}

TEST(CDDBConnect, NoMatchCancelledStillLeavesTheDiscId)
{
    CddbServer server;
    server.Reply(kQuery, "202 No match for disc ID 0200B401.\r\n");
    FakeCDDBDialogs dialogs;
    TCDDBConnect cddb(nullptr);
    Connect(cddb, server);
    TCDDBEntry entry;
    EXPECT_FALSE(cddb.Query(entry));
    EXPECT_EQ(dialogs.EditCalls, 1);
    EXPECT_EQ(entry.DiscId, QStringLiteral("0200B401"));
    EXPECT_EQ(entry.CDTitle, QStringLiteral("Unknown"));
}

TEST(CDDBConnect, SeveralMatchesTheChosenOneIsRead)
{
    CddbServer server;
    server.Reply(kQuery, "210 Found exact matches, list follows (until terminating `.')\r\n"
                         "rock 0200B401 First Artist / First Album\r\n"
                         "jazz 0200B4FF Second Artist / Second Album\r\n"
                         ".\r\n");
    server.Reply(QStringLiteral("cddb+read+jazz+0200B4FF"),
                 "210 jazz 0200B4FF\r\nDTITLE=Second Artist / Second Album\r\nTTITLE0=A\r\nTTITLE1=B\r\n.\r\n");
    FakeCDDBDialogs dialogs;
    dialogs.Choice = 1;
    TCDDBConnect cddb(nullptr);
    Connect(cddb, server);
    TCDDBEntry entry;
    EXPECT_TRUE(cddb.Query(entry));
    EXPECT_EQ(dialogs.ShownOwner, &cddb);
    EXPECT_EQ(dialogs.ShownMatches, QStringList({QStringLiteral("First Artist / First Album"),
                                                 QStringLiteral("Second Artist / Second Album")}));
    EXPECT_EQ(server.Commands(), QStringList({kQuery, QStringLiteral("cddb+read+jazz+0200B4FF")}));
    EXPECT_EQ(entry.Category, QStringLiteral("jazz"));
    EXPECT_EQ(entry.DiscId, QStringLiteral("0200B401")) << "the record keeps the id of the disc in the drive";
    EXPECT_EQ(entry.CDTitle, QStringLiteral("Second Album"));
    EXPECT_EQ(entry.Tracks, QStringList({QStringLiteral("A"), QStringLiteral("B")}));
}

TEST(CDDBConnect, SeveralMatchesCancelledLeavesTheRecordAsItWas)
{
    CddbServer server;
    server.Reply(kQuery, "210 Found exact matches\r\nrock 0200B401 A / B\r\n.\r\n");
    FakeCDDBDialogs dialogs;
    dialogs.Choice = -1;
    TCDDBConnect cddb(nullptr);
    Connect(cddb, server);
    TCDDBEntry entry;
    entry.DiscId = QStringLiteral("11111111");
    entry.CDTitle = QStringLiteral("as it was");
    EXPECT_FALSE(cddb.Query(entry));
    EXPECT_EQ(dialogs.ChooseCalls, 1);
    EXPECT_EQ(server.Commands(), QStringList({kQuery}));
    EXPECT_EQ(entry.DiscId, QStringLiteral("11111111"));
    EXPECT_EQ(entry.CDTitle, QStringLiteral("as it was"));
}

TEST(CDDBConnect, InexactMatchListWithoutTheClosingDot)
{
    CddbServer server;
    server.Reply(kQuery, "211 Found inexact matches, list follows\r\n"
                         "rock 0200B401 A / One\r\n"
                         "misc 0200B402 B / Two");
    server.Reply(QStringLiteral("cddb+read+misc+0200B402"), "210 misc 0200B402\r\nDTITLE=B / Two\r\n.\r\n");
    FakeCDDBDialogs dialogs;
    dialogs.Choice = 1;
    TCDDBConnect cddb(nullptr);
    Connect(cddb, server);
    TCDDBEntry entry;
    EXPECT_TRUE(cddb.Query(entry));
    EXPECT_EQ(dialogs.ShownMatches, QStringList({QStringLiteral("A / One"), QStringLiteral("B / Two")}));
    EXPECT_EQ(entry.ArtistTitle, QStringLiteral("B"));
}

TEST(CDDBConnect, MatchDialogAnsweringOutOfRangeCountsAsCancel)
{
    CddbServer server;
    server.Reply(kQuery, "211 close\r\nrock 0200B401 A / One\r\n.\r\n");
    FakeCDDBDialogs dialogs;
    dialogs.Choice = 5;
    TCDDBConnect cddb(nullptr);
    Connect(cddb, server);
    TCDDBEntry entry;
    EXPECT_FALSE(cddb.Query(entry));
    EXPECT_EQ(server.Commands().size(), 1);
}

TEST(CDDBConnect, UnexpectedRepliesRaise)
{
    for (const QByteArray& body : {QByteArray("500 Command syntax error: incorrect number of arguments.\r\n"),
                                   QByteArray("431 Handshake not successful, closing connection.\r\n"),
                                   QByteArray("21 short\r\n"), QByteArray()}) {
        CddbServer server;
        server.Reply(kQuery, body);
        TCDDBConnect cddb(nullptr);
        Connect(cddb, server);
        QString received = QStringLiteral("not called");
        cddb.OnReceiveData = [&](TComponent*, const QString& data) { received = data; };
        TCDDBEntry entry;
        try {
            cddb.Query(entry);
            FAIL() << "no error for " << body.constData();
        } catch (const ECDDBError& e) {
            EXPECT_EQ(e.Message(), QStringLiteral("Unexpected response - ") + QString::fromUtf8(body));
        }
        EXPECT_EQ(received, QString::fromUtf8(body));
        EXPECT_TRUE(entry.DiscId.isEmpty());
    }
}

TEST(CDDBConnect, HttpErrorStatusRaisesAfterReportingTheReply)
{
    CddbServer server;
    server.SetUnknownStatus(404);
    TCDDBConnect cddb(nullptr);
    Connect(cddb, server);
    QString received;
    cddb.OnReceiveData = [&](TComponent*, const QString& data) { received = data; };
    TCDDBEntry entry;
    EXPECT_THROW(cddb.Query(entry), EHttpError);
    EXPECT_EQ(received, QStringLiteral("500 Unrecognized command.\r\n"));
}

TEST(CDDBConnect, DeadServerHitsTheTimeOutAndRestoresTheCursor)
{
    CddbServer server;
    server.SetSilent();
    TCDDBConnect cddb(nullptr);
    Connect(cddb, server);
    cddb.SetTimeout(500);
    bool hourglass = false;
    int receiveCalls = 0;
    cddb.OnSendData = [&](TComponent*, const QString&) {
        hourglass = QGuiApplication::overrideCursor() &&
                    QGuiApplication::overrideCursor()->shape() == Qt::WaitCursor;
    };
    cddb.OnReceiveData = [&](TComponent*, const QString& data) {
        ++receiveCalls;
        EXPECT_TRUE(data.isEmpty());
    };
    QElapsedTimer clock;
    clock.start();
    TCDDBEntry entry;
    EXPECT_THROW(cddb.Query(entry), EHttpError);
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_TRUE(hourglass) << "the hourglass shows while the request runs";
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(receiveCalls, 1);
}

TEST(CDDBConnect, TheQueryAndItsReadShareOneDeadline)
{
    // Both replies come a byte at a time: the query's whole in about a second,
    // the read's not within the time that is left.
    LocalHttpServer server([](const HttpRequest& request) {
        const QString command = QUrlQuery(QString::fromUtf8(request.Body)).queryItemValue(QStringLiteral("cmd"));
        HttpReply reply;
        reply.Body = command == kQuery ? QByteArray("200 rock 0200B401 Some Artist / Some Album\r\n") : kReadReply;
        reply.TrickleMs = 25;
        return reply;
    });
    TCDDBConnect cddb(nullptr);
    cddb.SetServer(server.BaseUrl());
    cddb.SetDeviceName(OneTrackDisc());
    cddb.SetTimeout(2000);
    QElapsedTimer clock;
    clock.start();
    TCDDBEntry entry;
    try {
        cddb.Query(entry);
        FAIL() << "the read must not get a time of its own";
    } catch (const EHttpError& e) {
        EXPECT_EQ(e.Failure(), THttpFailure::TooSlow) << e.what();
    }
    EXPECT_LT(clock.elapsed(), 2700);
    EXPECT_EQ(server.Requests().size(), 2u);
}

TEST(CDDBConnect, CursorIsBackAfterASuccessfulRequest)
{
    CddbServer server;
    server.Reply(QStringLiteral("motd"), "210 Last modified: today\r\nHello\r\n.\r\n");
    TCDDBConnect cddb(nullptr);
    Connect(cddb, server);
    const QStringList& lines = cddb.DoCommand(QStringLiteral("motd"));
    EXPECT_EQ(lines.size(), 3);
    EXPECT_EQ(cddb.ResponseCode(), 210);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(CDDBConnect, ProxySettingsAreUsed)
{
    CddbServer proxy;
    proxy.Reply(QStringLiteral("motd"), "210 ok\r\n.\r\n");
    TCDDBConnect cddb(nullptr);
    cddb.SetServer(QStringLiteral("http://cddb.example.invalid"));
    cddb.SetProxyServer(QStringLiteral("127.0.0.1"));
    cddb.SetProxyPort(proxy.Port());
    cddb.DoCommand(QStringLiteral("motd"));
    ASSERT_EQ(proxy.Requests().size(), 1u);
    EXPECT_EQ(proxy.Requests()[0].Path, QByteArray("http://cddb.example.invalid/~cddb/cddb.cgi"));
}

TEST(CDDBConnect, NoDiscNoRequest)
{
    CddbServer server;
    TCDDBConnect cddb(nullptr);
    cddb.SetServer(server.BaseUrl());
    cddb.SetDeviceName(MakeTempDir() + QStringLiteral("/gone.cue"));
    TCDDBEntry entry;
    EXPECT_THROW(cddb.Query(entry), ECDAudioError);
    EXPECT_TRUE(server.Commands().isEmpty());
}
