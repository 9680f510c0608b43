#include "ExportFeedback.h"

#include <cstdio>

namespace ponencias {

namespace {

StandardErrorFeedback& Fallback() {
    static StandardErrorFeedback fallback;
    return fallback;
}

ExportFeedback* installed = nullptr;

void Print(const QString& text) {
    const QByteArray line = text.toLocal8Bit() + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
}

}  // namespace

ExportFeedback& CurrentExportFeedback() {
    return installed ? *installed : Fallback();
}

void SetExportFeedback(ExportFeedback* feedback) {
    installed = feedback;
}

void ExportFeedback::showSavedWorkbook(const QString& text, const QString&) {
    showInformation(text);
}

void StandardErrorFeedback::showNoRecords() {
    Print(QString::fromUtf8(kNoRecordsMessage));
}

void StandardErrorFeedback::showError(const QString& text) {
    Print(text);
}

void StandardErrorFeedback::showNotice(const QString& text) {
    Print(text);
}

void StandardErrorFeedback::showInformation(const QString& text) {
    Print(text);
}

bool StandardErrorFeedback::showWorkbook(const QString&) {
    return false;
}

}  // namespace ponencias
