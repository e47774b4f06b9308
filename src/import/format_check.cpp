// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "import/format_check.h"

#include "formats/csv.h"
#include "formats/kvtml.h"
#include "platform/text.h"
#include "store/list_file.h"

namespace importer {

SourceFormat formatOfFile(const QString& path) {
    if (path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive) ||
        path.endsWith(QStringLiteral(".tsv"), Qt::CaseInsensitive))
        return SourceFormat::Csv;
    if (path.endsWith(QStringLiteral(".kvtml"), Qt::CaseInsensitive))
        return SourceFormat::Kvtml;
    return SourceFormat::Lines;
}

CheckedText checkCsv(QByteArray utf8, LineLayout layout) {
    CheckedText checked;
    // As the line check does, the saved form is written over the text, never ahead of the
    // record being read: a saved line is no longer than its record with its line end, which
    // a last record gets first. A fresh buffer of the text's size would cost more than the
    // parse.
    if (!utf8.endsWith('\n') && !utf8.endsWith('\r') && !utf8.isEmpty())
        utf8.append('\n');
    char* const begin = utf8.data();
    char* out = begin;
    const bool japaneseFirst = layout.sequenceCode != 0;
    QByteArray japanese; // Japanese first, the English cell is written over it
    const std::optional<formats::CsvError> error = formats::readCsv(
        utf8, layout.separator, [&](qint64 line, const QList<QByteArrayView>& cells) {
            checked.rejection = checkCells(cells, layout, line);
            if (checked.rejection)
                return false;
            if (japaneseFirst) {
                japanese.truncate(0);
                japanese.append(cells[0]);
            }
            out = store::writeSavedLine(out, cells[japaneseFirst],
                                        japaneseFirst ? QByteArrayView(japanese) : cells[1]);
            ++checked.lines;
            return true;
        });
    if (error)
        checked.rejection = QString::number(error->line) + QStringLiteral("行目: ") + error->reason;
    utf8.truncate(out - begin);
    checked.savedForm = std::move(utf8);
    return checked;
}

CheckedText checkKvtml(QByteArrayView utf8, LineLayout layout) {
    CheckedText checked;
    // As text, so that the reader never follows an encoding declaration: the bytes are UTF-8
    // whatever the file said, as readSource gives them.
    const formats::KvtmlRead read = formats::readKvtml(platform::textOfUtf8(utf8));
    if (read.error) {
        checked.rejection = read.error;
        return checked;
    }
    const LineLayout englishFirst{layout.separator, 0};
    for (qsizetype i = 0; i < read.entries.size(); ++i) {
        const formats::KvtmlEntry& entry = read.entries[i];
        if (entry.english.isEmpty() || entry.japanese.isEmpty()) {
            ++checked.skipped;
            continue;
        }
        const QByteArray english = entry.english.toUtf8(), japanese = entry.japanese.toUtf8();
        if (std::optional<QString> rejection =
                checkCells({english, japanese}, englishFirst, i + 1)) {
            // The line check names a line; here the place is the entry's.
            const QString line = QString::number(i + 1) + QStringLiteral("行目: ");
            checked.rejection = QString::number(i + 1) + QStringLiteral("番目の単語: ") +
                                rejection->sliced(rejection->startsWith(line) ? line.size() : 0);
            return checked;
        }
        store::appendSavedLine(checked.savedForm, english, japanese);
        ++checked.lines;
    }
    if (checked.lines == 0)
        checked.rejection =
            QStringLiteral("kvtmlファイルに英語と日本語の両方がそろった単語がありません。");
    return checked;
}

CheckedText checkSource(QByteArray utf8, LineLayout layout, SourceFormat format) {
    switch (format) {
    case SourceFormat::Csv:
        return checkCsv(std::move(utf8), layout);
    case SourceFormat::Kvtml:
        return checkKvtml(utf8, layout);
    case SourceFormat::Lines:
        break;
    }
    return checkText(std::move(utf8), layout);
}

} // namespace importer
