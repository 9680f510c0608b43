#pragma once

#include <QString>
#include <optional>

#include "query/QueryFilters.h"

namespace ponencias::cli {

// The filter list of an option ("eje"), or null for an option that names none.
const FilterList* FilterListOf(const char* option);

// The index of the entry of `list` whose text is exactly `value`; nothing when it has none.
std::optional<int> EntryIndex(const ListControl& list, const QString& value);

// Why `value` cannot stand for a choice in `filter`'s list: the option and the value, the
// list by its label, and the closest entries, found without regard to letter case, accents or
// extra blanks, or else the way to see them all. Ends with a line break.
QString NotAnEntryMessage(const FilterList& filter, const ListControl& list, const QString& value);

}  // namespace ponencias::cli
