// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "import/import_run.h"

#include "app/app_delegate.h"
#include "import/import_options.h"
#include "platform/diagnostics.h"
#include "platform/text.h"
#include "store/counter.h"
#include "store/list_file.h"
#include "store/locations.h"

namespace importer {

namespace {

using Kind = ImportOutcome::Kind;

ImportOutcome failed(Kind kind, const QString& description) {
    platform::diagnostic(description);
    ImportOutcome outcome;
    outcome.kind = kind;
    return outcome;
}

// Gives the saved list the typed name, if any.
Completion nameSavedList(const QString& path, const QString& name) {
    if (name.isEmpty())
        return Completion::Unnamed;
    const store::Naming naming = store::nameList(path, name);
    if (naming.kind == store::Naming::Kind::Named)
        return Completion::Named;
    platform::diagnostic(naming.description);
    return naming.kind == store::Naming::Kind::Taken ? Completion::MoveRefused
                                                     : Completion::NameUnusable;
}

} // namespace

ImportOutcome saveList(const QByteArray& savedForm, const QString& name, AppDelegate& state) {
    const store::CounterRead counter = store::readCounter();
    switch (counter.kind) {
    case store::CounterRead::Kind::Value:
        state.COUNT = counter.value;
        break;
    case store::CounterRead::Kind::Unreadable:
        platform::diagnostic(counter.description);
        break;
    case store::CounterRead::Kind::Unparsable:
        // The file is the user's: never overwrite it with a number of ours.
        return failed(Kind::CounterUnparsable, counter.description);
    }
    const std::optional<qint64> next = store::nextNumber(state.COUNT);
    if (!next)
        return failed(Kind::NumberOverflow,
                      QStringLiteral("単語リストの番号が上限に達しました: count.txt「%1」は%2です")
                          .arg(store::counterPath(), QString::number(state.COUNT)));

    platform::diagnosticRaw(QByteArrayView(savedForm));

    const store::ListWrite list = store::writeNewList(*next, savedForm);
    if (list.kind == store::ListWrite::Kind::NumberOverflow)
        return failed(Kind::NumberOverflow, list.description);
    if (list.kind == store::ListWrite::Kind::Failed)
        return failed(Kind::WriteFailed, list.description);
    const platform::Status counted = store::writeCounter(list.number);
    if (!counted.ok)
        return failed(Kind::WriteFailed, counted.error);

    ImportOutcome outcome;
    outcome.kind = Kind::Completed;
    outcome.number = list.number;
    outcome.name = name;
    outcome.completion = nameSavedList(list.path, name);
    return outcome;
}

ImportOutcome runImport(QByteArray utf8, LineLayout layout, const QString& name,
                        AppDelegate& state) {
    CheckedText checked = checkText(std::move(utf8), layout);
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
    ImportOutcome outcome = saveList(checked.savedForm, name, state);
    // What was not saved stays in the shared state, as the pass left it.
    if (outcome.kind != Kind::Completed)
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
    case Kind::CounterUnparsable:
        return QStringLiteral(
            "count.txtの内容が数値ではないため、単語リストを保存できませんでした。");
    case Kind::NumberOverflow:
        return QStringLiteral("単語リストの番号が上限に達したため、保存できませんでした。");
    case Kind::WriteFailed:
        return QStringLiteral("単語リストを保存できませんでした。");
    case Kind::Completed:
        return completionText(outcome.completion, outcome.number, outcome.name);
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
