// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "quiz/arrow_key.h"

#include <Qt>

namespace quiz {

std::optional<ArrowKey> arrowKeyFor(int qtKey) {
    switch (qtKey) {
    case Qt::Key_Left:
        return ArrowKey::Left;
    case Qt::Key_Right:
        return ArrowKey::Right;
    case Qt::Key_Down:
        return ArrowKey::Down;
    case Qt::Key_Up:
        return ArrowKey::Up;
    default:
        return std::nullopt;
    }
}

} // namespace quiz
