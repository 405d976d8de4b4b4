#pragma once
// The ring-shaped welcome window shown at the first start without a file.

#include "classlib/controls/ext_controls.h"
#include "classlib/controls/image.h"
#include "classlib/controls/std_controls.h"
#include "classlib/forms/form.h"

class TFrmStart : public TForm {
public:
    TV_CLASS_NAME(TFrmStart)
    explicit TFrmStart(TComponent* owner);
    ~TFrmStart() override;

    // True from the showing until the user makes a choice.
    bool StartWindowOpen = false;

    TImage* Image1 = nullptr;
    TShape* MaxShp = nullptr;
    TShape* stred = nullptr;
    TLabel* lblNew = nullptr;
    TLabel* lblOpen = nullptr;
    TLabel* lblExit = nullptr;
    TShape* shpNew = nullptr;
    TShape* shpOpen = nullptr;
    TShape* shpKonec = nullptr;
    TImage* Image2 = nullptr;
    TLabel* lblVer = nullptr;

    void FormShow(TComponent* sender);
    void FormCloseQuery(TComponent* sender, bool& canClose);
    void btnNewClick(TComponent* sender);
    void btnOpenClick(TComponent* sender);
    void btnCloseClick(TComponent* sender);
    void lblNewClick(TComponent* sender);
    void lblOpenClick(TComponent* sender);
    void lblExitClick(TComponent* sender);
    void lblNewMouseMove(TComponent* sender, TShiftState shift, int x, int y);
    void lblNewMouseLeave(TComponent* sender);
    void lblOpenMouseMove(TComponent* sender, TShiftState shift, int x, int y);
    void lblOpenMouseLeave(TComponent* sender);
    void lblExitMouseMove(TComponent* sender, TShiftState shift, int x, int y);
    void lblExitMouseLeave(TComponent* sender);
    void Image2Click(TComponent* sender);
};

// The maker's web site, opened from the start window.
extern const QString MakerWebAddress;

extern TFrmStart* FrmStart;
