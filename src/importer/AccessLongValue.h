#pragma once

#include "Mdb.h"

#include <cstddef>
#include <vector>

namespace ponencias {

// The bytes of a long value (memo, OLE object, a calculated long text, an object's properties),
// whose field in its row is the 12-byte reference Access keeps there: the value itself after
// it, or the row of another page that holds it whole, or a chain of rows each naming the next.
// A damaged file can make a chain run in circles or point anywhere: the reading follows at most
// as many links as the file has pages, stays in every page's bounds, and throws ValueFailure
// when the value cannot be followed to its end. Reads pages into libmdb's second page buffer;
// the current page stays as it was.
//
// Declared takes what the reference says the value's length is, as Access means it; Stored
// takes every byte the value's rows hold, as libmdb reads the catalog's properties.
enum class LongValueExtent { Declared, Stored };
std::vector<unsigned char> ReadLongValue(MdbHandle* mdb, const unsigned char* field, size_t size,
                                         size_t filePages,
                                         LongValueExtent extent = LongValueExtent::Declared);

}  // namespace ponencias
