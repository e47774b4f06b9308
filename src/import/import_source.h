// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>

// Reading the file the user chose to import.
namespace importer {

struct SourceRead {
    enum class Kind {
        Text,       // utf8 holds the file's bytes, valid UTF-8 (a leading byte-order mark dropped)
        Unreadable, // the file could not be read at all
        NotUtf8,    // the bytes are not UTF-8 and not Shift_JIS either
        ShiftJis,   // not UTF-8, but the file decodes cleanly as Shift_JIS: utf8 holds its text
        Utf16,      // UTF-16 with its byte-order mark (Notepad's "Unicode"): utf8 holds its text
    };
    Kind kind = Kind::Unreadable;
    QByteArray utf8;    // the text to import, in UTF-8: the import works on the bytes
    QString diagnostic; // what standard output is to say of a failure, empty for none
};

// Reads the whole file. It touches nothing shared, so that a big file can be read on a thread
// of its own.
SourceRead readSource(const QString& path);

// What the "ERROR!" alert says about a file that was not read as UTF-8 (empty for Text).
QString sourceAlertText(SourceRead::Kind kind);

// The second button of the alert, which reads the file in the encoding found (empty when
// there is none to offer).
QString offeredEncodingButtonTitle(SourceRead::Kind kind);

} // namespace importer
