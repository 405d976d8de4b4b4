#pragma once
// Header controls (the column headers of list views): each item drawn from
// the skin's "Headerbar" element, the one under the mouse with frame 2.

#include "skin/controls/skin_control.h"

#include <vector>

class TSkinHeader : public TSkinControl {
public:
    TV_CLASS_NAME(TSkinHeader)
    using TSkinControl::TSkinControl;
    ~TSkinHeader() override;

    void InitHwnd(HWND window, TSkinData* skinData, TCanvas* canvas, TWinSkinForm* form) override;
    void Restore() override;
    bool BeforeProc(TMessage& m) override;
    void DrawControl(QPainter& dc, const TRect& r) override;

    int HotItem() const { return FHotItem; }
    const std::vector<TRect>& ItemRects() const { return FItemRects; }

private:
    void ViewportProc(TMessage& m);
    void Unhook();
    std::vector<TRect> FItemRects;
    int FHotItem = -1;
    QPointer<QWidget> FViewport;
    TWndProc FViewportOldProc;
    TWndProc FViewportProc;
    bool FHadTracking = false;
};
