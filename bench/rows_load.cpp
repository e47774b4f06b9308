#include "bench_context.h"
#include "core_load.h"
#include "rows.h"

#include "app/platform.h"

namespace bench {

namespace {

constexpr int runs = 7;

} // namespace

double twoListReadsRun(Context& context) {
    const QString list = context.savedFile(millionLines);
    return secondsOf([&] {
        for (int read = 0; read < 2; ++read)
            if (!platform::readUtf8(list).ok)
                fail(QStringLiteral("cannot read ") + list);
    });
}

Row coreLoadRow() {
    Row row;
    row.figure = QStringLiteral("load for play, core, 1,000,000 lines (2 reads, split, shuffle)");
    row.unit = Unit::Seconds;
    row.target = Target::timesBaseline(3);
    row.measure = [](Context& context) {
        const QString list = context.savedFile(millionLines);
        const auto loadRun = [&] {
            LoadedPairs loaded;
            const double seconds = secondsOf([&] { loaded = loadForPlayCore(list); });
            if (!loaded.ok || loaded.english.size() != millionLines ||
                loaded.japanese.size() != millionLines)
                fail(QStringLiteral("the load did not give 1,000,000 pairs"));
            return seconds; // the arrays are freed after the timed part
        };
        Figure figure = interleavedMedians(
            runs, [&] { return twoListReadsRun(context); }, loadRun);
        figure.note = QStringLiteral("median of %1; baseline: the two reads").arg(runs);
        return figure;
    };
    return row;
}

} // namespace bench
