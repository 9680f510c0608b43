#include "ExportFeedback.h"

#include <QDir>
#include <cstdio>

#include "core/CheckedOutput.h"

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

QString SavedResultText(const QString& path) {
    return QStringLiteral(
               "No hay una aplicación que pueda mostrar el libro de resultados. El libro está "
               "guardado en:\n%1")
        .arg(QDir::toNativeSeparators(path));
}

QString WriteFailureText(const std::exception& error, const QString& file) {
    const auto* outputError = dynamic_cast<const OutputError*>(&error);
    return QStringLiteral("«%1»: %2")
        .arg(outputError ? outputError->target() : file,
             outputError ? outputError->reason() : QString::fromUtf8(error.what()));
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
