// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

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

// Waits for a child. Throws unless it exited with status 0.
void waitForChild(pid_t pid);

// This process's peak resident set in bytes (VmHWM), or -1 when it cannot be read. A child
// reports its own: the ru_maxrss that wait4 gives for a child started by posix_spawn also
// counts its parent's peak, whose memory the child shared until its exec.
qint64 ownPeakBytes();

// Ends a child started by startChild and reaps it.
void stopChild(pid_t pid);

} // namespace bench
