// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "import/line_check.h"

#include "platform/text.h"
#include "store/list_file.h"

#include <algorithm>

namespace importer {

namespace {

// A line cut at its separators, as far as the check needs it: the first two parts, how many
// parts there are (capped at 3), and whether a "$" stands in the first two.
struct LineParts {
    int count = 1;
    QByteArrayView first;
    QByteArrayView second;
    bool dollar = false;
};

// How many bytes the line's first character (extended grapheme cluster) takes in UTF-8, as
// far as the check needs it: 0, 1, or 2 for "more than one". A first byte outside ASCII
// begins a code point outside ASCII, and two ASCII code points in a row never form one
// cluster, so only an ASCII byte followed by one that is not needs the segmentation rules.
qsizetype firstCharacterWidth(QByteArrayView line) {
    if (line.isEmpty())
        return 0;
    if (static_cast<unsigned char>(line[0]) >= 0x80)
        return 2;
    if (line.size() == 1 || static_cast<unsigned char>(line[1]) < 0x80)
        return 1;
    return platform::firstGraphemeUtf8Length(platform::textOfUtf8(line));
}

// Whether a line begins with English or Japanese is told by how wide its first character is
// in UTF-8: one byte for plain ASCII, more for anything else.
bool beginsAsOrdered(qsizetype width, qint64 sequenceCode) {
    return sequenceCode == 1 ? width > 1 : width == 1;
}

// An empty half would give a blank card.
bool accepts(QByteArrayView line, const LineParts& parts, qint64 sequenceCode) {
    return parts.count == 2 && !parts.dollar && !parts.first.isEmpty() && !parts.second.isEmpty() &&
           beginsAsOrdered(firstCharacterWidth(line), sequenceCode);
}

// Why a line was rejected. Rejections are rare and end the pass, so only here is a line
// decoded.
QString rejectionMessage(QByteArrayView line, const LineParts& parts, LineLayout layout,
                         qint64 lineNumber) {
    // One pass of arg() over several values: a "%1" inside the line stays as it is.
    const QString number = QString::number(lineNumber);
    const qsizetype width = firstCharacterWidth(line);
    if (width > 0 && !beginsAsOrdered(width, layout.sequenceCode))
        return QStringLiteral("%1行目: 日本語と英語の順番が正しくありません。").arg(number);
    const QString text = platform::textOfUtf8(line);
    // Two parts in the right order are refused for a "$", which would split the saved line
    // in the wrong place when it is read back, and then for an empty half.
    if (parts.count == 2 && parts.dollar)
        return QStringLiteral("%1行目: %2 には使用できない文字「$」が含まれています。")
            .arg(number, text);
    if (parts.count == 2)
        return QStringLiteral("%1行目: %2 には英語か日本語が入っていません。").arg(number, text);
    if (parts.count >= 3)
        return QStringLiteral("%1行目: %2 には2つ以上の%3が含まれています。")
            .arg(number, text,
                 layout.separator == '\t' ? QStringLiteral("タブ")
                                          : QString(QLatin1Char(layout.separator)));
    return QStringLiteral("%1行目: %2 は正しいフォーマットに基づいて書かれていません。")
        .arg(number, text);
}

bool endsWithTerminator(QByteArrayView text) {
    return text.endsWith('\n') || text.endsWith('\r') || text.endsWith("\xC2\x85") ||
           text.endsWith("\xE2\x80\xA8") || text.endsWith("\xE2\x80\xA9");
}

} // namespace

CheckedText checkText(QByteArray text, LineLayout layout) {
    // Locals, not the layout and the result: the compiler must assume that a byte written to
    // the saved form may change anything reached through a reference.
    const char separator = layout.separator;
    const qint64 sequenceCode = layout.sequenceCode;
    qint64 lines = 0;
    Q_ASSERT(static_cast<unsigned char>(separator) < 0x80 && separator != '$');
    CheckedText checked;
    // The saved form is written over the text itself, never ahead of the line being read: a
    // saved line is as long as its line and its line end. A text of tens of megabytes is then
    // neither copied nor allocated twice. A last line gets its line end first, so that its
    // saved line fits too.
    if (!text.isEmpty() && !endsWithTerminator(text))
        text.append('\n');
    char* const begin = text.data();
    const char* const end = begin + text.size();
    char* out = begin;
    char* lineStart = begin;
    char* firstSeparator = nullptr;
    char* secondSeparator = nullptr;
    bool dollar = false; // a "$" before the second separator
    // Saves the line that ends at lineEnd at out, unless it is rejected.
    const auto checkLine = [&](char* lineEnd) {
        const QByteArrayView line(lineStart, lineEnd);
        LineParts parts{1, line, {}, dollar};
        if (firstSeparator)
            parts = {
                secondSeparator ? 3 : 2, QByteArrayView(lineStart, firstSeparator),
                QByteArrayView(firstSeparator + 1, secondSeparator ? secondSeparator : lineEnd),
                dollar};
        if (!accepts(line, parts, sequenceCode)) {
            checked.rejection = rejectionMessage(line, parts, layout, lines + 1);
            return false;
        }
        if (sequenceCode != 0) {
            // Japanese first: "J,E" becomes "E,J", by turning the line twice.
            char* const english = firstSeparator + 1;
            std::rotate(lineStart, english, lineEnd); // "EJ,"
            firstSeparator = lineStart + (lineEnd - english);
            std::rotate(firstSeparator, lineEnd - 1, lineEnd); // "E,J"
        }
        out = store::writeSavedLine(out, QByteArrayView(lineStart, firstSeparator),
                                    QByteArrayView(firstSeparator + 1, lineEnd));
        ++lines;
        firstSeparator = nullptr;
        secondSeparator = nullptr;
        dollar = false;
        return true;
    };

    // One scan of the whole text for the bytes that matter: line ends, separators and "$".
    platform::forEachOf(
        begin, end,
        [&](const char* found) {
            char* const at = begin + (found - begin);
            if (at < lineStart) // the LF of a CR LF
                return true;
            const char c = *at;
            if (c == separator) {
                if (!firstSeparator)
                    firstSeparator = at;
                else if (!secondSeparator)
                    secondSeparator = at;
                return true;
            }
            if (c == '$') {
                dollar = dollar || !secondSeparator;
                return true;
            }
            const qsizetype length = platform::terminatorLengthAt(at, end);
            if (length == 0)
                return true;
            if (!checkLine(at))
                return false;
            lineStart = at + length;
            return true;
        },
        '\n', '\r', '\xC2', '\xE2', separator, '$');
    text.truncate(out - begin);
    checked.savedForm = std::move(text);
    checked.lines = lines;
    return checked;
}

std::optional<QString> checkCells(std::span<const QByteArrayView> cells, LineLayout layout,
                                  qint64 lineNumber) {
    const QByteArrayView first = cells.empty() ? QByteArrayView() : cells[0];
    const QByteArrayView second = cells.size() < 2 ? QByteArrayView() : cells[1];
    const LineParts parts{int(qMin(cells.size(), size_t(3))), first, second,
                          first.contains('$') || second.contains('$')};
    // The line is joined only for a rejection: a pair that can be accepted begins with its
    // first cell, whose first character the separator never joins, so the check sees the
    // same first character in either.
    if (accepts(first, parts, layout.sequenceCode))
        return std::nullopt;
    QByteArray line;
    for (const QByteArrayView cell : cells)
        line.append(cell).append(layout.separator);
    line.chop(1);
    return rejectionMessage(line, parts, layout, lineNumber);
}

} // namespace importer
