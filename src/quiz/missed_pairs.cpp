// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "quiz/missed_pairs.h"

#include "app/app_delegate.h"
#include "import/import_run.h"
#include "quiz/quiz_engine.h"
#include "store/locations.h"

#include <QUrl>

namespace quiz {

SaveReport saveMissedPairs(AppDelegate& state, QuizEngine& quiz) {
    const QList<qint64>& missed = quiz.missedPairs();
    QByteArray savedForm;
    for (const qint64 i : missed)
        savedForm += state.english_words.value(i).toUtf8() + '$' +
                     state.japanese_words.value(i).toUtf8() + '\n';
    QString base = QUrl(state.WORDS_LIST_FOR_GAME).fileName();
    if (base.endsWith(QStringLiteral(".txt"), Qt::CaseInsensitive))
        base.chop(4);
    const QString name = base.isEmpty() ? QString() : base + QStringLiteral("_復習");

    const importer::ImportOutcome outcome = importer::saveList(savedForm, name, state);
    if (outcome.kind != importer::ImportOutcome::Kind::Completed)
        return {importer::errorTitle(), importer::outcomeText(outcome)};
    quiz.setMissedSaved();
    const QString title = QStringLiteral("保存完了");
    if (outcome.completion == importer::Completion::MoveRefused)
        return {title, importer::outcomeText(outcome)};
    const QString fileName = outcome.completion == importer::Completion::Named
                                 ? name + QStringLiteral(".txt")
                                 : store::unnamedListFileName(outcome.number);
    return {title, QStringLiteral("間違えた%1単語を「%2」として保存しました。")
                       .arg(QString::number(missed.size()), fileName)};
}

} // namespace quiz
