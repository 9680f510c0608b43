#pragma once

#include <QString>

namespace ponencias {

// SQLite reads statement text only up to a NUL character, while a text value typed by a user
// may hold one. Gives `sql` with each quoted literal that holds NUL characters written as its
// UTF-8 bytes in hexadecimal, cast to text, so it stands for the same text as one expression
// however many NULs it holds (a chain of joins would outgrow SQLite's expression depth). The
// rest of the statement is left as it is: a NUL outside a literal still ends the statement, and
// an unterminated literal is left for the store to refuse.
QString WithNulLiterals(const QString& sql);

}  // namespace ponencias
