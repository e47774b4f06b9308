// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <QtGlobal>
#include <functional>

struct AppDelegate;

// The check of one line of a file being imported: it becomes a pair (and one line of the
// saved form) or it ends the import with a message naming the line.
namespace importer {

// True when the line examined last was accepted; false at start-up, at the start of every
// pass and after a rejected line.
extern bool IMPORT_OK;

struct LineDecision {
    bool accepted = false;
    QString english; // the parts of an accepted line
    QString japanese;
    QString message; // why a line was rejected
};

// The same decision with the parts as views into the line, for a pass that copies them
// straight into the saved form.
struct LineVerdict {
    bool accepted = false;
    QStringView english;
    QStringView japanese;
    QString message;
};

LineVerdict judgeLine(QStringView line, QStringView separator, qint64 sequenceCode,
                      qint64 lineNumber);

// judgeLine on a line of valid UTF-8 bytes, for a separator of one ASCII character: the same
// decision and message, with the parts as views into the bytes. Only a rejected line is
// decoded, to build its message.
struct Utf8LineVerdict {
    bool accepted = false;
    QByteArrayView english;
    QByteArrayView japanese;
    QString message;
};

Utf8LineVerdict judgeLineUtf8(QByteArrayView line, char separator, qint64 sequenceCode,
                              qint64 lineNumber);

// Decides one line from the line itself, the separator and the order (0 English first,
// 1 Japanese first). lineNumber (from 1) goes into the message.
LineDecision decideLine(QStringView line, QStringView separator, qint64 sequenceCode,
                        qint64 lineNumber);

// Shows a rejection to the user and returns when the user has dismissed it.
using RejectionAlert = std::function<void(const QString& message)>;

// Checks one line against SEPARATOR and the shared state's SEQUENCE_CODE and applies the
// outcome to the shared state: an accepted line is appended; a rejected one is shown first,
// then everything gathered so far is discarded. Returns false when the pass must stop.
bool checkLine(QStringView line, AppDelegate& state, const RejectionAlert& showRejection);

// checkLine for the import's pass, whose words live on only in the saved form: an accepted
// line is appended to formal_list and counted in LINE_INDEX, and the word arrays are left
// for the caller to fill once the pass is over (a million strings made and freed again
// would cost more than the rest of the import). A rejection is shown and discards exactly
// what checkLine discards.
bool checkLineForSave(QStringView line, AppDelegate& state, const RejectionAlert& showRejection);

// checkLineForSave on every line of a text in valid UTF-8 (as forEachLineUtf8 cuts it), in
// order, until one is rejected; the separator is one ASCII character. Accepted lines' saved
// form is appended to savedForm instead of formal_list. Before a rejection is shown,
// formal_list is given the saved form gathered so far (decoded), so that the alert sees the
// state checkLineForSave would leave; then both are discarded.
void checkLinesForSaveUtf8(QByteArrayView text, char separator, AppDelegate& state,
                           QByteArray& savedForm, const RejectionAlert& showRejection);

} // namespace importer
