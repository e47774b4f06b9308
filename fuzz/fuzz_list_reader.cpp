// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Reading a saved list: every line of any text, split with store::splitPair, gives one English
// and one Japanese half, so the two word arrays stay paired: the text before the first "$" and
// the text between the first and the second (a line without "$" is all English).
#include "fuzz_input.h"

#include "platform/text.h"
#include "store/list_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    platform::forEachLine(fuzzText(data, size), [](QStringView line) {
        const store::Pair pair = store::splitPair(line);
        const QStringList parts = line.toString().split(u'$');
        fuzzCheck(pair.english == parts.value(0) && pair.japanese == parts.value(1));
        return true;
    });
    return 0;
}
