#include "classlib/streaming/standard_properties.h"

#include "classlib/controls/control.h"

namespace {
template <typename E, typename F>
QStringList NamesOf(int count, F nameOf)
{
    QStringList names;
    for (int i = 0; i < count; ++i)
        names.append(QString::fromLatin1(nameOf(static_cast<E>(i))));
    return names;
}
} // namespace

TIntegerIdents ColorIdents() { return {&ColorToIdent, &IdentToColor}; }
TIntegerIdents CharsetIdents() { return {&CharsetToIdent, &IdentToCharset}; }
TIntegerIdents CursorIdents() { return {&CursorToIdent, &IdentToCursor}; }

QStringList FontStyleNames() { return NamesOf<TFontStyle>(fsStrikeOut + 1, FontStyleName); }
QStringList FontPitchNames() { return NamesOf<TFontPitch>(fpFixed + 1, FontPitchName); }
QStringList PenStyleNames() { return NamesOf<TPenStyle>(psInsideFrame + 1, PenStyleName); }
QStringList PenModeNames() { return NamesOf<TPenMode>(pmNotXor + 1, PenModeName); }
QStringList BrushStyleNames() { return NamesOf<TBrushStyle>(bsDiagCross + 1, BrushStyleName); }
