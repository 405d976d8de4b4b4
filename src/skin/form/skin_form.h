#pragma once
// TWinSkinForm: the skinning of one window. It replaces the window's
// procedure, sizes the non-client area from the skin's borders, replaces the
// system menu by a popup menu of its own and undoes all of it when skinning
// is switched off or the window goes.

#include "classlib/component.h"
#include "classlib/controls/control.h"
#include "classlib/graphics/font.h"
#include "platform/messages.h"
#include "platform/region.h"
#include "platform/win_types.h"

#include <QImage>
#include <QPointer>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

class QPainter;
class TCustomForm;
class TPopupMenu;
class TSkinData;
class TSkinManage;
class TTimer;
class TWinSkinForm;
class TWinSkinMenu;
class TMenuBtn;
class TMenuItem;
class TDataSkinSysButton;
using HMENU = QWidget*;

// Something drawn in the non-client area that reacts to the mouse.
class TNCObject {
public:
    explicit TNCObject(TWinSkinForm* form) : Form(form) {}
    virtual ~TNCObject() = default;
    TNCObject(const TNCObject&) = delete;
    TNCObject& operator=(const TNCObject&) = delete;

    enum { stNormal = 1, stPressed = 2, stHover = 3 };
    virtual void Press();
    virtual void Release();
    virtual void Hover();
    virtual void MouseLeave();
    virtual void Paint() {}

    TWinSkinForm* Form;
    TRect Rect;
    bool Visible = true;
    int State = stNormal;
    bool Enabled = true;
};

// A caption button of the skin.
class TWinSysButton : public TNCObject {
public:
    TWinSysButton(TWinSkinForm* form, TDataSkinSysButton* data);
    void Paint() override;
    int FrameWidth() const { return Image.width() / Frames; }

private:
    // Our own copy: the skin data frees its buttons when it reads a skin anew,
    // before the form is reskinned.
    std::unique_ptr<TDataSkinSysButton> FData;

public:
    TDataSkinSysButton* Data;
    // The strip this form shows: the skin's, or the window icon for an icon button without one.
    QImage Image;
    int Frames = 1;
};

class TWinSkinForm : public TComponent {
public:
    TV_CLASS_NAME(TWinSkinForm)
    explicit TWinSkinForm(TComponent* owner);
    ~TWinSkinForm() override;

    enum TWindowKind { wkNormal = 0, wkMDIParent = 1, wkMDIChild = 2 };
    enum TFrameKind { fkSizeable = 0, fkFixed = 1, fkNoCaption = 2, fkDialog = 3 };
    enum TPlacement { plNormal = 0, plMaximized = 1, plMinimized = 2 };
    enum TState { stAttached = 0, stSkinned = 1, stRecolor = 3, stNCDestroy = 4, stLayout = 5, stDestroyed = 6 };
    enum : unsigned { biMaxBox = 1, biMinBox = 2, biSysMenu = 8, biCaptionHide = 16 };
    static constexpr int kSysMenuTag = 33333;

    // Before the attach: the window and its class name as the manager read them.
    void SetWindow(HWND window, const QString& className);
    void InitFromForm(TSkinData* skinData, TCustomForm* form);
    void InitWindow(TSkinData* skinData);
    void Attach(TSkinData* skinData);
    void Reskin();
    // Skinning switched off: the window gets its own look back, its client keeps its size.
    void Unskin();
    // The window is being destroyed: procedures back, nothing resized.
    void Detach();

    void SetCaptionStyle(bool show);
    void FrameChanged();
    TPoint ScreenToWindow(int x, int y) const;
    void ApplyColors();
    void ApplySkinColours();
    void AfterSkin();
    void LayoutFrame(bool keepClient);
    // Re-reads the skin and lays the frame out again (skin changed).
    void RefreshSkin();
    void Repaint();

    // The system menu.
    void ShowSysMenu(int x, int y);
    void RebuildSysMenuPopup();
    bool SysMenuHasClose() const;
    void RestoreWindow();
    void ToggleMaximize();
    void ToggleMinimize();
    void MDIChildCommand(unsigned cmd);

