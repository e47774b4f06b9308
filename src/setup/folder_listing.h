// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "setup/setup_screen.h"

#include <QStringList>
#include <QUrl>
#include <optional>

// The three ways the set-up screen lists the current words-list folder (words_lists_url).
// They differ in when the combo box is emptied, when the path text is set, what they print
// and what a failed listing leaves. wordsLists is the screen's WORDS_LISTS: the names of
// its last successful listing, changed by nothing else.
namespace setup {

// When the screen is first shown: path text, location on standard output, then the names
// of the current folder added to the combo box. A failed listing leaves the combo box as
// it was.
void listOnViewLoad(SetupScreen& screen, QStringList& wordsLists);

// Back to the home folder's "words_lists": empties the combo box, lists the folder (its
// names on standard output), sets the path text and adds the names of WORDS_LISTS, which
// after a failed listing are the previous listing's.
void listDefaultFolder(SetupScreen& screen, QStringList& wordsLists);

// Makes the chosen location the current folder and lists it; a failed listing leaves the
// combo box empty. Nothing changes when no location was chosen (the panel was cancelled).
void listChosenFolder(SetupScreen& screen, QStringList& wordsLists,
                      const std::optional<QUrl>& chosen);

} // namespace setup
