// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/platform.h"

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

// list folder + "/" + name + ".txt", joined as text, one trailing ".txt" of the name (in any
// case) dropped first; an empty string when the name holds a NUL. Whether the path stays in
// the list folder is for the move to judge.
QString namedListPath(const QString& name);

// Makes sure the list folder exists. Any entry of that name counts as present; otherwise one
// folder is created (the home folder itself never).
platform::Status ensureListFolder();

} // namespace store
