// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The kvtml reader over any text: no fault and no hang (libFuzzer's timeout), an error or
// entries, never more entries than the text has elements, and no side holding a line break.
#include "fuzz_input.h"

#include "formats/kvtml.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // UTF-8, as the import gives the reader a file's text.
    const QByteArray text = fuzzText(data, size).toUtf8();
    const formats::KvtmlRead read = formats::readKvtml(text);
    fuzzCheck(read.error ? read.entries.isEmpty() : !read.entries.isEmpty());
    fuzzCheck(read.entries.size() <= text.count('<'));
    for (const formats::KvtmlEntry& entry : read.entries)
        fuzzCheck(!entry.english.contains('\n') && !entry.japanese.contains('\n'));
    return 0;
}
