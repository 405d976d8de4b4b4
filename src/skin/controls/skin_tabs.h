#pragma once
// Tab and page controls and their sheets: the tab strip from the skin's "Tabs"
// element, the pane from its second image or "Tab.Pane", close crosses on
// the tabs of a page control tagged 7777.

#include "classlib/graphics/font.h"
#include "skin/controls/skin_bars.h"
#include "skin/controls/skin_control.h"

#include <QImage>
#include <memory>
#include <vector>

class QTabBar;
class TPicture;
class QTabWidget;

class TSkinTab : public TSkinControl {
public:
    TV_CLASS_NAME(TSkinTab)
    using TSkinControl::TSkinControl;
    ~TSkinTab() override;

    enum { tpTop = 0, tpBottom = 1, tpLeft = 2, tpRight = 3 };

    void InitControl(TWinSkinForm* form, TSkinData* skinData, TCanvas* canvas, bool setColor) override;
    void InitHwnd(HWND window, TSkinData* skinData, TCanvas* canvas, TWinSkinForm* form) override;
    void Restore() override;
    bool BeforeProc(TMessage& m) override;
    void DrawControl(QPainter& dc, const TRect& r) override;
    void ApplyColor() override;

    int TabPosition() const { return FTabPosition; }
    bool CloseButtons() const { return FCloseButtons; }
    const std::vector<TRect>& CloseRects() const { return FCloseRects; }
    const QImage& TabImage() const { return FTabImage; }
    const QImage& PaneImage() const { return FPaneImage; }
    // The pane's rectangle in the window.
    TRect PaneRect() const;
    // The strip with its tabs, in the tab bar's coordinates.
    void DrawStrip(QPainter& dc);

protected:
    // One tab's face (lying horizontally) in a cell of its size.
    virtual void DrawTabCell(QPainter& c, const TRect& cr, int index, bool selected, TFont& font);
    QTabBar* TabBar() const;
    // Old-style tab sets: neither close crosses nor turned images.
    bool FPlain = false;

private:
    void Prepare();
    // The tab bar's scroll arrows take the skin's up-down look, once.
    void SkinScrollArrows(TWinSkinForm* form);
    void HookTabBar();
    void UnhookTabBar();
    void TabBarProc(TMessage& m);
    bool CloseClick(const TMessage& m);
    QTabWidget* TabWidget() const;

    std::vector<TRect> FCloseRects;
    int FTabPosition = tpTop;
    QImage FTabImage;
    QImage FPaneImage;
    QImage FWorkBitmap;
    bool FCloseButtons = false;
    // Held as a widget: it may be read while the tab bar is being destroyed.
    QPointer<QWidget> FTabBar;
    TWndProc FTabBarOldProc;
    TWndProc FTabBarProc;
};

// One scroll arrow of a tab bar (the platform's tab scroll up-down is two
// buttons here): the left or right half of "UpDown.Horz" over the whole button.
class TSkinTabScroll : public TSkinUpDown {
public:
    TV_CLASS_NAME(TSkinTabScroll)
    using TSkinUpDown::TSkinUpDown;
    void DrawControl(QPainter& dc, const TRect& r) override;
    // The "UpDown.Horz" frame for the present state.
    int ArrowFrame() const;
    bool Right = false;
};

// Old-style tab sets: the tabs of "Tabs" without close crosses or turning.
class TSkinTab31 : public TSkinTab {
public:
    TV_CLASS_NAME(TSkinTab31)
    explicit TSkinTab31(TComponent* owner) : TSkinTab(owner) { FPlain = true; }
};

// Tab controls in button style: each tab a "Buttons" frame, the selected one pressed.
class TSkinTabBtn : public TSkinTab {
public:
    TV_CLASS_NAME(TSkinTabBtn)
    using TSkinTab::TSkinTab;

protected:
    void DrawTabCell(QPainter& c, const TRect& cr, int index, bool selected, TFont& font) override;
};

// Page controls that draw their own tabs from two pictures: those pictures
// get renderings of the skin's tab frames, and their own back at restore.
class TSkinAdvPage : public TSkinControl {
public:
    TV_CLASS_NAME(TSkinAdvPage)
    using TSkinControl::TSkinControl;
    ~TSkinAdvPage() override;
    void InitControl(TWinSkinForm* form, TSkinData* skinData, TCanvas* canvas, bool setColor) override;
    void Restore() override;
    void ApplyColor() override;
    // Frame (1 or 2) of "Tabs" at 100 x 21 pixels over the face colour.
    QImage TabRendering(int frame) const;

private:
    void AssignPictures();
    std::unique_ptr<TPicture> FSaved[2];
    bool FAssigned = false;
};

class TSkinTabSheet : public TSkinControl {
public:
    TV_CLASS_NAME(TSkinTabSheet)
    using TSkinControl::TSkinControl;
    bool BeforeProc(TMessage& m) override;
};
