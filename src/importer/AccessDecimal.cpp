#include "AccessDecimal.h"

#include <algorithm>
#include <cstring>

namespace ponencias {

namespace {

uint32_t LittleEndian32(const unsigned char* bytes) {
    return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 |
           uint32_t(bytes[3]) << 24;
}

uint64_t LittleEndian64(const unsigned char* bytes) {
    return uint64_t(LittleEndian32(bytes)) | uint64_t(LittleEndian32(bytes + 4)) << 32;
}

}  // namespace

AccessDecimal AccessDecimal::FromStored(const unsigned char* bytes, int scale) {
    AccessDecimal decimal;
    decimal.negative = (bytes[0] & 0x80) != 0;
    decimal.scale = scale;
    for (int word = 0; word < 4; ++word) {
        decimal.magnitude = (decimal.magnitude << 32) | LittleEndian32(bytes + 1 + 4 * word);
    }
    return decimal;
}

// The length of what follows (16 bits), the scale, the sign, then the magnitude in 12 or 16
// bytes: a leading 32-bit word when the length is not a multiple of 8, then 64-bit words, each
// little-endian, the most significant first.
bool AccessDecimal::FromCalculated(const unsigned char* bytes, size_t size,
                                   AccessDecimal& decimal) {
    if (size < 4) {
        return false;
    }
    const int declared = int16_t(uint16_t(bytes[0] | bytes[1] << 8));
    size_t length = size_t(declared > 0 ? declared : int(size) - 2) - 2;
    length = std::min<size_t>(length / 4 * 4, 16);
    if (4 + length > size || length == 0) {
        return false;
    }
    decimal.scale = bytes[2];
    decimal.negative = bytes[3] != 0;
    decimal.magnitude = 0;
    const unsigned char* digits = bytes + 4;
    size_t at = 0;
    if (length % 8 != 0) {
        decimal.magnitude = LittleEndian32(digits);
        at = 4;
    }
    for (; at < length; at += 8) {
        decimal.magnitude = (decimal.magnitude << 64) | LittleEndian64(digits + at);
    }
    return decimal.scale <= kMaxScale;
}

AccessDecimal AccessDecimal::FromCurrency(int64_t units) {
    AccessDecimal decimal;
    decimal.negative = units < 0;
    decimal.magnitude = units < 0 ? 0 - uint64_t(units) : uint64_t(units);
    decimal.scale = 4;
    return decimal;
}

std::string AccessDecimal::Text() const {
    std::string digits;
    unsigned __int128 rest = magnitude;
    do {
        digits.insert(digits.begin(), char('0' + int(rest % 10)));
        rest /= 10;
    } while (rest != 0);
    if (scale > 0) {
        if (int(digits.size()) <= scale) {
            digits.insert(0, size_t(scale - int(digits.size()) + 1), '0');
        }
        digits.insert(digits.size() - size_t(scale), 1, '.');
        while (digits.back() == '0') {
            digits.pop_back();
        }
        if (digits.back() == '.') {
            digits.pop_back();
        }
    }
    if (negative && digits != "0") {
        digits.insert(digits.begin(), '-');
    }
    return digits;
}

}  // namespace ponencias
