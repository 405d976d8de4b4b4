#pragma once
// The page loader of the version check: it fetches one page over HTTP on a
// worker thread, reports the finished document on the GUI thread, and gives
// the document's body as a browser would, with a plain-text page shown as a
// body holding one <PRE> element.

#include "classlib/component.h"
#include "classlib/sysutils.h"

#include <QByteArray>
#include <QString>
#include <memory>

class QObject;

// The loaded document has no body element (or nothing was loaded).
class EWebDocument : public Exception {
public:
    using Exception::Exception;
};

class TWebDownload : public TComponent {
public:
    TV_CLASS_NAME(TWebDownload)
    explicit TWebDownload(TComponent* owner);
    ~TWebDownload() override;

    int ConnectTimeoutMs = 10000;
    // Limit for the whole request, connecting included.
    int TimeoutMs = 20000;

    // Starts loading the page and returns at once. A load still under way is
    // not stopped, but its page is dropped: the last address asked for wins.
    void Navigate(const QString& url);
    // A load is still under way.
    bool Busy() const;
    // Runs on the GUI thread when a document has finished loading; an address
    // that cannot be reached gives an error page, as a browser shows one.
    TNotifyEvent OnDocumentComplete;

    // The last document is the error page of an address that could not be
    // loaded (no server, time-out, an HTTP error status).
    bool Failed() const { return FFailed; }

    // The markup of the loaded document's body element.
    QString BodyOuterHTML() const;
    // The body element of a page of the given content type.
    static QString BodyMarkup(const QByteArray& contentType, const QByteArray& page);

private:
    struct TShared;
    std::shared_ptr<TShared> FShared;
    std::unique_ptr<QObject> FContext; // receives the finished loads on the GUI thread
    unsigned FGeneration = 0;
    bool FLoaded = false;
    bool FFailed = false;
    QByteArray FContentType, FBody;
};
