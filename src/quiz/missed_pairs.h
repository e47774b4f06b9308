// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

struct AppDelegate;

namespace quiz {

class QuizEngine;

// What the alert after a save says.
struct SaveReport {
    QString title;
    QString text;
};

// Saves the quiz's missed pairs, in the order asked, as a new list in the store, named after
// the list on play with "_復習" before ".txt" (fruit.txt gives fruit_復習.txt); a taken or
// unusable name leaves the generated one, and a taken one is reported as the import reports
// it. The counter and the output are those of an import's save. A save that succeeds marks
// the quiz's missed pairs saved.
SaveReport saveMissedPairs(AppDelegate& state, QuizEngine& quiz);

} // namespace quiz
