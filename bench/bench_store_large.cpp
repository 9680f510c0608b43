// The proposal store under a large data file and a long session, each measure in a fresh child
// process so its peak resident memory (getrusage ru_maxrss) is its own:
//   - a store of 100,000 proposals cycled from the sample's rows: the first opening, then the
//     first opening followed by the search result over all of it, ordered as every search is,
//     read through Fields(name).Text() as the export reads it;
//   - the application folder's documents derived from that store (`ponencias-cli documentos`);
//   - one search repeated 1,000 times on the sample, and the data file replaced by new versions
//     again and again, each time opened and searched: resident memory must level off.
//
// Usage: bench_store_large [SAMPLE_FILE]; by default the application folder's sample.
#include <sqlite3.h>
#include <sys/resource.h>
#include <utime.h>

#include <unistd.h>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>

#include "core/CheckedOutput.h"
#include "core/ProgramStart.h"
#include "documents/ApplicationDocuments.h"
#include "query/SearchQuery.h"
#include "store/ApplicationFolder.h"
#include "store/ProposalStore.h"
#include "store/StoreError.h"
#include "store/StoreSnapshot.h"

using namespace ponencias;

namespace {

constexpr int kLargeCount = 100000;
constexpr long kTargetMegabytes = 200;

// The search over every proposal, as the query window composes it, optionally with a keyword.
QString SearchQuery(const QString& keyword = QString()) {
    SearchCriteria criteria;
    criteria.Palabra = keyword;
    return BuildSearchQuery(criteria);
}

long PeakRssMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

double CurrentRssMegabytes() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly)) {
        return 0;
    }
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.value(1).toDouble() * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// Builds `out` with kLargeCount proposals, the sample's rows over and over, each with its own
// folio. Returns an empty text or what went wrong.
QString BuildLargeStore(const QString& sample, const QString& out) {
    sqlite3* db = nullptr;
    if (sqlite3_open(QFile::encodeName(out).constData(), &db) != SQLITE_OK) {
        sqlite3_close(db);
        return QStringLiteral("cannot create ") + out;
    }
    QString select = QStringLiteral("CAST(n.i + 1 AS TEXT)");
    for (const char* column :
         {"ID", "ESTADO", "EDAD", "SEXO", "PERFIL_PONENTE", "NUM_JORNADA", "EJE_TEMATICO",
          "SUBTEMA", "CATEGORIA_SUBTEMA", "TITULO", "RESUMEN", "NORMATIVIDAD_MODIFICAR_1",
          "NORMATIVIDAD_MODIFICAR_2", "NORMATIVIDAD_MODIFICAR_3", "NORMATIVIDAD_MODIFICAR_4",
          "NORMATIVIDAD_MODIFICAR_5"}) {
        select += QStringLiteral(", p.") + QLatin1String(column);
    }
    QString sampleText = sample;
    sampleText.replace(u'\'', QStringLiteral("''"));
    const QString sql =
        QStringLiteral(
            "ATTACH '%1' AS sample; "
            "CREATE TABLE PONENCIAS AS SELECT * FROM sample.PONENCIAS WHERE 0; "
            "CREATE TEMP TABLE numbered AS SELECT row_number() OVER () - 1 AS k, rowid AS r "
            "FROM sample.PONENCIAS; "
            "BEGIN; "
            "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < %2) "
            "INSERT INTO PONENCIAS SELECT %3 FROM n JOIN numbered ON numbered.k = n.i % "
            "(SELECT count(*) FROM numbered) JOIN sample.PONENCIAS p ON p.rowid = numbered.r "
            "ORDER BY n.i; "
            "COMMIT; DETACH sample;")
            .arg(sampleText)
            .arg(kLargeCount - 1)
            .arg(select);
    char* message = nullptr;
    QString error;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &message) != SQLITE_OK) {
        error = QString::fromUtf8(message);
    }
    sqlite3_free(message);
    sqlite3_close(db);
    return error;
}

