// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Reading a saved list: every line of any text, split with store::splitPair, gives one English
// and one Japanese half, so the two word arrays stay paired. The halves hold no "$": they are
// the text before the first "$" and between the first and the second (a line without "$" is
// all English), so English, "$", Japanese is the line up to its second "$" or its end.
#include "fuzz_input.h"

#include "platform/text.h"
#include "store/list_file.h"

namespace {

void check(const QString& text) {
    platform::forEachLine(text, [&](QStringView line) {
        const store::Pair pair = store::splitPair(line);
        FUZZ_CHECK(!pair.english.contains(u'$') && !pair.japanese.contains(u'$'));
        if (!line.contains(u'$')) {
            FUZZ_CHECK(pair.english == line && pair.japanese.isEmpty());
            return true;
        }
        const QString rejoined = pair.english.toString() + u'$' + pair.japanese.toString();
        FUZZ_CHECK(line.startsWith(rejoined));
        FUZZ_CHECK(rejoined.size() == line.size() || line.at(rejoined.size()) == u'$');
        return true;
    });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    check(fuzzUtf8(data, size));
    check(fuzzUtf16(data, size));
    return 0;
}
