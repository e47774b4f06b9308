// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "setup/list_loading.h"

#include "app/app_delegate.h"
#include "platform/diagnostics.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "setup/shuffle.h"
#include "store/list_file.h"

namespace setup {

QString entryPath(const QUrl& folder, const QString& name) {
    QString path = folder.toLocalFile();
    if (name.isEmpty())
        return path;
    if (!path.endsWith(u'/'))
        path += u'/';
    return path + name;
}

QString wordCountText(qint64 count) {
    return QStringLiteral("全") + QString::number(count) + QStringLiteral("単語");
}

void loadSelectedList(AppDelegate& delegate, SetupScreen& screen) {
    screen.startEnabled = true;
    delegate.SELECTED_ITEM = screen.selectedItem();
    const QString target = entryPath(words_lists_url(), delegate.SELECTED_ITEM);
    delegate.WORDS_LIST_FOR_GAME = platform::locationText(target);
    platform::diagnostic(delegate.WORDS_LIST_FOR_GAME);

    // One read fills the preview and the pairs, so that they always agree. A failed read is
    // still reported once for each of them, as the load always printed it.
    const platform::Result<QString> read = platform::readUtf8(target);
    if (read.ok) {
        screen.preview = read.value;
    } else {
        platform::diagnostic(read.error);
        platform::diagnostic(read.error);
        screen.startEnabled = false;
    }

    // The previous pairs are all replaced. Their strings are written over rather than
    // freed and allocated again: for a list of a million pairs, freeing two million small
    // strings costs more than the rest of the load.
    delegate.LINE_INDEX = 0;
    QStringList& english = delegate.english_words;
    QStringList& japanese = delegate.japanese_words;
    const qsizetype reusable = qMin(english.size(), japanese.size());
    english.resize(reusable);
    japanese.resize(reusable);

    // Room for every pair at once, counted by the usual line end (a few lines ended
    // otherwise only grow the arrays as usual): growing them line by line moves a million
    // strings again and again.
    const qsizetype expected = read.value.count(u'\n') + 1;
    english.reserve(expected);
    japanese.reserve(expected);
    platform::forEachLine(read.value, [&](QStringView line) {
        platform::diagnosticNumber(delegate.LINE_INDEX);
        const store::Pair pair = store::splitPair(line);
        const qsizetype i = delegate.LINE_INDEX;
        if (i < reusable) {
            japanese[i].setUnicode(pair.japanese.data(), pair.japanese.size());
            english[i].setUnicode(pair.english.data(), pair.english.size());
        } else {
            japanese.append(pair.japanese.toString());
            english.append(pair.english.toString());
        }
        ++delegate.LINE_INDEX;
        return true;
    });
    english.resize(delegate.LINE_INDEX);
    japanese.resize(delegate.LINE_INDEX);

    screen.countText = wordCountText(delegate.LINE_INDEX);
    if (delegate.SHUFFLE)
        shuffle_words(delegate);
    // Four choices of one pair would be one choice, always right.
    screen.startBlocked.clear();
    if (screen.startEnabled && delegate.ANSWER_MODE == 2 && delegate.LINE_INDEX == 1) {
        screen.startEnabled = false;
        screen.startBlocked = QStringLiteral("4択で答えるには、単語が2つ以上入った単語リストが必要"
                                             "です。学習の設定で答え方を変えるか、"
                                             "別の単語リストを選んでください。");
    }
}

} // namespace setup
