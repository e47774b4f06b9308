// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

// platform::forEachLine over any text: the lines, put back with the terminators between
// them, give the text again; no line holds a terminator; no line starts at the very end (no
// empty line after a final terminator, none for an empty text); stopping early gives a prefix.
#include "fuzz_input.h"

#include "app/text.h"

#include <cstdio>
#include <vector>

namespace {

bool isTerminator(char16_t c) {
    return c == u'\n' || c == u'\r' || c == u'\u0085' || c == u'\u2028' || c == u'\u2029';
}

void check(const QString& text) {
    const qsizetype n = text.size();
    std::vector<QStringView> lines;
    platform::forEachLine(text, [&](QStringView line) {
        lines.push_back(line);
        return true;
    });

    qsizetype pos = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        const QStringView line = lines[i];
        FUZZ_CHECK(pos < n);
        FUZZ_CHECK(QStringView(text).sliced(pos).startsWith(line));
        for (const QChar c : line)
            FUZZ_CHECK(!isTerminator(c.unicode()));
        pos += line.size();
        if (pos == n) {
            FUZZ_CHECK(i + 1 == lines.size()); // a final line without a terminator
            break;
        }
        const char16_t terminator = text.at(pos).unicode();
        FUZZ_CHECK(isTerminator(terminator));
        pos += (terminator == u'\r' && pos + 1 < n && text.at(pos + 1) == u'\n') ? 2 : 1;
    }
    FUZZ_CHECK(pos == n);

    // platform::lines gives the same lines as copies.
    const QStringList copies = platform::lines(text);
    FUZZ_CHECK(size_t(copies.size()) == lines.size());
    for (size_t i = 0; i < lines.size(); ++i)
        FUZZ_CHECK(copies.at(qsizetype(i)) == lines[i]);

    // Stopping after k lines delivers exactly the first k.
    const size_t stopAfter = lines.size() / 2 + 1;
    size_t delivered = 0;
    platform::forEachLine(text, [&](QStringView line) {
        FUZZ_CHECK(delivered < lines.size() && line == lines[delivered]);
        return ++delivered < stopAfter;
    });
    FUZZ_CHECK(delivered == std::min(stopAfter, lines.size()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    check(fuzzUtf8(data, size));
    check(fuzzUtf16(data, size));
    return 0;
}
