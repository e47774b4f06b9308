// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "store/list_folder.h"

#include "store/locations.h"

#include <cerrno>

namespace store {

platform::Status deleteEntry(const QString& folderPath, const QString& name) {
    const platform::Status removed =
        platform::removeEntryWithin(listFolderPath(), folderPath, name);
    if (removed.code == EXDEV)
        return platform::Status::failure(
            QStringLiteral("「%1」は単語リストのフォルダ「%2」の中にないため、削除できません")
                .arg(folderPath + u'/' + name, listFolderPath()),
            EXDEV);
    return removed;
}

} // namespace store
