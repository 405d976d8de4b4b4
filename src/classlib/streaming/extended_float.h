#pragma once
// 80-bit extended precision floats as the records store them (10 bytes,
// little-endian: 64-bit mantissa with explicit integer bit, then sign and
// 15-bit exponent).

#include <array>
#include <cstdint>

double ExtendedToDouble(const std::array<uint8_t, 10>& bytes);
std::array<uint8_t, 10> DoubleToExtended(double value);
