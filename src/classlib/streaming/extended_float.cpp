#include "classlib/streaming/extended_float.h"

#include <cmath>
#include <limits>

double ExtendedToDouble(const std::array<uint8_t, 10>& bytes)
{
    uint64_t mantissa = 0;
    for (int i = 7; i >= 0; --i)
        mantissa = (mantissa << 8) | bytes[static_cast<size_t>(i)];
    const int signExp = bytes[8] | (bytes[9] << 8);
    const bool negative = (signExp & 0x8000) != 0;
    const int exponent = signExp & 0x7FFF;
    double value;
    if (exponent == 0x7FFF) {
        // Infinity has only the integer bit; anything else below it is a NaN.
        value = (mantissa << 1) == 0 ? std::numeric_limits<double>::infinity()
                                     : std::numeric_limits<double>::quiet_NaN();
    } else {
        // Denormals (exponent 0) use the exponent of 1 without an implied bit.
        const int e = (exponent == 0 ? 1 : exponent) - 16383 - 63;
        value = std::ldexp(static_cast<double>(mantissa), e);
    }
    return negative ? -value : value;
}

std::array<uint8_t, 10> DoubleToExtended(double value)
{
    std::array<uint8_t, 10> out{};
    uint64_t mantissa = 0;
    int exponent = 0;
    const bool negative = std::signbit(value);
    if (std::isnan(value)) {
        mantissa = 0xC000000000000000ull;
        exponent = 0x7FFF;
    } else if (std::isinf(value)) {
        mantissa = 0x8000000000000000ull;
        exponent = 0x7FFF;
    } else if (value != 0) {
        int e = 0;
        const double m = std::frexp(std::fabs(value), &e); // 0.5 <= m < 1
        // m has at most 53 significant bits, so m * 2^64 is exact and below 2^64.
        mantissa = static_cast<uint64_t>(std::ldexp(m, 64));
        exponent = e - 1 + 16383;
    }
    for (size_t i = 0; i < 8; ++i)
        out[i] = static_cast<uint8_t>(mantissa >> (8 * i));
    const int signExp = exponent | (negative ? 0x8000 : 0);
    out[8] = static_cast<uint8_t>(signExp & 0xFF);
    out[9] = static_cast<uint8_t>(signExp >> 8);
    return out;
}
