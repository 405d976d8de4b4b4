#pragma once
// The parameter string of a circular text: decimal integers, each followed by
// ";" (centre x;centre y;radius;angle;).

#include <QString>

// Field n (from 0) as an integer: a field past the end or an empty field is 0;
// a field that is not a number throws EConvertError.
int GetParamField(const QString& s, int n);
// s with field n replaced by value; text after the last ";" is dropped, and a
// string with fewer than n + 1 fields comes back unchanged.
QString SetParamField(const QString& s, int value, int n);
// s with field n moved by delta (kept within the integer range).
QString ShiftParamField(const QString& s, long long delta, int n);
