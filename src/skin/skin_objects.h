#pragma once
// Skin elements: one named picture of a skin with its nine-grid margins, state
// frames, transparency, tiling and colours, and the kinds built on it.

#include "platform/win_types.h"

#include <QImage>
#include <QString>

// Caption text colour that a skin did not set.
constexpr TColor clSkinNotSet = 0x1FFFFFFF;

class TDataSkinObject {
public:
    explicit TDataSkinObject(const QString& name) : Name(name) {}
    virtual ~TDataSkinObject() = default;
    TDataSkinObject(const TDataSkinObject&) = default;
    TDataSkinObject& operator=(const TDataSkinObject&) = default;

    int LeftWidth = 0;
    int TopHeight = 0;
    int RightWidth = 0;
    int BottomHeight = 0;
    QImage Image;
    int Trans = 0;   // 1: pure magenta pixels are transparent
    int Tile = 0;    // 0: stretch the middle parts, 1: tile them
    QString Name;
    int Frame = 0;   // state frames side by side in Image
    int Style = 0;
    int NormalColour = -1;
    int MouseOverColour = -1;
    int PressedColour = -1;
    TColor NormalColour2 = 0;
    TColor MouseOverColour2 = 0;
    TColor PressedColour2 = 0;

    // Width of one state frame (the whole image when Frame is 0).
    int FrameWidth() const { return Frame > 0 ? Image.width() / Frame : Image.width(); }
};

// Frame sides and elements with a second picture (glyphs).
class TDataSkinBorder : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    QImage Image2;
};

class TDataSkinButton : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    QImage CheckImage;
    QImage RadioImage;
    int RadioButtonFrame = 0;
    int CheckButtonFrame = 0;
    bool NormalColour2Set = false;
    bool MouseOverColour2Set = false;
    bool PressedColour2Set = false;
};

class TDataSkinTitle : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    int TextAlignment = 0;
    int Textbackground = 0;
    int FontHeight = 14;
    int TXTBackleft = 0;
    int TXTBackRight = 0;
    TColor ActiveTextColour = clSkinNotSet;
    TColor InactiveTextColour = clSkinNotSet;
};

// A caption button.
class TDataSkinSysButton : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    int Action = 0;
    int Align = 0;
    int Xcoord = 0;
    int Ycoord = 0;
    int CombineOp = -1;
    int Visibility = 0;
    int Visibility1 = 0;
};

class TDataSkinBoxLabel : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    int BackgroundLeftShift = 0;
    int BackgroundRightShift = 0;
    int BackgroundAlignment = 0;
};
