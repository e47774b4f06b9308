// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
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

// list folder + "/" + name + ".txt", joined as text; an empty string when the joined path,
// cleaned, leaves the list folder (a ".." component), or when the name holds a NUL.
QString namedListPath(const QString& name);

// True when path, cleaned, lies strictly inside the list folder.
bool isInsideListFolder(const QString& path);

} // namespace store
