// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <random>

namespace bench {

// How a source file for the import lays out its pairs.
struct SourceLayout {
    QChar separator = u',';
    bool englishFirst = true;
};

// Makes word pairs that look like a learner's list: one to three English words from the
// system dictionary (a built-in set where there is none) and a Japanese meaning of kana and
// kanji. Each half stays within a few dozen bytes, neither ever holds a separator or "$",
// and every English half begins with an ASCII letter, so every line passes the import's check.
// The same seed gives the same pairs.
class WordListGenerator {
public:
    explicit WordListGenerator(quint64 seed = 1);

    QString nextEnglish();
    QString nextJapanese();

    // lines pairs as an import source file, each line ended by "\n".
    QByteArray sourceText(qint64 lines, SourceLayout layout);
    // lines pairs in the saved form: english + "$" + japanese + "\n".
    QByteArray savedText(qint64 lines);

private:
    qsizetype below(qsizetype bound);

    QStringList englishWords_;
    std::mt19937_64 random_;
};

} // namespace bench
