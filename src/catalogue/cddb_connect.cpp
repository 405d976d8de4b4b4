#include "catalogue/cddb_connect.h"

#include "catalogue/cd_info.h"
#include "catalogue/cddb_dialogs.h"
#include "catalogue/cddb_entry.h"
#include "catalogue/hourglass.h"
#include "platform/http_client.h"

TCDDBConnect::TCDDBConnect(TComponent* owner)
    : TComponent(owner),
      FUserName(QStringLiteral("Unknown")),
      FHostName(QStringLiteral("Unknown")),
      FClientName(QStringLiteral("Unknown")),
      FClientVersion(QStringLiteral("1.0")),
      FServer(QStringLiteral("http://gnudb.gnudb.org")),
      FHttp(std::make_unique<THttpClient>())
{
}

TCDDBConnect::~TCDDBConnect() = default;

QString TCDDBConnect::BuildParams(const QString& command) const
{
    return QStringLiteral("cmd=") + command + QStringLiteral("&hello=") + FUserName + QLatin1Char('+') + FHostName +
           QLatin1Char('+') + FClientName + QLatin1Char('+') + FClientVersion + QStringLiteral("&proto=4");
}

int TCDDBConnect::ParseResponseCode(const QString& reply)
{
    if (reply.size() < 3)
        return 0;
    int code = 0;
    for (int i = 0; i < 3; ++i) {
        const QChar c = reply.at(i);
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return 0;
        code = code * 10 + (c.unicode() - '0');
    }
    return code;
}

QStringList TCDDBConnect::SplitLines(const QString& text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        lines.append(text.mid(start, i - start));
        if (c == QLatin1Char('\r') && i + 1 < size && text.at(i + 1) == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    if (start < size)
        lines.append(text.mid(start));
    return lines;
}

QStringList TCDDBConnect::MatchList(const QStringList& lines)
{
    QStringList matches;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        if (lines[i] == QLatin1String("."))
            break;
        matches.append(TCDDBEntry::ExtractWord(lines[i], 2, true));
    }
    return matches;
}

const QStringList& TCDDBConnect::DoCommand(const QString& command)
{
    THourglass hourglass;
    FResponse.clear();
    FResponseCode = 0;
    FHttpStatus = 0;
    FResponseText.clear();
    QByteArray received;
    auto reportReceived = [&] {
        if (OnReceiveData)
            OnReceiveData(this, DecodeText(received));
    };
    try {
        const QString line = BuildParams(command);
        if (OnSendData)
            OnSendData(this, line);
        FHttp->ProxyHost = FProxyServer;
        FHttp->ProxyPort = FProxyPort;
        // What is left of the exchange's time; a request on its own has all of it.
        using namespace std::chrono;
        const auto now = steady_clock::now();
        const auto left = duration_cast<milliseconds>(FDeadline.value_or(now + milliseconds(FTimeout)) - now).count();
        if (left <= 0)
            throw EHttpError(QStringLiteral("The lookup ran out of time"), {}, THttpFailure::TooSlow);
        FHttp->ConnectTimeoutMs = static_cast<int>(std::min<long long>(FConnectTimeout, left));
        FHttp->TimeoutMs = static_cast<int>(left);
        FHttp->IdleTimeoutMs = FIdleTimeout;
        // The form line goes out as it is: commands carry "+" for blanks already.
        const THttpResponse reply = FHttp->Post(FServer + QStringLiteral("/~cddb/cddb.cgi"), line.toUtf8());
        received = reply.Body;
        FHttpStatus = reply.StatusCode;
        if (reply.StatusCode < 200 || reply.StatusCode > 299)
            throw EHttpError(QStringLiteral("The server answered with HTTP status %1").arg(reply.StatusCode),
                             received, THttpFailure::Status);
        FResponseText = DecodeText(received);
        FResponse = SplitLines(FResponseText);
        FResponseCode = ParseResponseCode(FResponseText);
    } catch (const EHttpError& e) {
        received = e.Received();
        try {
            reportReceived();
        } catch (...) {
            // The transport error is the one that counts.
        }
        throw;
    } catch (...) {
        try {
            reportReceived();
        } catch (...) {
        }
        throw;
    }
    reportReceived();
    return FResponse;
}

bool TCDDBConnect::Query(TCDDBEntry& record)
{
    FReadFailed = false;
    // The query and the read that follows it share one deadline; a question to
    // the user in between starts a new one.
    struct TExchange {
        TCDDBConnect* Self;
        void Start() { Self->FDeadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(Self->FTimeout); }
        ~TExchange() { Self->FDeadline.reset(); }
    } exchange{this};
    exchange.Start();
    TCDInfo reader(nullptr, FDeviceName);
    const QString discId = reader.DiscIdString();
    const int count = reader.TrackCount();
    QString command = QStringLiteral("cddb+query+") + discId + QLatin1Char('+') + QString::number(count);
    for (int t = 1; t <= count; ++t)
        command += QLatin1Char('+') + QString::number(TCDInfo::MsfToFrames(reader.TrackPosition(t)));
    command += QLatin1Char('+') + QString::number(reader.DiscLength());

    DoCommand(command);
    switch (FResponseCode) {
    case 200: {
        const QString category = TCDDBEntry::ExtractWord(FResponse.value(0), 1, false);
        return ReadEntry(category + QLatin1Char('+') + discId, record, discId);
    }
    case 202:
        record.FillUnknownEntry(reader);
        return record.EditCDEntry();
    case 210:
    case 211: {
        const int index = ChooseMatch(this, FResponse);
        if (index < 0 || index + 1 >= FResponse.size())
            return false;
        exchange.Start();
        const QString line = FResponse[index + 1];
        return ReadEntry(TCDDBEntry::ExtractWord(line, 0, false) + QLatin1Char('+') +
                             TCDDBEntry::ExtractWord(line, 1, false),
                         record, discId);
    }
    default:
        throw ECDDBError(QStringLiteral("Unexpected response - ") + FResponseText);
    }
}

bool TCDDBConnect::ReadEntry(const QString& argument, TCDDBEntry& record, const QString& discId)
{
    DoCommand(QStringLiteral("cddb+read+") + argument);
    if (FResponseCode != 210) {
        FReadFailed = true;
        return false;
    }
    record.ParseCDDBEntry(FResponse, discId);
    return true;
}

int TCDDBConnect::ChooseMatch(TComponent* owner, const QStringList& lines)
{
    const QStringList matches = MatchList(lines);
    TCDDBDialogs* dialogs = CDDBDialogs();
    if (!dialogs)
        return -1;
    const int index = dialogs->ChooseMatch(owner, matches);
    return index >= 0 && index < matches.size() ? index : -1;
}
