#pragma once

// What the typology tells of each column that no data file can say: its meaning, the query
// window's criterion that uses it and the kind of variable it holds.

namespace ponencias::documents {

struct ColumnDescription {
    const char* name;
    const char* filter;  // label of the query window's criterion, or nullptr
    const char* kind;
    const char* meaning;
    // Said after the kind when the data file stores the column as text, though it holds
    // numbers; nullptr for a column of text.
    const char* storedAsTextNote = nullptr;
};

// The description of the column `name`, one of the columns the program names; nullptr for any
// other.
const ColumnDescription* DescriptionOf(const char* name);

}  // namespace ponencias::documents
