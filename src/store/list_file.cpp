// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "store/list_file.h"

#include "platform/diagnostics.h"
#include "store/counter.h"
#include "store/locations.h"

#include <cerrno>
#include <cstring>

namespace store {

namespace {

// Gives the saved list the name, if any.
Completion nameSavedList(const QString& path, const QString& name) {
    if (name.isEmpty())
        return Completion::Unnamed;
    const Naming naming = nameList(path, name);
    if (naming.kind == Naming::Kind::Named)
        return Completion::Named;
    platform::diagnostic(naming.description);
    return naming.kind == Naming::Kind::Taken ? Completion::MoveRefused : Completion::NameUnusable;
}

SavedList failed(SavedList::Kind kind, const QString& description) {
    platform::diagnostic(description);
    return {kind, 0, Completion::Unnamed, {}};
}

} // namespace

char* writeSavedLine(char* out, QByteArrayView english, QByteArrayView japanese) {
    // memmove, and English before Japanese: each half moves back or stays.
    if (out != english.data())
        std::memmove(out, english.data(), size_t(english.size()));
    out += english.size();
    *out++ = '$';
    if (out != japanese.data())
        std::memmove(out, japanese.data(), size_t(japanese.size()));
    out += japanese.size();
    *out++ = '\n';
    return out;
}

void appendSavedLine(QByteArray& savedForm, QByteArrayView english, QByteArrayView japanese) {
    const qsizetype at = savedForm.size();
    savedForm.resize(at + english.size() + japanese.size() + 2);
    writeSavedLine(savedForm.data() + at, english, japanese);
}

ListWrite writeNewList(qint64 firstNumber, const QByteArray& savedForm) {
    qint64 number = firstNumber;
    for (;;) {
        const QString path = unnamedListPath(number);
        const platform::NewFileStatus written = platform::writeBytesAtomicNew(path, savedForm);
        if (written.ok)
            return {ListWrite::Kind::Written, number, path, {}};
        if (!written.alreadyExists)
            return {ListWrite::Kind::Failed, number, path, written.error};
        const std::optional<qint64> next = nextNumber(number);
        if (!next)
            return {ListWrite::Kind::NumberOverflow, number, path,
                    QStringLiteral("単語リストの番号が上限に達しました: %1").arg(path)};
        number = *next;
    }
}

Naming nameList(const QString& listPath, const QString& name) {
    const QString target = namedListPath(name);
    if (target.isEmpty())
        return {Naming::Kind::Unusable,
                QStringLiteral("「%1」は名前に使えない文字を含むため、名前に使えません").arg(name)};
    const platform::Status moved = platform::moveWithin(listPath, listFolderPath(), target);
    if (moved.ok)
        return {Naming::Kind::Named, {}};
    if (moved.code == EXDEV)
        return {Naming::Kind::Unusable,
                QStringLiteral("「%1」は単語リストのフォルダの外を指すため、名前に使えません")
                    .arg(name)};
    return {moved.code == EEXIST ? Naming::Kind::Taken : Naming::Kind::Unusable, moved.error};
}

SavedList saveNewList(const QByteArray& savedForm, const QString& name, qint64& count) {
    const CounterRead counter = readCounter();
    switch (counter.kind) {
    case CounterRead::Kind::Value:
        count = counter.value;
        break;
    case CounterRead::Kind::Unreadable:
        platform::diagnostic(counter.description);
        break;
    case CounterRead::Kind::Unparsable:
        // The file is the user's: never overwrite it with a number of ours.
        return failed(SavedList::Kind::CounterUnparsable, counter.description);
    }
    const std::optional<qint64> next = nextNumber(count);
    if (!next)
        return failed(SavedList::Kind::NumberOverflow,
                      QStringLiteral("単語リストの番号が上限に達しました: count.txt「%1」は%2です")
                          .arg(counterPath(), QString::number(count)));

    platform::diagnosticRaw(QByteArrayView(savedForm));

    const ListWrite list = writeNewList(*next, savedForm);
    if (list.kind == ListWrite::Kind::NumberOverflow)
        return failed(SavedList::Kind::NumberOverflow, list.description);
    if (list.kind == ListWrite::Kind::Failed)
        return failed(SavedList::Kind::WriteFailed, list.description);
    const platform::Status counted = writeCounter(list.number);
    if (!counted.ok)
        return failed(SavedList::Kind::WriteFailed, counted.error);

    const Completion completion = nameSavedList(list.path, name);
    const QString fileName = completion == Completion::Named
                                 ? namedListPath(name).sliced(listFolderPath().size() + 1)
                                 : unnamedListFileName(list.number);
    return {SavedList::Kind::Saved, list.number, completion, fileName};
}

platform::Status writeExportedList(const QString& path,
                                   const std::function<QByteArrayView()>& next) {
    return platform::writePiecesAtomic(path, next);
}

QString saveFailureText(SavedList::Kind kind) {
    switch (kind) {
    case SavedList::Kind::Saved:
        return {};
    case SavedList::Kind::CounterUnparsable:
        return QStringLiteral(
            "count.txtの内容が数値ではないため、単語リストを保存できませんでした。");
    case SavedList::Kind::NumberOverflow:
        return QStringLiteral("単語リストの番号が上限に達したため、保存できませんでした。");
    case SavedList::Kind::WriteFailed:
        return QStringLiteral("単語リストを保存できませんでした。");
    }
    return {};
}

} // namespace store
