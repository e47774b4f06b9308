// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>

// The four keys the quiz listens to. Every other key means nothing to it.
namespace quiz {

enum class ArrowKey { Left, Right, Down, Up };

// The arrow key of a Qt key code (Qt::Key), or nullopt for any other key.
std::optional<ArrowKey> arrowKeyFor(int qtKey);

} // namespace quiz
