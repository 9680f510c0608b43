#pragma once

// How the typology writes a value and a count in its tables.

#include <QString>

#include "StoreRows.h"

namespace ponencias::documents {

// A value as the tables show it: NULL and the empty text named in italics, the rest escaped.
QString Shown(const Cell& cell);
// Thousands separated by a comma, as the Mexican convention writes them.
QString Number(long long n);
// `part` as a share of `total`, with one decimal; a small share that would round to nothing
// is "< 0.1 %".
QString Percent(long long part, long long total);
// One line of a values table: the label, how many proposals hold it and their share.
QString CountRow(const QString& label, long long n, long long total);

}  // namespace ponencias::documents
