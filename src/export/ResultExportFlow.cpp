#include "ResultExportFlow.h"

#include "ResultFile.h"
#include "ResultSheetFormatting.h"
#include "store/ProposalStore.h"

namespace ponencias {

void ReleaseStoreQuietly() {
    try {
        ReleaseProposalStore();
    } catch (const std::exception&) {
        // Letting go of the store cannot leave anything for the user to act on.
    }
}

void OpenResult(const QString& queryText) {
    try {
        OpenProposalStore();
        ProposalRecordset->Open(queryText, *ProposalConnection, adOpenDynamic, adLockOptimistic);
    } catch (...) {
        ReleaseStoreQuietly();
        throw;
    }
}

ResultExportRun RunResultExport(SheetSteps& steps, const QString& queryText,
                                const ExportLimits& limits, SpreadsheetFileKind kind,
                                ResultFile& file) {
    ResultExportRun run;
    try {
        OpenResult(queryText);
        run.empty = ProposalRecordset->Bof() && ProposalRecordset->Eof();
        if (!run.empty) {
            const ExportLimits resultLimits =
                LimitsForResult(limits, ProposalRecordset->RecordCount());
            const XlsxWriteOptions options{resultLimits.maxLinkRecords, kind};
            FillResultSheet(steps, *ProposalRecordset, resultLimits, run.filled,
                            [&](Worksheet& sheet) { file.start(sheet, options); });
        }
    } catch (const StoreError& error) {
        run.storeError = error;
    } catch (...) {
        ReleaseStoreQuietly();
        throw;
    }
    ApplyFinalView(steps);
    ReleaseStoreQuietly();
    return run;
}

}  // namespace ponencias
