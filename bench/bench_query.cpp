// A choice in the axis list must refill the subtopic list (store opened afresh, query, list
// filled, category list reset, store released) in at most 5 ms on the sample database.
//
//   bench_query [DATA_FILE] [ROUNDS]
//
// Prints the median, 95th percentile and slowest refill per axis and exits with 1 when the 95th
// percentile of all refills is over the target.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

#include "query/MemoryQueryControls.h"
#include "store/ApplicationFolder.h"
#include "store/StoreError.h"

using namespace ponencias;

namespace {
// CPU time of this thread, which leaves out the time other programs hold the processor.
double ThreadCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}
}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const QString dataFile = args.value(
        1, QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/Ponencias.mdb"));
    const int rounds = std::max(1, args.value(2, QStringLiteral("50")).toInt());
    constexpr double kTargetMs = 5.0;

    SetProposalDataFile(dataFile);
    MemoryQueryControls controls;
    MemoryListControl& eje = controls.EjeTemCbo;
    try {
        QElapsedTimer loading;
        loading.start();
        controls.Load();
        std::printf("Datos: %s\nCarga de la ventana (listas): %.2f ms, %d ejes\n",
                    qPrintable(dataFile), loading.nsecsElapsed() / 1e6, eje.ListCount() - 1);

        std::vector<double> all;
        std::vector<double> allCpu;
        for (int axis = 1; axis < eje.ListCount(); ++axis) {
            std::vector<double> times;
            for (int round = 0; round < rounds; ++round) {
                QElapsedTimer timer;
                const double cpuStart = ThreadCpuMs();
                timer.start();
                eje.SetListIndex(axis);
                times.push_back(timer.nsecsElapsed() / 1e6);
                allCpu.push_back(ThreadCpuMs() - cpuStart);
            }
            std::sort(times.begin(), times.end());
            const double p95 = times[times.size() * 95 / 100];
            all.insert(all.end(), times.begin(), times.end());
            std::printf("  %-60s %3d subtemas  mediana %.3f ms  p95 %.3f ms  máx %.3f ms\n",
                        qPrintable(QStringLiteral("«%1»").arg(eje.List(axis)).left(60)),
                        std::max(0, controls.SubtemaCbo.ListCount() - 1), times[times.size() / 2],
                        p95, times.back());
        }
        // Judged on the 95th percentile: on a shared machine the single slowest refill measures
        // the scheduler more than the refill.
        std::sort(all.begin(), all.end());
        const double p95 = all[all.size() * 95 / 100];
        std::sort(allCpu.begin(), allCpu.end());
        std::printf(
            "Tiempo de procesador por elección: mediana %.3f ms, p95 %.3f ms, máx %.3f ms\n",
            allCpu[allCpu.size() / 2], allCpu[allCpu.size() * 95 / 100], allCpu.back());
        const bool ok = p95 <= kTargetMs;
        std::printf(
            "Elección de eje -> SubtemaCbo (%zu elecciones): mediana %.3f ms, p95 %.3f ms, máx "
            "%.3f "
            "ms (objetivo: p95 <= %.1f ms): %s\n",
            all.size(), all[all.size() / 2], p95, all.back(), kTargetMs, ok ? "OK" : "FALLA");
        return ok ? 0 : 1;
    } catch (const StoreError& error) {
        std::fprintf(stderr, "Error %d: %s\n", error.number(), qPrintable(error.description()));
        return 2;
    }
}
