// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "setup/list_deletion.h"

#include "app/app_delegate.h"
#include "platform/diagnostics.h"
#include "store/list_folder.h"
#include "store/locations.h"

namespace setup {

void deleteSelected(AppDelegate& delegate, SetupScreen& screen,
                    const ConfirmDelete& confirmDelete) {
    delegate.SELECTED_ITEM = screen.selectedItem();
    if (delegate.SELECTED_ITEM.isEmpty())
        return;
    const bool yes = confirmDelete(delegate.SELECTED_ITEM);
    if (!yes || !store::isListFileName(delegate.WORDS_LIST_FOR_GAME))
        return;
    const platform::Status removed =
        store::deleteEntry(words_lists_url().toLocalFile(), delegate.SELECTED_ITEM);
    if (!removed.ok) {
        platform::diagnostic(removed.error);
        return;
    }
    screen.items.removeAt(screen.selectedIndex);
    screen.selectedIndex = -1;
    screen.preview.clear();
}

} // namespace setup
