// Times the proposal store: the first opening of a data file (reading it and building the
// queryable copy), a later opening followed by the query window's five list queries (the road
// every loading of the window takes), and the import of an Access file.
//
// Usage: bench_store [DATA_FILE [ACCESS_FILE...]]; by default the application folder's sample and
// the Access files of the repository's test data.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "query/QueryFilters.h"
#include "store/ApplicationFolder.h"
#include "store/ProposalStore.h"
#include "store/StoreError.h"
#include "store/StoreSnapshot.h"

using namespace ponencias;

namespace {

// The query window's five list queries and the field each list reads.
const QStringList kListQueries = {kJornadaListQuery, kEntidadListQuery, kEjeListQuery,
                                  kPerfilListQuery, kNormatividadListQuery};
const QStringList kListFields = {"Jornada", "Entidades", "eje_tematico", "Perfil",
                                 "normatividad_modificar_1"};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Opens the store and fills the five lists the way the query window's loading does.
int LoadLists() {
    int entries = 0;
    OpenProposalStore();
    for (qsizetype i = 0; i < kListQueries.size(); ++i) {
        ForEachRow(kListQueries[i], [&](const Recordset& rows) {
            (void)rows.Fields(kListFields[i]).Text();
            ++entries;
        });
    }
    return entries;
}

// Openings of the current data file with no copy cached, so each reads the file (or imports it)
// and builds the queryable copy afresh.
std::vector<double> TimeFreshOpenings(int runs) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        ForgetKeptCopy();
        QElapsedTimer timer;
        timer.start();
        OpenProposalStore();
        times.push_back(timer.nsecsElapsed() / 1e6);
        ReleaseProposalStore();
    }
    return times;
}

// Each first opening reads the file and builds the queryable copy afresh.
void TimeFirstOpening(const QString& dataFile) {
    SetProposalDataFile(dataFile);
    const std::vector<double> first = TimeFreshOpenings(5);
    std::printf("Data file: %s\n", qPrintable(dataFile));
    std::printf("  first opening (read file, build copy): median %.2f ms\n", Median(first));
}

void TimeLaterOpenings() {
    int entries = LoadLists();  // the copy is now built
    std::vector<double> later;
    for (int i = 0; i < 50; ++i) {
        QElapsedTimer timer;
        timer.start();
        entries = LoadLists();
        later.push_back(timer.nsecsElapsed() / 1e6);
    }
    ReleaseProposalStore();
    std::printf(
        "  later opening + five list queries (%d entries): median %.2f ms, max %.2f "
        "ms (target <= 20 ms)\n",
        entries, Median(later), *std::max_element(later.begin(), later.end()));
}

// The query that refills the subtopic list for the first axis of the axis list.
QString SubtopicQueryOfFirstAxis() {
    QString axis;
    OpenProposalStore();
    ForEachRow(kListQueries[2], [&](const Recordset& rows) {
        if (axis.isEmpty()) {
            axis = rows.Fields(kListFields[2]).Text();
        }
    });
    ReleaseProposalStore();
    axis.replace(u'\'', QStringLiteral("''"));
    return QStringLiteral(
               "SELECT DISTINCT SUBTEMA FROM ponencias WHERE SUBTEMA <> '' AND "
               "EJE_TEMATICO='") +
           axis + u'\'';
}

// The refill of the subtopic list when an axis is chosen: an opening of its own, one query, and
// the release.
void TimeAxisRefill() {
    const QString refillQuery = SubtopicQueryOfFirstAxis();
    std::vector<double> refill;
    int subtopics = 0;
    for (int i = 0; i < 50; ++i) {
        QElapsedTimer timer;
        timer.start();
        subtopics = 0;
        OpenProposalStore();
        ForEachRow(refillQuery, [&](const Recordset& rows) {
            (void)rows.Fields(QStringLiteral("subtema")).Text();
            ++subtopics;
        });
        ReleaseProposalStore();
        refill.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::printf(
        "  axis refill (opening + subtopics of one axis, %d entries): median %.2f ms, max "
        "%.2f ms (target <= 5 ms)\n",
        subtopics, Median(refill), *std::max_element(refill.begin(), refill.end()));
}

// Each opening of an Access file imports it afresh; false when the file is missing.
bool TimeImport(const QString& accessFile) {
    if (!QFile::exists(accessFile)) {
        std::fprintf(stderr, "Falta el archivo de Access %s\n", qPrintable(accessFile));
        return false;
    }
    SetProposalDataFile(accessFile);
    const std::vector<double> import = TimeFreshOpenings(10);
    std::printf(
        "Access file: %s (%lld bytes)\n  import (ponencias-importar started afresh, "
        "libmdb): median %.2f ms\n",
        qPrintable(accessFile), static_cast<long long>(QFile(accessFile).size()), Median(import));
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    // Benchmarks live in build/bench; the application folder with the sample is build/bin.
    const QString dataFile =
        arguments.value(1, QDir(QCoreApplication::applicationDirPath())
                               .filePath(QStringLiteral("../bin/Ponencias.mdb")));
    // By default every Access file of the repository's test data that Access wrote whole.
    const QStringList accessFiles =
        arguments.size() > 2
            ? arguments.mid(2)
            : QStringList{
                  QStringLiteral(PONENCIAS_ACCESS_TESTDATA_DIR "/DateTestDatabase.mdb"),
                  QStringLiteral(PONENCIAS_ACCESS_TESTDATA_DIR "/fixedNumericTestV2003.mdb"),
                  QStringLiteral(PONENCIAS_ACCESS_TESTDATA_DIR "/calcFieldTestV2010.accdb")};
    try {
        TimeFirstOpening(dataFile);
        TimeLaterOpenings();
        TimeAxisRefill();
        for (const QString& accessFile : accessFiles) {
            if (!TimeImport(accessFile)) {
                return 2;
            }
        }
    } catch (const StoreError& error) {
        std::fprintf(stderr, "Error %d: %s\n", error.number(), qPrintable(error.description()));
        return 2;
    }
    return 0;
}
