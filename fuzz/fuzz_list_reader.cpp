// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Reading a saved list: every line of any text, split with store::splitPair, gives one English
// and one Japanese half, so the two word arrays stay paired; a line without "$" comes back
// whole as English with an empty Japanese half; otherwise the halves are the text before the
// first "$" and between the first and the second.
#include "fuzz_input.h"

#include "platform/text.h"
#include "store/list_file.h"

#include <cstdio>
#include <optional>

namespace {

void check(const QString& text) {
    QStringList english;
    QStringList japanese;
    qsizetype lines = 0;
    platform::forEachLine(text, [&](QStringView line) {
        const store::Pair pair = store::splitPair(line);
        japanese.append(pair.japanese.toString());
        english.append(pair.english.toString());
        ++lines;
        FUZZ_CHECK(english.size() == lines && japanese.size() == lines);

        const qsizetype first = line.indexOf(u'$');
        if (first < 0) {
            FUZZ_CHECK(pair.english == line);
            FUZZ_CHECK(pair.japanese.isEmpty());
        } else {
            FUZZ_CHECK(pair.english == line.first(first));
            FUZZ_CHECK(!pair.english.contains(u'$') && !pair.japanese.contains(u'$'));
            // English, "$", Japanese is the line up to its second "$" (or its end).
            const QString rejoined = pair.english.toString() + u'$' + pair.japanese.toString();
            FUZZ_CHECK(line.startsWith(rejoined));
            FUZZ_CHECK(rejoined.size() == line.size() || line.at(rejoined.size()) == u'$');
        }
        return true;
    });
    FUZZ_CHECK(english.size() == japanese.size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    // The loader reads strictly; a text it accepts must split as any other.
    if (const std::optional<QString> strict = platform::decodeUtf8(bytes))
        check(*strict);
    check(fuzzUtf8(data, size));
    check(fuzzUtf16(data, size));
    return 0;
}
