// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

// store::parseCounter on any text. A text it reads is, within ASCII white space, an optional
// sign and ASCII digits that spell the value read (leading zeros aside). And every 64-bit
// value comes back from its decimal text, with or without white space and a "+".
#include "fuzz_input.h"

#include "store/counter.h"

#include <QRegularExpression>

namespace {

void check(const QString& text) {
    const std::optional<qint64> parsed = store::parseCounter(text);
    if (!parsed)
        return;
    static const QRegularExpression form(
        QStringLiteral("^[ \\t\\n\\r\\v\\f]*([+-]?)0*([0-9]+?)[ \\t\\n\\r\\v\\f]*$"));
    const QRegularExpressionMatch match = form.match(text);
    FUZZ_CHECK(match.hasMatch());
    const QString digits = match.captured(2);
    const bool negative = match.captured(1) == u"-" && digits != u"0";
    FUZZ_CHECK(QString::number(*parsed) == (negative ? u"-"_qs : QString()) + digits);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    check(fuzzUtf8(data, size));
    check(fuzzUtf16(data, size));
    if (size >= 8) {
        qint64 value = 0;
        std::memcpy(&value, data, 8);
        const QString decimal = QString::number(value);
        FUZZ_CHECK(store::parseCounter(QStringLiteral("\t ") + decimal + u'\n') == value);
        if (value >= 0)
            FUZZ_CHECK(store::parseCounter(u'+' + decimal) == value);
    }
    return 0;
}
