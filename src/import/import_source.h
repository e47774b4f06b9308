#pragma once

#include <QString>

// Reading the file the user chose to import.
namespace importer {

struct SourceRead {
    enum class Kind {
        Text,       // text holds the file's text (a leading byte-order mark dropped)
        Unreadable, // the file could not be read at all
        NotUtf8,    // the bytes are not UTF-8 and not Shift_JIS either
        ShiftJis,   // not UTF-8, but text holds the file decoded cleanly as Shift_JIS
    };
    Kind kind = Kind::Unreadable;
    QString text;
    QString description; // why the file could not be read as UTF-8
};

// Reads the whole file. A failure's description goes to standard output.
SourceRead readSource(const QString& path);

// What the "ERROR!" alert says about a file that was not read as UTF-8 (empty for Text).
QString sourceAlertText(SourceRead::Kind kind);

// The second button offered for a Shift_JIS file.
QString shiftJisButtonTitle();

} // namespace importer
