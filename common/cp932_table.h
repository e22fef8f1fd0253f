#pragma once

#include <QtGlobal>
#include <array>

// One bit per BMP code point (bit c % 32 of word c / 32), set where code
// page 932 encodes the character with two bytes.
inline constexpr int Cp932TableWords = 0x10000 / 32;
extern const std::array<quint32, Cp932TableWords> Cp932DoubleByteBits;
