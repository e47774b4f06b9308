// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "setup/setup_screen.h"

#include <QString>
#include <functional>

struct AppDelegate;

// Deleting the selected entry of the current folder after the user confirmed it.
namespace setup {

// confirmDelete asks the user about SELECTED_ITEM; true when the answer is yes.
using ConfirmDelete = std::function<bool(const QString& selectedItem)>;

// SELECTED_ITEM becomes the selected name. With no item selected nothing else happens (the
// user is not even asked). Otherwise, after a yes and only when the last load targeted a
// ".txt" file (WORDS_LIST_FOR_GAME), the entry is removed from the folder (only inside the
// store's list folder, never through a link) and from the combo box, and the preview is
// emptied; a failed removal is printed and changes nothing. The loaded pairs, the count
// and the start button stay as they are.
void deleteSelected(AppDelegate& delegate, SetupScreen& screen, const ConfirmDelete& confirmDelete);

} // namespace setup
