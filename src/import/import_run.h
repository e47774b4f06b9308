// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "import/line_check.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <optional>

struct AppDelegate;

// One import from text to a saved list: the pass over the lines, the numbering, the write,
// the counter and the typed name. The screen runs the file panel and the read before it and
// shows the result after it.
namespace importer {

enum class Completion {
    Unnamed,      // no name typed: the list keeps its generated name
    MoveRefused,  // a list of the typed name exists already
    NameUnusable, // the typed name leads out of the list folder, or cannot name a file
    Named,        // the list carries the typed name
};

struct ImportOutcome {
    enum class Kind {
        NothingToReport,   // no text, or a text without lines
        Rejected,          // a line was rejected; its message has been shown already
        CounterUnparsable, // count.txt holds no number: nothing saved
        NumberOverflow,    // no next list number: nothing saved
        WriteFailed,       // the list or the counter could not be written
        Completed,         // saved; completion, number and name say how
    };
    Kind kind = Kind::NothingToReport;
    QString rejection;
    Completion completion = Completion::Unnamed;
    qint64 number = 0;
    QString name;
};

// Runs the import on the text read (nullopt when nothing was read: then nothing at all
// changes). A rejected line is shown through showRejection before the pass discards what
// it gathered. Descriptions of failures and the saved form go to standard output.
ImportOutcome runImport(const std::optional<QString>& text, const QString& name, AppDelegate& state,
                        const RejectionAlert& showRejection);

// runImport on text in valid UTF-8 without a byte-order mark (as readSource gives it): the
// pass works on the bytes and writes them, with the same outcome, messages, shared state and
// output as runImport on the decoded text.
ImportOutcome runImportUtf8(const std::optional<QByteArray>& utf8, const QString& name,
                            AppDelegate& state, const RejectionAlert& showRejection);

// The informative text of the completion box.
QString completionText(Completion completion, qint64 number, const QString& name);

// The text of the alert that reports the outcome: the completion text, the "ERROR!" text of
// a store failure, or empty when there is nothing (more) to show.
QString outcomeText(const ImportOutcome& outcome);

// The message texts of the two boxes.
QString completionTitle();
QString errorTitle();

} // namespace importer
