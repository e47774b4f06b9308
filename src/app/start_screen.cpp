// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/start_screen.h"

#include "store/locations.h"

namespace app {

platform::Status ensureListFolder() {
    const QString folder = store::listFolderPath();
    if (platform::exists(folder))
        return platform::Status::success();
    return platform::createFolder(folder);
}

} // namespace app
