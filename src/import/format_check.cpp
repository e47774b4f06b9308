// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "import/format_check.h"

#include "formats/csv.h"
#include "formats/kvtml.h"
#include "store/list_file.h"

#include <QHash>
#include <QRegularExpression>

#include <array>
#include <span>
#include <vector>

namespace importer {

namespace {

// Anki's headers at the top of its text export: "#key:value" lines.
struct AnkiHeaders {
    char separator = '\t';
    bool html = false;
    QList<qsizetype> skipped; // columns from 0
    qsizetype bodyStart = 0;  // where the first record begins
    qint64 lines = 0;         // how many header lines
};

std::optional<AnkiHeaders> ankiHeaders(QByteArrayView utf8) {
    static const QRegularExpression header(QStringLiteral("^#([a-z ]+):(.*)$"));
    AnkiHeaders headers;
    while (headers.bodyStart < utf8.size() && utf8[headers.bodyStart] == '#') {
        qsizetype end = utf8.indexOf('\n', headers.bodyStart);
        end = end < 0 ? utf8.size() : end;
        const QString line =
            QString::fromUtf8(utf8.sliced(headers.bodyStart, end - headers.bodyStart)).trimmed();
        const QRegularExpressionMatch match = header.match(line);
        if (!match.hasMatch())
            break;
        const QString key = match.captured(1), value = match.captured(2).trimmed();
        static const QHash<QString, char> names{{QStringLiteral("tab"), '\t'},
                                                {QStringLiteral("comma"), ','},
                                                {QStringLiteral("semicolon"), ';'},
                                                {QStringLiteral("pipe"), '|'},
                                                {QStringLiteral("space"), ' '}};
        if (key == u"separator")
            headers.separator = value.size() == 1 && value[0].unicode() < 0x80 && value != u"$"
                                    ? char(value[0].unicode())
                                    : names.value(value.toLower(), '\t');
        else if (key == u"html")
            headers.html = value.toLower() == u"true";
        else if (key.endsWith(u" column") && value.toInt() > 0)
            headers.skipped.append(value.toInt() - 1);
        headers.bodyStart = qMin(end + 1, utf8.size());
        ++headers.lines;
    }
    if (headers.lines == 0)
        return std::nullopt;
    return headers;
}

// A cell of HTML as the text it shows.
QString plainTextOfHtml(QString cell) {
    static const QRegularExpression space(QStringLiteral("<br\\s*/?>|</(div|p|li|tr|h[1-6])>"),
                                          QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression dropped(QStringLiteral("<[^>]*>|\\[sound:[^\\]]*\\]"));
    static const QRegularExpression entity(QStringLiteral("&(#[0-9]+|#[xX][0-9a-fA-F]+|[a-z]+);"));
    static const QHash<QString, QString> named{{QStringLiteral("amp"), QStringLiteral("&")},
                                               {QStringLiteral("lt"), QStringLiteral("<")},
                                               {QStringLiteral("gt"), QStringLiteral(">")},
                                               {QStringLiteral("quot"), QStringLiteral("\"")},
                                               {QStringLiteral("apos"), QStringLiteral("'")},
                                               {QStringLiteral("nbsp"), QStringLiteral(" ")}};
    cell.replace(space, QStringLiteral(" ")).replace(dropped, QString());
    QString text;
    qsizetype from = 0;
    for (const QRegularExpressionMatch& match : entity.globalMatch(cell)) {
        const QString name = match.captured(1);
        bool ok = false;
        const uint code = name.startsWith(u"#x", Qt::CaseInsensitive)
                              ? name.sliced(2).toUInt(&ok, 16)
                          : name.startsWith(u'#') ? name.sliced(1).toUInt(&ok)
                                                  : 0;
        const char32_t character = char32_t(code);
        text += QStringView(cell).sliced(from, match.capturedStart() - from);
        text += ok && code > 0 && code <= 0x10FFFF ? QString::fromUcs4(&character, 1)
                                                   : named.value(name, match.captured());
        from = match.capturedEnd();
    }
    text += QStringView(cell).sliced(from);
    return text;
}

} // namespace

SourceFormat formatOf(const QString& path, QByteArrayView utf8) {
    if (ankiHeaders(utf8))
        return SourceFormat::Anki;
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
    // The records are read through a view, and the text is made this check's own (copied, when
    // the screen keeps it too) only at the first saved line: a file of a gigabyte whose first
    // record is bad is then never copied. The view stays valid, as a copy leaves the old text
    // to whoever shares it.
    const QByteArrayView text(utf8);
    char* begin = nullptr;
    char* out = nullptr;
    const bool japaneseFirst = layout.sequenceCode != 0;
    QByteArray japanese; // Japanese first, the English cell is written over it
    const std::optional<formats::CsvError> error = formats::readCsv(
        text, layout.separator, [&](qint64 line, std::span<const QByteArrayView> cells) {
            checked.rejection = checkCells(cells, layout, line);
            if (checked.rejection)
                return false;
            if (!out)
                out = begin = utf8.data();
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
    const formats::KvtmlRead read = formats::readKvtml(utf8);
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
        if (std::optional<QString> rejection =
                checkCells(std::array<QByteArrayView, 2>{entry.english, entry.japanese},
                           englishFirst, i + 1)) {
            // The line check names a line; here the place is the entry's.
            const QString line = QString::number(i + 1) + QStringLiteral("行目: ");
            checked.rejection = QString::number(i + 1) + QStringLiteral("番目の単語: ") +
                                rejection->sliced(rejection->startsWith(line) ? line.size() : 0);
            return checked;
        }
        store::appendSavedLine(checked.savedForm, entry.english, entry.japanese);
        ++checked.lines;
    }
    if (checked.lines == 0)
        checked.rejection =
            QStringLiteral("kvtmlファイルに英語と日本語の両方がそろった単語がありません。");
    return checked;
}

CheckedText checkAnki(QByteArrayView utf8, LineLayout layout) {
    CheckedText checked;
    // Without headers, as Anki reads a file: tab-separated.
    const AnkiHeaders headers = ankiHeaders(utf8).value_or(AnkiHeaders());
    const LineLayout cellLayout{headers.separator, layout.sequenceCode};
    const bool japaneseFirst = layout.sequenceCode != 0;
    const std::optional<formats::CsvError> error = formats::readCsv(
        utf8.sliced(headers.bodyStart), headers.separator,
        [&](qint64 line, std::span<const QByteArrayView> all) {
            QList<QByteArray> kept;
            for (size_t i = 0; i < all.size(); ++i)
                if (!headers.skipped.contains(qsizetype(i)) && kept.size() < 2)
                    kept.append(headers.html ? plainTextOfHtml(QString::fromUtf8(all[i])).toUtf8()
                                             : all[i].toByteArray());
            const std::vector<QByteArrayView> cells(kept.begin(), kept.end());
            checked.rejection = checkCells(cells, cellLayout, headers.lines + line);
            if (checked.rejection)
                return false;
            store::appendSavedLine(checked.savedForm, cells[japaneseFirst], cells[!japaneseFirst]);
            ++checked.lines;
            return true;
        });
    if (error)
        checked.rejection =
            QString::number(headers.lines + error->line) + QStringLiteral("行目: ") + error->reason;
    return checked;
}

CheckedText checkSource(QByteArray utf8, LineLayout layout, SourceFormat format) {
    switch (format) {
    case SourceFormat::Csv:
        return checkCsv(std::move(utf8), layout);
    case SourceFormat::Kvtml:
        return checkKvtml(utf8, layout);
    case SourceFormat::Anki:
        return checkAnki(utf8, layout);
    case SourceFormat::Lines:
        break;
    }
    return checkText(std::move(utf8), layout);
}

} // namespace importer
