#pragma once
// The pictures that the small windows carry with them (the start window's
// ring, the about box's background and emblem, the icons of the export and
// print-correction windows), kept as resources of the program.

#include <QString>

class TPicture;

// Loads the named picture into picture; false (picture unchanged) when the
// program holds no such picture.
bool LoadWindowArt(TPicture* picture, const QString& name);
