#pragma once
// The skin chooser: lists the skin archives of the skin folder with a preview,
// applies the chosen one, switches skinning off and on and records the choice
// in the settings file.

#include "classlib/controls/ext_controls.h"
#include "classlib/controls/file_ctrls.h"
#include "classlib/controls/image.h"
#include "classlib/controls/std_controls.h"
#include "classlib/forms/form.h"

class TForm21 : public TForm {
public:
    TV_CLASS_NAME(TForm21)
    explicit TForm21(TComponent* owner);
    ~TForm21() override;

    TLabel* Label1 = nullptr;
    TListBox* ListBox = nullptr; // skin names
    TLabel* Label2 = nullptr;
    TImage* ImageNahled = nullptr; // preview of the selected skin
    TLabel* Label3 = nullptr;      // link to the maker's site
    TButton* btnOK = nullptr;
    TButton* ButtonVypnout = nullptr;
    TButton* ButtonZapnout = nullptr;
    TButton* ButtonPouzit = nullptr;
    TFileListBox* FileListBox = nullptr; // hidden: the archives of the folder

    // AppDir + "/skiny".
    static QString SkinFolder();

    void FormShow(TComponent* sender);
    void ListBoxClick(TComponent* sender);
    void ButtonPouzitClick(TComponent* sender);
    void ButtonVypnoutClick(TComponent* sender);
    void ButtonZapnoutClick(TComponent* sender);
    void btnOKClick(TComponent* sender);
    void Label3Click(TComponent* sender);

private:
    // The selected entry; the list's index error when none is selected.
    QString SelectedSkin() const;
    // The entry of the skin file in effect; -1 when the list has none.
    int EntryInEffect() const;
};

extern TForm21* Form21;
