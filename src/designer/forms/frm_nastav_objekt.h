#pragma once
// Settings of a shape: outline, fill, pen mode and bounds, edited on the
// preview shape PShape, whose pen and brush are what the main window applies.

#include "classlib/controls/com_controls.h"
#include "classlib/controls/ext_controls.h"
#include "classlib/controls/spin_edit.h"
#include "classlib/controls/std_controls.h"
#include "classlib/forms/dialogs.h"
#include "classlib/forms/form.h"

class TFrmNastavObjekt : public TForm {
public:
    TV_CLASS_NAME(TFrmNastavObjekt)
    explicit TFrmNastavObjekt(TComponent* owner);
    ~TFrmNastavObjekt() override;

    // The result of the last showing: OK pressed, and no apply since.
    static bool IsConfirmed();

    TPageControl* PageControl1 = nullptr;
    TTabSheet* TabSheet1 = nullptr; // "Vlastnosti"
    TTabSheet* TabSheet2 = nullptr; // "Velikost"
    TGroupBox* GroupBox1 = nullptr; // the preview
    TShape* PShape = nullptr;
    TGroupBox* GroupBox2 = nullptr; // outline and fill
    TCheckBox* VizRam = nullptr;
    TLabel* lbSirka = nullptr;
    TSpinEdit* SpinEdit = nullptr;
    TCheckBox* PrPozadi = nullptr;
    TButton* btnClPozadi = nullptr;
    TButton* btnClOkraj = nullptr;
    TButton* btnSraf = nullptr;
    TLabel *lbTop = nullptr, *lbLeft = nullptr, *lbWidth = nullptr, *lbHeight = nullptr;
    TEdit *top = nullptr, *left = nullptr, *width = nullptr, *height = nullptr;
    TButton *btnOK = nullptr, *btnStorno = nullptr, *btnPouzit = nullptr;
    TButton *btnOK2 = nullptr, *btnStorno2 = nullptr, *btnPouzit2 = nullptr;
    TColorDialog* ColorDialog = nullptr;

    void FormShow(TComponent* sender);
    void btnOKClick(TComponent* sender);
    void btnStornoClick(TComponent* sender);
    void btnPouzitClick(TComponent* sender);
    void VizRamClick(TComponent* sender);
    void SpinEditChange(TComponent* sender);
    void PrPozadiClick(TComponent* sender);
    void btnClPozadiClick(TComponent* sender);
    void btnClOkrajClick(TComponent* sender);
    void btnSrafClick(TComponent* sender);

private:
    bool FShowing = false; // FormShow is setting the controls: their handlers keep still
};

extern TFrmNastavObjekt* FrmNastavObjekt;
