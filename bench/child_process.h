#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <sys/types.h>

namespace bench {

// Starts program with arguments, its standard output and error sent to /dev/null, and the
// environment of this process changed by `set` (a null value removes a variable). Returns the
// process id; throws when it cannot start.
pid_t startChild(const QString& program, const QStringList& arguments,
                 const QHash<QByteArray, QByteArray>& set = {});

// Waits for a child; returns its peak resident set in bytes. Throws unless it exited with
// status 0.
qint64 waitForChildPeakBytes(pid_t pid);

// Ends a child started by startChild and reaps it.
void stopChild(pid_t pid);

} // namespace bench