// Reads every field of every row as text; returns the rows read and adds up their bytes.
long ReadAll(const QString& sql, qint64& characters) {
    Recordset& rows = *ProposalRecordset;
    rows.Open(sql, *ProposalConnection);
    const long count = rows.RecordCount();
    long read = 0;
    rows.MoveFirst();
    while (!rows.Bof() && !rows.Eof()) {
        for (const QString& column : rows.columnNames()) {
            characters += rows.Fields(column).Text().size();
        }
        ++read;
        rows.MoveNext();
    }
    rows.Close();
    if (read != count) {
        std::fprintf(stderr, "RecordCount %ld but %ld rows read\n", count, read);
        return -1;
    }
    return read;
}

int OpenOnly(const QString& store) {
    SetProposalDataFile(store);
    QElapsedTimer timer;
    timer.start();
    OpenProposalStore();
    const double ms = timer.nsecsElapsed() / 1e6;
    std::printf("  first opening: %.0f ms, peak RSS %ld MB\n", ms, PeakRssMegabytes());
    ReleaseProposalStore();
    return 0;
}

int OpenAndRead(const QString& store) {
    SetProposalDataFile(store);
    QElapsedTimer timer;
    timer.start();
    OpenProposalStore();
    const double opened = timer.nsecsElapsed() / 1e6;
    const long afterOpen = PeakRssMegabytes();
    qint64 characters = 0;
    timer.restart();
    const long rows = ReadAll(SearchQuery(), characters);
    const double read = timer.nsecsElapsed() / 1e6;
    ReleaseProposalStore();
    const long peak = PeakRssMegabytes();
    std::printf(
        "  first opening + ordered search read whole: %ld rows (%lld characters); opening %.0f "
        "ms (peak %ld MB), reading %.0f ms; peak RSS %ld MB (%s, target < %ld MB for the whole "
        "export)\n",
        rows, static_cast<long long>(characters), opened, afterOpen, read, peak,
        rows == kLargeCount && peak < kTargetMegabytes ? "ok" : "OVER TARGET", kTargetMegabytes);
    return rows == kLargeCount ? 0 : 1;
}

// The workbook, the typology and the glossary for the store, as `ponencias-cli documentos`
// writes them; the export benchmark predicts the workbook's share.
int Documents(const QString& store, const QString& folder) {
    const QDir dir(folder);
    QElapsedTimer timer;
    timer.start();
    documents::WriteApplicationDocuments(store, folder);
    const double whole = timer.nsecsElapsed() / 1e6;
    // The same steps again, one by one, on the copy the store now keeps.
    timer.restart();
    const documents::ProposalDatabase database(store);
    const double checked = timer.nsecsElapsed() / 1e6;
    timer.restart();
    documents::WriteWorkbook(database, dir.filePath(ponencias::kDatabaseWorkbookFileName));
    const double workbook = timer.nsecsElapsed() / 1e6;
    timer.restart();
    documents::WriteTypology(database, dir.filePath(ponencias::kTypologyFileName));
    const double typology = timer.nsecsElapsed() / 1e6;
    std::printf(
        "  documents derived (Ponencias.xls %lld bytes): %.0f ms, peak RSS %ld MB; "
        "again step by step: opening and check %.0f ms, workbook %.0f ms, typology %.0f "
        "ms\n",
        static_cast<long long>(
            QFileInfo(dir.filePath(ponencias::kDatabaseWorkbookFileName)).size()),
        whole, PeakRssMegabytes(), checked, workbook, typology);
    return 0;
}

// One search repeated in one process, as a long session of the query window would run it.
int Repeat(const QString& sample, int times) {
    SetProposalDataFile(sample);
    const QString sql = SearchQuery(QStringLiteral("voto"));
    double settled = 0;
    long rows = 0;
    QElapsedTimer timer;
    timer.start();
    for (int i = 1; i <= times; ++i) {
        OpenProposalStore();
        qint64 characters = 0;
        rows = ReadAll(sql, characters);
        ReleaseProposalStore();
        if (i == 10) {
            settled = CurrentRssMegabytes();
        }
    }
    const double last = CurrentRssMegabytes();
    std::printf(
        "  search (%ld rows) repeated %d times on the sample: %.2f ms each; RSS after 10 %.1f "
        "MB, after %d %.1f MB (growth %.1f MB)\n",
        rows, times, timer.nsecsElapsed() / 1e6 / times, settled, times, last, last - settled);
    return last - settled < 8 ? 0 : 1;
}

