#pragma once

// The two reference documents delivered beside the program, composed as rich text and printed
// to PDF.

#include <QString>

struct sqlite3;

namespace ponencias::documents {

// The glossary of the terms the consultation, the data and the tool use.
QString GlossaryHtml();

// The description of every column of PONENCIAS with the values found in the store `db`. Fails
// with a message in `error` when the store cannot be read.
bool TypologyHtml(sqlite3* db, QString* html, QString* error);

// Prints `html` to a letter-size PDF at `path`, with `title` in the document's properties and
// in every page's footer, beside the page number.
bool WritePdf(const QString& path, const QString& title, const QString& html, QString* error);

}  // namespace ponencias::documents
