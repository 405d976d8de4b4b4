#pragma once
// The disc lookup client: asks a CDDB server (protocol level 4 over HTTP POST) for
// the disc in the drive and fills a disc record from the answer. Several candidates
// go to the multiple-matches dialog, an unknown disc to the entry dialog.

#include "classlib/component.h"
#include "classlib/sysutils.h"

#include <QString>
#include <QStringList>
#include <chrono>
#include <functional>
#include <optional>
#include <memory>

class TCDDBEntry;
class THttpClient;

using TDataEvent = std::function<void(TComponent* sender, const QString& AData)>;

// A reply the lookup does not understand.
class ECDDBError : public Exception { using Exception::Exception; };

class TCDDBConnect : public TComponent {
public:
    TV_CLASS_NAME(TCDDBConnect)
    explicit TCDDBConnect(TComponent* owner);
    ~TCDDBConnect() override;

    // Published properties.
    const QString& UserName() const { return FUserName; }
    void SetUserName(const QString& value) { FUserName = value; }
    const QString& HostName() const { return FHostName; }
    void SetHostName(const QString& value) { FHostName = value; }
    const QString& ClientName() const { return FClientName; }
    void SetClientName(const QString& value) { FClientName = value; }
    const QString& ClientVersion() const { return FClientVersion; }
    void SetClientVersion(const QString& value) { FClientVersion = value; }
    const QString& Server() const { return FServer; }
    void SetServer(const QString& value) { FServer = value; }
    const QString& ProxyServer() const { return FProxyServer; }
    void SetProxyServer(const QString& value) { FProxyServer = value; }
    int ProxyPort() const { return FProxyPort; }
    void SetProxyPort(int value) { FProxyPort = value; }
    TDataEvent OnSendData;
    TDataEvent OnReceiveData;

    // Milliseconds allowed for connecting, for the whole exchange with the
    // server (every request of a lookup between two questions to the user), and
    // for a connected server to stay silent. The lookup blocks the window, so a
    // dead or crawling server is given up after seconds.
    int ConnectTimeout() const { return FConnectTimeout; }
    void SetConnectTimeout(int ms) { FConnectTimeout = ms; }
    int Timeout() const { return FTimeout; }
    void SetTimeout(int ms) { FTimeout = ms; }
    int IdleTimeout() const { return FIdleTimeout; }
    void SetIdleTimeout(int ms) { FIdleTimeout = ms; }
    // The drive (or disc image) whose disc Query looks up; empty for the default drive.
    const QString& DeviceName() const { return FDeviceName; }
    void SetDeviceName(const QString& value) { FDeviceName = value; }

    // Looks the disc up and fills the record; true when it was filled from the server
    // or entered by the user. Raises on transport errors and unexpected replies.
    bool Query(TCDDBEntry& record);
    // One request; returns the reply's lines.
    const QStringList& DoCommand(const QString& command);
    // The form line of a request.
    QString BuildParams(const QString& command) const;
    // Lets the user pick one of the matches listed in a 210/211 reply; -1 for none.
    int ChooseMatch(TComponent* owner, const QStringList& lines);

    int ResponseCode() const { return FResponseCode; }
    // The last Query returned False because the server did not give the entry
    // it had listed (a read reply other than 210), not because the user cancelled.
    bool ReadFailed() const { return FReadFailed; }
    // The HTTP status of the last request, 0 when none arrived.
    int HttpStatus() const { return FHttpStatus; }
    const QStringList& Response() const { return FResponse; }

    // Reply parsing.
    static int ParseResponseCode(const QString& reply);
    static QStringList SplitLines(const QString& text);
    // The texts a 210/211 reply lists: every line after the status line up to ".",
    // without its category and disc id.
    static QStringList MatchList(const QStringList& lines);

private:
    bool ReadEntry(const QString& argument, TCDDBEntry& record, const QString& discId);

    QString FUserName;
    QString FHostName;
    QString FClientName;
    QString FClientVersion;
    QString FServer;
    QString FProxyServer;
    int FProxyPort = 0;
    int FConnectTimeout = 5000;
    int FTimeout = 7000;
    int FIdleTimeout = 5000;
    bool FReadFailed = false;
    int FHttpStatus = 0;
    QString FDeviceName;
    // When the running exchange must end; unset outside a lookup, where each
    // request has the whole time.
    std::optional<std::chrono::steady_clock::time_point> FDeadline;
    std::unique_ptr<THttpClient> FHttp;
    int FResponseCode = 0;
    QStringList FResponse;
    QString FResponseText;
};