// The data file replaced by a new version again and again (a copy touched to a new time), each
// version opened and searched: the copies kept for reuse must not pile up.
int Versions(const QString& sample, const QString& folder, int times) {
    const QString copy = QDir(folder).filePath(QStringLiteral("Ponencias.mdb"));
    QFile::remove(copy);
    QFile::copy(sample, copy);
    SetProposalDataFile(copy);
    double settled = 0;
    for (int i = 1; i <= times; ++i) {
        utimbuf times{i * 1000L, i * 1000L};
        utime(QFile::encodeName(copy).constData(), &times);
        OpenProposalStore();
        qint64 characters = 0;
        ReadAll(SearchQuery(), characters);
        ReleaseProposalStore();
        if (i == 10) {
            settled = CurrentRssMegabytes();
        }
    }
    const double last = CurrentRssMegabytes();
    std::printf(
        "  %d versions of the sample opened and searched in turn: RSS after 10 %.1f MB, after %d "
        "%.1f MB (growth %.1f MB)\n",
        times, settled, times, last, last - settled);
    return last - settled < 8 ? 0 : 1;
}

int Child(const QStringList& arguments) {
    try {
        if (arguments.value(1) == QLatin1String("--open")) {
            return OpenOnly(arguments.value(2));
        }
        if (arguments.value(1) == QLatin1String("--read")) {
            return OpenAndRead(arguments.value(2));
        }
        if (arguments.value(1) == QLatin1String("--documents")) {
            return Documents(arguments.value(2), arguments.value(3));
        }
        if (arguments.value(1) == QLatin1String("--repeat")) {
            return Repeat(arguments.value(2), 1000);
        }
        if (arguments.value(1) == QLatin1String("--versions")) {
            return Versions(arguments.value(2), arguments.value(3), 60);
        }
    } catch (const StoreError& error) {
        std::fprintf(stderr, "Error %d: %s\n", error.number(), qPrintable(error.description()));
        return 2;
    } catch (const OutputError& error) {
        std::fprintf(stderr, "%s\n", qPrintable(error.message()));
        return 1;
    }
    return -1;
}

int RunChild(const QStringList& arguments) {
    std::fflush(stdout);
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QCoreApplication::applicationFilePath(), arguments);
    child.waitForFinished(-1);
    return child.exitStatus() == QProcess::NormalExit ? child.exitCode() : 3;
}

}  // namespace

int main(int argc, char** argv) {
    // The documents are printed with real fonts, which needs a GUI application; no window opens.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const ponencias::PrivateRuntimeDirectory runtime;
    QGuiApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.value(1).startsWith(QLatin1String("--"))) {
        return Child(arguments);
    }
    // Benchmarks live in build/bench; the application folder with the sample is build/bin.
    const QString sample =
        QFileInfo(arguments.value(1, QDir(QCoreApplication::applicationDirPath())
                                         .filePath(QStringLiteral("../bin/Ponencias.mdb"))))
            .absoluteFilePath();
    if (!QFileInfo::exists(sample)) {
        std::fprintf(stderr, "no sample database at %s\n", qPrintable(sample));
        return 1;
    }
    QTemporaryDir temp;
    const QString large = temp.filePath(QStringLiteral("large.sqlite"));
    QElapsedTimer timer;
    timer.start();
    if (const QString error = BuildLargeStore(sample, large); !error.isEmpty()) {
        std::fprintf(stderr, "could not build the large store: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("Store of %d proposals: %lld bytes, built in %.0f ms\n", kLargeCount,
                static_cast<long long>(QFileInfo(large).size()), timer.nsecsElapsed() / 1e6);
    int status = RunChild({QStringLiteral("--open"), large});
    status |= RunChild({QStringLiteral("--read"), large});
    status |= RunChild({QStringLiteral("--documents"), large, temp.path()});
    std::printf("Long session:\n");
    status |= RunChild({QStringLiteral("--repeat"), sample});
    status |= RunChild({QStringLiteral("--versions"), sample, temp.path()});
    return status;
}
