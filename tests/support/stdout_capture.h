#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryFile>

// Captures what the program writes to standard output (file descriptor 1) while it lives.
class StdoutCapture {
public:
    StdoutCapture();
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
};
