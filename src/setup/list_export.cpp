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
#include <QStringEncoder>

#include <utility>

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

platform::Status exportList(QStringView savedForm, ExportType type, const QString& path) {
    // The file is made and written a piece at a time, each piece from so many characters of
    // the list: a million pairs then never stand whole in memory a second and third time, and
    // the buffers, used again and again, stay in the processor's caches.
    constexpr qsizetype pieceCharacters = 64 * 1024;
    QStringEncoder encoder(QStringEncoder::Utf8);
    QByteArray utf8, out;
    qsizetype done = 0, entry = 0;
    bool begun = false, ended = false;
    // Lines and pairs are cut in the UTF-8 bytes: a million pairs then cost no string each.
    const auto appendPair = [&](const char* from, const char* to) {
        const store::PairOf<QByteArrayView> pair = store::splitPair(QByteArrayView(from, to));
        const QByteArrayView cells[] = {pair.english, pair.japanese};
        switch (type) {
        case ExportType::Csv:
            formats::appendCsvRecord(out, cells, ',', "\r\n");
            break;
        case ExportType::Text:
            // Quoted where needed, as Anki writes and reads its notes.
            formats::appendCsvRecord(out, cells, '\t', "\n");
            break;
        case ExportType::Kvtml:
            formats::appendKvtmlEntry(out, entry++, pair.english, pair.japanese);
            break;
        }
    };
    const auto appendLines = [&](QStringView lines) {
        utf8.resize(encoder.requiredSpace(lines.size()));
        utf8.truncate(encoder.appendToBuffer(utf8.data(), lines) - utf8.constData());
        const char* const end = utf8.constEnd();
        const char* lineStart = utf8.constBegin();
        platform::forEachOf(
            lineStart, end,
            [&](const char* at) {
                const qsizetype length = at < lineStart ? 0 : platform::terminatorLengthAt(at, end);
                if (length > 0) {
                    appendPair(lineStart, at);
                    lineStart = at + length;
                }
                return true;
            },
            '\n', '\r', '\xC2', '\xE2');
        if (lineStart < end)
            appendPair(lineStart, end);
    };
    const auto nextPiece = [&]() -> QByteArrayView {
        out.resize(0); // keeps its room
        if (!std::exchange(begun, true)) {
            if (type == ExportType::Csv)
                out.append(
                    "\xEF\xBB\xBF"); // Excel takes a file without it for the locale's code page
            else if (type == ExportType::Text)
                out.append("#separator:tab\n#html:false\n");
            else
                out.append(formats::kvtmlHead(QFileInfo(path).completeBaseName()));
        }
        if (done < savedForm.size()) {
            // Whole lines only: a piece ends after a line feed.
            const qsizetype feed = savedForm.indexOf(u'\n', done + pieceCharacters);
            const qsizetype end = feed < 0 ? savedForm.size() : feed + 1;
            appendLines(savedForm.sliced(done, end - done));
            done = end;
        } else if (!std::exchange(ended, true) && type == ExportType::Kvtml) {
            out.append(formats::kvtmlTail());
        }
        return out;
    };
    const platform::Status written = store::writeExportedList(path, nextPiece);
    if (!written.ok)
        platform::diagnostic(written.error);
    return written;
}

} // namespace setup
