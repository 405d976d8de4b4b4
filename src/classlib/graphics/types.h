#pragma once
// Colours of the class library: conversions and registered names.

#include "platform/win_types.h"

#include <QColor>
#include <QString>

// Resolves system colours through the classic palette; plain colours pass through.
TColor ColorToRGB(TColor color);
QColor ToQColor(TColor color);
TColor FromQColor(const QColor& color);
// Registered colour names, in the class library's order ("clBlack" .. "clMenuBar").
bool ColorToIdent(TColor color, QString& ident);
bool IdentToColor(const QString& ident, TColor& color);
