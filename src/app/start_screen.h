// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/platform.h"

namespace app {

// Makes sure the store folder "words_lists" exists in the home folder. Any entry of that
// name counts as present; otherwise one folder is created (the home folder itself never).
platform::Status ensureListFolder();

} // namespace app
