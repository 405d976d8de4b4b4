#pragma once
// Options of the file-list insertion: the file mask and whether the
// extensions are stripped. The caller reads the controls after the window
// closes, however it was closed.

#include "classlib/controls/std_controls.h"
#include "classlib/forms/form.h"

class TFrmInsFiles : public TForm {
public:
    TV_CLASS_NAME(TFrmInsFiles)
    explicit TFrmInsFiles(TComponent* owner);
    ~TFrmInsFiles() override;

    TCheckBox* delext = nullptr; // strip the extensions
    TLabel* Label1 = nullptr;
    TEdit* maska = nullptr;      // mask of the folder listing
    TButton* Button1 = nullptr;  // "Pokračovat"
    TButton* Button2 = nullptr;  // "*.mp3"
    TButton* Button3 = nullptr;  // "*.wav"
    TButton* Button4 = nullptr;  // "*.*"

    void Button1Click(TComponent* sender);
    void Button2Click(TComponent* sender);
    void Button3Click(TComponent* sender);
    void Button4Click(TComponent* sender);
};

extern TFrmInsFiles* FrmInsFiles;
