// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/platform.h"

#include <QString>
#include <QStringView>
#include <QtGlobal>

// Where the store keeps its files, all below the home folder asked at each call.
namespace store {

// home + "/words_lists"
QString listFolderPath();

// home + "/count.txt", beside the list folder, not inside it.
QString counterPath();

// "Words_list_" + n + ".txt"
QString unnamedListFileName(qint64 number);

// list folder + "/Words_list_" + n + ".txt"
QString unnamedListPath(qint64 number);

// The list name of a file name: without one trailing ".txt", in any case.
QStringView listNameOf(QStringView fileName);

// Whether a file name or location has the list files' ".txt" ending, in any case.
inline bool isListFileName(QStringView fileName) {
    return listNameOf(fileName).size() < fileName.size();
}

// list folder + "/" + listNameOf(name) + ".txt", joined as text; an empty string when the name
// holds a NUL. Whether the path stays in the list folder is for the move to judge.
QString namedListPath(const QString& name);

// Makes sure the list folder exists. Any entry of that name counts as present; otherwise one
// folder is created (the home folder itself never).
platform::Status ensureListFolder();

} // namespace store
