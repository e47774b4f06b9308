// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "bench_context.h"
#include "rows.h"

#include "platform/platform.h"
#include "store/counter.h"
#include "store/list_file.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace bench {

namespace {

constexpr int runs = 7;

void writeAllWithOneFsync(const QString& path, const QByteArray& bytes) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        fail(QStringLiteral("cannot create ") + path);
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            ::close(fd);
            fail(QStringLiteral("cannot write ") + path);
        }
        data += written;
        left -= written;
    }
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    if (!synced)
        fail(QStringLiteral("cannot fsync ") + path);
}

} // namespace

double importFloorRun(Context& context) {
    const QString source = context.sourceFile(millionLines);
    const QString copy = context.workFolder() + QStringLiteral("/floor-copy.txt");
    const double seconds = secondsOf([&] {
        QFile file(source);
        if (!file.open(QIODevice::ReadOnly))
            fail(QStringLiteral("cannot read ") + source);
        writeAllWithOneFsync(copy, file.readAll());
    });
    QFile::remove(copy);
    return seconds;
}

double decodingImportFloorRun(Context& context) {
    const QString source = context.sourceFile(millionLines);
    const QString copy = context.workFolder() + QStringLiteral("/floor-copy.txt");
    const double seconds = secondsOf([&] {
        const platform::Result<QString> text = platform::readUtf8(source);
        if (!text.ok)
            fail(text.error);
        writeAllWithOneFsync(copy, text.value.toUtf8());
    });
    QFile::remove(copy);
    return seconds;
}

Row storeShareRow() {
    Row row;
    row.figure =
        QStringLiteral("store share of an import, 1,000,000 lines (counter, list, counter)");
    row.unit = Unit::Seconds;
    row.target = Target::timesBaseline(3);
    row.measure = [](Context& context) {
        // The saved form of the same pairs as the source file, so the same number of bytes.
        const platform::Result<QByteArray> savedForm =
            platform::readBytes(context.savedFile(millionLines));
        if (!savedForm.ok)
            fail(savedForm.error);
        context.freshHome();
        const auto storeRun = [&] {
            store::ListWrite written;
            const double seconds = secondsOf([&] {
                const store::CounterRead counter = store::readCounter();
                const std::optional<qint64> next = store::nextNumber(
                    counter.kind == store::CounterRead::Kind::Value ? counter.value : 0);
                if (!next)
                    fail(QStringLiteral("counter overflow"));
                written = store::writeNewList(*next, savedForm.value);
                if (written.kind != store::ListWrite::Kind::Written)
                    fail(written.description);
                const platform::Status counted = store::writeCounter(written.number);
                if (!counted.ok)
                    fail(counted.error);
            });
            QFile::remove(written.path); // the next run writes a list of the same size again
            return seconds;
        };
        Figure figure = interleavedMedians(
            runs, [&] { return importFloorRun(context); }, storeRun);
        figure.note = QStringLiteral("median of %1; baseline: read + write + fsync").arg(runs);
        return figure;
    };
    return row;
}

} // namespace bench
