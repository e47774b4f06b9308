// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "bench_table.h"
#include "word_list_generator.h"

#include <QElapsedTimer>
#include <QString>
#include <QtGlobal>

#include <functional>
#include <optional>
#include <vector>

namespace bench {

// Shared by the rows of one run: a work folder on the same disk as the build, and generated
// list files made once and reused.
class Context {
public:
    // workFolder is emptied and created.
    explicit Context(QString workFolder);

    const QString& workFolder() const { return workFolder_; }

    // A generated import source file of so many lines (English first, ","), made once.
    QString sourceFile(qint64 lines, SourceLayout layout = {});
    // A generated list in the saved form, made once.
    QString savedFile(qint64 lines);

    // A new, empty home folder with its list folder, and HOME pointing at it for this
    // process. Store functions called afterwards work inside it.
    QString freshHome();

private:
    QString generated(const QString& name, const std::function<QByteArray()>& make);

    QString workFolder_;
    int homes_ = 0;
};

// Wall-clock seconds that f takes.
template <typename F> double secondsOf(F&& f) {
    QElapsedTimer timer;
    timer.start();
    f();
    return double(timer.nsecsElapsed()) / 1e9;
}

// Frees what earlier runs left to glibc's allocator in one go. Without it the next large
// allocation pays for merging a million freed strings, and a baseline run that follows a
// load measured twice its own time.
void settleHeap();

// The median of runs results of oneRun, which returns the seconds of its own timed part (so
// that it can prepare and clean up untimed).
double medianOf(int runs, const std::function<double()>& oneRun);

// The median of values: the middle one, or the mean of the middle two.
double medianOfValues(std::vector<double> values);

// The value at fraction q of values in order (0.5 the median, 0.999 the 99.9th percentile);
// reorders values.
double quantileOf(std::vector<double>& values, double q);

// Medians of a figure and its baseline, their runs interleaved (baseline, figure, baseline,
// ...) so that a busy moment of a shared machine weighs on both alike. Each run returns the
// seconds of its own timed part.
Figure interleavedMedians(int runs, const std::function<double()>& baselineRun,
                          const std::function<double()>& figureRun);

// Sends this process's standard output (file descriptor 1) to /dev/null while it lives, so
// that the diagnostics of a timed run cost their real writes without reaching the table.
// Whatever stdio holds is flushed first; the program's buffered diagnostics are flushed
// (to /dev/null) at the end.
class StdoutToDevNull {
public:
    StdoutToDevNull();
    ~StdoutToDevNull();
    StdoutToDevNull(const StdoutToDevNull&) = delete;
    StdoutToDevNull& operator=(const StdoutToDevNull&) = delete;

private:
    int saved_ = -1;
};

// Throws std::runtime_error with the message: a row that cannot be measured says why.
[[noreturn]] void fail(const QString& message);

} // namespace bench
