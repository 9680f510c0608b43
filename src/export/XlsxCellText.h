#pragma once

#include <QByteArray>
#include <QString>

namespace ponencias {

// How the sheet's texts and numbers are put into an xlsx file.

// A cell holds at most this many characters.
inline constexpr int kMaxCellText = 32767;
// The longest address a link record takes, and the longest formula.
inline constexpr qsizetype kMaxUrlLength = 2079;
inline constexpr qsizetype kMaxFormulaLength = 8192;

// A text as a formula's string: quotes doubled, cut into literals the formula language accepts,
// joined with "&".
QString FormulaText(const QString& text);

// A cell's text as the file holds it, in UTF-8; `keep` characters of it. The file format writes
// a control character as "_xHHHH_" (the library does that); a text that holds such a sequence
// literally gets its underscore escaped, so readers give it back as is.
QByteArray FileText(const QString& text, qsizetype keep);

// The value of a text of 1 to 15 decimal digits, which a double holds exactly.
double DigitsValue(const QString& digits);

}  // namespace ponencias
