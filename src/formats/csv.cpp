// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "formats/csv.h"

#include "platform/text.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

namespace formats {

namespace {

// The quote that closes a quoted cell whose text begins at from: the first one not doubled;
// null when there is none.
const char* closingQuote(const char* from, const char* end) {
    for (;;) {
        const auto* quote = static_cast<const char*>(std::memchr(from, '"', size_t(end - from)));
        if (!quote || quote + 1 == end || quote[1] != '"')
            return quote;
        from = quote + 2;
    }
}

} // namespace

std::optional<CsvError> readCsv(QByteArrayView text, char separator,
                                const CsvRecordVisitor& visit) {
    const char* p = text.data();
    const char* const end = p + text.size();
    const auto endsCell = [&](const char* at) {
        return at == end || *at == separator || *at == '\r' || *at == '\n';
    };
    // Where the first of the bytes that end a run of a cell's text stands from `from` on (end
    // when none does), sixteen bytes a step: a million records are mostly cells to pass over.
    // A NUL ends a run too: no spreadsheet writes one, and no learner could type it.
    const auto firstOf = [end](const char* from, char a, char b, char c) {
        const char* found = end;
        platform::forEachOf(
            from, end,
            [&found](const char* at) {
                found = at;
                return false;
            },
            a, b, c, '\0');
        return found;
    };
    qint64 line = 1;
    // A cell is a view of the text, or of buffer where quotes were undone or line breaks
    // turned into spaces; buffer is kept from record to record, so that a million records
    // allocate nothing.
    struct Cell {
        bool inBuffer;
        qsizetype from, to;
    };
    QByteArray buffer;
    std::vector<Cell> spans;
    std::vector<QByteArrayView> cells;
    while (p < end) {
        const qint64 recordLine = line;
        buffer.truncate(0); // keeps its room
        const auto unclosed = [recordLine] {
            return CsvError{recordLine, QStringLiteral("「\"」で始まるセルが閉じられていません。")};
        };
        const auto nul = [recordLine] {
            return CsvError{recordLine,
                            QStringLiteral("セルに使用できない文字（NUL）が含まれています。")};
        };
        spans.clear();
        for (;;) {
            if (p < end && *p == '"') {
                const char* start = ++p;
                bool inBuffer = false;
                const qsizetype from = buffer.size();
                for (;;) {
                    p = firstOf(p, '"', '\r', '\n');
                    if (p == end)
                        return unclosed();
                    if (*p == '\0')
                        return nul();
                    const bool quote = *p == '"';
                    if (quote && (p + 1 == end || p[1] != '"'))
                        break;
                    // A doubled quote, or a line break: from here the cell is copied, once its
                    // closing quote is known to come; a quote never closed would have the
                    // rest of the file copied.
                    if (!inBuffer && !closingQuote(p, end))
                        return unclosed();
                    inBuffer = true;
                    buffer.append(start, p - start);
                    if (quote) {
                        buffer.append('"');
                        p += 2;
                    } else {
                        p += (*p == '\r' && p + 1 < end && p[1] == '\n') ? 2 : 1;
                        ++line;
                        buffer.append(' ');
                    }
                    start = p;
                }
                if (inBuffer) {
                    buffer.append(start, p - start);
                    spans.push_back({true, from, buffer.size()});
                } else {
                    spans.push_back({false, start - text.data(), p - text.data()});
                }
                if (!endsCell(++p))
                    return CsvError{recordLine,
                                    QStringLiteral("「\"」で囲まれたセルの後に文字があります。")};
            } else {
                const char* const start = p;
                p = firstOf(p, separator, '\r', '\n');
                if (p < end && *p == '\0')
                    return nul();
                spans.push_back({false, start - text.data(), p - text.data()});
            }
            if (p == end || *p != separator)
                break;
            ++p;
        }
        if (p < end) {
            p += (*p == '\r' && p + 1 < end && p[1] == '\n') ? 2 : 1;
            ++line;
        }
        cells.clear();
        for (const Cell& span : std::as_const(spans))
            cells.emplace_back(
                QByteArrayView((span.inBuffer ? buffer.constData() : text.data()) + span.from,
                               span.to - span.from));
        if (!visit(recordLine, cells))
            break;
    }
    return std::nullopt;
}

void appendCsvRecord(QByteArray& out, std::span<const QByteArrayView> cells, char separator,
                     QByteArrayView lineEnd) {
    bool first = true;
    for (const QByteArrayView cell : cells) {
        if (!std::exchange(first, false))
            out.append(separator);
        // A space at either end is kept by the reader, but a spreadsheet may trim it.
        const bool quoted = cell.startsWith(' ') || cell.endsWith(' ') ||
                            std::any_of(cell.begin(), cell.end(), [separator](char c) {
                                return c == separator || c == '"' || c == '\r' || c == '\n';
                            });
        if (!quoted) {
            out.append(cell);
            continue;
        }
        out.append('"');
        for (const char c : cell) {
            if (c == '"')
                out.append('"');
            out.append(c);
        }
        out.append('"');
    }
    out.append(lineEnd);
}

} // namespace formats
