#include "classlib/streaming/cursor_idents.h"

namespace {
struct CursorName {
    int Value;
    const char* Name;
};
const CursorName kCursors[] = {
    {0, "crDefault"},     {-1, "crNone"},        {-2, "crArrow"},      {-3, "crCross"},
    {-4, "crIBeam"},      {-6, "crSizeNESW"},    {-7, "crSizeNS"},     {-8, "crSizeNWSE"},
    {-9, "crSizeWE"},     {-10, "crUpArrow"},    {-11, "crHourGlass"}, {-12, "crDrag"},
    {-13, "crNoDrop"},    {-14, "crHSplit"},     {-15, "crVSplit"},    {-16, "crMultiDrag"},
    {-17, "crSQLWait"},   {-18, "crNo"},         {-19, "crAppStart"},  {-20, "crHelp"},
    {-21, "crHandPoint"}, {-22, "crSizeAll"},
};
} // namespace

bool CursorToIdent(int cursor, QString& ident)
{
    for (const CursorName& c : kCursors)
        if (c.Value == cursor) {
            ident = QString::fromLatin1(c.Name);
            return true;
        }
    return false;
}

bool IdentToCursor(const QString& ident, int& cursor)
{
    for (const CursorName& c : kCursors)
        if (ident.compare(QLatin1String(c.Name), Qt::CaseInsensitive) == 0) {
            cursor = c.Value;
            return true;
        }
    return false;
}
