// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "quiz/answers.h"
#include "quiz/arrow_key.h"
#include "quiz/quiz_state.h"
#include "quiz/quiz_texts.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <optional>

struct AppDelegate;

namespace quiz {

// The quiz over the pairs loaded into the shared state, driven by arrow-key releases.
// Lap 1 asks every pair in list order; ↓ reveals the answer, ← marks it wrong and → right;
// each later lap asks, again in list order, the pairs answered ← in the lap before, and a
// lap without ← ends the study. It reads the word arrays and PLAYING_TYPE (at each show
// and reveal, so a change of the asked side applies at once) and writes only ANSWER_VALUE.
// Diagnostic lines go through platform::diagnostic; the caller flushes them.
//
// ANSWER_MODE, read at start(), may have the learner type the English word (the Japanese side
// is then asked whatever PLAYING_TYPE says) or choose among four instead of ← and →. A pair on
// show then waits for an answer; the answer reveals the right one as ↓ does and gives a
// verdict, and goOn() counts it as → or ← would and moves on, so laps, results and the missed
// pairs are the drill's own. The arrows do nothing then, but ↑ on a lap banner.
class QuizEngine {
public:
    explicit QuizEngine(AppDelegate& delegate);

    // Starts the quiz: every pair pending, pair 0 on show. Call once, before any key.
    void start();

    // One key release. Keys that do not fit the phase change nothing.
    void press(ArrowKey key);

    AnswerMode answerMode() const { return mode_; }
    // A pair is on show, typed or chosen, and not answered yet.
    bool awaitingAnswer() const;
    // An answer has been given and goOn() has not counted it yet.
    bool showingVerdict() const { return verdict_.has_value(); }
    // Checks the typed English word (mode 1). Nothing but spaces does nothing.
    void answerTyped(const QString& typed);
    // Picks choices()[index] (mode 2).
    void choose(qsizetype index);
    // Counts the answer given and moves on to the next pair or the lap's end.
    void goOn();
    // The possible answers of the pair on show (mode 2), the one picked (-1 before) and the
    // right one.
    const QStringList& choices() const { return choices_; }
    qsizetype chosen() const { return chosen_; }
    qsizetype rightChoice() const;
    // The Japanese side is asked: PLAYING_TYPE 1, or the English word is typed.
    bool asksJapanese() const;

    const QuizState& state() const { return state_; }
    const QuizTexts& texts() const { return texts_; }
    // What a screen reader should say after the last start() or press(): the new word, the
    // revealed answer, or the lap's banner with its result. Empty when nothing a learner
    // needs to hear changed (an ignored key); the arrow hints are never part of it.
    const QString& announcement() const { return announcement_; }
    // The keys that grade a revealed answer or go on after a verdict, while they count; empty
    // otherwise.
    QString gradingHint() const;

    // How far the current lap has gone: pairs answered in it, and pairs it asks.
    qint64 answeredInLap() const { return state_.correct_count + state_.mistakes_count; }
    qint64 pairsInLap() const { return state_.last_problems; }
    bool finished() const { return state_.all_arrows_lock; }
    // The pairs answered ← in the first lap (the ones asked again), in the order asked;
    // known once the first lap is over.
    const QList<qint64>& missedPairs() const { return missed_; }
    // The missed pairs can be saved once the study is over, until one save of them succeeds:
    // a second copy would only clutter the store.
    bool missedSavable() const { return finished() && !missed_.isEmpty() && !missedSaved_; }
    void setMissedSaved() { missedSaved_ = true; }

private:
    // Moves on from count to the next pending pair, or closes the lap at the list's end.
    void next_problem();
    // A key's rule, whatever the answer mode.
    void act(ArrowKey key);
    // Reveals the answer and keeps the verdict on what was typed or chosen (given).
    void grade(bool right, const QString& given, const QString& spelling);
    // The answer of pair i: the side not asked.
    QString answerOf(qint64 i) const;
    void showPair();
    void closeLap();

    // "answered + 1" over the pairs of the lap, as the key rules write it.
    QString progressText() const;
    bool answerable() const;

    AppDelegate& delegate_;
    QuizState state_;
    QuizTexts texts_;
    QString announcement_;
    QList<qint64> missed_;
    bool missedSaved_ = false;
    AnswerMode mode_ = AnswerMode::Arrows;
    std::optional<bool> verdict_; // right or not, until goOn()
    QStringList choices_;
    qsizetype chosen_ = -1;
};

} // namespace quiz
