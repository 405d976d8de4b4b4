#pragma once
// Registered names of the standard cursors ("crDefault" 0 .. "crSizeAll" -22).

#include <QString>

bool CursorToIdent(int cursor, QString& ident);
bool IdentToCursor(const QString& ident, int& cursor);
