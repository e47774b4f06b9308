// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "import/import_run.h"

#include "app/app_delegate.h"
#include "import/import_options.h"
#include "platform/text.h"
#include "store/list_file.h"
#include "store/locations.h"

namespace importer {

using Kind = ImportOutcome::Kind;

ImportOutcome finishImport(CheckedText checked, const QString& name, AppDelegate& state,
                           SourceFormat format) {
    state.formal_list.clear();
    if (checked.rejection) {
        state.LINE_INDEX = 0;
        state.english_words.clear();
        state.japanese_words.clear();
        ImportOutcome outcome;
        outcome.kind = Kind::Rejected;
        outcome.rejection = *checked.rejection;
        return outcome;
    }
    // The words themselves live on only in the saved file; the arrays keep one (empty) entry
    // per pair, one list shared by both: a million entries cost 24 MB to make.
    state.LINE_INDEX = checked.lines;
    state.english_words = QStringList(checked.lines, QString());
    state.japanese_words = state.english_words;
    if (checked.lines == 0)
        return {};
    ImportOutcome outcome;
    outcome.saved = store::saveNewList(checked.savedForm, name, state.COUNT);
    outcome.name = name;
    if (format != SourceFormat::Lines)
        outcome.note =
            QStringLiteral("\n%1単語を読み込みました。").arg(checked.lines) +
            (checked.skipped == 0 ? QString()
                                  : QStringLiteral("（片方が空の単語%1個は読み込みませんでした）")
                                        .arg(checked.skipped));
    if (outcome.saved.kind == store::SavedList::Kind::Saved) {
        outcome.kind = Kind::Completed;
        return outcome;
    }
    outcome.kind = Kind::NotSaved;
    // What was not saved stays in the shared state, as the pass left it.
    state.formal_list = platform::textOfUtf8(checked.savedForm);
    return outcome;
}

QString completionText(Completion completion, qint64 number, const QString& name) {
    const QString listName = store::unnamedListFileName(number);
    switch (completion) {
    case Completion::Unnamed:
        return QStringLiteral("単語リストの読み込みが完了しました。\n単語リスト名は") + listName +
               QStringLiteral("です。");
    case Completion::MoveRefused:
        return QStringLiteral("単語リストの読み込みが完了しましたが、同じファイル名の単語リストが"
                              "存在したため、") +
               listName + QStringLiteral("として読み込まれました。");
    case Completion::NameUnusable:
        return QStringLiteral("単語リストの読み込みが完了しました。\n単語リスト名「") + name +
               QStringLiteral("」は使えないため、") + listName +
               QStringLiteral("として読み込まれました。");
    case Completion::Named:
        return QStringLiteral("単語リストの読み込みが完了しました。\n単語リスト名は") + name +
               QStringLiteral("です。");
    }
    return {};
}

QString outcomeText(const ImportOutcome& outcome) {
    switch (outcome.kind) {
    case Kind::NothingToReport:
        return {};
    case Kind::Rejected:
        return outcome.rejection;
    case Kind::NotSaved:
        return store::saveFailureText(outcome.saved.kind);
    case Kind::Completed:
        return completionText(outcome.saved.completion, outcome.saved.number, outcome.name) +
               outcome.note;
    }
    return {};
}

QString completionTitle() {
    return QStringLiteral("読み込み完了");
}

QString errorTitle() {
    return QStringLiteral("ERROR!");
}

} // namespace importer
