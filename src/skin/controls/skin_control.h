#pragma once
// TSkinControl: the base of the control skinners. A skinner sits on one
// control of a skinned window, takes over its messages, lets the control's own
// procedure do its work and paints the control's face from the skin. It
// attaches to a class-library control (its WindowProc is replaced) or to a
// bare window (its window procedure is subclassed).

#include "classlib/component.h"
#include "classlib/controls/control.h"
#include "platform/messages.h"
#include "platform/win_types.h"
#include "platform/window_proc.h"

#include <QPainter>
#include <QPointer>
#include <QString>

class TCanvas;
class TDataSkinObject;
class TSkinData;
class TWinSkinForm;

// Messages of the class library the skinners react to beyond the platform's list.
enum : unsigned {
    CM_DIALOGKEY = 0xB005,
    CM_FOCUSCHANGED = 0xB007,
    CM_CONTROLCHANGE_B021 = 0xB021, // a graphic control leaves its parent
};
// Right-to-left reading of DrawText.
constexpr unsigned DT_RTLREADING = 0x20000;
// Tag values the skinners read.
constexpr int kSkinParentImageTag = 5555;
constexpr int kSkinCloseTabsTag = 7777;

class TSkinControl : public TComponent {
public:
    TV_CLASS_NAME(TSkinControl)
    explicit TSkinControl(TComponent* owner);
    ~TSkinControl() override;

    enum : uint8_t { msHover = 1, msPressed = 2 };
    enum { lsCreated = 0, lsAttached = 1, lsDestroying = 6 };

    // Attach to the owner (a class-library control).
    virtual void InitControl(TWinSkinForm* form, TSkinData* skinData, TCanvas* canvas, bool setColor);
    // Attach to a bare window.
    virtual void InitHwnd(HWND window, TSkinData* skinData, TCanvas* canvas, TWinSkinForm* form);
    // Gives back what attaching changed.
    virtual void Restore();
    // Sees a message before the control's own procedure; true to pass it on.
    virtual bool BeforeProc(TMessage& m);
    // Reacts to a message after the control's own procedure.
    virtual void AfterProc(TMessage& m);
    // Paints the whole window (in window coordinates) into dc, or into the
    // window itself when dc is null.
    virtual void PaintWindow(QPainter* dc);
    // Paints the control's face into dc at r.
    virtual void DrawControl(QPainter& dc, const TRect& r);
    // Colour from the skin again after a skin change, and a repaint.
    virtual void ApplyColor();

    // The common window procedure.
    void SkinWndProc(TMessage& m);
    void Repaint();
    void CallOldProc(TMessage& m);
    void SendMouseLeave();
    // The window's text (999 characters at most without Unicode windows).
    QString ReadWindowText() const;
    intptr_t WindowLong(int index) const;

    // Fills.
    void FillColor(QPainter& dc, const TRect& r, TColor color) const;
    void FillFace(QPainter& dc, const TRect& r) const;
    void FillParentColor(QPainter& dc, const TRect& r) const;
    TColor ParentColor() const;
    // The focus rectangle around the caption as DrawText places it in bounds.
    // Clipped to bounds, or to clip when given (room beyond the text's own box).
    void DrawFocusAroundText(QPainter& dc, const TFont& font, unsigned flags, const TRect& bounds,
                             const TRect* clip = nullptr) const;
    // A left press forwarded to the class-library control's MouseDown.
    void ForwardMouseDown(const TMessage& m) const;
    // Background from the parent (Tag 5555 or the skin's xoTransparent).
    bool TakesParentImage() const;
    void PaintParentImage(QPainter& dc, const TRect& r) const;
    // DT_RTLREADING when the control reads right to left.
    unsigned RtlFlag() const;
    TColor FaceColour() const;

    // State.
    uint8_t MouseState() const { return FMouseState; }
    bool SkinningOn() const { return FSkinningOn; }
    int LifeState() const { return FLifeState; }
    bool Attached() const { return FAttached; }
    HWND Hwnd() const { return FHwnd; }
    TControl* Control() const { return FControl; }
    TControl* GraphicControl() const { return FGraphicControl; }
    TSkinData* SkinData() const { return FSkinData; }
    TWinSkinForm* SkinForm() const { return FSkinForm; }
    const QString& CaptionText() const { return FCaption; }
    int CustomFlag() const { return FCustomFlag; }
    // Whether attaching gives the control the face colour.
    bool ColorSet() const { return FSetColor; }
    const TRect& WindowRect() const { return FWindowRect; }

    void Notification(TComponent* component, TOperation operation) override;

protected:
    // Sets or clears a mouse-state flag and repaints, as hover and press do.
    void SetMouseFlag(uint8_t flag, bool on);
    void SwitchParentBackgroundOff();
    void SwitchParentBackgroundOn();
    void JoinForm(TWinSkinForm* form);
    // Runs paint with a painter on the window during its paint, or asks for a
    // paint when none is under way.
    void PaintNow(QPainter* dc);
    // A painter on the window within its paint event (BeginPaint/EndPaint).
    bool InWindowPaint() const { return FPaintEvent; }

    uint8_t FMouseState = 0;
    TCanvas* FWorkCanvas = nullptr;
    uint8_t FWindowEnabled = 0;
    uint8_t FWindowFocused = 0;
    QString FCaption;
    TWndProc FProcInstance;
    TWndProc FOldProc;
    bool FSkinningOn = true;
    bool FUnicode = false;
    TSkinData* FSkinData = nullptr;
    QPointer<QWidget> FHwnd;
    TWndMethod FSavedWindowMethod;
    TControl* FControl = nullptr;
    TRect FWindowRect;
    TControl* FGraphicControl = nullptr;
    bool FSetColor = false;
    TColor FSavedColor = clBtnFace;
    bool FAttached = false;
    int FLifeState = lsCreated;
    TWinSkinForm* FSkinForm = nullptr;
    int FCustomFlag = 0;
    bool FParentBackgroundWasOn = false;
    // Set while the window's paint event runs through the procedure.
    bool FPaintEvent = false;
};

// Frame (from 1) of a skin element over r: nine-grid by the element's margins,
// centre tiled when its Tile is set, magenta transparent when its Trans is 1.
void DrawSkinPart(QPainter& dc, const TRect& r, const TDataSkinObject* element, int frame);
// Whether an element can be drawn (present and with an image).
bool HasSkinImage(const TDataSkinObject* element);
// Copies width, height and format of source, then its pixels.
void CopyBitmap(const QImage& source, QImage& target);
// True for windows that float: popups and children of the desktop.
bool IsFloatingWindow(HWND window);
// How far the glyphs reach above the first line's box (the accents of
// capitals such as "Č" or "Ř" in many faces) and below the last one's:
// focus rectangles leave room for them.
struct TInkOverhang {
    int Above = 0;
    int Below = 0;
};
TInkOverhang InkBeyondLines(const TFont& font, const QString& text);
// Text drawing of the skinners: Unicode text with a transparent background.
int SkinText(QPainter& dc, const TFont& font, const QString& text, TRect& r, unsigned flags);
// Whether windows take Unicode text (decided once when the skin units start;
// the tests switch it to see the other path).
bool SkinUnicodeMode();
void SetSkinUnicodeMode(bool on);
