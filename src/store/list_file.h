// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/platform.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <QtGlobal>
#include <functional>

// List files: the saved form is one pair a line, English half, "$", Japanese half, "\n".
namespace store {

// The saved form's one writer: writes the line of a pair at out and returns where it ends.
// The halves may lie in the same buffer at or after out, the English half first: an import
// rewrites its text into the saved form in place.
char* writeSavedLine(char* out, QByteArrayView english, QByteArrayView japanese);

// Appends the line of a pair to a saved form.
void appendSavedLine(QByteArray& savedForm, QByteArrayView english, QByteArrayView japanese);

struct ListWrite {
    enum class Kind {
        Written,        // number and path name the file written
        NumberOverflow, // every number up to the largest was taken: nothing written
        Failed,         // description says why: nothing written
    };
    Kind kind = Kind::Failed;
    qint64 number = 0;
    QString path;
    QString description;
};

// Writes the saved form atomically as "Words_list_N.txt", N from firstNumber upward: a file
// that already stands under a number is never written over, the next free number is taken.
ListWrite writeNewList(qint64 firstNumber, const QByteArray& savedForm);

// Moves a saved list to namedListPath(name). Fails, leaving the list where it is, when that
// file exists (Taken) or when the name cannot be used (Unusable): it leads out of the list
// folder, by ".." or through a link, its folder is missing, or it is no file name.
struct Naming {
    enum class Kind { Named, Taken, Unusable };
    Kind kind = Kind::Named;
    QString description; // why the name was refused
};
Naming nameList(const QString& listPath, const QString& name);

// One line of a list file: the text before the first "$" is the English half, the text
// between the first and the second "$" the Japanese half. A line without "$" is all English
// with an empty Japanese half, so the two halves always come in pairs.
template <typename View> struct PairOf {
    View english;
    View japanese;
};
using Pair = PairOf<QStringView>;
// For a list's text (QStringView) or its UTF-8 bytes (QByteArrayView).
template <typename View> PairOf<View> splitPair(View line) {
    const qsizetype first = line.indexOf('$');
    if (first < 0)
        return {line, View()};
    const qsizetype second = line.indexOf('$', first + 1);
    const qsizetype end = second < 0 ? line.size() : second;
    return {line.first(first), line.sliced(first + 1, end - first - 1)};
}

// How a new list got its name.
enum class Completion {
    Unnamed,      // no name given: the list keeps its generated name
    MoveRefused,  // a list of that name exists already
    NameUnusable, // the name leads out of the list folder, or cannot name a file
    Named,        // the list carries the name
};

struct SavedList {
    enum class Kind {
        Saved,             // number, completion and fileName say how
        CounterUnparsable, // count.txt holds no number: nothing saved
        NumberOverflow,    // no next list number: nothing saved
        WriteFailed,       // the list or the counter could not be written
    };
    Kind kind = Kind::WriteFailed;
    qint64 number = 0;
    Completion completion = Completion::Unnamed;
    QString fileName; // the saved list's file name in the list folder
};

// Saves a saved form as a new list: numbers it from the counter (count keeps the number read),
// prints and writes it, advances the counter and gives it the name, if any. Descriptions of
// failures go to standard output.
SavedList saveNewList(const QByteArray& savedForm, const QString& name, qint64& count);

// Writes a list taken out of the store to the file the user chose, whole or not at all,
// replacing what stood there; next gives the file's pieces in turn, then an empty one.
platform::Status writeExportedList(const QString& path,
                                   const std::function<QByteArrayView()>& next);

// What the "ERROR!" alert says about a save that failed (empty for Saved).
QString saveFailureText(SavedList::Kind kind);

} // namespace store
