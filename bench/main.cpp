// `make bench`: measures the program against its limits and prints one table.
//   verbolin_bench [WORK_FOLDER]
//   verbolin_bench --peak-core-load LIST   (the child of the memory row)
#include "bench_context.h"
#include "bench_table.h"
#include "rows.h"

#include <QCoreApplication>

#include <cstdio>
#include <exception>

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() == 3 && args.at(1) == QLatin1String("--peak-core-load"))
        return bench::runPeakLoadChild(args.at(2));

    // Each row is one function returning its figure and its baseline (rows.h). Rows of the
    // import, the load through the set-up screen, the error box and the quiz key go here in
    // the same way.
    const std::vector<bench::Row> rows = {
        bench::storeShareRow(),
        bench::coreLoadRow(),
        bench::startupRow(),
        bench::peakMemoryRow(),
    };
    try {
        bench::Context context(args.size() > 1 ? args.at(1)
                                               : QStringLiteral(VERBOLIN_BENCH_WORK_FOLDER));
        const int misses = bench::runTable(rows, context);
        std::printf("\n%d of %zu rows missed their target\n", misses, rows.size());
        return misses == 0 ? 0 : 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "verbolin_bench: %s\n", error.what());
        return 2;
    }
}
