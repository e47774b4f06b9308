// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "setup/setup_screen.h"

#include <QString>
#include <QUrl>

struct AppDelegate;

// Loading the selected list of the current folder for play (the action behind
// Words_list_determined_button).
namespace setup {

// The file an entry name stands for: the folder joined with the name as one more path
// component; an empty name leaves the folder itself.
QString entryPath(const QUrl& folder, const QString& name);

// The count text for n pairs: "全" + n + "単語".
QString wordCountText(qint64 count);

// Reads the selected entry of the current folder into english_words and japanese_words,
// one pair a line, counts them into LINE_INDEX, shows its text and count, and shuffles the
// pairs when SHUFFLE is on. SELECTED_ITEM and WORDS_LIST_FOR_GAME name the entry even when
// it cannot be read; the start button ends enabled exactly when the file could be read.
// Prints WORDS_LIST_FOR_GAME, each failed read's description and, before each line,
// LINE_INDEX.
void loadSelectedList(AppDelegate& delegate, SetupScreen& screen);

} // namespace setup
