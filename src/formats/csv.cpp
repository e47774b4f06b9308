// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "formats/csv.h"

namespace formats {

std::optional<CsvError> readCsv(QByteArrayView text, char separator,
                                const CsvRecordVisitor& visit) {
    const char* p = text.data();
    const char* const end = p + text.size();
    const auto endsCell = [&](const char* at) {
        return at == end || *at == separator || *at == '\r' || *at == '\n';
    };
    qint64 line = 1;
    // One buffer for the cells of a record, kept from record to record: a million records
    // then allocate nothing.
    QByteArray buffer;
    QList<qsizetype> ends;
    QList<QByteArrayView> cells;
    while (p < end) {
        const qint64 recordLine = line;
        buffer.clear();
        ends.clear();
        for (;;) {
            if (p < end && *p == '"') {
                for (++p;; ++p) {
                    if (p == end)
                        return CsvError{recordLine,
                                        QStringLiteral("「\"」で始まるセルが閉じられていません。")};
                    if (*p == '"') {
                        if (p + 1 == end || p[1] != '"')
                            break;
                        ++p;
                    } else if (*p == '\r' || *p == '\n') {
                        if (*p == '\r' && p + 1 < end && p[1] == '\n')
                            ++p;
                        ++line;
                        buffer.append(' ');
                        continue;
                    }
                    buffer.append(*p);
                }
                if (!endsCell(++p))
                    return CsvError{recordLine,
                                    QStringLiteral("「\"」で囲まれたセルの後に文字があります。")};
            } else {
                const char* const start = p;
                while (!endsCell(p))
                    ++p;
                buffer.append(start, p - start);
            }
            ends.append(buffer.size());
            if (p == end || *p != separator)
                break;
            ++p;
        }
        if (p < end) {
            p += (*p == '\r' && p + 1 < end && p[1] == '\n') ? 2 : 1;
            ++line;
        }
        cells.clear();
        qsizetype from = 0;
        for (const qsizetype to : std::as_const(ends)) {
            cells.append(QByteArrayView(buffer.constData() + from, to - from));
            from = to;
        }
        if (!visit(recordLine, cells))
            break;
    }
    return std::nullopt;
}

void appendCsvRecord(QByteArray& out, const QList<QByteArrayView>& cells, char separator,
                     QByteArrayView lineEnd) {
    for (qsizetype i = 0; i < cells.size(); ++i) {
        if (i > 0)
            out.append(separator);
        const QByteArrayView cell = cells[i];
        // A space at either end is kept by the reader, but a spreadsheet may trim it.
        const bool quoted = cell.contains(separator) || cell.contains('"') || cell.contains('\r') ||
                            cell.contains('\n') || cell.startsWith(' ') || cell.endsWith(' ');
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
