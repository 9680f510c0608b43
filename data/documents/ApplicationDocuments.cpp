#include "ApplicationDocuments.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "Documents.h"
#include "export/ResultFiles.h"
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

// The permissions a newly created file gets, as an ordinary write would give it.
QFileDevice::Permissions NewFilePermissions() {
    const mode_t mask = umask(0);
    umask(mask);
    const mode_t mode = 0666 & ~mask;
    QFileDevice::Permissions permissions;
    const std::pair<mode_t, QFileDevice::Permission> bits[] = {
        {S_IRUSR, QFileDevice::ReadOwner}, {S_IWUSR, QFileDevice::WriteOwner},
        {S_IRGRP, QFileDevice::ReadGroup}, {S_IWGRP, QFileDevice::WriteGroup},
        {S_IROTH, QFileDevice::ReadOther}, {S_IWOTH, QFileDevice::WriteOther}};
    for (const auto& [bit, permission] : bits) {
        if (mode & bit) {
            permissions |= permission;
        }
    }
    return permissions;
}

void SaveBytes(const QString& path, const QString& partial, const QByteArray& bytes) {
    QFile file(partial);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size() || !file.flush()) {
        throw DocumentWriteError(path, file.errorString());
    }
    file.close();
    if (file.error() != QFileDevice::NoError) {
        throw DocumentWriteError(path, file.errorString());
    }
}

void WritePdf(const QString& path, const QString& title, const QString& html) {
    QByteArray pdf;
    try {
        pdf = PdfDocument(title, html);
    } catch (const std::runtime_error& error) {
        throw DocumentWriteError(path, QString::fromUtf8(error.what()));
    }
    PlaceFile(path, [&](const QString& partial) { SaveBytes(path, partial, pdf); });
}

}  // namespace

DocumentWriteError::DocumentWriteError(const QString& path, const QString& reason)
    : DocumentWriteError(QStringLiteral("No se pudo escribir «%1»: %2").arg(path, reason)) {}

DocumentWriteError::DocumentWriteError(const QString& message)
    : std::runtime_error(message.toStdString()), message_(message) {}

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

void PlaceFile(const QString& path, const std::function<void(const QString& partial)>& write) {
    const QFileInfo target(path);
    QTemporaryFile partial(target.absoluteDir().filePath(QLatin1Char('.') + target.fileName() +
                                                         QStringLiteral(".XXXXXX")));
    if (!partial.open()) {
        throw DocumentWriteError(path, target.absoluteDir().exists()
                                           ? partial.errorString()
                                           : QStringLiteral("la carpeta no existe"));
    }
    partial.close();
    write(partial.fileName());
    if (!partial.setPermissions(NewFilePermissions())) {
        throw DocumentWriteError(path, partial.errorString());
    }
    // rename(2) replaces the previous file in one step; QFile::rename would not replace it.
    if (std::rename(QFile::encodeName(partial.fileName()).constData(),
                    QFile::encodeName(path).constData()) != 0) {
        throw DocumentWriteError(path, QString::fromLocal8Bit(std::strerror(errno)));
    }
    partial.setAutoRemove(false);
}

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
    PlaceFile(path, [&](const QString& partial) {
        long written = 0;
        try {
            written = WriteResultWorkbook(BuildSearchQuery(SearchCriteria{}), partial);
        } catch (const StoreError&) {
            throw;
        } catch (const std::runtime_error& error) {
            throw DocumentWriteError(path, QString::fromUtf8(error.what()));
        }
        if (written == 0) {
            throw DocumentWriteError(path, QStringLiteral("la búsqueda no devolvió ponencias"));
        }
    });
}

void WriteApplicationDocuments(const QString& dataFile, const QString& folder) {
    const ProposalDatabase database(dataFile);
    const QString typology = TypologyHtml(database.snapshot());
    const QDir dir(folder);
    WriteWorkbook(database, dir.filePath(QString::fromUtf8(kWorkbookFileName)));
    WritePdf(dir.filePath(QString::fromUtf8(kTypologyFileName)),
             QStringLiteral("Tipología de variables"), typology);
    WriteGlossary(dir.filePath(QString::fromUtf8(kGlossaryFileName)));
}

}  // namespace ponencias::documents
