// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QtGlobal>

namespace quiz {

// The quiz's own fields, with the values every new quiz starts with.
struct QuizState {
    bool down_arrow = false;   // the answer is revealed: only then do ← and → count
    bool right_arrow = false;  // kept for completeness: no rule uses it
    bool left_arrow = false;   // likewise
    bool up_arrow = false;     // likewise
    bool up_arrow_lock = true; // set when ↑ is taken, cleared at each lap end; no rule tests it
    bool all_arrows_lock = false; // the study is finished: ↓ and ↑ are ignored
    bool next_lap_lock = false; // a lap has ended and ↑ has not started the next: ↓ is ignored
    qint64 count = 0;           // index of the current pair; back to 0 at each lap end
    qint64 lap_count = 1;       // number of the lap in progress
    qint64 own_line_index = 0;  // pairs in the quiz; a lap ends when count reaches it
    qint64 mistakes_count = 0;  // ← answers in this lap
    qint64 correct_count = 0;   // → answers in this lap
    qint64 last_problems = 0;   // pairs asked in this lap
};

} // namespace quiz
