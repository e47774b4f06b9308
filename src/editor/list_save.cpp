// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "editor/list_save.h"

#include "app/app_delegate.h"
#include "platform/diagnostics.h"
#include "platform/text.h"
#include "store/list_file.h"
#include "store/locations.h"

#include <QFileInfo>

namespace editor {

namespace {

QString savedText() {
    return QStringLiteral("保存しました");
}

// What the editor says after a new list was saved: the name it got, when it is not the one
// asked for.
QString newListMessage(const store::SavedList& saved, const QString& name, bool fromOutside) {
    const QString& file = saved.fileName;
    QString message = savedText() + u'。';
    if (fromOutside)
        message +=
            QStringLiteral("このリストは単語リストのフォルダの外にあるため、新しい単語リスト「") +
            file + QStringLiteral("」として保存しました。");
    else if (saved.completion == store::Completion::MoveRefused)
        message += QStringLiteral("同じファイル名の単語リストが存在したため、") + file +
                   QStringLiteral("として保存しました。");
    else if (saved.completion == store::Completion::NameUnusable)
        message += QStringLiteral("単語リスト名「") + name + QStringLiteral("」は使えないため、") +
                   file + QStringLiteral("として保存しました。");
    else
        message += QStringLiteral("単語リスト名は") + file + QStringLiteral("です。");
    return message;
}

} // namespace

ListRead readList(const QString& path) {
    ListRead read;
    // Stamped before it is read: a change while reading shows as a change.
    read.list = {path, platform::fileStamp(path),
                 platform::isFolderWithin(store::listFolderPath(), path)};
    platform::Result<QByteArray> bytes = platform::readBytes(path);
    if (!bytes.ok) {
        read.error = bytes.error;
        return read;
    }
    const QByteArrayView text = platform::withoutByteOrderMark(bytes.value);
    if (!platform::isValidUtf8(text)) {
        read.error =
            QStringLiteral("ファイル「%1」はUTF-8のテキストではないため、編集できません").arg(path);
        return read;
    }
    read.savedForm =
        text.size() == bytes.value.size() ? std::move(bytes.value) : text.toByteArray();
    read.ok = true;
    return read;
}

bool changedOnDisk(const EditedList& list) {
    return !list.path.isEmpty() && platform::fileStamp(list.path) != list.stamp;
}

QString listName(const EditedList& list) {
    return list.path.isEmpty() ? QString() : QFileInfo(list.path).fileName();
}

SaveOutcome saveList(EditedList& list, const QByteArray& savedForm, const QString& name,
                     AppDelegate& state) {
    if (!list.path.isEmpty() && list.inStore) {
        const platform::Status replaced =
            platform::replaceWithin(store::listFolderPath(), list.path, savedForm);
        if (!replaced.ok) {
            platform::diagnostic(replaced.error);
            return {SaveOutcome::Kind::Failed,
                    QStringLiteral("単語リストを保存できませんでした。\n") + replaced.error};
        }
        list.stamp = platform::fileStamp(list.path);
        return {SaveOutcome::Kind::Replaced, savedText()};
    }
    // Never written where it was found: a list from outside keeps its file name if free.
    const bool fromOutside = !list.path.isEmpty();
    const QString asked = fromOutside ? listName(list) : name;
    const store::SavedList saved = store::saveNewList(savedForm, asked, state.COUNT);
    if (saved.kind != store::SavedList::Kind::Saved)
        return {SaveOutcome::Kind::Failed, store::saveFailureText(saved.kind)};
    list = {store::listFolderPath() + u'/' + saved.fileName, {}, true};
    list.stamp = platform::fileStamp(list.path);
    return {SaveOutcome::Kind::SavedAsNew, newListMessage(saved, asked, fromOutside)};
}

} // namespace editor
