#include "ResultFile.h"

#include <QFile>
#include <stdexcept>

#include "ResultSheetExport.h"

namespace ponencias {

ResultFile ResultFile::InResultsFolder() {
    return ResultFile(QString());
}

ResultFile ResultFile::At(const QString& path) {
    return ResultFile(path);
}

QString ResultFile::reserve() {
    if (!inResultsFolder_) {
        return path_;
    }
    path_ = ReserveResultFile(options_.kind);
    reserved_ = true;
    return path_;
}

void ResultFile::start(Worksheet& sheet, const XlsxWriteOptions& options) {
    options_ = options;
    try {
        writer_ = std::make_unique<XlsxSheetWriter>(sheet, reserve(), options_);
    } catch (const std::runtime_error&) {
        // OutputError or SpreadsheetError: the sheet then keeps every row and is written at
        // the end, where the failure is told.
        discard();
    }
}

XlsxWriteReport ResultFile::finish(const Worksheet& sheet) {
    try {
        const XlsxWriteReport report =
            writer_ ? writer_->finish() : WriteXlsx(sheet, reserve(), options_);
        writer_.reset();
        reserved_ = false;  // the saved file is the user's from here on
        return report;
    } catch (...) {
        discard();
        throw;
    }
}

void ResultFile::discard() {
    writer_.reset();
    if (reserved_) {
        QFile::remove(path_);
        reserved_ = false;
    }
}

}  // namespace ponencias
