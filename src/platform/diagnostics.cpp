// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/diagnostics.h"

#include <QByteArray>
#include <QStringEncoder>

#include <cerrno>
#include <charconv>
#include <csignal>
#include <ctime>
#include <pthread.h>
#include <unistd.h>

namespace platform {

namespace {

QByteArray& buffer() {
    static QByteArray bytes;
    return bytes;
}

// A flush once the buffer is this large keeps memory bounded during a long import.
constexpr qsizetype flushThreshold = 1 << 20;

// Text this long is encoded piece by piece, each flushed when the buffer is full: the saved
// form of a large import is tens of megabytes, and one buffer for all of it would hold
// three bytes a character.
constexpr qsizetype pieceLength = 1 << 16;

void appendEncoded(QByteArray& bytes, QStringView text) {
    const qsizetype used = bytes.size();
    bytes.resize(used + text.size() * 3);
    QStringEncoder encoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    char* end = encoder.appendToBuffer(bytes.data() + used, text);
    bytes.resize(end - bytes.constData());
}

void append(QStringView text) {
    // Encode straight into the buffer: a load prints a line per pair, and a temporary
    // per line would cost more than the line itself.
    QByteArray& bytes = buffer();
    while (text.size() > pieceLength) {
        // A piece never ends between the two halves of a surrogate pair.
        const qsizetype cut =
            text[pieceLength - 1].isHighSurrogate() ? pieceLength - 1 : pieceLength;
        appendEncoded(bytes, text.first(cut));
        text = text.sliced(cut);
        if (bytes.size() >= flushThreshold)
            flushDiagnostics();
    }
    appendEncoded(bytes, text);
    bytes.append('\n');
    if (bytes.size() >= flushThreshold)
        flushDiagnostics();
}

bool needsEscape(QStringView line) {
    for (const QChar c : line) {
        const char16_t u = c.unicode();
        if (u < 0x20 || u == 0x7f || (u >= 0x80 && u < 0xa0) || u == 0x2028 || u == 0x2029)
            return true;
    }
    return false;
}

QString escaped(const QString& line) {
    QString out;
    out.reserve(line.size());
    for (const QChar c : line) {
        const char16_t u = c.unicode();
        switch (u) {
        case u'\n':
            out += QStringLiteral("\\n");
            break;
        case u'\r':
            out += QStringLiteral("\\r");
            break;
        case u'\t':
            out += QStringLiteral("\\t");
            break;
        default:
            if (u < 0x20 || u == 0x7f || (u >= 0x80 && u < 0xa0) || u == 0x2028 || u == 0x2029)
                out += QStringLiteral("\\u%1").arg(uint(u), 4, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    return out;
}

void writeToStandardOutput(QByteArrayView bytes) {
    // Output piped into a program that has quit must not end this one half-way through an
    // action (an import would be killed before its list is written): SIGPIPE is held back
    // during the write, which then fails with EPIPE, and taken back afterwards.
    sigset_t pipeSignal;
    sigset_t previous;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    ::pthread_sigmask(SIG_BLOCK, &pipeSignal, &previous);
    const char* data = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(STDOUT_FILENO, data, size_t(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EPIPE && !sigismember(&previous, SIGPIPE)) {
                const timespec noWait{};
                ::sigtimedwait(&pipeSignal, nullptr, &noWait);
            }
            break; // standard output is gone; diagnostics are not worth failing for
        }
        data += written;
        left -= written;
    }
    ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
}

} // namespace

void diagnostic(const QString& line) {
    if (needsEscape(line))
        append(escaped(line));
    else
        append(line);
}

void diagnosticNumber(qint64 value) {
    QByteArray& bytes = buffer();
    const qsizetype used = bytes.size();
    constexpr qsizetype longest = 20; // "-9223372036854775808"
    bytes.resize(used + longest + 1);
    char* const start = bytes.data() + used;
    char* end = std::to_chars(start, start + longest, value).ptr;
    *end++ = '\n';
    bytes.resize(end - bytes.constData());
    if (bytes.size() >= flushThreshold)
        flushDiagnostics();
}

void diagnosticRaw(QByteArrayView utf8) {
    QByteArray& bytes = buffer();
    if (utf8.size() >= flushThreshold) {
        // Too long to buffer: what is buffered goes first, then the text straight from where
        // it lies (the saved form of a large import is tens of megabytes).
        flushDiagnostics();
        writeToStandardOutput(utf8);
    } else {
        bytes.append(utf8);
    }
    bytes.append('\n');
    if (bytes.size() >= flushThreshold)
        flushDiagnostics();
}

void flushDiagnostics() {
    QByteArray& bytes = buffer();
    writeToStandardOutput(bytes);
    bytes.clear();
}

QString nameListLine(const QStringList& names) {
    QStringList quoted;
    quoted.reserve(names.size());
    for (QString name : names) {
        name.replace(u'\\', QStringLiteral("\\\\")).replace(u'"', QStringLiteral("\\\""));
        quoted.append(u'"' + name + u'"');
    }
    return u'[' + quoted.join(QStringLiteral(", ")) + u']';
}

} // namespace platform
