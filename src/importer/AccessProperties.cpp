#include "AccessProperties.h"

#include <cstdint>
#include <cstring>

#include "Mdb.h"

namespace ponencias {

namespace {

constexpr size_t kNamesRecord = 0x80;
constexpr size_t kRecordHeader = 6;  // the record's length (32 bits) and its kind (16)
constexpr size_t kValueHeader = 8;   // length, kind, name number and size of one value

size_t Word16(const unsigned char* bytes) {
    return size_t(bytes[0]) | size_t(bytes[1]) << 8;
}

size_t Word32(const unsigned char* bytes) {
    return Word16(bytes) | Word16(bytes + 2) << 16;
}

// The bytes libmdb reads of a value of `kind` stored in `size` bytes.
size_t BytesRead(int kind, size_t size) {
    switch (kind) {
        case MDB_BOOL:
        case MDB_BYTE:
            return 1;
        case MDB_INT:
            return 2;
        case MDB_LONGINT:
        case MDB_FLOAT:
            return 4;
        case MDB_DOUBLE:
        case MDB_MONEY:
        case MDB_DATETIME:
            return 8;
        case MDB_REPID:
            return 16;
        case MDB_NUMERIC:
            return 17;
        default:
            return size;
    }
}

// A list of names: each a 16-bit length and that many bytes. Gives how many, or -1.
long NameCount(const unsigned char* bytes, size_t size) {
    long count = 0;
    for (size_t at = 0; at < size; ++count) {
        if (at + 2 > size || at + 2 + Word16(bytes + at) > size) {
            return -1;
        }
        at += 2 + Word16(bytes + at);
    }
    return count;
}

// One object's (or column's) values: a header with its name, then values, each naming one of
// the names. libmdb stops at the first value naming no name or running past the end.
bool ValuesReadable(const unsigned char* bytes, size_t size, size_t names) {
    if (size < kRecordHeader || kRecordHeader + Word16(bytes + 4) > size) {
        return false;
    }
    for (size_t at = kRecordHeader + Word16(bytes + 4); at < size;) {
        if (at + kValueHeader > size) {
            return false;
        }
        const size_t length = Word16(bytes + at);
        const int kind = bytes[at + 3];
        const size_t valueSize = Word16(bytes + at + 6);
        if (Word16(bytes + at + 4) >= names || at + kValueHeader + valueSize > size) {
            return true;
        }
        if (length == 0 || at + kValueHeader + BytesRead(kind, valueSize) > size) {
            return false;
        }
        at += length;
    }
    return true;
}

}  // namespace

bool PropertiesReadable(const unsigned char* bytes, size_t size) {
    // Its kind, a NUL-ended text libmdb compares as such.
    if (size < 4 || std::memchr(bytes, 0, 4) == nullptr) {
        return false;
    }
    if (std::strcmp(reinterpret_cast<const char*>(bytes), "KKD") != 0 &&
        std::strcmp(reinterpret_cast<const char*>(bytes), "MR2") != 0) {
        return true;  // libmdb passes over blocks of other kinds
    }
    long names = -1;
    for (size_t at = 4; at < size;) {
        if (at + kRecordHeader > size) {
            return false;
        }
        const size_t length = Word32(bytes + at);
        if (length < kRecordHeader || length > size - at) {
            return false;
        }
        const unsigned char* body = bytes + at + kRecordHeader;
        const size_t bodySize = length - kRecordHeader;
        const size_t kind = Word16(bytes + at + 4);
        if (kind == kNamesRecord) {
            names = NameCount(body, bodySize);
            if (names < 0) {
                return false;
            }
        } else if (kind <= 2 && names >= 0 && !ValuesReadable(body, bodySize, size_t(names))) {
            return false;
        }
        at += length;
    }
    return true;
}

}  // namespace ponencias
