#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace ponencias {

// A decimal value of an Access file read exactly: its sign, its digits as one integer, and how
// many of those digits come after the point. Access keeps decimals of up to 28 digits.
struct AccessDecimal {
    static constexpr int kMaxScale = 28;

    bool negative = false;
    unsigned __int128 magnitude = 0;
    int scale = 0;

    // A Decimal column's 17 bytes: a sign byte (0x80 for negative) and a 128-bit magnitude in
    // four 32-bit little-endian words, the most significant first.
    static AccessDecimal FromStored(const unsigned char* bytes, int scale);
    // A calculated column's decimal of `size` bytes; false when it does not hold one.
    static bool FromCalculated(const unsigned char* bytes, size_t size, AccessDecimal& decimal);
    // Currency: 64-bit ten-thousandths.
    static AccessDecimal FromCurrency(int64_t units);

    // The decimal as Access shows it: no trailing zeros after the point, no point before
    // nothing ("102030405060.654321", "-1", "0.0123").
    std::string Text() const;
};

}  // namespace ponencias
