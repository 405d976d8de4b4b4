#pragma once
// What the disc and the box template editors share: the template they work on
// (the one selected in the template chooser), the count of their section, add
// mode, and writing the template's keys to the template file.

#include "classlib/controls/ext_controls.h"
#include "classlib/controls/std_controls.h"
#include "classlib/forms/form.h"

#include <vector>

class TIniFile;

class TTemplateEditor : public TForm {
public:
    TTemplateEditor(TComponent* owner, const QString& section, const QString& defaultCount);

    bool AddMode() const { return FAddMode; }
    // The number a template started with "Přidat" gets.
    int NewNumber() const { return FNewNumber; }
    // The template being edited: the chooser's selected line + 1.
    int TemplateNumber() const;

    TLabel* lbNazev = nullptr;
    TEdit* Nazev = nullptr;
    TButton* BtnOk = nullptr;
    TButton* BtnStorno = nullptr;
    TButton* btnPridat = nullptr;
    TButton* btnSmazat = nullptr;

    void FormShow(TComponent* sender);
    void BtnOkClick(TComponent* sender);
    void BtnStornoClick(TComponent* sender);
    void btnPridatClick(TComponent* sender);
    void btnSmazatClick(TComponent* sender);

protected:
    // A number field, the key (less its number) it is written to, the name
    // a message gives it, and whether it is a size (more than 0 mm).
    struct TField {
        TEdit* Edit;
        QString Key;
        QString Title;
        bool Size;
    };
    // The chooser's list this editor serves.
    virtual TListBox* ChooserList() const = 0;
    // The box editor's flag and kind; nothing for discs.
    virtual void LoadExtras(const TIniFile&, const QString&) {}
    virtual void ResetExtrasForAdd() {}
    virtual void WriteExtras(TIniFile&, const QString&) {}
    // The disc editor writes the count before the name, the box editor after it.
    virtual bool CountBeforeName() const = 0;

    // The name first and the four buttons last, the subclass's fields between:
    // the keyboard walks the controls in the order they are made, which is
    // then the order they stand on the window.
    void CreateNameField();
    void CreateButtons(int buttonsTop);
    TEdit* AddField(const char* name, const QString& key, const QString& title, bool size, TWinControl* parent,
                    int left, int top);
    TLabel* AddLabel(const char* name, const QString& text, TWinControl* parent, int left, int top);
    // "ComboSize" of the section as text (the editor's own default), as an integer.
    int ReadCount() const;

private:
    void AfterWrite();
    // Every number field a length, every size at least the smallest; otherwise the
    // field is named in a message, gets the focus, and false.
    bool CheckFields();
    QString FSection;
    QString FDefaultCount;
    std::vector<TField> FFields;
    bool FAddMode = false;
    int FNewNumber = 0;
};
