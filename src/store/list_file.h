// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/platform.h"

#include <QString>
#include <QStringView>
#include <QtGlobal>

// List files: the saved form is one pair a line, English half, "$", Japanese half, "\n".
namespace store {

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
struct Pair {
    QStringView english;
    QStringView japanese;
};
Pair splitPair(QStringView line);

} // namespace store
