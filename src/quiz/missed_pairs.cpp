// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "quiz/missed_pairs.h"

#include "app/app_delegate.h"
#include "import/import_run.h"
#include "quiz/quiz_engine.h"
#include "store/list_file.h"
#include "store/locations.h"

#include <QUrl>

namespace quiz {

SaveReport saveMissedPairs(AppDelegate& state, QuizEngine& quiz) {
    const QList<qint64>& missed = quiz.missedPairs();
    QByteArray savedForm;
    for (const qint64 i : missed)
        store::appendSavedLine(savedForm, state.english_words.value(i).toUtf8(),
                               state.japanese_words.value(i).toUtf8());
    const QString base = store::listNameOf(QUrl(state.WORDS_LIST_FOR_GAME).fileName()).toString();
    const QString name = base.isEmpty() ? QString() : base + QStringLiteral("_復習");

    const store::SavedList saved = store::saveNewList(savedForm, name, state.COUNT);
    if (saved.kind != store::SavedList::Kind::Saved)
        return {importer::errorTitle(), store::saveFailureText(saved.kind)};
    quiz.setMissedSaved();
    const QString title = QStringLiteral("保存完了");
    if (saved.completion == store::Completion::MoveRefused)
        return {title, importer::completionText(saved.completion, saved.number, name)};
    return {title, QStringLiteral("間違えた%1単語を「%2」として保存しました。")
                       .arg(QString::number(missed.size()), saved.fileName)};
}

} // namespace quiz
