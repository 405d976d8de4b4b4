#pragma once
// Button skinners: push buttons, buttons with a glyph, speed buttons (which
// have no window: their parent paints them) and buttons with a drop-down
// arrow, all painted from the skin's "Buttons" element.

#include "skin/controls/skin_control.h"

#include <QImage>

class TFont;

class TSkinButton : public TSkinControl {
public:
    TV_CLASS_NAME(TSkinButton)
    using TSkinControl::TSkinControl;

    void InitControl(TWinSkinForm* form, TSkinData* skinData, TCanvas* canvas, bool setColor) override;
    void InitHwnd(HWND window, TSkinData* skinData, TCanvas* canvas, TWinSkinForm* form) override;
    bool BeforeProc(TMessage& m) override;
    void AfterProc(TMessage& m) override;
    void DrawControl(QPainter& dc, const TRect& r) override;

    // The "Buttons" frame (from 1) for the state read at the last paint.
    virtual int ButtonFrame() const;
    bool ForeignButton() const { return FCustomFlag == 1; }
    bool Transparent() const { return FTransparent; }
    bool MultiLine() const { return FMultiLine; }
    // The caption colour of a frame over the font's own colour.
    TColor CaptionColour(int frame, TColor fontColour) const;

protected:
    // Focus, enabled state and caption read for a paint.
    void ReadState();
    // Background and the skin frame into the back buffer; false without a skin image.
    bool PaintFace(QPainter& buffer, const TRect& r, int frame);
    // The caption's font: the control's Font, or the bare window's font in ButtonText.
    TFont CaptionFont() const;
    // What a push button shows over its face in the back buffer: the caption.
    virtual void DrawCaption(QPainter& buffer, const TRect& local, int frame);
    void Click();
    bool NoFocusRect() const;
    // Whether a mouse position (client coordinates in lParam) lies on the window.
    bool InsideWindow(LPARAM pos) const;
    // A mouse move outside ends hover and the pressed look: the window holds
    // the mouse while the button is down, so no leave notice comes. True when
    // the move was outside.
    bool MovedOff(LPARAM pos);

    QImage FBackBuffer;
    bool FMultiLine = false;
    bool FTransparent = false;
};

class TSkinBitButton : public TSkinButton {
public:
    TV_CLASS_NAME(TSkinBitButton)
    using TSkinButton::TSkinButton;

    void DrawControl(QPainter& dc, const TRect& r) override;
    // Takes the glyph from this graphic property instead of "Glyph".
    QString PropertyName;

    // Where glyph and text go inside r (the glyph-button rule of the class library).
    struct TLayout {
        TRect Glyph;
        TRect Text;
        unsigned TextFlags = 0;
    };
    static TLayout LayoutGlyph(const TRect& r, QSize glyph, QSize text, const QString& layout, int margin, int spacing,
                               bool centred);

protected:
    // Glyph, caption and focus rectangle over the face in the buffer.
    void PaintGlyphAndCaption(QPainter& buffer, const TRect& r, int frame, int cell, bool withImages);
    // The glyph cell picture: cell (from 1) of the glyph strip, grey for cell 2.
    QImage GlyphCell(int askedCell, int& numGlyphs) const;
};

class TSkinSpeedButton : public TSkinBitButton {
public:
    TV_CLASS_NAME(TSkinSpeedButton)
    using TSkinBitButton::TSkinBitButton;
    ~TSkinSpeedButton() override;

    // Attach to the owner, a control without a window.
    void InitSpeedButton(TWinSkinForm* form, TSkinData* skinData, TCanvas* canvas);
    bool BeforeProc(TMessage& m) override;
    void AfterProc(TMessage& m) override;
    void PaintWindow(QPainter* dc) override;
    void DrawControl(QPainter& dc, const TRect& r) override;
    int ButtonFrame() const override;

private:
    void GiveBackWindowProc();
    bool FPainting = false;
};

class TSkinMenuButton : public TSkinButton {
public:
    TV_CLASS_NAME(TSkinMenuButton)
    using TSkinButton::TSkinButton;
    int ButtonFrame() const override;

protected:
    // The caption left of the drop-down arrow, and the arrow.
    void DrawCaption(QPainter& buffer, const TRect& local, int frame) override;
};

// The caption of a button or tab drawn centred (or not) in r: "||" becomes a
// line break (written back into caption); the text box is grown by 2 for the
// focus rectangle when focused.
void DrawSkinCaption(QPainter& dc, const TFont& font, QString& caption, const TRect& r, bool centre, bool focusRect,
                     unsigned rtl);
// A TFont that draws like a widget's font.
TFont FontOfWidget(const QWidget* widget);
