#pragma once
// Status bars, progress bars, track bars and up-down buttons.

#include "skin/controls/skin_control.h"

#include <QImage>

class TSkinStatusBar : public TSkinControl {
public:
    TV_CLASS_NAME(TSkinStatusBar)
    using TSkinControl::TSkinControl;
    bool BeforeProc(TMessage& m) override;
    void DrawControl(QPainter& dc, const TRect& r) override;
    // The panel rectangles as the bar lays them out (the last reaches the right edge).
    std::vector<TRect> PanelRects() const;
    // The "ExtraImages" cell of the size grip, 0 when the skin has none.
    int GripCell() const;
};

// The size grip's cell of "ExtraImages" (the one after the combo's arrows),
// 0 when the skin has none; drawn keyed into the bottom-right corner of r.
int SkinGripCell(const TSkinData* data);
bool DrawSkinGrip(QPainter& p, const TRect& r, const TSkinData* data);

class TSkinProgress : public TSkinControl {
public:
    TV_CLASS_NAME(TSkinProgress)
    using TSkinControl::TSkinControl;
    bool BeforeProc(TMessage& m) override;
    void DrawControl(QPainter& dc, const TRect& r) override;
    // Length of the filled part of a bar of the given length.
    int FilledLength(int length) const;
};

class TSkinTrackBar : public TSkinControl {
public:
    TV_CLASS_NAME(TSkinTrackBar)
    using TSkinControl::TSkinControl;
    bool BeforeProc(TMessage& m) override;
    void AfterProc(TMessage& m) override;
    void DrawControl(QPainter& dc, const TRect& r) override;
    TRect ChannelRect() const;
    TRect ThumbRect() const;
    // The thumb element for the orientation and tick side.
    const TDataSkinObject* ThumbElement() const;
};

class TSkinUpDown : public TSkinControl {
public:
    TV_CLASS_NAME(TSkinUpDown)
    using TSkinControl::TSkinControl;
    bool BeforeProc(TMessage& m) override;
    void AfterProc(TMessage& m) override;
    void DrawControl(QPainter& dc, const TRect& r) override;
    // The two halves (up or left first) in window coordinates.
    void Halves(TRect& first, TRect& second) const;
    bool Horizontal = false;
    bool Embedded = false;
};
