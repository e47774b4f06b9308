#include "bench_context.h"
#include "core_load.h"
#include "rows.h"

#include "app/platform.h"

namespace bench {

namespace {

constexpr int runs = 5;

} // namespace

double twoListReadsSeconds(Context& context) {
    return context.cached(QStringLiteral("two-list-reads"), [&] {
        const QString list = context.savedFile(millionLines);
        return medianOf(runs, [&] {
            return secondsOf([&] {
                for (int read = 0; read < 2; ++read)
                    if (!platform::readUtf8(list).ok)
                        fail(QStringLiteral("cannot read ") + list);
            });
        });
    });
}

Row coreLoadRow() {
    Row row;
    row.figure = QStringLiteral("load for play, core, 1,000,000 lines (2 reads, split, shuffle)");
    row.unit = Unit::Seconds;
    row.target = Target::timesBaseline(3);
    row.measure = [](Context& context) {
        const double reads = twoListReadsSeconds(context);
        const QString list = context.savedFile(millionLines);
        const double value = medianOf(runs, [&] {
            LoadedPairs loaded;
            const double seconds = secondsOf([&] { loaded = loadForPlayCore(list); });
            if (!loaded.ok || loaded.english.size() != millionLines ||
                loaded.japanese.size() != millionLines)
                fail(QStringLiteral("the load did not give 1,000,000 pairs"));
            return seconds; // the arrays are freed after the timed part
        });
        return Figure{value, reads,
                      QStringLiteral("median of %1; baseline: the two reads").arg(runs)};
    };
    return row;
}

} // namespace bench
