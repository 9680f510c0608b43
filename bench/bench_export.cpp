// The result workbook's timing. The whole sample exported in this process (several runs), then
// the same workbook made by three whole processes side by side, turn about, each reading the
// same SQLite store with the same query: the companion (`ponencias-cli buscar --salida`), the
// XlsxWriter script a Python user would write (export_xlsxwriter.py), and bare libxlsxwriter in
// C writing the same cells (export_libxlsxwriter, the floor of the library the export uses); the
// floor's sheet is checked to be the companion's. Beside them, the companion's own parts: its
// start-up alone (the query text only) and the store read whole without a workbook (the CSV to
// nowhere). Then 100,000 proposals exported in a child process whose peak resident memory is
// reported, turn about with the floor on the same store and query, whose sheet is checked to be
// the export's. Processor time counts every thread of a process.
//
//   bench_export [SAMPLE.mdb]
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zip.h>

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

#include "core/CheckedOutput.h"
#include "core/ProgramStart.h"
#include "export/NamedFileExport.h"
#include "export/ResultSheetExport.h"
#include "export/SpreadsheetFileKind.h"
#include "query/SearchQuery.h"
#include "store/ApplicationFolder.h"

namespace {

const QString kQuery = QStringLiteral("SELECT * FROM PONENCIAS");
constexpr int kLargeCount = 100000;
constexpr int kRuns = 7;

QString Script() {
    return QStringLiteral(PONENCIAS_BENCH_DIR "/export_xlsxwriter.py");
}

QString BuiltProgram(const QString& relative) {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/../") + relative;
}

// "median ms (min–max)" of a series of runs.
QByteArray Spread(std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    const double median =
        ms.size() % 2 ? ms[ms.size() / 2] : (ms[ms.size() / 2 - 1] + ms[ms.size() / 2]) / 2;
    return QStringLiteral("%1 ms (%2–%3)")
        .arg(median, 0, 'f', 0)
        .arg(ms.front(), 0, 'f', 0)
        .arg(ms.back(), 0, 'f', 0)
        .toUtf8();
}

double Median(std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

// One whole process, from its start to its end, with what wait4 tells of it alone: its
// processor time (every thread; what a busy machine does not inflate) and its peak memory. Its
// standard output is shown, or with `quiet` dropped.
struct ChildRun {
    double wall = -1;  // -1 when it failed
    double cpu = 0;
    long peakMegabytes = 0;
};

ChildRun RunChild(const QString& program, const QStringList& arguments, bool quiet = false) {
    QList<QByteArray> texts{QFile::encodeName(program)};
    for (const QString& argument : arguments) {
        texts << argument.toUtf8();
    }
    std::vector<char*> argv;
    for (QByteArray& text : texts) {
        argv.push_back(text.data());
    }
    argv.push_back(nullptr);
    std::fflush(stdout);  // the child's lines after this process's
    QElapsedTimer timer;
    timer.start();
    posix_spawn_file_actions_t output;
    posix_spawn_file_actions_init(&output);
    if (quiet) {
        posix_spawn_file_actions_addopen(&output, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    }
    pid_t child = 0;
    int status = 0;
    rusage usage{};
    const int spawned = posix_spawn(&child, argv[0], &output, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&output);
    if (spawned != 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s failed\n", qPrintable(program));
        return {};
    }
    const auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
    return {timer.nsecsElapsed() / 1e6, ms(usage.ru_utime) + ms(usage.ru_stime),
            usage.ru_maxrss / 1024};
}

double CpuMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// Wall time of one export; `cpu` gets the processor time it used (the machine may be shared).
double ExportMilliseconds(const QString& query, const QString& out, long& rows,
                          double* cpu = nullptr) {
    QFile::remove(out);
    QElapsedTimer timer;
    const double cpuStart = CpuMilliseconds();
    timer.start();
    rows = ponencias::WriteResultWorkbook(query, out);
    if (cpu) {
        *cpu = CpuMilliseconds() - cpuStart;
    }
    return timer.nsecsElapsed() / 1e6;
}

long PeakRssMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

int Large(const QString& store, const QString& out) {
    ponencias::SetProposalDataFile(store);
    long rows = 0;
    double cpu = 0;
    const double ms = ExportMilliseconds(kQuery, out, rows, &cpu);
    std::printf(
        "%ld proposals exported in %.0f ms (%.0f ms of processor time), peak RSS %ld MB (%s)\n",
        rows, ms, cpu, PeakRssMegabytes(),
        rows == kLargeCount && ms <= 5000 && PeakRssMegabytes() < 200 ? "ok" : "OVER TARGET");
    return rows == kLargeCount ? 0 : 1;
}

// The store's share of the large export: the same rows read and written as CSV to nowhere.
int StoreOnly(const QString& store) {
    ponencias::SetProposalDataFile(store);
    QFile sink(QStringLiteral("/dev/null"));
    sink.open(QIODevice::WriteOnly);
    QElapsedTimer timer;
    timer.start();
    const long rows = ponencias::WriteResultCsv(kQuery, sink);
    std::printf(
        "  of which reading the %ld rows from the store (as CSV): %.0f ms, peak RSS %ld MB\n", rows,
        timer.nsecsElapsed() / 1e6, PeakRssMegabytes());
    return 0;
}

// What the machine was doing when the figures were taken.
void PrintLoadAverage() {
    QFile load(QStringLiteral("/proc/loadavg"));
    if (load.open(QIODevice::ReadOnly)) {
        std::printf("load average at start: %s", load.readLine().constData());
    }
}

// The whole sample exported in this process, after one warming run; leaves sample.xlsx behind.
void TimeExportInProcess(const QString& search, const QTemporaryDir& temp) {
    long rows = 0;
    ExportMilliseconds(search, temp.filePath(QStringLiteral("warm.xlsx")), rows);
    std::vector<double> wall;
    std::vector<double> cpu;
    for (int run = 0; run < kRuns; ++run) {
        double processor = 0;
        wall.push_back(ExportMilliseconds(search, temp.filePath(QStringLiteral("sample.xlsx")),
                                          rows, &processor));
        cpu.push_back(processor);
    }
    std::printf(
        "whole sample in this process: %ld proposals in %s, %s of processor time "
        "(target <= 300 ms)\n",
        rows, Spread(wall).constData(), Spread(cpu).constData());
    std::fflush(stdout);
}

// What a search adds for the template it hands over: the finished workbook's content type
// changed in place (the sheet's entries copied as they are).
void TimeTemplateConversion(const QTemporaryDir& temp) {
    std::vector<double> templ;
    for (int run = 0; run < kRuns; ++run) {
        QFile::remove(temp.filePath(QStringLiteral("sample.xltx")));
        ponencias::FileReplacement file(temp.filePath(QStringLiteral("sample.xltx")));
        QFile workbook(temp.filePath(QStringLiteral("sample.xlsx")));
        workbook.open(QIODevice::ReadOnly);
        file.write(workbook.readAll());
        QElapsedTimer timer;
        timer.start();
        ponencias::SetSpreadsheetFileKind(file, ponencias::SpreadsheetFileKind::Template);
        templ.push_back(timer.nsecsElapsed() / 1e6);
        file.commit();
    }
    std::printf("the same workbook made the search's template: %s more\n",
                Spread(templ).constData());
    std::fflush(stdout);
}

struct Peer {
    const char* name;
    QString program;
    QStringList arguments;
    std::vector<double> wall;
    std::vector<double> cpu = {};
};

// The programs that make the same workbook from the sample, the companion first, as the one the
// others are measured against; then the companion's parts.
std::vector<Peer> WorkbookPeers(const QString& sample, const QString& search,
                                const QTemporaryDir& temp) {
    const QString base = ponencias::DocumentBaseAddress();
    const QString cli = BuiltProgram(QStringLiteral("bin/ponencias-cli"));
    const QString buscar = QStringLiteral("buscar");
    const QString store = QStringLiteral("--base");
    return {
        {"ponencias-cli buscar --salida",
         cli,
         {buscar, store, sample, QStringLiteral("--salida"),
          temp.filePath(QStringLiteral("cli.xlsx"))},
         {}},
        {"python3-xlsxwriter script",
         QStringLiteral("/usr/bin/python3"),
         {Script(), QStringLiteral("workbook"), sample, search,
          temp.filePath(QStringLiteral("python.xlsx")), base},
         {}},
        {"bare libxlsxwriter (C)",
         BuiltProgram(QStringLiteral("bench/export_libxlsxwriter")),
         {sample, search, temp.filePath(QStringLiteral("c.xlsx")), base},
         {}},
        {"  companion start-up alone", cli, {buscar, QStringLiteral("--consulta")}, {}},
        {"  companion, store to CSV",
         cli,
         {buscar, store, sample, QStringLiteral("--csv"), QStringLiteral("/dev/null")},
         {}},
    };
}

// One part of a zip file; empty when it cannot be read.
QByteArray ZipPart(const QString& path, const char* part) {
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error);
    zip_stat_t stat;
    zip_file_t* file =
        archive && zip_stat(archive, part, 0, &stat) == 0 ? zip_fopen(archive, part, 0) : nullptr;
    QByteArray data;
    if (file) {
        data.resize(qsizetype(stat.size));
        if (zip_fread(file, data.data(), stat.size) != zip_int64_t(stat.size)) {
            data.clear();
        }
        zip_fclose(file);
    }
    if (archive) {
        zip_discard(archive);
    }
    return data;
}

// A sheet's rows without their numbers, sorted: the same cells whatever their order.
QByteArrayList RowsAsSet(const QByteArray& sheet) {
    static const QRegularExpression number(QStringLiteral(" r=\"[A-Z]*[0-9]+\""));
    QByteArrayList cells;
    QByteArray row;
    for (const QByteArray& element : sheet.split('<')) {
        if (element.startsWith("/sheetData")) {
            break;
        }
        if (element.startsWith("row ") && !row.isEmpty()) {
            cells << row;
            row.clear();
        }
        if (element.startsWith("row ") || !row.isEmpty()) {
            row += '<' + element;
        }
    }
    cells << row;
    for (QByteArray& cell : cells) {
        cell = QString::fromUtf8(cell).remove(number).toUtf8();
    }
    std::sort(cells.begin(), cells.end());
    return cells;
}

// "yes" when the two workbooks' styles are one, "NO" otherwise.
const char* SameFormats(const QString& a, const QString& b) {
    const QByteArray styles = ZipPart(a, "xl/styles.xml");
    return !styles.isEmpty() && styles == ZipPart(b, "xl/styles.xml") ? "yes" : "NO";
}

constexpr const char* kSheetPart = "xl/worksheets/sheet1.xml";

// The floor is a fair one only when it writes what the companion writes. It sorts ties in the
// order clause by SQLite's own text comparison, the store by its accent-aware one, so its rows
// may stand in another order.
void CompareFloorWithCompanion(const QTemporaryDir& temp) {
    const QString cli = temp.filePath(QStringLiteral("cli.xlsx"));
    const QString floor = temp.filePath(QStringLiteral("c.xlsx"));
    const QByteArray companionSheet = ZipPart(cli, kSheetPart);
    const QByteArray floorSheet = ZipPart(floor, kSheetPart);
    std::printf(
        "  the floor's workbook against the companion's: the same formats %s, the same rows %s, "
        "in the same order %s\n",
        SameFormats(cli, floor), RowsAsSet(companionSheet) == RowsAsSet(floorSheet) ? "yes" : "NO",
        companionSheet == floorSheet ? "yes" : "no");
}

// The peers as whole processes; false when one of them failed.
bool ComparePeers(const QString& sample, const QString& search, const QTemporaryDir& temp) {
    std::vector<Peer> peers = WorkbookPeers(sample, search, temp);
    // Turn about, so a busy moment of a shared machine falls on all three alike.
    for (int run = 0; run < kRuns; ++run) {
        for (Peer& peer : peers) {
            const ChildRun times = RunChild(peer.program, peer.arguments, true);
            if (times.wall < 0) {
                return false;
            }
            peer.wall.push_back(times.wall);
            peer.cpu.push_back(times.cpu);
        }
    }
    std::printf("the same workbook, whole processes, median (range) of %d runs:\n", kRuns);
    for (const Peer& peer : peers) {
        std::printf(
            "  %-30s wall %s, processor %s: %.2fx the companion's wall time, %.2fx its "
            "processor time\n",
            peer.name, Spread(peer.wall).constData(), Spread(peer.cpu).constData(),
            Median(peer.wall) / Median(peers[0].wall), Median(peer.cpu) / Median(peers[0].cpu));
    }
    const double ratio = Median(peers[0].wall) / Median(peers[2].wall);
    std::printf("the companion takes %.2fx the floor's wall time, %.2fx its processor time (%s)\n",
                ratio, Median(peers[0].cpu) / Median(peers[2].cpu),
                ratio <= 1.15 ? "target <= 1.15x: ok" : "OVER the 1.15x target");
    // A shared machine's busy moments only ever add time: the fastest runs show each program's
    // own cost when the medians are caught by them.
    const auto fastest = [](const std::vector<double>& ms) {
        return *std::min_element(ms.begin(), ms.end());
    };
    std::printf("  the fastest runs: %.0f / %.0f ms, %.2fx\n", fastest(peers[0].wall),
                fastest(peers[2].wall), fastest(peers[0].wall) / fastest(peers[2].wall));
    CompareFloorWithCompanion(temp);
    std::fflush(stdout);  // before the children's lines
    return true;
}

// A zip part read through once in pieces, without holding it whole.
struct PartDigest {
    bool read = false;
    long rows = 0;      // "<row " elements
    long formulas = 0;  // "<f>" elements
    QByteArray hash;
};

PartDigest DigestPart(const QString& path, const char* part) {
    PartDigest digest;
    QCryptographicHash hash(QCryptographicHash::Sha1);
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error);
    zip_file_t* file = archive ? zip_fopen(archive, part, 0) : nullptr;
    if (file) {
        QByteArray carry;  // the end of the last piece, where an element may start
        QByteArray piece(1 << 20, Qt::Uninitialized);
        zip_int64_t got = 0;
        while ((got = zip_fread(file, piece.data(), zip_uint64_t(piece.size()))) > 0) {
            const QByteArray text = carry + piece.left(got);
            digest.rows += text.count("<row ");
            digest.formulas += text.count("<f>");
            carry = text.right(4);
            digest.rows -= carry.count("<row ");
            digest.formulas -= carry.count("<f>");
            hash.addData(QByteArrayView(piece.constData(), got));
        }
        digest.rows += carry.count("<row ");
        digest.formulas += carry.count("<f>");
        digest.read = got == 0;
        digest.hash = hash.result();
        zip_fclose(file);
    }
    if (archive) {
        zip_discard(archive);
    }
    return digest;
}

// A store of kLargeCount proposals made from the sample's rows; false when it could not be made.
bool BuildLargeStore(const QString& sample, const QString& store) {
    QProcess make;
    make.start(QStringLiteral("/usr/bin/python3"),
               {Script(), QStringLiteral("store"), sample, store, QString::number(kLargeCount)});
    make.waitForFinished(300000);
    if (make.exitCode() != 0) {
        std::fprintf(stderr, "could not build the large store: %s\n",
                     make.readAllStandardError().constData());
        return false;
    }
    return true;
}

// The floor's large workbook against the export's: the same rows and formula links, and the
// same sheet byte for byte (the query has no order clause, so both keep the store's order).
void CompareLargeFloorWithCompanion(const QString& companion, const QString& floor) {
    const PartDigest ours = DigestPart(companion, kSheetPart);
    const PartDigest its = DigestPart(floor, kSheetPart);
    std::printf(
        "  the floor's workbook against the export's: data rows %ld / %ld, formula links %ld / "
        "%ld, the same formats %s, the same sheet %s\n",
        ours.rows - 1, its.rows - 1, ours.formulas, its.formulas, SameFormats(companion, floor),
        ours.read && its.read && ours.hash == its.hash ? "yes" : "NO");
}

// The large export and the floor on the same store and query, turn about, each in a child
// process of its own, then the store's share of the export; 0 when every run succeeded.
int RunLargeChildren(const QString& store, const QTemporaryDir& temp) {
    const QString companionOut = temp.filePath(QStringLiteral("large.xlsx"));
    const QString floorOut = temp.filePath(QStringLiteral("large-c.xlsx"));
    const QString floorProgram = BuiltProgram(QStringLiteral("bench/export_libxlsxwriter"));
    // Twice each: the machine may be shared, and a peak is per process.
    const auto failed = [](const ChildRun& child) { return child.wall < 0; };
    std::vector<ChildRun> companion;
    std::vector<ChildRun> floor;
    for (int run = 0; run < 2; ++run) {
        companion.push_back(RunChild(QCoreApplication::applicationFilePath(),
                                     {QStringLiteral("--large"), store, companionOut}));
        const ChildRun bare =
            RunChild(floorProgram, {store, kQuery, floorOut, ponencias::DocumentBaseAddress()});
        if (!failed(bare)) {
            std::printf(
                "  bare libxlsxwriter (C), the same %d proposals: %.0f ms (%.0f ms of processor "
                "time), peak RSS %ld MB\n",
                kLargeCount, bare.wall, bare.cpu, bare.peakMegabytes);
        }
        floor.push_back(bare);
    }
    if (std::any_of(companion.begin(), companion.end(), failed) ||
        std::any_of(floor.begin(), floor.end(), failed)) {
        return 1;
    }
    // The faster run of each, the one a busy moment disturbed less.
    const auto faster = [](const ChildRun& a, const ChildRun& b) { return a.wall < b.wall; };
    const ChildRun ours = *std::min_element(companion.begin(), companion.end(), faster);
    const ChildRun its = *std::min_element(floor.begin(), floor.end(), faster);
    const double ratio = ours.wall / its.wall;
    std::printf(
        "the export's process takes %.2fx the floor's wall time on %d proposals (%.0f / %.0f "
        "ms, the faster of two runs each), %.2fx its processor time; peak RSS %ld / %ld MB "
        "(%s)\n",
        ratio, kLargeCount, ours.wall, its.wall, ours.cpu / its.cpu, ours.peakMegabytes,
        its.peakMegabytes,
        ratio <= 1.3 && ours.peakMegabytes < 200 ? "target <= 1.3x and < 200 MB: ok"
                                                 : "OVER the 1.3x or 200 MB target");
    CompareLargeFloorWithCompanion(companionOut, floorOut);
    const ChildRun storeOnly =
        RunChild(QCoreApplication::applicationFilePath(), {QStringLiteral("--store-only"), store});
    return failed(storeOnly) ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const ponencias::PrivateRuntimeDirectory runtime;
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.value(1) == QLatin1String("--large")) {
        return Large(args.value(2), args.value(3));
    }
    if (args.value(1) == QLatin1String("--store-only")) {
        return StoreOnly(args.value(2));
    }
    const QString sample = args.size() > 1 ? args[1]
                                           : QCoreApplication::applicationDirPath() +
                                                 QStringLiteral("/../bin/Ponencias.mdb");
    if (!QFileInfo::exists(sample)) {
        std::fprintf(stderr, "no sample database at %s\n", qPrintable(sample));
        return 1;
    }
    QTemporaryDir temp;
    ponencias::SetProposalDataFile(sample);
    PrintLoadAverage();

    // The window's search with every criterion on its all-entry.
    const QString search = ponencias::BuildSearchQuery(ponencias::SearchCriteria());
    TimeExportInProcess(search, temp);
    TimeTemplateConversion(temp);
    if (!ComparePeers(sample, search, temp)) {
        return 1;
    }
    const QString store = temp.filePath(QStringLiteral("large.sqlite"));
    if (!BuildLargeStore(sample, store)) {
        return 1;
    }
    return RunLargeChildren(store, temp);
}
