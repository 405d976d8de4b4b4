#pragma once
// Fonts, pens and brushes: the drawing attributes of a canvas. Each notifies
// its owner through OnChange so controls repaint when they change.

#include "classlib/component.h"
#include "classlib/graphics/types.h"

#include <QFont>
#include <QPen>
#include <QString>
#include <functional>

enum TFontStyle { fsBold = 0, fsItalic = 1, fsUnderline = 2, fsStrikeOut = 3 };
using TFontStyles = unsigned; // bit (1 << TFontStyle)
constexpr TFontStyles FontStyleBit(TFontStyle s) { return 1u << s; }

enum TFontPitch { fpDefault, fpVariable, fpFixed };

enum : int {
    ANSI_CHARSET = 0,
    DEFAULT_CHARSET = 1,
    SYMBOL_CHARSET = 2,
    MAC_CHARSET = 77,
    SHIFTJIS_CHARSET = 128,
    HANGEUL_CHARSET = 129,
    JOHAB_CHARSET = 130,
    GB2312_CHARSET = 134,
    CHINESEBIG5_CHARSET = 136,
    GREEK_CHARSET = 161,
    TURKISH_CHARSET = 162,
    VIETNAMESE_CHARSET = 163,
    HEBREW_CHARSET = 177,
    ARABIC_CHARSET = 178,
    BALTIC_CHARSET = 186,
    RUSSIAN_CHARSET = 204,
    THAI_CHARSET = 222,
    EASTEUROPE_CHARSET = 238,
    OEM_CHARSET = 255,
};
bool CharsetToIdent(int charset, QString& ident);
bool IdentToCharset(const QString& ident, int& charset);

class TGraphicsObject : public TPersistent {
public:
    std::function<void(TGraphicsObject*)> OnChange;

protected:
    void Changed()
    {
        if (OnChange)
            OnChange(this);
    }
};

class TFont : public TGraphicsObject {
public:
    TV_CLASS_NAME(TFont)
    TFont();
    void Assign(const TPersistent* source) override;

    const QString& Name() const { return FName; }
    void SetName(const QString& name);
    // Negative: character height in pixels; positive: cell height.
    int Height() const { return FHeight; }
    void SetHeight(int height);
    // Points at the font's pixels per inch (96).
    int Size() const;
    void SetSize(int points);
    TColor Color() const { return FColor; }
    void SetColor(TColor color);
    int Charset() const { return FCharset; }
    void SetCharset(int charset);
    TFontPitch Pitch() const { return FPitch; }
    void SetPitch(TFontPitch pitch);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles style);
    bool HasStyle(TFontStyle s) const { return (FStyle & FontStyleBit(s)) != 0; }
    // Escapement in tenths of a degree, counter-clockwise (the platform's rotated fonts).
    int Orientation() const { return FOrientation; }
    void SetOrientation(int tenths);
    int PixelsPerInch() const { return FPixelsPerInch; }

    // The Qt font that draws like this one (pixel sizes, so independent of the device).
    QFont ToQFont() const;
    bool Equals(const TFont& other) const;

private:
    QString FName = QStringLiteral("MS Sans Serif");
    int FHeight = -11;
    TColor FColor = clWindowText;
    int FCharset = DEFAULT_CHARSET;
    TFontPitch FPitch = fpDefault;
    TFontStyles FStyle = 0;
    int FOrientation = 0;
    int FPixelsPerInch = 96;
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode {
    pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
    pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};

class TPen : public TGraphicsObject {
public:
    TV_CLASS_NAME(TPen)
    void Assign(const TPersistent* source) override;
    TColor Color() const { return FColor; }
    void SetColor(TColor c);
    int Width() const { return FWidth; }
    void SetWidth(int w);
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle s);
    TPenMode Mode() const { return FMode; }
    void SetMode(TPenMode m);
    QPen ToQPen() const;

private:
    TColor FColor = clBlack;
    int FWidth = 1;
    TPenStyle FStyle = psSolid;
    TPenMode FMode = pmCopy;
};

enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

class TBrush : public TGraphicsObject {
public:
    TV_CLASS_NAME(TBrush)
    void Assign(const TPersistent* source) override;
    TColor Color() const { return FColor; }
    void SetColor(TColor c);
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle s);
    QBrush ToQBrush() const;

private:
    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
};

// Enumeration names as component stream records write them.
const char* PenStyleName(TPenStyle s);
const char* PenModeName(TPenMode m);
const char* BrushStyleName(TBrushStyle s);
const char* FontPitchName(TFontPitch p);
const char* FontStyleName(TFontStyle s);
