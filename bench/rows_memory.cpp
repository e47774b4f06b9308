// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "bench_context.h"
#include "child_process.h"
#include "rows.h"

#include "app/app_delegate.h"
#include "setup/setup_screen.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace bench {

Row peakMemoryRow() {
    Row row;
    row.figure = QStringLiteral("peak memory, 1,000,000-line list loaded for play (core load)");
    row.unit = Unit::Bytes;
    row.target = Target::timesBaselinePlus(8, 80.0 * 1024 * 1024);
    row.measure = [](Context& context) {
        const QString list = context.savedFile(millionLines);
        const QString report = context.workFolder() + QStringLiteral("/peak-bytes.txt");
        QFile::remove(report);
        // A child of its own, so that nothing this process holds counts.
        const pid_t child = startChild(QCoreApplication::applicationFilePath(),
                                       {QStringLiteral("--peak-core-load"), list, report});
        waitForChild(child);
        QFile reported(report);
        const qint64 peak =
            reported.open(QIODevice::ReadOnly) ? reported.readAll().trimmed().toLongLong() : 0;
        if (peak <= 0)
            fail(QStringLiteral("the child reported no peak"));
        return Figure{double(peak), double(QFileInfo(list).size()),
                      QStringLiteral("VmHWM a child reports of itself; baseline: the file's size")};
    };
    return row;
}

int runPeakLoadChild(const QString& listPath, const QString& reportPath) {
    // Standard output is /dev/null here: the load's diagnostics cost what they cost.
    AppDelegate delegate;
    setup::SetupScreen screen;
    loadForPlay(listPath, delegate, screen);
    if (!screen.startEnabled || delegate.LINE_INDEX != millionLines ||
        delegate.english_words.size() != millionLines ||
        delegate.japanese_words.size() != millionLines)
        return 1;
    QFile report(reportPath);
    const QByteArray peak = QByteArray::number(ownPeakBytes());
    return report.open(QIODevice::WriteOnly) && report.write(peak) == peak.size() ? 0 : 1;
}

} // namespace bench
