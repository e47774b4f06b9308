// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Diagnostic lines on standard output. They are buffered, because a large import or load
// prints a line per pair, and flushed before every modal dialog and at the end of every
// user action.

#include <QByteArrayView>
#include <QString>
#include <QStringList>

namespace platform {

// Writes one line; control characters inside it are escaped so that it stays one line.
void diagnostic(const QString& line);

// Writes one number as its decimal digits (as QString::number gives them). A load prints one
// per pair: the digits go straight into the buffer, with no string made for them.
void diagnosticNumber(qint64 value);

// Writes text as it is, followed by a line end (the saved form of a list, one line a pair).
void diagnosticRaw(QByteArrayView utf8);

// Writes everything buffered to standard output.
void flushDiagnostics();

// One line for a list of names: ["a.txt", "b.txt"], with '"' and '\' escaped.
QString nameListLine(const QStringList& names);

// Flushes the diagnostics when a user action's handler returns.
class FlushDiagnosticsOnReturn {
public:
    FlushDiagnosticsOnReturn() = default;
    FlushDiagnosticsOnReturn(const FlushDiagnosticsOnReturn&) = delete;
    FlushDiagnosticsOnReturn& operator=(const FlushDiagnosticsOnReturn&) = delete;
    ~FlushDiagnosticsOnReturn() { flushDiagnostics(); }
};

} // namespace platform
