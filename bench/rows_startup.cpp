// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "bench_context.h"
#include "child_process.h"
#include "rows.h"
#include "xvfb_display.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace bench {

namespace {

constexpr int runs = 9;
constexpr int timeoutMs = 20000;

// Seconds from starting program, in a fresh home folder, to its first top-level window
// being mapped.
double secondsToMap(Context& context, XvfbDisplay& display, const QString& program) {
    const QString home = context.workFolder() + QStringLiteral("/start-home");
    QDir(home).removeRecursively();
    if (!QDir().mkpath(home))
        fail(QStringLiteral("cannot create ") + home);
    display.discardEvents();
    QElapsedTimer timer;
    timer.start();
    const pid_t child = startChild(program, {},
                                   {{"HOME", QFile::encodeName(home)},
                                    {"DISPLAY", display.name()},
                                    {"QT_QPA_PLATFORM", QByteArray()},
                                    {"WAYLAND_DISPLAY", QByteArray()}});
    const bool mapped = display.waitForTopLevelMap(timeoutMs);
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    stopChild(child);
    if (!mapped)
        fail(QFileInfo(program).fileName() + QStringLiteral(" mapped no window"));
    return seconds;
}

} // namespace

Row startupRow() {
    Row row;
    row.figure = QStringLiteral("start-up to the start window mapped (Xvfb, fresh home)");
    row.unit = Unit::Seconds;
    row.target = Target::timesBaseline(1.5);
    row.measure = [](Context& context) {
        XvfbDisplay display;
        // Both built in Release beside the bench.
        const QString app = QStringLiteral(VERBOLIN_APP_PATH);
        const QString minimal = QStringLiteral(VERBOLIN_MINIMAL_WINDOW_PATH);
        // One untimed start of each loads the shared libraries and fonts into the page cache.
        secondsToMap(context, display, minimal);
        secondsToMap(context, display, app);
        std::vector<double> appRuns, minimalRuns;
        for (int i = 0; i < runs; ++i) { // interleaved, so that a slow moment hits both
            minimalRuns.push_back(secondsToMap(context, display, minimal));
            appRuns.push_back(secondsToMap(context, display, app));
        }
        const auto median = [](std::vector<double> values) {
            size_t i = 0;
            return medianOf(int(values.size()), [&] { return values[i++]; });
        };
        return Figure{
            median(appRuns), median(minimalRuns),
            QStringLiteral("median of %1; baseline: minimal window, 1 Japanese label").arg(runs)};
    };
    return row;
}

} // namespace bench
