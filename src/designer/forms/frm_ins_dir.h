#pragma once
// Choosing folders for a folder list: the tree gives the folder, the hidden
// directory list its chain from the root and its subfolders, and the list
// that will be inserted stays editable.

#include "classlib/controls/file_ctrls.h"
#include "classlib/controls/std_controls.h"
#include "classlib/forms/form.h"

class TFrmInsDir : public TForm {
public:
    TV_CLASS_NAME(TFrmInsDir)
    explicit TFrmInsDir(TComponent* owner);
    ~TFrmInsDir() override;

    // The result of the last showing: "Vložit" pressed.
    static bool IsConfirmed();

    TShellTreeView* STree = nullptr;
    TDirectoryListBox* DirList = nullptr;
    TMemo* SList = nullptr;
    TButton* btnVlozit = nullptr;
    TButton* btnStorno = nullptr;

    void STreeChange(TComponent* sender);
    void FormShow(TComponent* sender);
    void btnVlozitClick(TComponent* sender);
    void btnStornoClick(TComponent* sender);
};

extern TFrmInsDir* FrmInsDir;
