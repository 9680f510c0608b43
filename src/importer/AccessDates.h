#pragma once

#include <QString>
#include <cstddef>
#include <string>

namespace ponencias {

// The ISO 8601 text of an Access date/time value (days since 1899-12-30, the fraction the time
// of day; before that date the fraction still counts forwards from midnight).
QString AccessDateText(double value);

// The ISO 8601 text of a Date/Time Extended value (Access 2019 and later), with all seven digits
// of its fraction ("2021-12-02 18:30:15.1234567"), so that every value of a column has the same
// width and the texts sort as the moments do. Empty when the bytes do not hold such a value.
std::string ExtendedDateTimeText(const unsigned char* bytes, size_t size);

// The size of a Date/Time Extended value.
inline constexpr size_t kExtendedDateTimeSize = 42;

}  // namespace ponencias
