// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

// store::parseCounter on any text reads exactly the texts that are, within ASCII white space,
// an optional sign and ASCII digits spelling a 64-bit value, and reads that value.
#include "fuzz_input.h"

#include "store/counter.h"

#include <QRegularExpression>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const QRegularExpression form(
        u"^[ \\t\\n\\r\\v\\f]*([+-]?[0-9]+)[ \\t\\n\\r\\v\\f]*$"_qs);
    const QString text = fuzzText(data, size);
    bool fits = false;
    const qint64 value = form.match(text).captured(1).toLongLong(&fits);
    fuzzCheck(store::parseCounter(text) == (fits ? std::optional(value) : std::nullopt));
    return 0;
}
