// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "import/import_options.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QtGlobal>
#include <optional>
#include <span>

// The check of the lines of a file being imported: each becomes a pair (and one line of the
// saved form), until one is rejected with a message naming it.
namespace importer {

// What one pass over a text decided.
struct CheckedText {
    QByteArray savedForm;             // the saved form of the lines accepted: English half, "$",
                                      // Japanese half, "\n" a pair
    qint64 lines = 0;                 // lines accepted
    qint64 skipped = 0;               // entries left out for an empty side (kvtml)
    std::optional<QString> rejection; // why the first rejected line was rejected
};

// Checks every line of a text in valid UTF-8, in order, until one is rejected. Lines end at
// LF, CR, CR LF, U+0085, U+2028 and U+2029; a terminator at the very end starts no line. The
// saved form takes over the text's buffer: pass the text as an rvalue when it is not needed
// afterwards.
CheckedText checkText(QByteArray utf8, LineLayout layout);

// The same check for a pair whose cells a reader has cut itself (a spreadsheet's record, a
// kvtml entry), in the file's order: as the line of the cells joined by the separator, at
// line lineNumber. nullopt when it is accepted.
std::optional<QString> checkCells(std::span<const QByteArrayView> cells, LineLayout layout,
                                  qint64 lineNumber);

} // namespace importer
