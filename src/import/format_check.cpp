// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "import/format_check.h"

#include "formats/csv.h"
#include "store/list_file.h"

namespace importer {

SourceFormat formatOfFile(const QString& path) {
    if (path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive) ||
        path.endsWith(QStringLiteral(".tsv"), Qt::CaseInsensitive))
        return SourceFormat::Csv;
    return SourceFormat::Lines;
}

CheckedText checkCsv(QByteArrayView utf8, LineLayout layout) {
    CheckedText checked;
    checked.savedForm.reserve(utf8.size());
    const bool japaneseFirst = layout.sequenceCode != 0;
    const std::optional<formats::CsvError> error = formats::readCsv(
        utf8, layout.separator, [&](qint64 line, const QList<QByteArrayView>& cells) {
            checked.rejection = checkCells(cells, layout, line);
            if (checked.rejection)
                return false;
            store::appendSavedLine(checked.savedForm, cells[japaneseFirst], cells[!japaneseFirst]);
            ++checked.lines;
            return true;
        });
    if (error)
        checked.rejection = QString::number(error->line) + QStringLiteral("行目: ") + error->reason;
    return checked;
}

CheckedText checkSource(QByteArray utf8, LineLayout layout, SourceFormat format) {
    switch (format) {
    case SourceFormat::Csv:
        return checkCsv(utf8, layout);
    case SourceFormat::Lines:
        break;
    }
    return checkText(std::move(utf8), layout);
}

} // namespace importer
