// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "quiz/pronunciation.h"

#include "app/app_delegate.h"

namespace quiz {

std::optional<QString> speakableWord(const AppDelegate& delegate, const QuizEngine& engine) {
    const QuizState& s = engine.state();
    if (s.next_lap_lock || s.all_arrows_lock || s.count >= s.own_line_index)
        return std::nullopt;
    const QString english = delegate.english_words.value(s.count);
    // The word is heard only where it is read: as the question, or as the revealed answer
    // (↑ on the first pair hides the answer again).
    const QString& shown =
        engine.asksJapanese() ? engine.texts().Lower_words : engine.texts().Upper_words;
    if (english.trimmed().isEmpty() || shown != english)
        return std::nullopt;
    return english;
}

std::optional<QString> AutomaticSpeech::next(const AppDelegate& delegate,
                                             const QuizEngine& engine) {
    std::optional<QString> word = speakableWord(delegate, engine);
    std::optional<Showing> now;
    if (word)
        now = Showing{engine.state().lap_count, engine.state().count, engine.answeredInLap()};
    const bool appeared = now && now != onScreen_;
    onScreen_ = now;
    if (!appeared || !delegate.SPEAK_AUTOMATICALLY)
        return std::nullopt;
    return word;
}

} // namespace quiz
