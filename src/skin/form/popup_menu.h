#pragma once
// TWinSkinPopMenu: the skinned look of one open popup menu (context menus,
// menu-bar drop-downs, the system menu): a 3-pixel frame painted from the
// skin's menu background instead of the system frame, and the painted picture
// kept for the owner-drawn items that draw on it.

#include "platform/messages.h"
#include "platform/window_proc.h"
#include "platform/region.h"

#include <QImage>
#include <QPointer>
#include <optional>

class TSkinData;
class QPainter;
using HMENU = QWidget*;

class TWinSkinPopMenu {
public:
    static constexpr int kFrameWidth = 3;

    TWinSkinPopMenu() = default;
    ~TWinSkinPopMenu();
    TWinSkinPopMenu(const TWinSkinPopMenu&) = delete;
    TWinSkinPopMenu& operator=(const TWinSkinPopMenu&) = delete;

    void Attach(HWND window, TSkinData* skinData, HMENU menu);
    // Safe to call twice.
    void Detach();

    HWND Window() const { return FWindow; }
    TSkinData* SkinData() const { return FSkinData; }
    bool Attached() const { return FAttached; }
    HMENU MenuHandle() const { return FMenuHandle; }
    void SetMenuHandle(HMENU menu) { FMenuHandle = menu; }
    const QImage& CacheBitmap() const { return FCacheBitmap; }
    // The painted picture at the menu's present size, painted now when it is
    // missing or of another size (the items draw before the frame); null
    // without a menu background.
    const QImage& Background();
    bool Mark() const { return FMark; }
    void SetMark(bool on) { FMark = on; }

private:
    void WndProc(TMessage& m);
    // The skin has a menu background to paint the frame from.
    bool CanPaintFrame() const;
    bool RenderCache();
    void PaintFrame(TMessage& m);
    void Print(TMessage& m);

    QPointer<QWidget> FWindow;
    TSkinData* FSkinData = nullptr;
    TWndProc FOldProc;
    bool FAttached = false;
    QImage FCacheBitmap;
    HMENU FMenuHandle = nullptr;
    std::optional<TRegion> FRegion;
    bool FMark = false;
};
