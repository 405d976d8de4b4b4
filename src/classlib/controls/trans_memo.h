#pragma once
// TTransMemo: a multi-line edit that can let its parent show through, so text
// typed or shown in it sits straight on whatever the parent paints beneath
// (its pictures, labels and background).

#include "classlib/controls/std_controls.h"

class TTransMemo : public TMemo {
public:
    TV_CLASS_NAME(TTransMemo)
    explicit TTransMemo(TComponent* owner);

    TAlignment AlignText() const { return Alignment(); }
    void SetAlignText(TAlignment a);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool v);

protected:
    void InitWidget() override;
    void ColorChanged() override;

private:
    void ApplyBackground();
    bool FTransparent = false;
};
