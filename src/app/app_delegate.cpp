// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/app_delegate.h"

#include "store/locations.h"

QUrl& words_lists_url() {
    static QUrl url = QUrl::fromLocalFile(store::listFolderPath());
    return url;
}
