#include "platform/http_client.h"

#include <curl/curl.h>
#include <chrono>
#include <memory>
#include <mutex>

namespace {

void GlobalInit()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct TReceiveState {
    QByteArray* Body;
    qint64 Limit;
    bool TooLarge = false;
};

size_t WriteBody(char* data, size_t size, size_t count, void* user)
{
    auto* state = static_cast<TReceiveState*>(user);
    const size_t bytes = size * count;
    if (state->Body->size() + static_cast<qint64>(bytes) > state->Limit) {
        state->TooLarge = true;
        return 0; // makes libcurl stop with a write error
    }
    state->Body->append(data, static_cast<qsizetype>(bytes));
    return bytes;
}

// The reply's bytes so far and when they last grew: a server that takes the
// request and then stays silent is given up after the idle time. (libcurl's
// low-speed limit counts in whole seconds of average speed and gave up on a
// silent server only after about twice the time.)
struct TIdleState {
    int LimitMs;
    curl_off_t Received;
    std::chrono::steady_clock::time_point Since;
    bool Expired;
};

int CheckIdle(void* user, curl_off_t, curl_off_t received, curl_off_t, curl_off_t)
{
    auto* state = static_cast<TIdleState*>(user);
    const auto now = std::chrono::steady_clock::now();
    if (received != state->Received) {
        state->Received = received;
        state->Since = now;
        return 0;
    }
    if (now - state->Since >= std::chrono::milliseconds(state->LimitMs)) {
        state->Expired = true;
        return 1; // ends the transfer
    }
    return 0;
}

// Some of the reply (its status line at least) had come when the transfer ended.
bool ReplyBegun(CURL* c, const QByteArray& body)
{
    long status = 0;
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status);
    return status != 0 || !body.isEmpty();
}

struct TCurlDeleter {
    void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};
struct TSlistDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

} // namespace

THttpResponse THttpClient::Post(const QString& url, const QByteArray& body, const QByteArray& contentType)
{
    return Perform(url, &body, contentType);
}

THttpResponse THttpClient::Get(const QString& url) { return Perform(url, nullptr, QByteArray()); }

THttpResponse THttpClient::Perform(const QString& url, const QByteArray* postBody, const QByteArray& contentType)
{
    GlobalInit();
    std::unique_ptr<CURL, TCurlDeleter> curl(curl_easy_init());
    if (!curl)
        throw EHttpError(QStringLiteral("The HTTP client cannot be started"));
    CURL* c = curl.get();

    THttpResponse response;
    TReceiveState state{&response.Body, MaxReplySize};
    char errorText[CURL_ERROR_SIZE] = {};
    const QByteArray urlBytes = url.toUtf8();
    const QByteArray proxy = ProxyHost.toUtf8();

    curl_easy_setopt(c, CURLOPT_URL, urlBytes.constData());
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(c, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(c, CURLOPT_POSTREDIR, static_cast<long>(CURL_REDIR_POST_ALL));
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(ConnectTimeoutMs));
    curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, static_cast<long>(TimeoutMs));
    TIdleState idle{IdleTimeoutMs, 0, std::chrono::steady_clock::now(), false};
    if (IdleTimeoutMs > 0) {
        curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
        curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, CheckIdle);
        curl_easy_setopt(c, CURLOPT_XFERINFODATA, &idle);
    }
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, errorText);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, WriteBody);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &state);
    // An empty proxy switches off the environment's proxy as well.
    curl_easy_setopt(c, CURLOPT_PROXY, proxy.constData());
    if (!ProxyHost.isEmpty() && ProxyPort > 0)
        curl_easy_setopt(c, CURLOPT_PROXYPORT, static_cast<long>(ProxyPort));

    // No "Expect: 100-continue" round trip: some servers never answer it.
    curl_slist* list = curl_slist_append(nullptr, "Expect:");
    QByteArray contentTypeHeader;
    if (postBody) {
        contentTypeHeader = "Content-Type: " + contentType;
        if (curl_slist* more = curl_slist_append(list, contentTypeHeader.constData()))
            list = more;
        curl_easy_setopt(c, CURLOPT_POST, 1L);
        curl_easy_setopt(c, CURLOPT_POSTFIELDS, postBody->constData());
        curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(postBody->size()));
    }
    std::unique_ptr<curl_slist, TSlistDeleter> headers(list);
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.get());

    const CURLcode rc = curl_easy_perform(c);
    if (rc != CURLE_OK) {
        QString reason;
        THttpFailure failure = THttpFailure::Other;
        if (state.TooLarge) {
            reason = QStringLiteral("the reply is larger than %1 bytes").arg(MaxReplySize);
            failure = THttpFailure::TooLarge;
        } else if (rc == CURLE_OPERATION_TIMEDOUT && !idle.Expired && ReplyBegun(c, response.Body)) {
            reason = QStringLiteral("the reply did not arrive whole in time");
            failure = THttpFailure::TooSlow;
        } else if (rc == CURLE_OPERATION_TIMEDOUT || idle.Expired) {
            reason = QStringLiteral("the server did not answer in time");
            failure = THttpFailure::NoAnswer;
        } else {
            reason = QString::fromUtf8(errorText[0] ? errorText : curl_easy_strerror(rc));
            if (rc == CURLE_COULDNT_CONNECT || rc == CURLE_COULDNT_RESOLVE_HOST || rc == CURLE_COULDNT_RESOLVE_PROXY ||
                rc == CURLE_GOT_NOTHING)
                failure = THttpFailure::NoAnswer;
            else if (rc == CURLE_PARTIAL_FILE || rc == CURLE_RECV_ERROR)
                failure = THttpFailure::CutShort;
        }
        throw EHttpError(QStringLiteral("HTTP request to %1 failed: %2").arg(url, reason), response.Body, failure);
    }
    long status = 0;
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status);
    response.StatusCode = static_cast<int>(status);
    char* type = nullptr;
    if (curl_easy_getinfo(c, CURLINFO_CONTENT_TYPE, &type) == CURLE_OK && type)
        response.ContentType = QByteArray(type);
    return response;
}
