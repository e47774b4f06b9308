// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "quiz/answers.h"

#include <QSet>
#include <vector>

namespace quiz {

namespace {

// Case folding can itself undo NFKC (and NFKC case), hence NFKC on both sides of it.
QString folded(const QString& text) {
    return text.normalized(QString::NormalizationForm_KC)
        .toCaseFolded()
        .normalized(QString::NormalizationForm_KC);
}

QString comparable(const QString& text) {
    QString form = folded(text).simplified();
    if (form.endsWith(u'.') || form.endsWith(u'!') || form.endsWith(u'?'))
        form.chop(1);
    return form;
}

// Beyond this many cells the alignment would cost more than a key may: no letter is marked.
constexpr qsizetype alignmentCells = 1'000'000;

// Which letters of right are matched by typed in a longest common subsequence.
std::vector<bool> matchedLetters(const QList<uint>& typed, const QList<uint>& right) {
    const size_t n = size_t(typed.size()), m = size_t(right.size());
    std::vector<bool> matched(m, false);
    if (qsizetype(n * m) > alignmentCells) {
        matched.assign(m, true);
        return matched;
    }
    // longest[i][j]: the longest common subsequence of typed[i..] and right[j..].
    std::vector<std::vector<int>> longest(n + 1, std::vector<int>(m + 1, 0));
    for (size_t i = n; i-- > 0;)
        for (size_t j = m; j-- > 0;)
            longest[i][j] = typed[qsizetype(i)] == right[qsizetype(j)]
                                ? longest[i + 1][j + 1] + 1
                                : std::max(longest[i + 1][j], longest[i][j + 1]);
    for (size_t i = 0, j = 0; i < n && j < m;) {
        if (typed[qsizetype(i)] == right[qsizetype(j)]) {
            matched[j] = true;
            ++i, ++j;
        } else if (longest[i + 1][j] >= longest[i][j + 1]) {
            ++i;
        } else {
            ++j;
        }
    }
    return matched;
}

} // namespace

AnswerMode answerModeOf(qint64 field) {
    return field == 1 ? AnswerMode::Typed : field == 2 ? AnswerMode::Choice : AnswerMode::Arrows;
}

bool sameAnswer(const QString& typed, const QString& right) {
    return comparable(typed) == comparable(right);
}

QString spelledOut(const QString& typed, const QString& right) {
    const QList<uint> shown = right.normalized(QString::NormalizationForm_KC).simplified().toUcs4();
    QList<uint> foldedRight;
    foldedRight.reserve(shown.size());
    for (const uint c : shown)
        foldedRight.append(QChar::toCaseFolded(c));
    QList<uint> foldedTyped;
    for (const uint c : typed.normalized(QString::NormalizationForm_KC).simplified().toUcs4())
        foldedTyped.append(QChar::toCaseFolded(c));
    const std::vector<bool> matched = matchedLetters(foldedTyped, foldedRight);
    QStringList letters;
    for (qsizetype j = 0; j < shown.size(); ++j) {
        const QString letter = shown[j] == u' ' ? QStringLiteral("／")
                                                : QStringView(QChar::fromUcs4(shown[j])).toString();
        letters.append(matched[size_t(j)] ? letter : u'【' + letter + u'】');
    }
    return letters.join(u' ');
}

QStringList choicesFor(const QStringList& answers, qsizetype right,
                       const RandomBelow& randomBelow) {
    constexpr qsizetype wanted = 4;
    if (right < 0 || right >= answers.size())
        return {};
    QStringList choices{answers[right]};
    const quint64 pairs = quint64(answers.size());
    // Pairs drawn at random find three other texts at once in a list of mostly distinct
    // answers, however long it is.
    for (int draw = 0; draw < 64 && choices.size() < wanted; ++draw) {
        const QString& other = answers[qsizetype(randomBelow(pairs))];
        if (!choices.contains(other))
            choices.append(other);
    }
    if (choices.size() < wanted) {
        // Few distinct answers, or bad luck: every text not chosen yet, each drawn once.
        QSet<QString> seen(choices.cbegin(), choices.cend());
        QStringList left;
        for (const QString& other : answers)
            if (!seen.contains(other)) {
                seen.insert(other);
                left.append(other);
            }
        while (choices.size() < wanted && !left.isEmpty())
            choices.append(left.takeAt(qsizetype(randomBelow(quint64(left.size())))));
    }
    for (qsizetype i = choices.size() - 1; i > 0; --i)
        choices.swapItemsAt(i, qsizetype(randomBelow(quint64(i + 1))));
    return choices;
}

} // namespace quiz
