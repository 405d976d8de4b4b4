#pragma once
// TWinSkinMenu: the menu bar a frame-skinned form draws itself in the strip
// between its caption and its client, one TMenuBtn per top-level item of the
// window's menu, which the form takes off the window while skinned.

#include "classlib/component.h"
#include "skin/form/skin_form.h"

#include <QImage>
#include <QString>
#include <memory>
#include <vector>

class QPainter;
class TMainMenu;
class TMenuItem;
class TSkinData;
class TWinSkinMenu;

// One top-level item of the bar.
class TMenuBtn : public TNCObject {
public:
    TMenuBtn(TWinSkinMenu* bar, TWinSkinForm* form);
    // Restores the button's part of the bar and draws it in its state.
    void Paint() override;

    TWinSkinMenu* Bar;
    TSkinData* SkinData = nullptr;
    int Index = 0;
    TMenuItem* Item = nullptr;
    QString Caption;
    HMENU SubMenu = nullptr;
    unsigned Command = 0;
    // Its submenu is open.
    bool Open = false;
};

class TWinSkinMenu : public TComponent {
public:
    TV_CLASS_NAME(TWinSkinMenu)
    // Create(form): the bar of a skinned form, owned by it.
    explicit TWinSkinMenu(TWinSkinForm* form);
    // Destroy: the buttons and the bitmap go.
    ~TWinSkinMenu() override;

    // Rebuilds the buttons from the window's menu (taking it off the window).
    void BuildButtons();
    // The same from the kept WindowMenu.
    void UpdateButtons();
    // Paints the bar into dc at rect (window coordinates of the strip).
    void Paint(QPainter* dc, const TRect& rect);
    // The button under a point in window coordinates; nil when none.
    TMenuBtn* ButtonAt(const TPoint& point) const;
    // Lays the buttons out in the strip.
    void LayoutButtons();

    // The strip in window coordinates: left width, top height, window width
    // less right width, top height + menu height.
    TRect StripRect() const;

    const std::vector<std::unique_ptr<TMenuBtn>>& Buttons() const { return FButtons; }
    int Count() const { return static_cast<int>(FButtons.size()); }
    TMainMenu* FormMenu() const { return FFormMenu; }
    TSkinData* SkinData() const { return FSkinData; }
    TWinSkinForm* Form() const { return FForm; }
    const QImage& Bitmap() const { return FBitmap; }
    const TRect& BarRect() const { return FBarRect; }
    HMENU WindowMenu() const { return FWindowMenu; }
    void SetWindowMenu(HMENU menu) { FWindowMenu = menu; }

private:
    void Rebuild(bool itemCaptions);
    void PaintMDIButtons(QImage& work, const TRect& strip);

    std::vector<std::unique_ptr<TMenuBtn>> FButtons;
    TMainMenu* FFormMenu = nullptr;
    TSkinData* FSkinData = nullptr;
    TWinSkinForm* FForm = nullptr;
    QImage FBitmap;
    TRect FBarRect;
    HMENU FWindowMenu = nullptr;
};
