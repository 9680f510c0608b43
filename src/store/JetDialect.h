#pragma once

#include <QString>
#include <string_view>

struct sqlite3;

namespace ponencias {

// The text semantics of the file-database dialect the program's SQL is written for, kept on
// SQLite: text compares without regard to letter case but with regard to accents ("MÉXICO" equals
// "México", "Mexico" does not), and LIKE matches "%" and "_" under the same rule.

// Name of the collation given to every column of the queryable copy.
inline constexpr const char* kJetTextCollation = "JETTEXT";

// A table or column name as it stands in an SQL text: between double quotes, each double quote
// in it doubled.
QString QuotedIdentifier(const QString& name);

// Registers the collation and the LIKE function on a connection. Returns an SQLite result code.
int RegisterJetDialect(sqlite3* db);

// Orders two UTF-8 texts: letters first by their base letter ("á" beside "a", "ñ" after "n"),
// then, between texts equal but for accents, by the accents; letter case never counts. Returns
// <0, 0 or >0; 0 exactly when both texts fold to the same characters.
int JetCompare(std::string_view left, std::string_view right);

// True when `text` matches `pattern` ("%" any run, "_" any one character; `escape`, when not 0,
// makes the next pattern character literal). Case-insensitive, accent-sensitive. Runs in time
// bounded by the product of the two lengths, never exponential.
bool JetLike(std::string_view pattern, std::string_view text, char32_t escape = 0);

}  // namespace ponencias
