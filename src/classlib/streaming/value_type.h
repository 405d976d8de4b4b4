#pragma once
// The value tags of component stream records: one byte before every value.

#include <QString>
#include <cstdint>

enum class TValueType : uint8_t {
    vaNull = 0,
    vaList = 1,
    vaInt8 = 2,
    vaInt16 = 3,
    vaInt32 = 4,
    vaExtended = 5,
    vaString = 6,
    vaIdent = 7,
    vaFalse = 8,
    vaTrue = 9,
    vaBinary = 10,
    vaSet = 11,
    vaLString = 12,
    vaNil = 13,
    vaCollection = 14,
    vaSingle = 15,
    vaCurrency = 16,
    vaDate = 17,
    vaWString = 18,
    vaInt64 = 19,
    vaUTF8String = 20,
};

constexpr int kLastValueType = 20;

// "vaInt8", "vaUTF8String", ...; for messages and test output.
QString ValueTypeName(TValueType type);

// The four bytes every record starts with.
inline constexpr char kRecordSignature[4] = {'T', 'P', 'F', '0'};

// Prefix byte flags (low nibble of a byte whose high nibble is 0xF).
enum TFilerFlag : int {
    ffInherited = 1,
    ffChildPos = 2,
    ffInline = 4,
};
