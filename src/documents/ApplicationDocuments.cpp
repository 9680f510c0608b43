#include "ApplicationDocuments.h"

#include <sqlite3.h>

#include <QDir>

#include "Documents.h"
#include "core/CheckedOutput.h"
#include "export/NamedFileExport.h"
#include "query/SearchQuery.h"
#include "store/ApplicationFolder.h"
#include "store/ProposalTable.h"
#include "store/StoreError.h"
#include "store/StoreSnapshot.h"

namespace ponencias::documents {

namespace {

// Every column the program names, in one statement: the store reports the first one missing.
QString ProposalCountStatement() {
    QStringList columns;
    for (const char* column : kProposalColumns) {
        columns << QString::fromLatin1(column);
    }
    return QStringLiteral("SELECT COUNT(*) FROM (SELECT %1 FROM %2)")
        .arg(columns.join(QStringLiteral(", ")), QLatin1String(kProposalTable));
}

void WritePdf(const QString& path, const QString& title, const QString& html) {
    QByteArray pdf;
    try {
        pdf = PdfDocument(title, html);
    } catch (const std::runtime_error& error) {
        throw OutputError(path, QString::fromUtf8(error.what()));
    }
    ReplaceFile(path, pdf);
}

}  // namespace

ProposalDatabase::ProposalDatabase(const QString& dataFile)
    : dataFile_(dataFile), snapshot_(LoadStoreSnapshot(dataFile)) {
    const QString sql = ProposalCountStatement();
    sqlite3_stmt* statement = snapshot_->Prepare(sql);
    const int rc = sqlite3_step(statement);
    proposals_ = rc == SQLITE_ROW ? sqlite3_column_int64(statement, 0) : 0;
    sqlite3_finalize(statement);
    if (rc != SQLITE_ROW) {
        throw snapshot_->StatementFailure(sql);
    }
    if (proposals_ == 0) {
        // What the store says of a read past the end of an empty result: there is no proposal
        // to show in the workbook or to describe in the typology.
        throw StoreError(StoreError::NoCurrentRecord,
                         QStringLiteral("La tabla %1 del archivo de datos «%2» no contiene "
                                        "ninguna ponencia.")
                             .arg(QLatin1String(kProposalTable), dataFile));
    }
}

ProposalDatabase::~ProposalDatabase() = default;

void WriteGlossary(const QString& path) {
    WritePdf(path, QStringLiteral("Glosario de términos"), GlossaryHtml());
}

void WriteTypology(const ProposalDatabase& database, const QString& path) {
    WritePdf(path, QStringLiteral("Tipología de variables"), TypologyHtml(database.snapshot()));
}

void WriteWorkbook(const ProposalDatabase& database, const QString& path) {
    // The program's own export of a search without criteria, on this data file; the store
    // reuses the copy `database` holds.
    const QString previous = ProposalDataFile();
    SetProposalDataFile(database.dataFile());
    struct Restore {
        QString file;
        ~Restore() { SetProposalDataFile(file); }
    } restore{previous};
    // The export writes the workbook whole under a temporary name and renames it into place.
    if (WriteResultWorkbook(BuildSearchQuery(SearchCriteria{}), path) == 0) {
        throw OutputError(path, QStringLiteral("la búsqueda no devolvió ponencias"));
    }
}

void WriteApplicationDocuments(const QString& dataFile, const QString& folder) {
    const ProposalDatabase database(dataFile);
    const QString typology = TypologyHtml(database.snapshot());
    const QDir dir(folder);
    WriteWorkbook(database, dir.filePath(QString::fromUtf8(kDatabaseWorkbookFileName)));
    WritePdf(dir.filePath(QString::fromUtf8(kTypologyFileName)),
             QStringLiteral("Tipología de variables"), typology);
    WriteGlossary(dir.filePath(QString::fromUtf8(kGlossaryFileName)));
}

}  // namespace ponencias::documents
