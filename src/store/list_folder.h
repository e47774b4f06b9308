// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/platform.h"

#include <QString>

// Deleting an entry of the current words-list folder.
namespace store {

// Removes folder + "/" + name, but only where the folder really is the store's list folder
// or lies below it (as a sandboxed program may): never the list folder itself, never
// through a link at any depth (a link is removed, not its target), never an empty name.
platform::Status deleteEntry(const QString& folderPath, const QString& name);

} // namespace store
