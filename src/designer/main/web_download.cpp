#include "designer/main/web_download.h"

#include "platform/http_client.h"

#include <QMetaObject>
#include <QObject>
#include <QRegularExpression>
#include <atomic>
#include <mutex>
#include <thread>

// What the worker threads share with the component: the receiver of their
// results, cleared when the component goes, and how many are still running.
struct TWebDownload::TShared {
    std::mutex Mutex;
    QObject* Context = nullptr;
    std::atomic<int> Running{0};
};

namespace {
QString EscapeMarkup(const QString& text) { return text.toHtmlEscaped().replace(QLatin1String("&quot;"), QLatin1String("\"")); }

bool IsHtml(const QByteArray& contentType)
{
    const QByteArray type = contentType.split(';').first().trimmed().toLower();
    return type == "text/html" || type == "application/xhtml+xml";
}
} // namespace

TWebDownload::TWebDownload(TComponent* owner)
    : TComponent(owner), FShared(std::make_shared<TShared>()), FContext(std::make_unique<QObject>())
{
    FShared->Context = FContext.get();
}

TWebDownload::~TWebDownload()
{
    // A load that ends later finds no one to tell.
    std::lock_guard<std::mutex> lock(FShared->Mutex);
    FShared->Context = nullptr;
}

void TWebDownload::Navigate(const QString& url)
{
    const unsigned generation = ++FGeneration;
    const int connectTimeout = ConnectTimeoutMs;
    const int timeout = TimeoutMs;
    std::shared_ptr<TShared> shared = FShared;
    ++shared->Running;
    std::thread([this, shared, url, generation, connectTimeout, timeout] {
        QByteArray contentType, body;
        bool failed = true;
        try {
            THttpClient http;
            http.ConnectTimeoutMs = connectTimeout;
            http.TimeoutMs = timeout;
            THttpResponse reply = http.Get(url);
            if (reply.StatusCode >= 400)
                throw EHttpError(QStringLiteral("HTTP %1").arg(reply.StatusCode));
            contentType = reply.ContentType;
            body = reply.Body;
            failed = false;
        } catch (const std::exception& e) {
            // The browser's own page for an address it cannot reach.
            contentType = "text/html";
            body = "<html><body><h1>" + EscapeMarkup(QString::fromUtf8(e.what())).toUtf8() + "</h1></body></html>";
        } catch (...) {
            contentType = "text/html";
            body = "<html><body><h1>Error</h1></body></html>";
        }
        std::lock_guard<std::mutex> lock(shared->Mutex);
        if (shared->Context) {
            // Queued to the GUI thread; the context lives as long as the component.
            QMetaObject::invokeMethod(
                shared->Context,
                [this, generation, contentType, body, failed] {
                    if (generation != FGeneration)
                        return; // a later address was asked for
                    FLoaded = true;
                    FFailed = failed;
                    FContentType = contentType;
                    FBody = body;
                    if (OnDocumentComplete)
                        OnDocumentComplete(this);
                },
                Qt::QueuedConnection);
        }
        --shared->Running;
    }).detach();
}

bool TWebDownload::Busy() const { return FShared->Running > 0; }

QString TWebDownload::BodyOuterHTML() const
{
    if (!FLoaded)
        throw EWebDocument(QStringLiteral("Stránka s verzí programu ještě není načtena"));
    return BodyMarkup(FContentType, FBody);
}

QString TWebDownload::BodyMarkup(const QByteArray& contentType, const QByteArray& page)
{
    const QString text = QString::fromUtf8(page);
    if (!IsHtml(contentType))
        return QStringLiteral("<BODY><PRE>") + EscapeMarkup(text) + QStringLiteral("</PRE></BODY>");
    static const QRegularExpression body(QStringLiteral("<body\\b.*?(</body\\s*>|$)"),
                                         QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch m = body.match(text);
    if (!m.hasMatch())
        throw EWebDocument(QStringLiteral("Stránka s verzí programu nemá žádný obsah"));
    return m.captured(0);
}
