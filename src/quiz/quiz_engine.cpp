// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "quiz/quiz_engine.h"

#include "app/app_delegate.h"
#include "platform/diagnostics.h"
#include "platform/platform.h"

namespace quiz {

namespace {

QString number(qint64 value) {
    return QString::number(value);
}

} // namespace

QuizEngine::QuizEngine(AppDelegate& delegate) : delegate_(delegate) {}

void QuizEngine::start() {
    mode_ = answerModeOf(delegate_.ANSWER_MODE);
    platform::diagnostic(number(delegate_.LINE_INDEX));
    state_.own_line_index = delegate_.LINE_INDEX;
    delegate_.ANSWER_VALUE.clear();
    state_.last_problems = delegate_.LINE_INDEX;
    texts_.Last_words = number(state_.count + 1) + u'/' + number(state_.last_problems);
    if (state_.own_line_index > 0)
        delegate_.ANSWER_VALUE.reserve(state_.own_line_index);
    for (qint64 i = 1; i <= state_.own_line_index; ++i) {
        delegate_.ANSWER_VALUE.append(1);
        platform::diagnosticNumber(i);
    }
    next_problem();
}

void QuizEngine::press(ArrowKey key) {
    if (mode_ != AnswerMode::Arrows && !(key == ArrowKey::Up && state_.next_lap_lock)) {
        announcement_.clear();
        return;
    }
    act(key);
}

bool QuizEngine::awaitingAnswer() const {
    const QuizState& s = state_;
    return mode_ != AnswerMode::Arrows && !s.next_lap_lock && !s.all_arrows_lock && !s.down_arrow &&
           answerable();
}

void QuizEngine::answerTyped(const QString& typed) {
    if (mode_ != AnswerMode::Typed || !awaitingAnswer() || typed.trimmed().isEmpty())
        return;
    const QString right = delegate_.english_words.value(state_.count);
    grade(sameAnswer(typed, right), typed, spelledOut(typed, right));
}

void QuizEngine::choose(qsizetype index) {
    if (mode_ != AnswerMode::Choice || !awaitingAnswer() || index < 0 || index >= choices_.size())
        return;
    chosen_ = index;
    grade(index == rightChoice(), choices_[index], {});
}

void QuizEngine::grade(bool right, const QString& given, const QString& spelling) {
    act(ArrowKey::Down);
    verdict_ = right;
    if (right) {
        texts_.Answer_result = QStringLiteral("正解");
        announcement_ = texts_.Answer_result;
        return;
    }
    texts_.Answer_result = QStringLiteral("不正解: ") + given;
    announcement_ = QStringLiteral("不正解 ") + texts_.Lower_words;
    if (!spelling.isEmpty()) {
        texts_.Answer_result += u'\n' + spelling;
        announcement_ += u' ' + spelling;
    }
}

void QuizEngine::goOn() {
    if (!verdict_)
        return;
    const ArrowKey counted = *verdict_ ? ArrowKey::Right : ArrowKey::Left;
    verdict_.reset();
    chosen_ = -1;
    texts_.Answer_result.clear();
    act(counted);
}

qsizetype QuizEngine::rightChoice() const {
    return choices_.indexOf(answerOf(state_.count));
}

void QuizEngine::act(ArrowKey key) {
    QuizState& s = state_;
    announcement_.clear();
    switch (key) {
    case ArrowKey::Down:
        if (s.next_lap_lock || s.all_arrows_lock)
            return;
        // The answer is the side that is not asked. value() keeps a list shorter than
        // LINE_INDEX (never loaded so) from reading past its end.
        texts_.Lower_words = answerOf(s.count);
        s.down_arrow = true;
        announcement_ = texts_.Lower_words;
        return;
    case ArrowKey::Left:
        if (!s.down_arrow || !answerable())
            return;
        delegate_.ANSWER_VALUE[s.count] = 1;
        s.count += 1;
        s.mistakes_count += 1;
        s.down_arrow = false;
        platform::diagnostic(QStringLiteral("miscount") + number(s.mistakes_count));
        texts_.Last_words = progressText();
        next_problem();
        return;
    case ArrowKey::Right:
        if (!s.down_arrow || !answerable())
            return;
        delegate_.ANSWER_VALUE[s.count] = 0;
        s.correct_count += 1;
        s.count += 1;
        texts_.Last_words = progressText();
        s.down_arrow = false;
        next_problem();
        return;
    case ArrowKey::Up:
        // Not tested against next_lap_lock: at a lap start count is 0, so ↑ starts the
        // lap; inside a lap it shows pair 0 again while pair 0 is the one on screen.
        if (s.count != 0 || s.all_arrows_lock)
            return;
        s.up_arrow_lock = true;
        texts_.Last_words = progressText();
        next_problem();
        return;
    }
}

void QuizEngine::next_problem() {
    QuizState& s = state_;
    // Pairs answered → in an earlier lap are passed over; each is passed at most once a lap.
    for (;;) {
        if (s.count >= s.own_line_index) {
            closeLap();
            return;
        }
        if (delegate_.ANSWER_VALUE[s.count] == 1) {
            showPair();
            return;
        }
        s.count += 1;
    }
}

void QuizEngine::showPair() {
    state_.next_lap_lock = false;
    texts_.Lower_words.clear();
    texts_.Upper_words.clear();
    texts_.Upper_info.clear();
    texts_.Lower_info = QStringLiteral("↓");
    texts_.Upper_words = asksJapanese() ? delegate_.japanese_words.value(state_.count)
                                        : delegate_.english_words.value(state_.count);
    announcement_ = texts_.Upper_words;
    if (mode_ == AnswerMode::Arrows)
        return;
    // ↓ reveals nothing here: the answer does.
    texts_.Lower_info.clear();
    if (mode_ == AnswerMode::Typed)
        texts_.Upper_info = QStringLiteral("英語で入力してください");
    else
        choices_ = choicesFor(asksJapanese() ? delegate_.english_words : delegate_.japanese_words,
                              state_.count, platform::randomBelow);
}

void QuizEngine::closeLap() {
    QuizState& s = state_;
    choices_.clear();
    if (s.lap_count == 1)
        for (qint64 i = 0; i < s.own_line_index; ++i)
            if (delegate_.ANSWER_VALUE[i] == 1)
                missed_.append(i);
    if (s.last_problems != 0)
        texts_.Last_words =
            number(s.correct_count * 100 / s.last_problems) + QStringLiteral("%正解");
    s.last_problems = s.mistakes_count;
    s.lap_count += 1;
    s.count = 0;
    s.mistakes_count = 0;
    s.correct_count = 0;
    texts_.Upper_words = u'\n' + number(s.lap_count) + QStringLiteral("周目");
    texts_.Lower_words = QStringLiteral("スタート");
    texts_.Upper_info = QStringLiteral("↑");
    texts_.Lower_info.clear();
    s.next_lap_lock = true;
    s.up_arrow_lock = false;
    if (s.last_problems == 0) {
        // A lap without ← ends the study: the end banner replaces the lap's.
        texts_.Upper_words = QStringLiteral("\n学習");
        texts_.Lower_words = QStringLiteral("終了");
        texts_.Upper_info.clear();
        texts_.Lower_info.clear();
        texts_.Last_words.clear();
        s.lap_count = 1;
        s.own_line_index = 0;
        s.all_arrows_lock = true;
    }
    // The banner's line break only places it on screen; the result is said after it.
    announcement_ = QStringList{texts_.Upper_words.trimmed(), texts_.Lower_words, texts_.Last_words}
                        .join(u' ')
                        .trimmed();
}

QString QuizEngine::gradingHint() const {
    if (verdict_)
        return QStringLiteral("Enterで次へ");
    return state_.down_arrow && mode_ == AnswerMode::Arrows
               ? QStringLiteral("← 知らない / → 知っている")
               : QString();
}

QString QuizEngine::answerOf(qint64 i) const {
    return asksJapanese() ? delegate_.english_words.value(i) : delegate_.japanese_words.value(i);
}

QString QuizEngine::progressText() const {
    return number(answeredInLap() + 1) + u'/' + number(state_.last_problems);
}

// down_arrow is only ever true on a pair of the quiz; this also holds for a key pressed
// before start(), which has no pairs yet.
bool QuizEngine::answerable() const {
    return state_.count < delegate_.ANSWER_VALUE.size();
}

// Only 0 and 1 are ever set; anything but 1 asks the English side, as 0 does, unless the
// English word is typed.
bool QuizEngine::asksJapanese() const {
    return delegate_.PLAYING_TYPE == 1 || mode_ == AnswerMode::Typed;
}

} // namespace quiz
