// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

// `make bench`: measures the program against its limits and prints one table.
//   verbolin_bench [WORK_FOLDER]
//   verbolin_bench --peak-core-load LIST REPORT   (the child of the memory row)
#include "bench_context.h"
#include "bench_table.h"
#include "rows.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QThread>

#include <cstdio>
#include <exception>

namespace {

// Figures from a busy machine are worth less; the table says how busy it was.
QString machineLine() {
    QFile loadavg(QStringLiteral("/proc/loadavg"));
    const QByteArray load = loadavg.open(QIODevice::ReadOnly) ? loadavg.readAll() : QByteArray();
    return QStringLiteral("%1 cores, load average %2")
        .arg(QThread::idealThreadCount())
        .arg(QString::fromLatin1(load.split(' ').mid(0, 3).join(' ')));
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc == 4 && qstrcmp(argv[1], "--peak-core-load") == 0) {
        QCoreApplication application(argc, argv);
        return bench::runPeakLoadChild(QString::fromLocal8Bit(argv[2]),
                                       QString::fromLocal8Bit(argv[3]));
    }
    // Rows that drive the real screens run in this process, without a display. Programs the
    // rows start get their own platform (the start-up row gives them the Xvfb display).
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QStringList args = QCoreApplication::arguments();

    // Each row is one function returning its figure and its baseline (see rows.h for how to
    // add one).
    std::vector<bench::Row> rows = {
        bench::importRow(),         bench::csvImportRow(),     bench::kvtmlImportRow(),
        bench::storeShareRow(),     bench::coreLoadRow(),      bench::screenLoadRow(),
        bench::importErrorBoxRow(), bench::unclosedQuoteRow(), bench::quizKeyRow(),
        bench::typedAnswerRow(),    bench::keyToSoundRow(),    bench::firstKeyToSoundRow(),
        bench::startupRow(),        bench::peakMemoryRow(),    bench::editorOpenRow(),
        bench::editorSaveRow(),
    };
    const QList<bench::Row> exports = bench::exportRows();
    rows.insert(rows.begin() + 3, exports.begin(), exports.end());
    // VERBOLIN_BENCH_ONLY=text keeps the rows whose figure contains text (to work on one).
    const QString only = qEnvironmentVariable("VERBOLIN_BENCH_ONLY");
    std::erase_if(rows, [&](const bench::Row& row) { return !row.figure.contains(only); });
    try {
        bench::Context context(args.size() > 1 ? args.at(1)
                                               : QStringLiteral(VERBOLIN_BENCH_WORK_FOLDER));
        std::printf("%s\n", qPrintable(machineLine()));
        const int misses = bench::runTable(rows, context);
        std::printf("\n%d of %zu rows missed their target\n", misses, rows.size());
        return misses == 0 ? 0 : 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "verbolin_bench: %s\n", error.what());
        return 2;
    }
}