    // The non-client area.
    void WMNCCalcSize(TMessage& m);
    void WMNCHitTest(TMessage& m);
    void WMNCPaint(TMessage& m);
    // With no dc the window's DC is taken; outside a paint of the window the
    // frame is repainted at once through WM_NCPAINT.
    void PaintFrame(QPainter* dc);
    void PaintCaption(QPainter& dc);
    void PaintTitleText(QPainter& canvas, const TRect& rect);
    // side: 1 left, 2 right, 3 top, 4 bottom.
    void PaintBorderPart(int side, const TRect& rect, QPainter& dc);
    // The border part of side as a bitmap of w x h in the frame for the form's activation.
    QImage BorderPartBitmap(int side, int w, int h) const;
    void UpdateRegion();
    void ClearRegion();
    void SetSysMenuStyle(bool hide);
    const TRect& TitleRect() const { return FTitleRect; }
    const std::optional<TRegion>& Region() const { return FRegion; }
    // The menu strip, painted by the menu bar.
    void PaintMenuBar(QPainter& dc, const TRect& r);

    // Caption buttons.
    void RebuildSysButtons();
    void FreeSysButtons();
    bool IsSysButtonVisible(int i);
    void LayoutSysButtons();
    TWinSysButton* SysButtonAt(const TPoint& p) const;
    TNCObject* MenuButtonAt(const TPoint& p);
    void PaintSysButtons(QPainter& canvas);
    void PaintSysButton(TWinSysButton* button, int frame);
    void SysButtonClick(int x, int y);
    // Repaints one non-client object in its state now, without the full
    // paint's forgetting of the hot object.
    void RepaintNCObject(TNCObject* object);
    TNCObject* RepaintingObject() const { return FPaintObject; }
    int LargestAlign1Left() const { return FAlign1Left; }
    void HoverTimer();
    void NCMouse(TMessage& m);
    void MenuBarClickAt(TMessage& m);
    void HandleMenuAccel(TMessage& m);
    void TrackMenuButton(TNCObject* button);
    TNCObject* FindMenuAccel(int key);
    void OwnerDrawMenuItem(TMessage& m);
    void MakeMenusOwnerDraw(bool ownerDraw);
    // Every item of menu (and of its submenus) owner-drawn or not.
    static void MakeMenuOwnerDraw(HMENU menu, bool ownerDraw);
    // The menu-bar button under a screen point; nil when none.
    TMenuBtn* MenuButtonAtScreen(int x, int y) const;
    // Press and open a menu-bar button.
    void OpenMenuButton(TNCObject* button);
    // WM_COMMAND of a bar item without submenu: its click; true when it was one.
    bool MenuBarCommand(unsigned command);
    // The class-library item of the form's menus or the system menu with that identifier.
    TMenuItem* FindMenuItem(unsigned command) const;
    void SkinChildControls();
    void SkinChildWindowByClass();
    // Every control skinner of the window leaves; restore gives the controls their look back.
    void RestoreControls(bool restore);
    void SizeGripCreated(HWND grip);
    // A fresh scroll-bar skinner for the control of window (its bars were rebuilt).
    void ScrollFix(HWND window);

    // Control skinners of this window (each once).
    void AddControl(TComponent* skinner);
    void RemoveControl(TComponent* skinner);
    // The control skinner that last took the hover: it is told the mouse
    // left when the window is deactivated.
    void SetHotControl(TComponent* skinner) { FHotControl = skinner; }
    const std::vector<TComponent*>& Controls() const { return FControls; }

