// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The spreadsheet reader. Cells written as a record, twice, read back as the same cells, each
// line break inside a cell as one space; and any bytes at all read without a fault, each
// record beginning on a later line than the one before and no cell holding a NUL.
#include "fuzz_input.h"

#include "formats/csv.h"
#include "import/import_options.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const char separator = importer::separatorOfSegment(data[0] % 4);
    const QByteArray rest(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));

    qint64 last = 0;
    formats::readCsv(rest, separator, [&](qint64 line, std::span<const QByteArrayView> cells) {
        fuzzCheck(line > last && line <= rest.count('\n') + rest.count('\r') + 1);
        for (const QByteArrayView cell : cells)
            fuzzCheck(!cell.contains('\0'));
        last = line;
        return true;
    });

    const QList<QByteArray> cells = rest.split('\0');
    QByteArray written;
    const std::vector<QByteArrayView> views(cells.begin(), cells.end());
    formats::appendCsvRecord(written, views, separator, "\r\n");
    formats::appendCsvRecord(written, views, separator, "\n");
    QList<QByteArray> expected;
    for (const QByteArray& cell : cells)
        expected.append(
            QByteArray(cell).replace("\r\n", " ").replace('\r', ' ').replace('\n', ' '));
    int records = 0;
    const auto error =
        formats::readCsv(written, separator, [&](qint64, std::span<const QByteArrayView> read) {
            fuzzCheck(qsizetype(read.size()) == expected.size());
            for (size_t i = 0; i < read.size(); ++i)
                fuzzCheck(read[i] == expected[i]);
            ++records;
            return true;
        });
    fuzzCheck(!error && records == 2);
    return 0;
}
