// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "import/line_check.h"

#include <QByteArrayView>
#include <QString>

// Files of other programs, read into pairs that each pass the line check.
namespace importer {

// How a chosen file is read.
enum class SourceFormat {
    Lines, // one pair a line, split at the separator
    Csv,   // a spreadsheet's cells (.csv or .tsv, in any case), the separator between them
    Kvtml, // KWordQuiz's and Parley's XML (.kvtml, in any case)
    Anki,  // Anki's text export, told by its "#key:value" headers whatever the file's name
};

SourceFormat formatOf(const QString& path, QByteArrayView utf8);

// The check of a text read as format says. It touches nothing shared, so that a big file can be
// checked on a thread of its own.
CheckedText checkSource(QByteArray utf8, LineLayout layout, SourceFormat format);

// The check of a spreadsheet's records, each a pair as the line check sees it and named by
// the line on which it begins: two cells, in the chosen order.
CheckedText checkCsv(QByteArray utf8, LineLayout layout);

// The check of a kvtml file's entries, each a pair as the line check sees it (English first,
// with the chosen separator) and named by its place: "N番目の単語: ". An entry with a side
// empty is skipped and counted; a file with no pair, or no kvtml at all, is rejected.
CheckedText checkKvtml(QByteArrayView utf8, LineLayout layout);

// The check of Anki's notes: the headers give the separator ("#separator:" tab, comma,
// semicolon, pipe, space or the character itself) and the columns to leave out ("#guid
// column:", "#notetype column:", "#deck column:", "#tags column:"); the first two columns left
// are the pair, in the chosen order, named by the line on which the record begins. With
// "#html:true" tags go, "<br>" and the ends of blocks become one space, entities are decoded
// and "[sound:…]" is dropped.
CheckedText checkAnki(QByteArrayView utf8, LineLayout layout);

} // namespace importer
