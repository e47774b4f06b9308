// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "import/format_check.h"
#include "import/line_check.h"
#include "store/list_file.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QtGlobal>

struct AppDelegate;

// One import from text to a saved list: the pass over the lines, the numbering, the write,
// the counter and the typed name. The screen runs the file panel and the read before it and
// shows the result after it.
namespace importer {

using store::Completion;

struct ImportOutcome {
    enum class Kind {
        NothingToReport, // no text, or a text without lines
        Rejected,        // a line was rejected: rejection says why
        NotSaved,        // the store could not save the list: saved.kind says why
        Completed,       // saved; saved and name say how
    };
    Kind kind = Kind::NothingToReport;
    QString rejection;
    store::SavedList saved;
    QString name;
    QString note; // added to the completion text for a file not read line by line
};

// Ends an import whose text checkSource checked, read as format says. Leaves in the shared state
// the number of lines accepted (LINE_INDEX) and as many empty entries in both word arrays, or
// nothing after a rejection; formal_list keeps the saved form only when the save fails.
// Descriptions of failures and the saved form go to standard output.
ImportOutcome finishImport(CheckedText checked, const QString& name, AppDelegate& state,
                           SourceFormat format = SourceFormat::Lines);

// The informative text of the completion box.
QString completionText(Completion completion, qint64 number, const QString& name);

// The text of the alert that reports the outcome: the completion text, the rejection, the
// "ERROR!" text of a store failure, or empty when there is nothing to show.
QString outcomeText(const ImportOutcome& outcome);

// The message texts of the two boxes.
QString completionTitle();
QString errorTitle();

} // namespace importer
