#include "catalogue/cd_database_form.h"

#include "catalogue/cd_database.h"
#include "catalogue/cddb_entry.h"
#include "catalogue/insertion_text.h"

TCDDatabaseForm* CDDatabaseForm = nullptr;

TCDDatabaseForm::TCDDatabaseForm(TComponent* owner) : TForm(owner)
{
    SetName(QStringLiteral("CDDatabaseForm"));
    SetCaption(QStringLiteral("CDDB Databáze"));
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    Font()->SetName(QStringLiteral("MS Sans Serif"));
    SetClientSize(408, 216);
    SetShowHint(true);

    ListView1 = Placed(new TListView(this), "ListView1", this, 8, 8, 392, 168);
    ListView1->SetReadOnly(true);
    ListView1->SetRowSelect(true);
    TListColumn* title = ListView1->Columns()->Add();
    title->SetCaption(QStringLiteral("Název"));
    title->SetWidth(150);
    TListColumn* artist = ListView1->Columns()->Add();
    artist->SetCaption(QStringLiteral("Autor"));
    artist->SetWidth(150);
    ListView1->OnDblClick = [this](TComponent* s) { Button5Click(s); };

    auto button = [this](const char* name, const QString& caption, const QString& hint, int left) {
        auto* b = Placed(new TButton(this), name, this, left, 184, 76, 25);
        b->SetCaption(caption);
        b->SetHint(hint);
        return b;
    };
    Button5 = button("Button5", QStringLiteral("Vložit obsah"), QStringLiteral("Vloží výběr do návrhu"), 8);
    Button5->SetDefault(true);
    Button6 = button("Button6", QStringLiteral("Vložit název"), QString(), 87);
    Button2 = button("Button2", QStringLiteral("Obnovit"), QStringLiteral("Obnoví obsah databáze"), 166);
    Button3 = button("Button3", QStringLiteral("Smazat"), QStringLiteral("Smaže aktuální položku"), 245);
    Button4 = button("Button4", QStringLiteral("Editovat"), QStringLiteral("Edituje aktuální položku"), 324);
    Button5->OnClick = [this](TComponent* s) { Button5Click(s); };
    Button6->OnClick = [this](TComponent* s) { Button6Click(s); };
    Button2->OnClick = [this](TComponent* s) { Button2Click(s); };
    Button3->OnClick = [this](TComponent* s) { Button3Click(s); };
    Button4->OnClick = [this](TComponent* s) { Button4Click(s); };

    // A catalogue that cannot be opened must not keep the program from starting;
    // it is tried again, and the reason told, when it is used.
    FFolder = TCDDatabase::DefaultFolder();
    try {
        Catalogue();
    } catch (const Exception&) {
        CDDatabase1 = nullptr;
    }

    OnShow = [this](TComponent* s) { FormShow(s); };
    if (!CDDatabaseForm)
        CDDatabaseForm = this;
}

TCDDatabaseForm::~TCDDatabaseForm()
{
    if (CDDatabaseForm == this)
        CDDatabaseForm = nullptr;
}

TCDDatabase& TCDDatabaseForm::Catalogue()
{
    // What kept the file from opening (a lock, say) may have gone since.
    if (!CDDatabase1) {
        auto* catalogue = new TCDDatabase(this, FFolder);
        catalogue->SetName(QStringLiteral("CDDatabase1"));
        CDDatabase1 = catalogue;
    }
    return *CDDatabase1;
}

void TCDDatabaseForm::FormShow(TComponent* sender) { Button2Click(sender); }

void TCDDatabaseForm::Button2Click(TComponent*) { RefreshList(); }

void TCDDatabaseForm::RefreshList()
{
    TCDDatabase& catalogue = Catalogue();
    TListItems* items = ListView1->Items();
    struct TUpdate {
        TListItems* Items;
        ~TUpdate() { Items->EndUpdate(); }
    } update{items};
    items->BeginUpdate();
    items->Clear();
    // One row per stored id, so that a row's index is the disc's place in IdList.
    const int count = static_cast<int>(catalogue.IdList().size());
    for (int i = 0; i < count; ++i) {
        TAccessDBEntry record;
        catalogue.GetEntry(i, record);
        TListItem* item = items->Add();
        item->SetCaption(record.CDTitle);
        item->SubItems()->Add(record.ArtistTitle);
    }
}

bool TCDDatabaseForm::ReadSelected(TAccessDBEntry& record)
{
    const int index = ListView1->ItemIndex();
    if (index < 0)
        return false;
    TCDDatabase& catalogue = Catalogue();
    if (index >= catalogue.IdList().size() || !catalogue.GetEntry(index, record)) {
        // The list no longer matches the catalogue.
        RefreshList();
        return false;
    }
    return true;
}

void TCDDatabaseForm::Button3Click(TComponent*)
{
    TAccessDBEntry record;
    if (!ReadSelected(record))
        return;
    Catalogue().Delete(record.DiscId);
    RefreshList();
}

void TCDDatabaseForm::Button4Click(TComponent*) { EditSelected(); }

void TCDDatabaseForm::EditSelected()
{
    TAccessDBEntry record;
    if (!ReadSelected(record))
        return;
    if (!record.EditCDEntry())
        return;
    TCDDatabase& catalogue = Catalogue();
    catalogue.Update(record);
    // Storing moves the disc to the end of the catalogue's order: the rows must
    // follow, or the next action would pick another disc by its old row.
    RefreshList();
    ListView1->SetItemIndex(static_cast<int>(catalogue.IdList().indexOf(record.DiscId)));
}

void TCDDatabaseForm::Button5Click(TComponent*)
{
    TAccessDBEntry record;
    if (!ReadSelected(record))
        return;
    InsertText(TrackListText(record.GetTracks()), 8);
    RefreshList();
    Close();
}

void TCDDatabaseForm::Button6Click(TComponent*)
{
    TAccessDBEntry record;
    if (!ReadSelected(record))
        return;
    InsertText(DiscTitleText(record), 14);
    RefreshList();
    Close();
}

void TCDDatabaseForm::InsertText(const QString& text, int fontSize)
{
    if (OnInsertText)
        OnInsertText(text, fontSize);
    // The design may have been saved while this window was open.
    if (OnModified)
        OnModified(this);
}
