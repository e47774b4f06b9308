#pragma once

#include "app/platform.h"

namespace app {

// Makes sure the store folder "words_lists" exists in the home folder. Any entry of that
// name counts as present; otherwise one folder is created (the home folder itself never).
platform::Status ensureListFolder();

// True when there is a display to open a window on: DISPLAY or WAYLAND_DISPLAY is set, or
// QT_QPA_PLATFORM names a platform explicitly (offscreen, for instance).
bool hasDisplay();

} // namespace app
