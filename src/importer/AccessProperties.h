#pragma once

#include <cstddef>

namespace ponencias {

// Whether libmdb 1.0 can walk the properties Access keeps for an object (the "KKD" or "MR2"
// blocks of MSysObjects.LvProp) to their end without leaving them. libmdb trusts every length
// in them: a record of length 0 sends it round for ever, building ever more property tables,
// and a length past the end makes it read beyond the value.
bool PropertiesReadable(const unsigned char* bytes, size_t size);

}  // namespace ponencias
