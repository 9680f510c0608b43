// A long session: the query window's search (criteria -> query text -> the export writing and
// handing over a formatted workbook) repeated 1,000 times in one process, with a different axis
// each time. Resident memory must level off: no store object, workbook or format is left behind
// by a search. Prints resident memory after the first 100 searches and after all of them.
//
// Usage: bench_search_memory [SAMPLE_FILE] [SEARCHES]
#include <unistd.h>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdio>

#include "core/ProgramStart.h"
#include "export/ResultHandOver.h"
#include "export/ResultSheetExport.h"
#include "query/MemoryQueryControls.h"
#include "store/ApplicationFolder.h"
#include "store/StoreError.h"

using namespace ponencias;

namespace {

// Resident memory now, from /proc/self/statm, in megabytes.
double ResidentMegabytes() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly)) {
        return -1;
    }
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.value(1).toDouble() * double(getpagesize()) / (1024.0 * 1024.0);
}

// Takes each workbook as the desktop would, then removes it so the disk does not fill up. On a
// machine without a spreadsheet application the export says so instead (the workbook stays in
// the temporary results folder, removed at the end).
class DiscardingFeedback : public ExportFeedback {
public:
    void showNoRecords() override { ++empty; }
    void showError(const QString&) override { ++failed; }
    void showNotice(const QString&) override {}
    // "No application can show the workbook": it was written all the same.
    void showInformation(const QString&) override { ++notShown; }
    bool showWorkbook(const QString& path) override {
        ++workbooks;
        return QFile::remove(path);
    }
    int workbooks = 0;
    int empty = 0;
    int notShown = 0;
    int failed = 0;
};

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir results;
    qputenv("TMPDIR", results.path().toLocal8Bit());  // the results folder lives under it
    const ponencias::PrivateRuntimeDirectory runtime;
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const QString sample = args.value(
        1, QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/Ponencias.mdb"));
    const int searches = args.value(2, QStringLiteral("1000")).toInt();
    if (!QFileInfo::exists(sample)) {
        std::fprintf(stderr, "no sample database at %s\n", qPrintable(sample));
        return 1;
    }
    SetProposalDataFile(sample);
    DiscardingFeedback feedback;
    SetExportFeedback(&feedback);

    MemoryQueryControls controls;
    double afterWarmUp = 0;
    try {
        controls.Load();
        for (int search = 1; search <= searches; ++search) {
            controls.EjeTemCbo.SetListIndex(search % controls.EjeTemCbo.ListCount());
            ExportResultSheet(controls.Filters.SearchQueryText());
            if (search == 100) {
                afterWarmUp = ResidentMegabytes();
            }
        }
    } catch (const StoreError& error) {
        std::fprintf(stderr, "store error %d: %s\n", error.number(),
                     qPrintable(error.description()));
        return 1;
    }
    if (feedback.failed > 0) {
        std::fprintf(stderr, "%d searches could not write their workbook\n", feedback.failed);
        return 1;
    }
    const double atEnd = ResidentMegabytes();
    constexpr double kBoundMegabytes = 5;
    std::printf(
        "%d searches (%d workbooks, %d empty): resident memory %.1f MB after 100, "
        "%.1f MB after %d, growth %.1f MB (bound %.0f MB): %s\n",
        searches, feedback.workbooks + feedback.notShown, feedback.empty, afterWarmUp, atEnd,
        searches, atEnd - afterWarmUp, kBoundMegabytes,
        atEnd - afterWarmUp <= kBoundMegabytes ? "ok" : "OVER BOUND");
    SetExportFeedback(nullptr);
    return 0;
}
