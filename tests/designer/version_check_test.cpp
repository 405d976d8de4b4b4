// The version check against pages served on 127.0.0.1: what the user is
// told for each page text, and that the window stays usable while it loads.

#include "designer_fixture.h"
#include "local_http_server.h"

#include "classlib/forms/message_box.h"
#include "classlib/inifiles.h"
#include "designer/forms/frm_invisible.h"
#include "designer/main/web_download.h"
#include "test_support.h"

#include <QApplication>
#include <QCoreApplication>
#include <QTest>
#include <QWindow>
#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

using TestSupport::HttpReply;
using TestSupport::HttpRequest;
using TestSupport::LocalHttpServer;

namespace {
const QString Checking = QString::fromUtf8("Zjišťuji...");

class VersionCheck : public ::testing::Test {
protected:
    // A server answering the page with reply; the settings name it.
    void Serve(HttpReply reply)
    {
        FServer = std::make_unique<LocalHttpServer>([reply](const HttpRequest&) { return reply; });
        TIniFile(m->SettingsFileName()).WriteString("Setting", "VersionServer", FServer->BaseUrl() + "/");
        SetMessageBoxHook([this](const QString& text, const QString&, unsigned flags) {
            Said.push_back(text);
            StatusWhenSaid.push_back(w.stav->Caption());
            Flags = flags;
            return IDOK;
        });
    }

