// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "bench_context.h"
#include "rows.h"

#include "app/app_delegate.h"
#include "quiz/quiz_engine.h"

#include <algorithm>
#include <chrono>
#include <vector>

namespace bench {

namespace {

using Clock = std::chrono::steady_clock;

// Laps over a million pairs: lap 1 misses every 1000th pair, lap 2 (1000 pairs, each found by
// next_problem passing over about a thousand answered ones) misses every 10th of those, lap 3
// (100 pairs, about ten thousand apart) answers all and ends the study.
constexpr qint64 lap1MissEvery = 1000;
constexpr qint64 lap2MissEvery = 10;

} // namespace

Row quizKeyRow() {
    Row row;
    row.figure = QStringLiteral("one quiz key, 1,000,000 pairs (3 laps, sparse laps 2 and 3)");
    row.unit = Unit::Microseconds;
    row.target = Target::below(10e-6);
    row.measure = [](Context&) {
        AppDelegate delegate;
        delegate.english_words.reserve(millionLines);
        delegate.japanese_words.reserve(millionLines);
        for (qint64 i = 0; i < millionLines; ++i) {
            delegate.english_words.append(QStringLiteral("word ") + QString::number(i));
            delegate.japanese_words.append(QStringLiteral("単語") + QString::number(i));
        }
        delegate.LINE_INDEX = millionLines;

        std::vector<double> keys;
        size_t lapOneKeys = 0;
        keys.reserve(size_t(2 * millionLines + 4000));
        quiz::QuizEngine engine(delegate);
        {
            const StdoutToDevNull silence;
            engine.start();
            const auto press = [&](quiz::ArrowKey key) {
                const Clock::time_point before = Clock::now();
                engine.press(key);
                keys.push_back(std::chrono::duration<double>(Clock::now() - before).count());
            };
            qint64 lap = 1;
            while (!engine.finished()) {
                const qint64 asked = engine.pairsInLap();
                for (qint64 i = 0; i < asked; ++i) {
                    press(quiz::ArrowKey::Down);
                    const bool miss = (lap == 1 && i % lap1MissEvery == 0) ||
                                      (lap == 2 && i % lap2MissEvery == 0);
                    press(miss ? quiz::ArrowKey::Left : quiz::ArrowKey::Right);
                }
                if (engine.finished())
                    break;
                if (++lap > 3)
                    fail(QStringLiteral("the quiz did not end after lap 3"));
                if (lap == 2)
                    lapOneKeys = keys.size();
                press(quiz::ArrowKey::Up);
            }
        }
        const size_t expected = size_t(2 * (millionLines + millionLines / lap1MissEvery +
                                            millionLines / lap1MissEvery / lap2MissEvery) +
                                       2);
        if (keys.size() != expected)
            fail(QStringLiteral("the quiz took %1 keys, not %2").arg(keys.size()).arg(expected));
        const double worst = *std::max_element(keys.begin(), keys.end());
        // The keys whose next_problem passes over many answered pairs.
        const double worstSparse =
            *std::max_element(keys.begin() + ptrdiff_t(lapOneKeys), keys.end());
        const double median = quantileOf(keys, 0.5);
        const double p999 = quantileOf(keys, 0.999);
        return Figure{median, std::nullopt,
                      QStringLiteral("median of %1 keys; 99.9%: %2 µs; worst %3 µs; worst in "
                                     "laps 2-3: %4 µs")
                          .arg(keys.size())
                          .arg(p999 * 1e6, 0, 'f', 2)
                          .arg(worst * 1e6, 0, 'f', 1)
                          .arg(worstSparse * 1e6, 0, 'f', 1)};
    };
    return row;
}

Row typedAnswerRow() {
    Row row;
    row.figure = QStringLiteral("one typed answer checked, 1,000,000 pairs");
    row.unit = Unit::Microseconds;
    row.target = Target::below(10e-6);
    row.measure = [](Context&) {
        constexpr qint64 checked = 200'000;
        AppDelegate delegate;
        delegate.english_words.reserve(millionLines);
        delegate.japanese_words.reserve(millionLines);
        for (qint64 i = 0; i < millionLines; ++i) {
            delegate.english_words.append(QStringLiteral("take care of ") + QString::number(i));
            delegate.japanese_words.append(QStringLiteral("世話をする") + QString::number(i));
        }
        delegate.LINE_INDEX = millionLines;
        delegate.ANSWER_MODE = 1;

        std::vector<double> checks;
        checks.reserve(size_t(checked));
        qint64 wrong = 0;
        quiz::QuizEngine engine(delegate);
        {
            const StdoutToDevNull silence;
            engine.start();
            for (qint64 i = 0; i < checked; ++i) {
                const QString right = delegate.english_words[engine.state().count];
                const QString typed = i % 10 == 9
                                          ? QStringLiteral("take car of ") + QString::number(i)
                                          : QStringLiteral(" Take  Care of ") + right.mid(13);
                const Clock::time_point before = Clock::now();
                engine.answerTyped(typed);
                checks.push_back(std::chrono::duration<double>(Clock::now() - before).count());
                wrong += engine.texts().Answer_result.startsWith(QStringLiteral("不正解"));
                engine.goOn();
            }
        }
        if (wrong != checked / 10)
            fail(QStringLiteral("%1 answers were wrong, not %2").arg(wrong).arg(checked / 10));
        const double worst = *std::max_element(checks.begin(), checks.end());
        const double median = quantileOf(checks, 0.5);
        const double p999 = quantileOf(checks, 0.999);
        return Figure{median, std::nullopt,
                      QStringLiteral("median of %1 checks, 1 in 10 a near miss; 99.9%: %2 µs; "
                                     "worst %3 µs")
                          .arg(checks.size())
                          .arg(p999 * 1e6, 0, 'f', 2)
                          .arg(worst * 1e6, 0, 'f', 1)};
    };
    return row;
}

} // namespace bench
