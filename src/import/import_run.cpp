// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "import/import_run.h"

#include "app/app_delegate.h"
#include "app/diagnostics.h"
#include "app/text.h"
#include "import/import_options.h"
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

namespace {

// Every pass starts from a clean state.
void startPass(AppDelegate& state) {
    state.LINE_INDEX = 0;
    state.english_words.clear();
    state.japanese_words.clear();
    state.formal_list.clear();
    IMPORT_OK = false;
}

// The alert for a rejected line, which also records the rejection in the outcome.
RejectionAlert recordingRejection(ImportOutcome& outcome, const RejectionAlert& showRejection) {
    return [&outcome, &showRejection](const QString& message) {
        outcome.kind = Kind::Rejected;
        outcome.rejection = message;
        if (showRejection)
            showRejection(message);
    };
}

// After a pass without rejections: numbers the list, prints and writes its saved form,
// advances the counter and names the list. keepSavedForm leaves the saved form in
// formal_list on a failure, as a pass leaves it until the list is saved.
ImportOutcome saveList(const QByteArray& savedForm, const QString& name, AppDelegate& state,
                       const std::function<void()>& keepSavedForm) {
    const auto failedKeepingSavedForm = [&](Kind kind, const QString& description) {
        keepSavedForm();
        return failed(kind, description);
    };
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
        return failedKeepingSavedForm(Kind::CounterUnparsable, counter.description);
    }
    const std::optional<qint64> next = store::nextNumber(state.COUNT);
    if (!next)
        return failedKeepingSavedForm(
            Kind::NumberOverflow,
            QStringLiteral("単語リストの番号が上限に達しました: count.txt「%1」は%2です")
                .arg(store::counterPath(), QString::number(state.COUNT)));

    platform::diagnosticRaw(QByteArrayView(savedForm));

    const store::ListWrite list = store::writeNewList(*next, savedForm);
    if (list.kind == store::ListWrite::Kind::NumberOverflow)
        return failedKeepingSavedForm(Kind::NumberOverflow, list.description);
    if (list.kind == store::ListWrite::Kind::Failed)
        return failedKeepingSavedForm(Kind::WriteFailed, list.description);
    const platform::Status counted = store::writeCounter(list.number);
    if (!counted.ok)
        return failedKeepingSavedForm(Kind::WriteFailed, counted.error);

    state.formal_list.clear();

    ImportOutcome outcome;
    outcome.kind = Kind::Completed;
    outcome.number = list.number;
    outcome.name = name;
    outcome.completion = nameSavedList(list.path, name);
    return outcome;
}

} // namespace

ImportOutcome runImport(const std::optional<QString>& text, const QString& name, AppDelegate& state,
                        const RejectionAlert& showRejection) {
    ImportOutcome outcome;
    if (!text)
        return outcome;
    startPass(state);

    // The saved form is about as long as the text: one separator becomes "$" and each line
    // end "\n" (one more for a last line without one).
    state.formal_list.reserve(text->size() + 1);
    const RejectionAlert reject = recordingRejection(outcome, showRejection);
    platform::forEachLine(*text,
                          [&](QStringView line) { return checkLineForSave(line, state, reject); });
    if (!IMPORT_OK)
        return outcome;

    // The words themselves live on only in the saved file; the arrays keep one (empty)
    // entry per pair.
    state.english_words = QStringList(state.LINE_INDEX, QString());
    state.japanese_words = state.english_words;

    // formal_list already holds the saved form, and keeps it on a failure.
    return saveList(state.formal_list.toUtf8(), name, state, [] {});
}

ImportOutcome runImportUtf8(const std::optional<QByteArray>& utf8, const QString& name,
                            AppDelegate& state, const RejectionAlert& showRejection) {
    if (!utf8)
        return {};
    // The bytes are cut at the separator only when it is one ASCII character (as all three
    // choices are); any other is left to the pass over the text.
    if (SEPARATOR.size() != 1 || SEPARATOR[0].unicode() >= 0x80)
        return runImport(platform::textOfUtf8(*utf8), name, state, showRejection);
    const char separator = char(SEPARATOR[0].unicode());

    ImportOutcome outcome;
    startPass(state);
    QByteArray savedForm;
    checkLinesForSaveUtf8(*utf8, separator, state, savedForm,
                          recordingRejection(outcome, showRejection));
    if (!IMPORT_OK)
        return outcome;

    // One list of empty strings serves both arrays (shared until either is written to): a
    // million entries cost 24 MB to make.
    state.english_words = QStringList(state.LINE_INDEX, QString());
    state.japanese_words = state.english_words;

    return saveList(savedForm, name, state,
                    [&] { state.formal_list = platform::textOfUtf8(savedForm); });
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
    case Kind::Rejected:
        return {};
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
