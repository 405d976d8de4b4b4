#include "designer/forms/frm_invisible.h"

#include "classlib/forms/application.h"
#include "classlib/forms/message_box.h"
#include "classlib/inifiles.h"
#include "classlib/sysutils.h"
#include "designer/forms/frm_start.h"
#include "designer/main/frm_main.h"
#include "designer/main/web_download.h"

TFrmInvisible* FrmInvisible = nullptr;
const QString TFrmInvisible::VersionPagePath = QStringLiteral("/download_file/verze.txt");
const QString TFrmInvisible::CheckFailedText = QStringLiteral("Zjištění se nezdařilo");
// Plain HTTP: the page is fetched without encryption.
const QString TFrmInvisible::DefaultVersionHost = QStringLiteral("http://tessavik.example");

TFrmInvisible::TFrmInvisible(TComponent* owner) : TForm(owner)
{
    SetName(QStringLiteral("FrmInvisible"));
    SetCaption(QString::fromUtf8("Nová verze"));
    SetBorderStyle(bsSingle);
    SetBorderIcons(biSystemMenu);
    SetPosition(poScreenCenter);
    SetClientSize(270, 122);
    SetColor(RGB(0, 128, 192));

    auto place = [](auto* c, const char* name, TWinControl* parent, int l, int t, int w, int h) {
        return Placed(c, name, parent, l, t, w, h);
    };
    WebDownload = new TWebDownload(this);
    WebDownload->SetName(QStringLiteral("WebDownload"));
    WebDownload->OnDocumentComplete = [this](TComponent* s) { WebDownloadDocumentComplete(s); };
    Memo = place(new TMemo(this), "Memo", this, 120, 32, 49, 33);
    // Never seen: the keyboard goes to the buttons, so Enter checks at once.
    Memo->SetTabStop(false);
    Memo->Handle()->setFocusPolicy(Qt::NoFocus);
    Panel1 = place(new TPanel(this), "Panel1", this, 16, 8, 241, 57);
    Panel1->SetColor(RGB(111, 208, 255));
    Panel1->SetCaption(QString());
    stav = place(new TLabel(this), "stav", Panel1, 8, 21, 225, 32);
    stav->SetAutoSize(false);
    stav->SetAlignment(taCenter);
    stav->Font()->SetName(QStringLiteral("Arial"));
    stav->Font()->SetHeight(-16);
    stav->Font()->SetStyle(FontStyleBit(fsBold));
    stav->Font()->SetColor(RGB(213, 0, 0));
    stav->SetCaption(QStringLiteral("Stav..."));
    TestVerze = place(new TButton(this), "TestVerze", this, 51, 86, 75, 25);
    TestVerze->SetCaption(QStringLiteral("Zjistit"));
    TestVerze->SetDefault(true);
    TestVerze->OnClick = [this](TComponent* s) { TestVerzeClick(s); };
    Button1 = place(new TButton(this), "Button1", this, 147, 86, 75, 25);
    Button1->SetCaption(QString::fromUtf8("Zavřít"));
    Button1->SetCancel(true);
    Button1->OnClick = [this](TComponent* s) { Button1Click(s); };
    if (!FrmInvisible)
        FrmInvisible = this;
}

TFrmInvisible::~TFrmInvisible()
{
    if (FrmInvisible == this)
        FrmInvisible = nullptr;
}

QString TFrmInvisible::VersionHost()
{
    const QString settings = FrmMain ? FrmMain->SettingsFileName() : TFrmMain::ConfigDir() + QStringLiteral("/velkaro3.ini");
    QString host = TIniFile(settings).ReadString(QStringLiteral("Setting"), QStringLiteral("VersionServer"), QString()).trimmed();
    if (host.isEmpty())
        host = DefaultVersionHost;
    while (host.endsWith(QLatin1Char('/')))
        host.chop(1);
    return host;
}

void TFrmInvisible::TestVerzeClick(TComponent*)
{
    stav->SetCaption(QString::fromUtf8("Zjišťuji..."));
    // The page loads on its own; the window stays usable meanwhile.
    WebDownload->Navigate(VersionHost() + VersionPagePath);
}

void TFrmInvisible::WebDownloadDocumentComplete(TComponent*)
{
    // A page that could not be read ends the check too, or "Zjišťuji..." would
    // stay for ever.
    if (WebDownload->Failed()) {
        stav->SetCaption(CheckFailedText);
        return;
    }
    // Taking the body is not guarded: a page without one reaches the error handler.
    QString text;
    try {
        text = WebDownload->BodyOuterHTML();
    } catch (...) {
        if (Application)
            Application->HandleException(std::current_exception());
        return;
    }
    // Through the memo, as its text: line breaks become CR LF.
    Memo->SetCaption(ToLineFeeds(text).replace(QLatin1Char('\n'), QLatin1String("\r\n")));
    text = Memo->Caption();
    const qsizetype open = text.indexOf(QLatin1String("<PRE>"));
    if (open >= 0)
        text.remove(0, open + 5);
    const qsizetype close = text.indexOf(QLatin1String("</PRE>"));
    if (close >= 0)
        text.truncate(close);
    // From here on every error is swallowed: the status stays as it was.
    try {
        const int release = StrToInt(text);
        const QString title = Application ? Application->Title() : QString();
        if (release > ProgramRelease) {
            stav->SetCaption(QString::fromUtf8("Nová verze již je"));
            QString site = MakerWebAddress;
            while (site.endsWith(QLatin1Char('/')))
                site.chop(1);
            ShowMessageBox(nullptr, QString::fromUtf8("Vyšla nová verze programu. Stáhnout ji můžete na stránkách ") + site + QLatin1Char('.'), title, MB_OK);
        } else {
            ShowMessageBox(nullptr, QString::fromUtf8("Používáte nejnovější verzi programu."), title, MB_OK);
            stav->SetCaption(QString::fromUtf8("Nová verze není"));
        }
    } catch (...) {
    }
}

void TFrmInvisible::Button1Click(TComponent*) { Close(); }
