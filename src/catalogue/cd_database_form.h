#pragma once
// The catalogue window: the discs of the catalogue, from which a track list or
// a title goes into the design. It knows the design only through OnInsertText
// and OnModified, which the main window assigns.

#include "classlib/controls/list_view.h"
#include "classlib/controls/std_controls.h"
#include "classlib/forms/form.h"

#include <functional>

class TCDDatabase;
class TAccessDBEntry;

class TCDDatabaseForm : public TForm {
public:
    TV_CLASS_NAME(TCDDatabaseForm)
    explicit TCDDatabaseForm(TComponent* owner);
    ~TCDDatabaseForm() override;

    TListView* ListView1 = nullptr;
    TButton* Button5 = nullptr; // insert the track list
    TButton* Button6 = nullptr; // insert artist and title
    TButton* Button2 = nullptr; // refresh
    TButton* Button3 = nullptr; // delete
    TButton* Button4 = nullptr; // edit
    // The catalogue; nullptr while its file cannot be opened.
    TCDDatabase* CDDatabase1 = nullptr;

    // Puts a new text object with this text at this font size into the design.
    std::function<void(const QString& text, int fontSize)> OnInsertText;
    // The design was changed from this window.
    TNotifyEvent OnModified;

    // The catalogue, opened again when it could not be before; raises
    // EDatabaseError when it cannot be opened.
    TCDDatabase& Catalogue();

    void FormShow(TComponent* sender);
    void RefreshList();
    void EditSelected();
    void Button2Click(TComponent* sender);
    void Button3Click(TComponent* sender);
    void Button4Click(TComponent* sender);
    void Button5Click(TComponent* sender);
    void Button6Click(TComponent* sender);

private:
    // Reads the selected disc into record; false when none is selected.
    bool ReadSelected(TAccessDBEntry& record);
    void InsertText(const QString& text, int fontSize);

    QString FFolder; // of the catalogue file
};

extern TCDDatabaseForm* CDDatabaseForm;
