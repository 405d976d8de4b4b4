#pragma once
// Common controls: status bars, tool bars and their buttons, page controls
// with tab sheets, progress bars.

#include "classlib/controls/control.h"
#include "classlib/controls/image_list.h"

#include <vector>

class QTabWidget;
class QProgressBar;

enum TStatusPanelBevel { pbNone, pbLowered, pbRaised };
// An owner-drawn panel shows no text of its own.
enum TStatusPanelStyle { psText, psOwnerDraw };

struct TStatusPanel {
    int Width = 50;
    QString Text;
    TAlignment Alignment = taLeftJustify;
    TStatusPanelBevel Bevel = pbLowered;
    TStatusPanelStyle Style = psText;
};

class TStatusBar : public TCustomControl {
public:
    TV_CLASS_NAME(TStatusBar)
    explicit TStatusBar(TComponent* owner);
    int PanelCount() const { return static_cast<int>(FPanels.size()); }
    TStatusPanel& Panel(int index) { return FPanels.at(static_cast<size_t>(index)); }
    void AddPanel(int width, TAlignment alignment = taLeftJustify);
    void SetPanelText(int index, const QString& text);
    void SetPanelWidth(int index, int width);
    QString PanelText(int index) const { return FPanels.at(static_cast<size_t>(index)).Text; }
    bool SimplePanel() const { return FSimplePanel; }
    void SetSimplePanel(bool v);
    QString SimpleText() const { return FSimpleText; }
    void SetSimpleText(const QString& t);
    bool SizeGrip() const { return FSizeGrip; }
    void SetSizeGrip(bool v);

protected:
    void Paint() override;

private:
    std::vector<TStatusPanel> FPanels;
    bool FSimplePanel = false;
    QString FSimpleText;
    bool FSizeGrip = true;
};

enum TToolButtonStyle { tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider };

class TToolBar;
class TToolButton;

// The draw state of a tool button handed to the tool bar's custom drawing.
enum TCustomDrawStateFlag : unsigned {
    cdsSelected = 0x1,
    cdsGrayed = 0x2,
    cdsDisabled = 0x4,
    cdsChecked = 0x8,
    cdsFocused = 0x10,
    cdsDefault = 0x20,
    cdsHot = 0x40,
};
using TCustomDrawState = unsigned;
// Called before a tool button paints, with the canvas it paints on. The
// handler may draw the button's face; clearing DefaultDraw leaves out the
// button's own face (its glyph and caption are still drawn, the caption in
// the canvas font's colour).
using TTBCustomDrawBtnEvent =
    std::function<void(TToolBar* sender, TToolButton* button, TCanvas* canvas, TCustomDrawState state, bool& defaultDraw)>;

class TToolButton : public TGraphicControl {
public:
    TV_CLASS_NAME(TToolButton)
    explicit TToolButton(TComponent* owner);
    TToolButtonStyle Style() const { return FStyle; }
    void SetStyle(TToolButtonStyle s);
    bool Down() const { return FDown; }
    void SetDown(bool v);
    bool Grouped() const { return FGrouped; }
    void SetGrouped(bool v) { FGrouped = v; }
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool v) { FAllowAllUp = v; }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int i);
    void Click() override;
    void SetVisible(bool v) override;
    void WndProc(TMessage& message) override;
    // The mouse is over the button.
    bool Hot() const { return FHot; }
    TCustomDrawState DrawState() const;

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void TextChanged() override;
    TToolBar* ToolBar() const;

private:
    friend class TToolBar;
    TToolButtonStyle FStyle = tbsButton;
    bool FDown = false;
    bool FGrouped = false;
    bool FAllowAllUp = false;
    bool FPressed = false;
    bool FHot = false;
    int FImageIndex = -1;
};

class TToolBar : public TCustomControl {
public:
    TV_CLASS_NAME(TToolBar)
    explicit TToolBar(TComponent* owner);
    TImageList* Images() const { return FImages; }
    void SetImages(TImageList* images);
    int ButtonWidth() const { return FButtonWidth; }
    int ButtonHeight() const { return FButtonHeight; }
    void SetButtonSize(int width, int height);
    bool Flat() const { return FFlat; }
    void SetFlat(bool v);
    bool ShowCaptions() const { return FShowCaptions; }
    void SetShowCaptions(bool v);
    // Places the buttons in rows that wrap at the tool bar's width.
    void ArrangeButtons();
    int ButtonCount() const;
    TToolButton* Buttons(int index) const;
    TTBCustomDrawBtnEvent OnCustomDrawButton;

protected:
    void BoundsChanged() override;
    void Paint() override;

private:
    TImageList* FImages = nullptr;
    int FButtonWidth = 23;
    int FButtonHeight = 22;
    bool FFlat = true;
    bool FShowCaptions = false;
    bool FArranging = false;
};

class TTabSheet;

class TPageControl : public TWinControl {
public:
    TV_CLASS_NAME(TPageControl)
    explicit TPageControl(TComponent* owner);
    int PageCount() const { return static_cast<int>(FPages.size()); }
    TTabSheet* Pages(int index) const { return FPages.at(static_cast<size_t>(index)); }
    TTabSheet* ActivePage() const;
    void SetActivePage(TTabSheet* page);
    int ActivePageIndex() const;
    void SetActivePageIndex(int index);
    QTabWidget* Tabs();
    TNotifyEvent OnChange;

protected:
    QWidget* CreateWidget(QWidget* parent) override;

private:
    friend class TTabSheet;
    void AddPage(TTabSheet* page);
    void RemovePage(TTabSheet* page);
    std::vector<TTabSheet*> FPages;
    bool FSyncing = false;
};

class TTabSheet : public TWinControl {
public:
    TV_CLASS_NAME(TTabSheet)
    explicit TTabSheet(TComponent* owner);
    ~TTabSheet() override;
    TPageControl* PageControl() const { return FPageControl; }
    void SetPageControl(TPageControl* pc);
    bool TabVisible() const { return FTabVisible; }
    void SetTabVisible(bool v);
    int PageIndex() const;

protected:
    void TextChanged() override;

private:
    friend class TPageControl;
    TPageControl* FPageControl = nullptr;
    bool FTabVisible = true;
};

class TProgressBar : public TWinControl {
public:
    TV_CLASS_NAME(TProgressBar)
    explicit TProgressBar(TComponent* owner);
    int Min() const { return FMin; }
    int Max() const { return FMax; }
    int Position() const { return FPosition; }
    void SetMin(int v);
    void SetMax(int v);
    void SetPosition(int v);

protected:
    QWidget* CreateWidget(QWidget* parent) override;

private:
    void Apply();
    int FMin = 0, FMax = 100, FPosition = 0;
};