    // Presses "Zjistit" and lets the page load and be judged.
    void Check()
    {
        w.TestVerzeClick(nullptr);
        EXPECT_EQ(w.stav->Caption(), Checking);
        QElapsedTimer t;
        t.start();
        while ((w.WebDownload->Busy() || t.elapsed() < 50) && t.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QCoreApplication::processEvents();
    }

    TMainWindowFixture f;
    TFrmMain* m = f.Main();
    TFrmInvisible w{nullptr};
    std::unique_ptr<LocalHttpServer> FServer;
    std::vector<QString> Said, StatusWhenSaid;
    unsigned Flags = 0xFFFF;
};
} // namespace

TEST_F(VersionCheck, SameReleaseSaysUpToDateAndANewerOneNamesTheSite)
{
    EXPECT_EQ(w.stav->Caption(), "Stav...");
    Serve({200, "320"});
    Check();
    ASSERT_EQ(FServer->Requests().size(), 1u);
    EXPECT_EQ(FServer->Requests()[0].Path, "/download_file/verze.txt");
    ASSERT_EQ(Said.size(), 1u);
    EXPECT_EQ(Said[0], QString::fromUtf8("Používáte nejnovější verzi programu."));
    EXPECT_EQ(StatusWhenSaid[0], Checking); // the message comes before the status
    EXPECT_EQ(Flags, unsigned(MB_OK));
    EXPECT_EQ(w.stav->Caption(), QString::fromUtf8("Nová verze není"));

    Serve({200, "321"});
    Check();
    ASSERT_EQ(Said.size(), 2u);
    EXPECT_TRUE(Said[1].startsWith(QString::fromUtf8("Vyšla nová verze programu. Stáhnout ji můžete na stránkách http")));
    EXPECT_TRUE(Said[1].endsWith('.'));
    EXPECT_EQ(StatusWhenSaid[1], QString::fromUtf8("Nová verze již je")); // here the status comes first
}

TEST_F(VersionCheck, TextThatIsNoPlainNumberShowsNothing)
{
    for (const QByteArray& body : {QByteArray("abc"), QByteArray("320\n"), QByteArray("320\r\n"), QByteArray(""),
                                  QByteArray("<PRE>999</PRE>")}) {
        Serve({200, body});
        Check();
        EXPECT_TRUE(Said.empty()) << body.constData();
        EXPECT_EQ(w.stav->Caption(), Checking) << body.constData();
    }
}

TEST_F(VersionCheck, APageThatCannotBeReadSaysTheCheckFailed)
{
    const QString failed = QString::fromUtf8("Zjištění se nezdařilo");
    // A server error (even with a number in it), no server at all, and one that
    // takes the request and never answers.
    Serve({404, "321"});
    Check();
    EXPECT_EQ(w.stav->Caption(), failed);
    FServer.reset();
    w.stav->SetCaption("Stav...");
    Check();
    EXPECT_EQ(w.stav->Caption(), failed);
    HttpReply silent;
    silent.Silent = true;
    Serve(silent);
    w.WebDownload->TimeoutMs = 500;
    w.stav->SetCaption("Stav...");
    Check();
    EXPECT_EQ(w.stav->Caption(), failed);
    EXPECT_TRUE(Said.empty());
}

TEST_F(VersionCheck, AnHtmlPageTakesItsBodyAndOneWithoutABodyReachesTheErrorHandler)
{
    HttpReply page{200, "<html><body><PRE>321</PRE></body></html>"};
    page.ContentType = "text/html; charset=utf-8";
    Serve(page);
    Check();
    ASSERT_EQ(Said.size(), 1u);
    EXPECT_EQ(StatusWhenSaid[0], QString::fromUtf8("Nová verze již je"));

    w.stav->SetCaption("Stav...");
    Said.clear();
    HttpReply bare{200, "<html><head><title>321</title></head></html>"};
    bare.ContentType = "text/html";
    Serve(bare);
    Check();
    // The error's own message, not one of the check's.
    ASSERT_EQ(Said.size(), 1u);
    EXPECT_TRUE(Said[0].contains(QString::fromUtf8("nemá žádný obsah"))) << Said[0].toStdString();
    EXPECT_EQ(w.stav->Caption(), Checking);
}

TEST_F(VersionCheck, ASilentServerLeavesTheWindowUsableAndTheStatusChecking)
{
    HttpReply silent;
    silent.Silent = true;
    Serve(silent);
    w.WebDownload->TimeoutMs = 1500;
    // Shown as the menu command shows it; the user checks, waits, then closes.
    bool stillChecking = false, timerRan = false;
    QTimer::singleShot(0, [&] {
        TestSupport::MouseClick(w.TestVerze->Handle(), QPoint(5, 5));
        QTimer::singleShot(300, [&] {
            timerRan = true;
            stillChecking = w.stav->Caption() == Checking && w.WebDownload->Busy();
            TestSupport::MouseClick(w.Button1->Handle(), QPoint(5, 5));
        });
    });
    QElapsedTimer t;
    t.start();
    m->Zjistitnovouverzi1Click(nullptr);
    EXPECT_LT(t.elapsed(), 1400); // closed before the transfer gave up
    EXPECT_TRUE(timerRan);
    EXPECT_TRUE(stillChecking);
    EXPECT_FALSE(w.Visible());
    // The load gives up on its own; nothing is said, the status tells it.
    while (w.WebDownload->Busy() && t.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QCoreApplication::processEvents();
    EXPECT_TRUE(Said.empty());
    EXPECT_EQ(w.stav->Caption(), QString::fromUtf8("Zjištění se nezdařilo"));
}

// The window as the Help menu shows it, used from the keyboard only.
TEST_F(VersionCheck, EnterAtTheFirstOpeningChecksAndTabWalksTheButtons)
{
    Serve({200, "320"});
    QWidget* check = w.TestVerze->Handle();
    QWidget* close = w.Button1->Handle();
    QWidget *focusAtOpen = nullptr, *focusAfterCheck = nullptr;
    size_t requestsAfterEnter = 0;
    std::vector<QWidget*> walk;
    bool ran = false;
    QTimer::singleShot(0, [&] {
        ran = true;
        QWindow* window = w.Window()->windowHandle();
        QElapsedTimer shown;
        shown.start();
        while (QApplication::activeWindow() != w.Window() && shown.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        focusAtOpen = QApplication::focusWidget();
        QTest::keyClick(window, Qt::Key_Return);
        QElapsedTimer t;
        t.start();
        while ((w.WebDownload->Busy() || Said.empty()) && t.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        requestsAfterEnter = FServer->Requests().size();
        focusAfterCheck = QApplication::focusWidget();
        for (int i = 0; i < 3; ++i) {
            QTest::keyClick(window, Qt::Key_Tab);
            walk.push_back(QApplication::focusWidget());
        }
        // Esc closes the window.
        QTest::keyClick(window, Qt::Key_Escape);
    });
    m->Zjistitnovouverzi1Click(nullptr);
    ASSERT_TRUE(ran);
    EXPECT_FALSE(w.Visible());
    EXPECT_EQ(focusAtOpen, check);
    EXPECT_EQ(requestsAfterEnter, 1u);
    EXPECT_EQ(Said, std::vector<QString>({QString::fromUtf8("Používáte nejnovější verzi programu.")}));
    EXPECT_EQ(StatusWhenSaid, std::vector<QString>({Checking}));
    EXPECT_EQ(w.stav->Caption(), QString::fromUtf8("Nová verze není"));
    // The keyboard stays on the buttons, the only controls one sees.
    EXPECT_EQ(focusAfterCheck, check);
    EXPECT_EQ(walk, std::vector<QWidget*>({close, check, close}));
}
