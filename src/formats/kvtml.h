// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QtGlobal>
#include <optional>

// The XML files of KWordQuiz and Parley, versions 1 (<e> with <o> and <t>) and 2 (<entry> with
// <translation> and <text>).
namespace formats {

struct KvtmlEntry {
    QByteArray english; // the text of the English identifier in UTF-8, line breaks as spaces
    QByteArray japanese;
};

struct KvtmlRead {
    QList<KvtmlEntry> entries;    // every entry, in file order, a side empty where it has none
    std::optional<QString> error; // why the file is no kvtml, in Japanese
};

// The English side is the identifier whose locale or name says English ("en", "en_US",
// "English", any case), the Japanese side the one that says Japanese ("ja", "Japanese",
// "日本語"); otherwise the first identifier is English and the second Japanese. No DTD or
// external entity is ever fetched; a file that declares entities, or nests elements deeper
// than any kvtml does, is refused. The bytes are UTF-8, whatever encoding the file declares.
KvtmlRead readKvtml(QByteArrayView utf8);

// A kvtml 2.0 file with the identifiers "en" and "ja", as KWordQuiz and Parley open it, written
// in pieces: the head, each entry (numbered from 0, its sides in UTF-8), then the tail.
QByteArray kvtmlHead(const QString& title);
void appendKvtmlEntry(QByteArray& out, qsizetype id, QByteArrayView english,
                      QByteArrayView japanese);
QByteArrayView kvtmlTail();

} // namespace formats
