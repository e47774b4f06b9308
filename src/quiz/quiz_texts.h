// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

namespace quiz {

// What the quiz screen shows: each field holds the last text the quiz gave it.
struct QuizTexts {
    QString Upper_info;    // "↑" at a lap start
    QString Upper_words;   // the asked side, the lap banner or the end banner
    QString Lower_words;   // the revealed answer, "スタート" or "終了"
    QString Lower_info;    // "↓" while a pair is on screen
    QString Last_words;    // progress ("3/10"), the lap result ("66%正解") or nothing
    QString Key_detection; // never written
    QString Answer_result; // typed or chosen: "正解", or "不正解: " and what was answered
};

} // namespace quiz
