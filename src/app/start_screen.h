#pragma once

#include "app/platform.h"

namespace app {

// Makes sure the store folder "words_lists" exists in the home folder. Any entry of that
// name counts as present; otherwise one folder is created (the home folder itself never).
platform::Status ensureListFolder();

} // namespace app
