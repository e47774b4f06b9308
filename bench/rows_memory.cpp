#include "bench_context.h"
#include "child_process.h"
#include "core_load.h"
#include "rows.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace bench {

Row peakMemoryRow() {
    Row row;
    row.figure = QStringLiteral("peak memory, 1,000,000-line list loaded (core load)");
    row.unit = Unit::Bytes;
    row.target = Target::timesBaselinePlus(8, 80.0 * 1024 * 1024);
    row.measure = [](Context& context) {
        const QString list = context.savedFile(millionLines);
        // A child of its own, so that nothing this process holds counts.
        const pid_t child = startChild(QCoreApplication::applicationFilePath(),
                                       {QStringLiteral("--peak-core-load"), list});
        const qint64 peak = waitForChildPeakBytes(child);
        return Figure{double(peak), double(QFileInfo(list).size()),
                      QStringLiteral("VmHWM of a child; baseline: the file's size")};
    };
    return row;
}

int runPeakLoadChild(const QString& listPath) {
    const LoadedPairs loaded = loadForPlayCore(listPath);
    return loaded.ok && loaded.english.size() == loaded.japanese.size() ? 0 : 1;
}

} // namespace bench
