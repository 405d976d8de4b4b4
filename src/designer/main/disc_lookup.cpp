// The main window's side of the disc catalogue: the disc reader, the lookup
// client and the catalogue file, the command that looks the disc in the drive
// up, and the catalogue window's way into the design.

#include "designer/main/frm_main.h"

#include "catalogue/cd_database.h"
#include "catalogue/cd_database_form.h"
#include "catalogue/cd_info.h"
#include "catalogue/cddb_connect.h"
#include "catalogue/cddb_window_dialogs.h"
#include "catalogue/db_connection.h"
#include "classlib/forms/application.h"
#include "classlib/forms/message_box.h"
#include "platform/http_client.h"

#include <QWindow>

void TFrmMain::CreateCatalogueControls()
{
    // The default drive; a machine without one starts with the reader not ready.
    CDInfo1 = new TCDInfo(this);
    CDInfo1->SetName(QStringLiteral("CDInfo1"));
    CDDBConnect1 = new TCDDBConnect(this);
    CDDBConnect1->SetName(QStringLiteral("CDDBConnect1"));
    // The catalogue file is made at start-up. If it cannot be, the program still
    // starts; the catalogue window reports the reason when it is used.
    try {
        CDDatabase1 = new TCDDatabase(this);
        CDDatabase1->SetName(QStringLiteral("CDDatabase1"));
    } catch (const Exception&) {
        CDDatabase1 = nullptr;
    }
    // The lookup asks its questions in the dialog windows.
    SetCDDBDialogs(CDDBWindowDialogs());
}

TCDInfo& TFrmMain::DiscReader()
{
    const QString device = CDDBConnect1->DeviceName();
    if (!CDInfo1 || CDInfo1->DeviceName() != device) {
        auto* reader = new TCDInfo(this, device);
        reader->SetName(QStringLiteral("CDInfo1"));
        delete CDInfo1;
        CDInfo1 = reader;
    }
    return *CDInfo1;
}

void TFrmMain::VloitobsahCDzCDDB1Click(TComponent*)
{
    if (!CDDatabaseForm)
        throw EInvalidOperation(QStringLiteral("The catalogue window does not exist"));
    bool ready = false;
    try {
        ready = DiscReader().IsReady();
    } catch (const std::exception&) {
        // A drive or disc image that cannot be read holds no disc.
        ready = false;
    }
    // A catalogue file that cannot be used is told as what it is, not as a
    // failed lookup, and no window opens on it.
    auto catalogueFault = [this](const EDatabaseError& e) {
        Application->MessageBox(e.Message(), Application->Title(), MB_OK);
    };
    if (ready) {
        QString failure;
        try {
            failure = LookupInsertedCD();
        } catch (const EDatabaseError& e) {
            catalogueFault(e);
            return;
        }
        Application->MessageBox(failure.isEmpty() ? QStringLiteral("CD bylo načteno, pokračujete výběrem.") : failure,
                                Application->Title(), MB_OK);
    } else {
        Application->MessageBox(QStringLiteral("CD nebylo v mechanice nalezeno, zobrazí se uložená databáze."),
                                Application->Title(), MB_OK);
    }
    ConnectCatalogueWindow(CDDatabaseForm);
    try {
        // A window already open shows a disc the lookup has just stored.
        if (CDDatabaseForm->Visible())
            CDDatabaseForm->RefreshList();
        CDDatabaseForm->Show();
    } catch (const EDatabaseError& e) {
        if (e.Fault() == TDatabaseFault::None)
            throw;
        catalogueFault(e);
        return;
    }
    SetModified();
}

QString TFrmMain::LookupInsertedCD()
{
    // A failed lookup is told, with the cause; the catalogue window opens all the
    // same. The catalogue's own errors pass on to the caller.
    auto failed = [this](const QString& cause) { return sCDDBNezdar + QChar(13) + cause; };
    try {
        const QString id = DiscReader().DiscIdString();
        if (!LastEntry)
            LastEntry = std::make_unique<TAccessDBEntry>();
        if (id == LastEntry->DiscId)
            return QString();
        if (!CDDatabaseForm)
            return QString();
        TCDDatabase& catalogue = CDDatabaseForm->Catalogue();
        if (catalogue.Find(id, *LastEntry))
            return QString();
        if (CDDBConnect1->Query(*LastEntry)) {
            try {
                catalogue.Add(*LastEntry);
            } catch (const EDatabaseError&) {
                // Not stored: the next command looks the disc up again.
                LastEntry->DiscId.clear();
                throw;
            }
        } else if (CDDBConnect1->ReadFailed()) {
            return failed(sCDDBNesrozumitelna);
        }
    } catch (const EDatabaseError&) {
        throw;
    } catch (const EHttpError& e) {
        switch (e.Failure()) {
        case THttpFailure::NoAnswer:
            return failed(sCDDBNeodpovida);
        case THttpFailure::TooSlow:
            return failed(sCDDBPomala);
        case THttpFailure::CutShort:
            return failed(sCDDBPrerusena);
        case THttpFailure::TooLarge:
            return failed(sCDDBPrilisVelka);
        case THttpFailure::Status:
            return failed(QString(sCDDBChybaHTTP).replace(QStringLiteral("%1"),
                                                          QString::number(CDDBConnect1->HttpStatus())));
        case THttpFailure::Other:
            break;
        }
        return failed(sCDDBNesrozumitelna);
    } catch (const ECDDBError&) {
        return failed(sCDDBNesrozumitelna);
    } catch (const std::exception& e) {
        // The drive: its own words.
        return failed(QString::fromUtf8(e.what()));
    }
    return QString();
}

void TFrmMain::ConnectCatalogueWindow(TCDDatabaseForm* form)
{
    form->OnInsertText = [this](const QString& text, int fontSize) { AddTextObject(text, fontSize); };
    form->OnModified = [this](TComponent*) { SetModified(); };
    // Modeless, but kept above the main window.
    QWidget* window = form->Window();
    window->winId();
    Window()->winId();
    if (QWindow* handle = window->windowHandle())
        handle->setTransientParent(Window()->windowHandle());
}
