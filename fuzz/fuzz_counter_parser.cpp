// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

// store::parseCounter against a reference reading of the grammar: optional ASCII white space,
// an optional single "+" or "-", one or more ASCII digits, optional ASCII white space, and a
// value within the signed 64-bit range. And every 64-bit value round-trips through its
// decimal text, with or without white space around it.
#include "fuzz_input.h"

#include "store/counter.h"

#include <cstdio>
#include <limits>
#include <optional>

namespace {

bool isAsciiSpace(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f';
}

std::optional<qint64> reference(QStringView text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && isAsciiSpace(text[i].unicode()))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-'))
        negative = text[i++] == u'-';
    const qsizetype digitsStart = i;
    // Accumulate the magnitude in 128 bits, capped well above the 64-bit range.
    __int128 magnitude = 0;
    const __int128 cap = __int128(1) << 100;
    while (i < n && text[i] >= u'0' && text[i] <= u'9') {
        magnitude = magnitude * 10 + (text[i].unicode() - u'0');
        if (magnitude > cap)
            magnitude = cap;
        ++i;
    }
    if (i == digitsStart)
        return std::nullopt;
    while (i < n && isAsciiSpace(text[i].unicode()))
        ++i;
    if (i != n)
        return std::nullopt;
    const __int128 value = negative ? -magnitude : magnitude;
    if (value < std::numeric_limits<qint64>::min() || value > std::numeric_limits<qint64>::max())
        return std::nullopt;
    return qint64(value);
}

void checkAgainstReference(const QString& text) {
    const std::optional<qint64> parsed = store::parseCounter(text);
    const std::optional<qint64> expected = reference(text);
    FUZZ_CHECK(parsed.has_value() == expected.has_value());
    if (parsed)
        FUZZ_CHECK(*parsed == *expected);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    checkAgainstReference(fuzzUtf8(data, size));
    checkAgainstReference(fuzzUtf16(data, size));

    if (size >= 8) {
        qint64 value = 0;
        std::memcpy(&value, data, 8);
        const QString decimal = QString::number(value);
        FUZZ_CHECK(store::parseCounter(decimal) == value);
        FUZZ_CHECK(store::parseCounter(QStringLiteral("\t ") + decimal + u'\n') == value);
        if (value >= 0)
            FUZZ_CHECK(store::parseCounter(u'+' + decimal) == value);
    }
    return 0;
}
