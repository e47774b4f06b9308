// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QtGlobal>
#include <functional>
#include <optional>
#include <span>

// Cells as spreadsheets write them (RFC 4180), with any one-byte separator: a cell in double
// quotes may hold the separator, a doubled quote and line breaks; records end at CR, LF or
// CR LF.
namespace formats {

// One record: the line it begins on (from 1) and its cells, the quotes around a cell removed,
// a doubled quote as one and each line break inside a cell as one space.
using CsvRecordVisitor = std::function<bool(qint64 line, std::span<const QByteArrayView> cells)>;

// Why a text is no CSV: the line on which the bad record begins, and the reason.
struct CsvError {
    qint64 line = 0;
    QString reason;
};

// Calls visit for each record of the text, in order, until it returns false. A line end at
// the very end starts no record; an empty line is a record of one empty cell. Stops at the
// first record whose quotes are wrong (a quote never closed, or text after a closing quote)
// or that holds a NUL byte.
std::optional<CsvError> readCsv(QByteArrayView text, char separator, const CsvRecordVisitor& visit);

// Appends one record: each cell quoted where it needs it (it holds the separator, a quote,
// CR or LF, or begins or ends with a space), the cells joined by the separator, then
// lineEnd.
void appendCsvRecord(QByteArray& out, std::span<const QByteArrayView> cells, char separator,
                     QByteArrayView lineEnd);

} // namespace formats
