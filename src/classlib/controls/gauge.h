#pragma once
// TGauge: a horizontal bar that fills with the progress between its minimum
// and maximum, drawn by its parent, optionally with the percentage as text.

#include "classlib/controls/control.h"
#include "classlib/controls/std_controls.h"

class TGauge : public TGraphicControl {
public:
    TV_CLASS_NAME(TGauge)
    explicit TGauge(TComponent* owner);

    int MinValue() const { return FMinValue; }
    void SetMinValue(int v);
    int MaxValue() const { return FMaxValue; }
    // A maximum below the minimum is taken as the minimum.
    void SetMaxValue(int v);
    int Progress() const { return FProgress; }
    // Kept between minimum and maximum.
    void SetProgress(int v);
    void AddProgress(int delta) { SetProgress(FProgress + delta); }
    // Whole percent done, truncated; 0 when the range is empty.
    int PercentDone() const;

    TColor ForeColor() const { return FForeColor; }
    void SetForeColor(TColor c);
    TColor BackColor() const { return FBackColor; }
    void SetBackColor(TColor c);
    bool ShowText() const { return FShowText; }
    void SetShowText(bool v);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle s);
    // The text the gauge shows ("42%"), empty without ShowText.
    QString DisplayText() const;
    // Width in pixels of the filled part inside the border.
    int FilledWidth() const;
    // Paints now, but only when the bar or its text would look different from
    // its last painting: a long job reports many more steps than pixels.
    void RepaintIfChanged();

protected:
    void Paint() override;

private:
    int FMinValue = 0;
    int FMaxValue = 100;
    int FProgress = 0;
    TColor FForeColor = clBlack;
    TColor FBackColor = clWhite;
    bool FShowText = true;
    TBorderStyle FBorderStyle = bsSingleBorder;
    int FPaintedWidth = -1; // the look of the last painting
    QString FPaintedText;
};
