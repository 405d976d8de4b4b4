#pragma once
// The print-correction window: a shift of the whole print in whole
// millimetres on each axis. The main window fills and reads it.

#include "classlib/controls/image.h"
#include "classlib/controls/spin_edit.h"
#include "classlib/controls/std_controls.h"
#include "classlib/forms/form.h"

class TFrmKorekce : public TForm {
public:
    TV_CLASS_NAME(TFrmKorekce)
    explicit TFrmKorekce(TComponent* owner);
    ~TFrmKorekce() override;

    // The window was closed with OK.
    bool IsConfirmed() const { return FConfirmed; }

    TLabel* lbPrKor1 = nullptr;
    TLabel* lbPrKor2 = nullptr;
    TImage* Image1 = nullptr;
    TImage* Image2 = nullptr;
    TLabel* Label1 = nullptr; // "Offset X:"
    TLabel* Label2 = nullptr; // "Offset Y:"
    TLabel* Label3 = nullptr; // "mm"
    TLabel* Label4 = nullptr; // "mm"
    TSpinEdit* offx = nullptr;
    TSpinEdit* offy = nullptr;
    TButton* btnOK1 = nullptr;
    TButton* btnStorno1 = nullptr;

    void FormShow(TComponent* sender);
    void btnOK1Click(TComponent* sender);
    void btnStorno1Click(TComponent* sender);

private:
    bool FConfirmed = false;
};

extern TFrmKorekce* FrmKorekce;
