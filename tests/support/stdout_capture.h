// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryFile>

// Captures what the program writes to standard output (file descriptor 1) while it lives.
class StdoutCapture {
public:
    // AsWritten reads only what the program itself has flushed: a screen must flush its
    // diagnostics when a handler returns and before a dialog, with no help from the test.
    enum Reading { FlushFirst, AsWritten };
    explicit StdoutCapture(Reading reading = FlushFirst);
    ~StdoutCapture();
    StdoutCapture(const StdoutCapture&) = delete;
    StdoutCapture& operator=(const StdoutCapture&) = delete;

    // Everything written so far (the diagnostics are flushed first).
    QByteArray bytes();
    // The same, as UTF-8 lines without their line feeds (a final line feed starts no line).
    QStringList lines();

private:
    QTemporaryFile file_;
    int saved_ = -1;
    Reading reading_;
};
