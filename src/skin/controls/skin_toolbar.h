#pragma once
// Tool bars: the bar takes the face colour as a panel does, and its buttons
// are painted by the skin's toolbar painter from the "ToolBars" element.

#include "classlib/controls/com_controls.h"
#include "skin/controls/skin_boxes.h"

class TSkinToolBar : public TSkinBox {
public:
    TV_CLASS_NAME(TSkinToolBar)
    using TSkinBox::TSkinBox;
    ~TSkinToolBar() override;
    void InitControl(TWinSkinForm* form, TSkinData* skinData, TCanvas* canvas, bool setColor) override;
    void Restore() override;

private:
    void GiveBackHandler();
    TTBCustomDrawBtnEvent FSavedHandler;
    bool FHooked = false;
};

// The "ToolBars" frame (1, 2 or 4; 0 none) for a tool button's draw state.
int ToolButtonFrame(TCustomDrawState state);
// Draws a tool button's face on its canvas while the window is skinned: frame
// N of "ToolBars" over the button less 1 pixel each side, and the caption
// colour of that frame. Clears defaultDraw when it drew a face.
void SkinToolbarPainter(const TWinSkinForm* form, const TSkinData* skinData, TToolButton* button, TCanvas* canvas,
                        TCustomDrawState state, bool& defaultDraw);
