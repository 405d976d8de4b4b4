#pragma once
// Properties of a picture object: transparency, stretching, automatic size
// (first page) and the size in pixels (second page). The main window fills
// the controls before showing it and reads them after OK; "Použít" applies
// the three check boxes at once.

#include "classlib/controls/com_controls.h"
#include "classlib/controls/spin_edit.h"
#include "classlib/controls/std_controls.h"
#include "classlib/forms/form.h"

class TFrmVlastnostiIMG : public TForm {
public:
    TV_CLASS_NAME(TFrmVlastnostiIMG)
    explicit TFrmVlastnostiIMG(TComponent* owner);
    ~TFrmVlastnostiIMG() override;

    // The result of the last showing: OK pressed, and no apply since.
    static bool IsConfirmed();

    TPageControl* PageControl1 = nullptr;
    TTabSheet* ImgTabSheet = nullptr; // "Vlastnosti obrázku"
    TGroupBox* ImgGroupBox1 = nullptr;
    TCheckBox* Trans = nullptr;
    TCheckBox* ChStretch = nullptr;
    TCheckBox* ChAutosize = nullptr;
    TButton* Button2 = nullptr;       // "Transparentní barva": hidden, no action
    TTabSheet* TabSheet1 = nullptr;   // the size page
    TGroupBox* ImgGroupBox2 = nullptr;
    TLabel* txSirka = nullptr;
    TLabel* txVyska = nullptr;
    TSpinEdit* spSirka = nullptr;
    TSpinEdit* spVyska = nullptr;
    TButton* btnOK = nullptr;
    TButton* btnStorno = nullptr;
    TButton* btnPouzit = nullptr;

    void FormShow(TComponent* sender);
    void btnOKClick(TComponent* sender);
    void btnStornoClick(TComponent* sender);
    void btnPouzitClick(TComponent* sender);
};

extern TFrmVlastnostiIMG* FrmVlastnostiIMG;
