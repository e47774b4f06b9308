// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "setup/folder_listing.h"

#include "app/app_delegate.h"
#include "platform/diagnostics.h"
#include "platform/platform.h"
#include "store/locations.h"

namespace setup {

namespace {

// Lists the current folder into wordsLists; on failure prints why and keeps wordsLists.
bool listCurrentFolder(QStringList& wordsLists) {
    platform::Result<QStringList> listed = platform::listFolder(words_lists_url().toLocalFile());
    if (!listed.ok) {
        platform::diagnostic(listed.error);
        return false;
    }
    wordsLists = std::move(listed.value);
    return true;
}

} // namespace

void listOnViewLoad(SetupScreen& screen, QStringList& wordsLists) {
    screen.pathText = platform::locationText(words_lists_url());
    platform::diagnostic(screen.pathText);
    if (listCurrentFolder(wordsLists))
        screen.items += wordsLists;
    screen.selectedIndex = -1;
}

void listDefaultFolder(SetupScreen& screen, QStringList& wordsLists) {
    screen.items.clear();
    words_lists_url() = QUrl::fromLocalFile(store::listFolderPath());
    if (listCurrentFolder(wordsLists))
        platform::diagnostic(platform::nameListLine(wordsLists));
    screen.pathText = platform::locationText(words_lists_url());
    screen.items += wordsLists;
    screen.selectedIndex = -1;
}

void listChosenFolder(SetupScreen& screen, QStringList& wordsLists,
                      const std::optional<QUrl>& chosen) {
    if (!chosen || chosen->isEmpty())
        return;
    words_lists_url() = *chosen;
    screen.pathText = platform::locationText(words_lists_url());
    platform::diagnostic(screen.pathText);
    screen.items.clear();
    if (listCurrentFolder(wordsLists))
        screen.items += wordsLists;
    screen.selectedIndex = -1;
}

} // namespace setup
