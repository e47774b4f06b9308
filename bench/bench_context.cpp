// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "bench_context.h"

#include "platform/diagnostics.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <malloc.h>
#include <stdexcept>
#include <unistd.h>
#include <vector>

namespace bench {

Context::Context(QString workFolder) : workFolder_(std::move(workFolder)) {
    QDir(workFolder_).removeRecursively();
    if (!QDir().mkpath(workFolder_))
        fail(QStringLiteral("cannot create the work folder ") + workFolder_);
}

QString Context::generated(const QString& name, const std::function<QByteArray()>& make) {
    const QString path = workFolder_ + u'/' + name;
    if (QFile::exists(path))
        return path;
    const QByteArray bytes = make();
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush())
        fail(QStringLiteral("cannot write ") + path + QStringLiteral(": ") + file.errorString());
    return path;
}

QString Context::sourceFile(qint64 lines, SourceLayout layout) {
    const QString name = QStringLiteral("source-%1-%2-%3.txt")
                             .arg(lines)
                             .arg(layout.separator.unicode())
                             .arg(layout.englishFirst ? 0 : 1);
    return generated(name, [&] { return WordListGenerator(1).sourceText(lines, layout); });
}

QString Context::savedFile(qint64 lines) {
    return generated(QStringLiteral("saved-%1.txt").arg(lines),
                     [&] { return WordListGenerator(1).savedText(lines); });
}

QString Context::freshHome() {
    const QString home = workFolder_ + QStringLiteral("/home-") + QString::number(++homes_);
    QDir(home).removeRecursively();
    if (!QDir().mkpath(home + QStringLiteral("/words_lists")))
        fail(QStringLiteral("cannot create ") + home);
    qputenv("HOME", QFile::encodeName(home));
    return home;
}

void settleHeap() {
    ::malloc_trim(0);
}

double medianOf(int runs, const std::function<double()>& oneRun) {
    std::vector<double> results;
    for (int i = 0; i < runs; ++i) {
        settleHeap();
        results.push_back(oneRun());
    }
    return medianOfValues(std::move(results));
}

double medianOfValues(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double quantileOf(std::vector<double>& values, double q) {
    const auto at = values.begin() + ptrdiff_t(double(values.size()) * q);
    std::nth_element(values.begin(), at, values.end());
    return *at;
}

Figure interleavedMedians(int runs, const std::function<double()>& baselineRun,
                          const std::function<double()>& figureRun) {
    std::vector<double> baselines;
    std::vector<double> figures;
    for (int i = 0; i < runs; ++i) {
        settleHeap();
        baselines.push_back(baselineRun());
        settleHeap();
        figures.push_back(figureRun());
    }
    size_t b = 0;
    size_t f = 0;
    Figure figure;
    figure.baseline = medianOf(runs, [&] { return baselines[b++]; });
    figure.value = medianOf(runs, [&] { return figures[f++]; });
    return figure;
}

StdoutToDevNull::StdoutToDevNull() {
    std::fflush(stdout);
    saved_ = ::dup(STDOUT_FILENO);
    const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (saved_ < 0 || null < 0 || ::dup2(null, STDOUT_FILENO) < 0) {
        if (null >= 0)
            ::close(null);
        if (saved_ >= 0)
            ::close(saved_);
        fail(QStringLiteral("cannot send standard output to /dev/null"));
    }
    ::close(null);
}

StdoutToDevNull::~StdoutToDevNull() {
    // What the program buffered goes where the rest of its diagnostics went.
    platform::flushDiagnostics();
    std::fflush(stdout);
    ::dup2(saved_, STDOUT_FILENO);
    ::close(saved_);
}

void fail(const QString& message) {
    throw std::runtime_error(message.toStdString());
}

} // namespace bench
