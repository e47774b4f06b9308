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
    QByteArray out;
    QList<formats::KvtmlEntry> entries;
    switch (type) {
    case ExportType::Csv:
        out = "\xEF\xBB\xBF"; // Excel takes a file without it for the locale's code page
        break;
    case ExportType::Text:
        out = "#separator:tab\n#html:false\n";
        break;
    case ExportType::Kvtml:
        break;
    }
    platform::forEachLine(savedForm, [&](QStringView line) {
        const store::Pair pair = store::splitPair(line);
        const QByteArray english = pair.english.toUtf8(), japanese = pair.japanese.toUtf8();
        switch (type) {
        case ExportType::Csv:
            formats::appendCsvRecord(out, {english, japanese}, ',', "\r\n");
            break;
        case ExportType::Text:
            // Quoted where needed, as Anki writes and reads its notes.
            formats::appendCsvRecord(out, {english, japanese}, '\t', "\n");
            break;
        case ExportType::Kvtml:
            entries.append({pair.english.toString(), pair.japanese.toString()});
            break;
        }
        return true;
    });
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
