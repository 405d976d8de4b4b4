#pragma once
// TTransMemo: a multi-line edit that can let its parent show through, so text
// typed or shown in it sits straight on whatever the parent paints beneath
// (its pictures, labels and background).

#include "classlib/controls/std_controls.h"

#include <QObject>
#include <QPointer>

class TTransMemo : public TMemo {
public:
    TV_CLASS_NAME(TTransMemo)
    explicit TTransMemo(TComponent* owner);
    ~TTransMemo() override;

    // The alignment the window is made with; a change applies at once.
    TAlignment AlignText() const { return FAlignText; }
    void SetAlignText(TAlignment a);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool v);
    // Keeps a trailing line break, which the line list would drop.
    void SetCaption(const QString& text) override;

    // The formatting rectangle: where the text lies inside the client area
    // (EM_SETRECT and EM_SETRECTNP with a TRect* in LParam do the same;
    // a null rectangle gives the default back).
    void SetFormattingRect(const TRect* rect);

    void WndProc(TMessage& message) override;

protected:
    void InitWidget() override;
    void ColorChanged() override;
    void FontChanged() override;
    void Change() override;

private:
    void ApplyBackground();
    void PaintTransparent();
    void ApplyLineHeight();
    TAlignment FAlignText = taLeftJustify;
    bool FTransparent = false;
    int FTextMargin = -1; // the formatting rectangle's inset; -1 the editor's default
    QPointer<QObject> FViewportFilter;
};
