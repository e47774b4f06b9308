// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "word_list_generator.h"

#include <QFile>

namespace bench {

namespace {

constexpr qsizetype maxEnglishBytes = 40;
constexpr int maxJapaneseChars = 8; // at most 24 bytes in UTF-8

// Plain lower-case words only: they begin with ASCII and hold no separator or "$".
QStringList dictionaryWords() {
    QStringList words;
    QFile file(QStringLiteral("/usr/share/dict/words"));
    if (file.open(QIODevice::ReadOnly)) {
        while (!file.atEnd()) {
            const QByteArray word = file.readLine().trimmed();
            bool plain = !word.isEmpty() && word.size() <= 16;
            for (const char c : word)
                plain = plain && c >= 'a' && c <= 'z';
            if (plain)
                words.append(QString::fromLatin1(word));
        }
    }
    if (words.isEmpty())
        words = {QStringLiteral("apple"), QStringLiteral("book"),  QStringLiteral("take"),
                 QStringLiteral("care"),  QStringLiteral("river"), QStringLiteral("light"),
                 QStringLiteral("quiet"), QStringLiteral("stone"), QStringLiteral("winter")};
    return words;
}

const QString& japaneseCharacters() {
    static const QString characters =
        QStringLiteral("あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめも"
                       "やゆよらりるれろわをんがぎぐげござじずぜぞだでどばびぶべぼぱぴぷぺぽ"
                       "アイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモ"
                       "日本語本林檎気川石冬光静水火木金土山田人大小中上下時間手足目耳口心花"
                       "雨雪風空海道車電話学校先生友達家族読書食飲見聞言行来帰走歩考思知習");
    return characters;
}

} // namespace

WordListGenerator::WordListGenerator(quint64 seed)
    : englishWords_(dictionaryWords()), random_(seed) {}

qsizetype WordListGenerator::below(qsizetype bound) {
    return qsizetype(std::uniform_int_distribution<quint64>(0, quint64(bound) - 1)(random_));
}

QString WordListGenerator::nextEnglish() {
    // Mostly single words, now and then a phrase.
    const int words = below(10) < 7 ? 1 : int(below(2)) + 2;
    QString english = englishWords_.at(below(englishWords_.size()));
    for (int i = 1; i < words; ++i) {
        const QString& word = englishWords_.at(below(englishWords_.size()));
        if (english.size() + 1 + word.size() > maxEnglishBytes)
            break;
        english += u' ' + word;
    }
    return english;
}

QString WordListGenerator::nextJapanese() {
    const QString& characters = japaneseCharacters();
    const int length = int(below(maxJapaneseChars)) + 1;
    QString japanese;
    japanese.reserve(length);
    for (int i = 0; i < length; ++i)
        japanese += characters.at(below(characters.size()));
    return japanese;
}

QByteArray WordListGenerator::sourceText(qint64 lines, SourceLayout layout) {
    QString text;
    text.reserve(lines * 24);
    for (qint64 i = 0; i < lines; ++i) {
        const QString english = nextEnglish();
        const QString japanese = nextJapanese();
        text += layout.englishFirst ? english : japanese;
        text += layout.separator;
        text += layout.englishFirst ? japanese : english;
        text += u'\n';
    }
    return text.toUtf8();
}

QByteArray WordListGenerator::savedText(qint64 lines) {
    return sourceText(lines, SourceLayout{u'$', true});
}

} // namespace bench
