#include "bench_context.h"
#include "child_process.h"
#include "rows.h"

#include "app/app_delegate.h"
#include "setup/setup_screen.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace bench {

Row peakMemoryRow() {
    Row row;
    row.figure = QStringLiteral("peak memory, 1,000,000-line list loaded for play (core load)");
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
    // Standard output is /dev/null here: the load's diagnostics cost what they cost.
    AppDelegate delegate;
    setup::SetupScreen screen;
    loadForPlay(listPath, delegate, screen);
    return screen.startEnabled && delegate.LINE_INDEX == millionLines &&
                   delegate.english_words.size() == millionLines &&
                   delegate.japanese_words.size() == millionLines
               ? 0
               : 1;
}

} // namespace bench