    // State.
    HWND Handle() const { return FHandle; }
    TCustomForm* Form() const { return FForm; }
    TSkinData* SkinData() const { return FSkinData; }
    const QString& WindowClassName() const { return FClassName; }
    bool FrameSkinned() const { return FFrameSkinned; }
    int WindowKind() const { return FWindowKind; }
    int FrameKind() const { return FFrameKind; }
    bool SystemDialog() const { return FSystemDialog; }
    unsigned BorderIcons() const { return FBorderIcons; }
    // The window's placement as the platform keeps it.
    int Placement() const;
    int State() const { return FState; }
    int FormActive() const { return FFormActive; }
    bool Child() const { return FChild; }
    bool Started() const { return FStarted; }
    bool Installed() const { return FInstalled; }
    // Released: the window is gone or destroyed; the manager frees it.
    bool Released() const { return FState == stDestroyed || !FHandle; }
    int LeftWidth() const { return FLeftWidth; }
    int TopHeight() const { return FTopHeight; }
    int RightWidth() const { return FRightWidth; }
    int BottomHeight() const { return FBottomHeight; }
    int MenuHeight() const { return FMenuHeight; }
    HMENU SystemMenu() const { return FSystemMenu; }
    TPopupMenu* SysMenuPopup() const { return FSysMenuPopup; }
    TNCObject* HotObject() const { return FHotObject; }
    void SetHotObject(TNCObject* object) { FHotObject = object; }
    // The object the left button went down on, until the button comes up.
    TNCObject* PressedObject() const { return FPressedObject; }
    // An object that goes is neither hot nor pressed any more.
    void ForgetObject(TNCObject* object);
    TComponent* HotControl() const { return FHotControl; }
    TWinSkinMenu* MenuBar() const { return FMenuBar; }
    const std::vector<std::unique_ptr<TWinSysButton>>& SysButtons() const { return FSysButtons; }
    TTimer* Timer() const { return FTimer; }
    bool Busy() const { return FBusy; }
    void SetBusy(bool on) { FBusy = on; }
    const QImage& IconBitmap() const { return FIconBitmap; }
    const TFont& CaptionFont() const { return FCaptionFont; }
    unsigned DoubleClickTime() const { return FDoubleClickTime; }
    void SetDoubleClickTime(unsigned ms) { FDoubleClickTime = ms; }
    int64_t LastSysMenuTick() const { return FLastSysMenuTick; }

private:
    void WndProc(TMessage& m);
    bool Stage1(TMessage& m);
    void Stage2(TMessage& m);
    void Stage3(TMessage& m);
    void SysCommand(TMessage& m);
    void FormHook(TMessage& m);
    void MDIClientProc(TMessage& m);
    void StartSequence();
    // A system dialog grows so that its caption text fits.
    void WidenToTitle();
    void LoadIcon();
    void DrawWindowIcon(QPainter& dc, const TRect& r, const TWinSysButton& button) const;
    void DrawSysButton(QPainter& dc, const TWinSysButton& button, int frame) const;
    void CallPrevious(TMessage& m);
    // The left button came up at p (window coordinates) over object: a click
    // only where it went down.
    void EndPress(TNCObject* object, const TPoint& screen);
    void PressedMove(TNCObject* object);
    QString MenuItemText(unsigned command) const;
    void RestoreProcedures();
    void SubclassMDIClient();
    void UnsubclassMDIClient();
    TSkinManage* Manager() const;
    bool IsMDIChild() const { return FWindowKind == wkMDIChild; }
    bool IsMaximizedMDIChild() const { return IsMDIChild() && Placement() == plMaximized; }

    QPointer<QWidget> FHandle;
    TCustomForm* FForm = nullptr;
    TSkinData* FSkinData = nullptr;
    QString FClassName;
    HWND FOwnerWindow = nullptr;

    TWndProc FPrevProc;
    bool FInstalled = false;
    TWndMethod FSavedWindowProc;
    bool FFormHooked = false;
    QPointer<QWidget> FMDIClient;
    TWndProc FMDIClientPrev;
    bool FMDIClientHooked = false;
    bool FSavedMenuUpdate = true;

    bool FFrameSkinned = false;
    int FWindowKind = wkNormal;
    int FFrameKind = fkFixed;
    bool FSystemDialog = false;
    unsigned FBorderIcons = 0;
    int FState = stAttached;
    int FFormActive = 0;
    uint32_t FStyle = 0;
    uint32_t FExStyle = 0;
    bool FChild = false;
    bool FSizeable = false;
    bool FLeftScrollBar = false;
    bool FUnicode = true;
    bool FStarted = false;
    bool FSkinnedFrameSet = false;

    int FLeftWidth = 0;
    int FTopHeight = 0;
    int FRightWidth = 0;
    int FBottomHeight = 0;
    int FMenuHeight = 0;
    int FCaptionTextWidth = 0;

    TFont FCaptionFont;
    HMENU FSystemMenu = nullptr;
    TPopupMenu* FSysMenuPopup = nullptr;
    int64_t FLastSysMenuTick = -1;
    unsigned FDoubleClickTime = 500;
    HMENU FWindowMenu = nullptr;
    TWinSkinMenu* FMenuBar = nullptr;
    int FRemovedMenuHeight = 0;
    // Expires with this object: a menu loop learns whether its form outlived a command.
    std::shared_ptr<int> FLife = std::make_shared<int>(0);

    std::vector<std::unique_ptr<TWinSysButton>> FSysButtons;
    TNCObject* FHotObject = nullptr;
    TNCObject* FPressedObject = nullptr;
    TComponent* FHotControl = nullptr;
    QImage FIconBitmap;
    QImage FCaptionBitmap;
    std::vector<TComponent*> FControls;
    TTimer* FTimer = nullptr;
    std::optional<TRegion> FRegion;
    int FRegionWidth = -1;
    int FRegionHeight = -1;
    int FWindowWidth = 0;
    int FWindowHeight = 0;
    TRect FTitleRect;
    int FAlign1Left = 0;
    TNCObject* FPaintObject = nullptr;
    QImage FPartBitmaps[2];  // the left and right parts of the last frame paint
    TColor FSavedColor = clBtnFace;
    bool FBusy = false;
};
