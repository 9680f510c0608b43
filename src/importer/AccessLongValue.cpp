#include "AccessLongValue.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "ImportFailures.h"

namespace ponencias {

namespace {

constexpr uint32_t kInline = 0x80000000u;
constexpr uint32_t kOneRow = 0x40000000u;
constexpr uint32_t kLengthMask = 0x3fffffffu;
constexpr size_t kLinkSize = 4;  // a chain's row starts with the next row's place

uint32_t Word32(const unsigned char* bytes) {
    return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 |
           uint32_t(bytes[3]) << 24;
}

// The bytes of the row at `place` (page in the upper 24 bits, row in the lowest 8).
std::pair<const unsigned char*, size_t> Row(MdbHandle* mdb, uint32_t place) {
    void* buffer = nullptr;
    int offset = 0;
    size_t found = 0;
    if (mdb_find_pg_row(mdb, int(place), &buffer, &offset, &found) != 0) {
        throw ValueFailure("un valor largo está fuera del archivo");
    }
    offset &= 0x1fff;
    if (size_t(offset) + found > size_t(mdb->fmt->pg_size)) {
        throw ValueFailure("un valor largo sale de los límites de su página");
    }
    return {static_cast<const unsigned char*>(buffer) + offset, found};
}

}  // namespace

std::vector<unsigned char> ReadLongValue(MdbHandle* mdb, const unsigned char* field,
                                         size_t size, size_t filePages, LongValueExtent extent) {
    if (size < size_t(MDB_MEMO_OVERHEAD)) {
        throw ValueFailure("un valor largo está incompleto");
    }
    const uint32_t flags = Word32(field);
    const size_t declared = flags & kLengthMask;
    const size_t length =
        extent == LongValueExtent::Declared ? declared : std::numeric_limits<size_t>::max();
    std::vector<unsigned char> value;
    if ((flags & kInline) != 0) {
        const size_t kept = std::min(length, size - MDB_MEMO_OVERHEAD);
        value.assign(field + MDB_MEMO_OVERHEAD, field + MDB_MEMO_OVERHEAD + kept);
        return value;
    }
    const uint32_t first = Word32(field + 4);
    if ((flags & kOneRow) != 0) {
        const auto [bytes, found] = Row(mdb, first);
        value.assign(bytes, bytes + std::min(found, length));
        return value;
    }
    // Each row of the chain: the next row's place (0 in the last), then its part of the value.
    // The chain is followed to its end, as libmdb follows the chains of the catalog's
    // properties: one that runs in circles is damage even past the value's length.
    for (uint32_t place = first, links = 0; place != 0; ++links) {
        if (links > filePages) {
            throw ValueFailure("un valor largo no acaba nunca");
        }
        const auto [bytes, found] = Row(mdb, place);
        if (found < kLinkSize) {
            throw ValueFailure("un valor largo se interrumpe antes de su final");
        }
        place = Word32(bytes);
        const size_t part = std::min(found - kLinkSize, length - value.size());
        value.insert(value.end(), bytes + kLinkSize, bytes + kLinkSize + part);
    }
    if (extent == LongValueExtent::Declared && value.size() < declared) {
        throw ValueFailure("un valor largo se interrumpe antes de su final");
    }
    return value;
}

}  // namespace ponencias
