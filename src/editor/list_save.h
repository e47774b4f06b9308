// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/platform.h"

#include <QByteArray>
#include <QString>

struct AppDelegate;

// Where an edited list comes from and how it is saved: a list of the store is replaced
// whole or not at all; a new list, or one from a folder outside the store, is saved as a
// new list of the store, numbered and named as an import saves.
namespace editor {

// The list being edited: none yet (a new list), or a file read at a moment.
struct EditedList {
    QString path;              // empty for a new list
    platform::FileStamp stamp; // the file as it was read or last saved
    bool inStore = true;       // the file really lies in the list folder
};

struct ListRead {
    bool ok = false;
    QByteArray savedForm; // valid UTF-8, without a byte-order mark
    EditedList list;
    QString error;
};
// Reads a list for editing; a file that is not UTF-8 is refused, since it could not be
// written back as it was.
ListRead readList(const QString& path);

// True when the file is no longer the one read or saved last: another program changed,
// replaced or removed it.
bool changedOnDisk(const EditedList& list);

struct SaveOutcome {
    enum class Kind {
        Replaced,   // the list's file holds the pairs now
        SavedAsNew, // a new list of the store holds them: list.path names it
        Failed,     // nothing changed on disk; message says why
    };
    Kind kind = Kind::Failed;
    QString message; // what the editor says
};

// Saves the pairs: replaces a list of the store, or saves a new list under the typed name
// (a list from outside the store under its own file name). On success list names the file
// saved, with its new stamp. Failures go to standard output too.
SaveOutcome saveList(EditedList& list, const QByteArray& savedForm, const QString& name,
                     AppDelegate& state);

// The name shown for a list: its file name, or empty for a new list.
QString listName(const EditedList& list);

} // namespace editor
