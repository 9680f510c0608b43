#pragma once

#include <stdexcept>

namespace ponencias {

// A failure found while reading an Access file, told in the words the user will see after
// "está dañado o incompleto: ". It ends the import.
struct ImportFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A table that cannot be read whole; the import goes on without it unless it is the table the
// store needs.
struct TableFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// One value that cannot be read: it reads empty, with a note naming its table, column and row,
// unless its table must be read whole.
struct ValueFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

}  // namespace ponencias
