// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "setup/list_export.h"

#include "formats/csv.h"
#include "formats/kvtml.h"
#include "platform/diagnostics.h"
#include "platform/text.h"
#include "store/list_file.h"
#include "store/locations.h"

#include <QFileInfo>

namespace setup {

namespace {

const QString endings[] = {QStringLiteral(".csv"), QStringLiteral(".txt"),
                           QStringLiteral(".kvtml")};

} // namespace

QStringList exportFilters() {
    return {QStringLiteral("CSV (Excel) (*.csv)"),
            QStringLiteral("テキスト（Anki・Quizlet） (*.txt)"),
            QStringLiteral("KWordQuiz・Parley (*.kvtml)")};
}

QString exportFileName(const QString& listFileName, ExportType type) {
    return store::listNameOf(listFileName).toString() + endings[int(type)];
}

QByteArray exportedList(QStringView savedForm, ExportType type, const QString& title) {
    // Lines and pairs are cut in the UTF-8 bytes: a million pairs then cost no string each.
    const QByteArray utf8 = savedForm.toUtf8();
    QByteArray out;
    // Room for a few quotes a line at once: growing a buffer of tens of megabytes step by step
    // copies it again and again.
    if (type != ExportType::Kvtml)
        out.reserve(utf8.size() + utf8.size() / 4 + 64);
    QList<formats::KvtmlEntry> entries;
    if (type == ExportType::Csv)
        out = "\xEF\xBB\xBF"; // Excel takes a file without it for the locale's code page
    else if (type == ExportType::Text)
        out = "#separator:tab\n#html:false\n";
    const auto pairLine = [&](const char* from, const char* to) {
        const store::PairOf<QByteArrayView> pair = store::splitPair(QByteArrayView(from, to));
        switch (type) {
        case ExportType::Csv:
            formats::appendCsvRecord(out, {pair.english, pair.japanese}, ',', "\r\n");
            break;
        case ExportType::Text:
            // Quoted where needed, as Anki writes and reads its notes.
            formats::appendCsvRecord(out, {pair.english, pair.japanese}, '\t', "\n");
            break;
        case ExportType::Kvtml:
            entries.append({QString::fromUtf8(pair.english), QString::fromUtf8(pair.japanese)});
            break;
        }
    };
    const char* const end = utf8.constEnd();
    const char* lineStart = utf8.constBegin();
    platform::forEachOf(
        lineStart, end,
        [&](const char* at) {
            const qsizetype length = at < lineStart ? 0 : platform::terminatorLengthAt(at, end);
            if (length > 0) {
                pairLine(lineStart, at);
                lineStart = at + length;
            }
            return true;
        },
        '\n', '\r', '\xC2', '\xE2');
    if (lineStart < end)
        pairLine(lineStart, end);
    return type == ExportType::Kvtml ? formats::writeKvtml(entries, title) : out;
}

platform::Status exportList(QStringView savedForm, ExportType type, const QString& path) {
    const QString title = QFileInfo(path).completeBaseName();
    const platform::Status written =
        store::writeExportedList(path, exportedList(savedForm, type, title));
    if (!written.ok)
        platform::diagnostic(written.error);
    return written;
}

} // namespace setup
