// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "quiz/quiz_engine.h"

#include <QString>
#include <QtGlobal>
#include <optional>

struct AppDelegate;

namespace quiz {

// The English word of the pair in play while it is on screen, or nullopt. Asked English, it
// is on screen from the moment the pair is shown; asked Japanese (as when the English word is
// typed), only once ↓ or the answer has revealed it, because hearing it earlier would give the
// answer away. A banner has nothing to say.
std::optional<QString> speakableWord(const AppDelegate& delegate, const QuizEngine& engine);

// Says each English word by itself as it appears, when the learner asked for it
// (SPEAK_AUTOMATICALLY): on show when English is asked, on reveal when Japanese is.
class AutomaticSpeech {
public:
    // Call after the start and after every key: the word to say now, or nullopt. A word
    // appears when it comes on screen for a pair that was not on show just before, so ↓
    // pressed again, or ↑ showing the first pair again, says nothing more.
    std::optional<QString> next(const AppDelegate& delegate, const QuizEngine& engine);

private:
    // Which showing of a pair is on screen: its lap, its index and the answers before it.
    struct Showing {
        qint64 lap = 0;
        qint64 pair = 0;
        qint64 answered = 0;
        bool operator==(const Showing&) const = default;
    };
    std::optional<Showing> onScreen_;
};

} // namespace quiz
