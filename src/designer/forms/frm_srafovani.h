#pragma once
// The hatching of a shape's fill: eight patterns shown on a preview in the
// settings dialog's fill colour; OK gives the pattern to that dialog.

#include "classlib/controls/com_controls.h"
#include "classlib/controls/ext_controls.h"
#include "classlib/controls/speed_button.h"
#include "classlib/controls/std_controls.h"
#include "classlib/forms/form.h"

class TFrmSrafovani : public TForm {
public:
    TV_CLASS_NAME(TFrmSrafovani)
    explicit TFrmSrafovani(TComponent* owner);
    ~TFrmSrafovani() override;

    TPageControl* OPageControl1 = nullptr;
    TTabSheet* OTabSheet1 = nullptr;
    TGroupBox* OGroupBox1 = nullptr; // the preview
    TShape* PShape = nullptr;
    TGroupBox* OGroupBox2 = nullptr; // the patterns
    // SpeedButton1..8, each with its pattern sample.
    TSpeedButton* SpeedButtons[8] = {};
    TShape* Samples[8] = {};
    TButton *btnOK = nullptr, *btnStorno = nullptr;

    // Button n (1..8): the settings dialog's fill colour in its pattern.
    void SpeedButtonClick(int n);
    void SpeedButton1Click(TComponent*) { SpeedButtonClick(1); }
    void SpeedButton2Click(TComponent*) { SpeedButtonClick(2); }
    void SpeedButton3Click(TComponent*) { SpeedButtonClick(3); }
    void SpeedButton4Click(TComponent*) { SpeedButtonClick(4); }
    void SpeedButton5Click(TComponent*) { SpeedButtonClick(5); }
    void SpeedButton6Click(TComponent*) { SpeedButtonClick(6); }
    void SpeedButton7Click(TComponent*) { SpeedButtonClick(7); }
    void SpeedButton8Click(TComponent*) { SpeedButtonClick(8); }
    void btnOKClick(TComponent* sender);
    void btnStornoClick(TComponent* sender);
};

// The pattern of hatching button n (1..8).
TBrushStyle HatchStyleOfButton(int n);

extern TFrmSrafovani* FrmSrafovani;
