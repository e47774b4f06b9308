// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <functional>

// The rules of answering by typing the English word or by choosing among four.
namespace quiz {

// How the learner answers, from ANSWER_MODE: 1 types the English word, 2 chooses among
// four; anything else keeps the arrow keys.
enum class AnswerMode { Arrows, Typed, Choice };
AnswerMode answerModeOf(qint64 field);

// Whether a typed answer is the right English word. Forgiven, on both sides alike: what
// NFKC folds (the full-width letters of a Japanese input method), case, spaces at either end
// and runs of spaces, and one final ".", "!" or "?". Nothing else.
bool sameAnswer(const QString& typed, const QString& right);

// The right word spelled out letter by letter, each letter the typed answer misses or has
// otherwise between 【】, words apart with "／": read aloud too, it says where the typing
// went wrong ("a p 【p】 l e" for "aple").
QString spelledOut(const QString& typed, const QString& right);

// A uniformly drawn integer in 0 .. bound - 1 (bound at least 1).
using RandomBelow = std::function<quint64(quint64)>;

// The choices for the pair at index right of answers: its answer and up to three others of the
// list, drawn at random among the pairs, with distinct texts none equal to the right one (fewer
// when the list has fewer distinct answers), in random order.
QStringList choicesFor(const QStringList& answers, qsizetype right, const RandomBelow& randomBelow);

} // namespace quiz
