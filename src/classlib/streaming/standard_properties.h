#pragma once
// Name tables and the property lists of the sub-objects that saved classes
// share (font, pen, brush), added in place under a "." path.

#include "classlib/graphics/font.h"
#include "classlib/graphics/types.h"
#include "classlib/streaming/registry.h"

#include <QStringList>

TIntegerIdents ColorIdents();
TIntegerIdents CharsetIdents();
TIntegerIdents CursorIdents();

QStringList FontStyleNames();   // fsBold, fsItalic, fsUnderline, fsStrikeOut
QStringList FontPitchNames();
QStringList PenStyleNames();
QStringList PenModeNames();
QStringList BrushStyleNames();

// Charset, Color, Height, Name, Pitch (when not fpDefault), Style (always):
// all of them whenever stored(object) holds.
template <class T, class FontOf, class Stored>
void AddFontProperties(TStreamClassBuilder<T>& b, const QString& path, FontOf fontOf, Stored stored)
{
    const QString pre = path + QLatin1Char('.');
    b.NamedInteger(pre + "Charset", CharsetIdents(), [fontOf](T& o) { return fontOf(o).Charset(); },
                   [fontOf](T& o, int64_t v) { fontOf(o).SetCharset(static_cast<int>(v)); })
        .Always()
        .StoredIf(stored);
    b.NamedInteger(pre + "Color", ColorIdents(), [fontOf](T& o) { return fontOf(o).Color(); },
                   [fontOf](T& o, int64_t v) { fontOf(o).SetColor(static_cast<TColor>(v)); })
        .Always()
        .StoredIf(stored);
    b.Integer(pre + "Height", [fontOf](T& o) { return fontOf(o).Height(); },
              [fontOf](T& o, int64_t v) { fontOf(o).SetHeight(static_cast<int>(v)); })
        .Always()
        .StoredIf(stored);
    b.String(pre + "Name", [fontOf](T& o) { return fontOf(o).Name(); },
             [fontOf](T& o, const QString& v) { fontOf(o).SetName(v); })
        .Always()
        .StoredIf(stored);
    b.Enumeration(pre + "Pitch", FontPitchNames(), [fontOf](T& o) { return fontOf(o).Pitch(); },
                  [fontOf](T& o, int64_t v) { fontOf(o).SetPitch(static_cast<TFontPitch>(v)); })
        .Default(fpDefault)
        .StoredIf(stored);
    b.SetOf(pre + "Style", FontStyleNames(), [fontOf](T& o) { return fontOf(o).Style(); },
            [fontOf](T& o, int64_t v) { fontOf(o).SetStyle(static_cast<TFontStyles>(v)); })
        .Always()
        .StoredIf(stored);
}

// Color (clBlack), Mode (pmCopy), Style (psSolid), Width (1).
template <class T, class PenOf>
void AddPenProperties(TStreamClassBuilder<T>& b, const QString& path, PenOf penOf)
{
    const QString pre = path + QLatin1Char('.');
    b.NamedInteger(pre + "Color", ColorIdents(), [penOf](T& o) { return penOf(o).Color(); },
                   [penOf](T& o, int64_t v) { penOf(o).SetColor(static_cast<TColor>(v)); })
        .Default(clBlack);
    b.Enumeration(pre + "Mode", PenModeNames(), [penOf](T& o) { return penOf(o).Mode(); },
                  [penOf](T& o, int64_t v) { penOf(o).SetMode(static_cast<TPenMode>(v)); })
        .Default(pmCopy);
    b.Enumeration(pre + "Style", PenStyleNames(), [penOf](T& o) { return penOf(o).Style(); },
                  [penOf](T& o, int64_t v) { penOf(o).SetStyle(static_cast<TPenStyle>(v)); })
        .Default(psSolid);
    b.Integer(pre + "Width", [penOf](T& o) { return penOf(o).Width(); },
              [penOf](T& o, int64_t v) { penOf(o).SetWidth(static_cast<int>(v)); })
        .Default(1);
}

// Color (clWhite), Style (bsSolid).
template <class T, class BrushOf>
void AddBrushProperties(TStreamClassBuilder<T>& b, const QString& path, BrushOf brushOf)
{
    const QString pre = path + QLatin1Char('.');
    b.NamedInteger(pre + "Color", ColorIdents(), [brushOf](T& o) { return brushOf(o).Color(); },
                   [brushOf](T& o, int64_t v) { brushOf(o).SetColor(static_cast<TColor>(v)); })
        .Default(clWhite);
    b.Enumeration(pre + "Style", BrushStyleNames(), [brushOf](T& o) { return brushOf(o).Style(); },
                  [brushOf](T& o, int64_t v) { brushOf(o).SetStyle(static_cast<TBrushStyle>(v)); })
        .Default(bsSolid);
}
