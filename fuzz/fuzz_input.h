// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <cstdint>
#include <cstdlib>

// The input as text, as a lenient decoder gives it (invalid bytes become U+FFFD): the program
// reaches these rules only with text its decoders accepted, so never with a lone surrogate.
inline QString fuzzText(const uint8_t* data, size_t size) {
    return QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
}

// A property the target checks. A violation aborts: libFuzzer prints the stack, which names
// the check, and keeps the input.
inline void fuzzCheck(bool holds) {
    if (!holds)
        std::abort();
}
