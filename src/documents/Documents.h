#pragma once

// The pieces of the reference documents: their rich text and its printing to PDF.

#include <QByteArray>
#include <QString>

namespace ponencias {
class StoreSnapshot;
}

namespace ponencias::documents {

// The glossary of the terms the consultation, the data and the tool use.
QString GlossaryHtml();

// The description of every column of PONENCIAS with the values found in the store's copy of a
// data file. Throws StoreError when a statement fails (a missing table or column among them).
QString TypologyHtml(const StoreSnapshot& snapshot);

// `html` printed to a letter-size PDF, with `title` in the document's properties and in every
// page's footer, beside the page number. Throws std::runtime_error when it cannot be composed.
QByteArray PdfDocument(const QString& title, const QString& html);

}  // namespace ponencias::documents
