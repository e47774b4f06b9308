// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

struct AppDelegate;

namespace quiz {

// What the alert after a save says.
struct SaveReport {
    QString title;
    QString text;
};

// Saves the pairs at these indices of the word arrays, in this order, as a new list in the
// store, named after the list on play with "_復習" before ".txt" (fruit.txt gives
// fruit_復習.txt); a taken or unusable name leaves the generated one. The counter and the
// output are those of an import's save.
SaveReport saveMissedPairs(AppDelegate& state, const QList<qint64>& missed);

} // namespace quiz
