// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "import/import_source.h"

#include "platform/platform.h"
#include "platform/text.h"

namespace importer {

SourceRead readSource(const QString& path) {
    const platform::Result<QByteArray> bytes = platform::readBytes(path);
    if (!bytes.ok)
        return {SourceRead::Kind::Unreadable, {}, bytes.error};
    if (platform::isValidUtf8(bytes.value)) {
        QByteArray utf8 = bytes.value;
        const qsizetype mark = utf8.size() - platform::withoutByteOrderMark(utf8).size();
        if (mark > 0)
            utf8.remove(0, mark);
        return {SourceRead::Kind::Text, std::move(utf8), {}};
    }
    const QString notUtf8 =
        QStringLiteral(
            "ファイルを読み込めませんでした「%1」: UTF-8として正しくないバイト列が含まれています")
            .arg(path);
    if (std::optional<QString> text = platform::decodeUtf16(bytes.value))
        return {SourceRead::Kind::Utf16, text->toUtf8(), notUtf8};
    // Files saved by Excel or older Japanese editors are often Shift_JIS.
    if (std::optional<QString> text = platform::decodeShiftJis(bytes.value))
        return {SourceRead::Kind::ShiftJis, text->toUtf8(), notUtf8};
    return {SourceRead::Kind::NotUtf8, {}, notUtf8};
}

QString sourceAlertText(SourceRead::Kind kind) {
    switch (kind) {
    case SourceRead::Kind::Text:
        return {};
    case SourceRead::Kind::Unreadable:
        return QStringLiteral("ファイルを読み込めませんでした。");
    case SourceRead::Kind::NotUtf8:
        return QStringLiteral("ファイルをUTF-8のテキストとして読み込めませんでした。"
                              "UTF-8で保存し直してから読み込んでください。");
    case SourceRead::Kind::ShiftJis:
        return QStringLiteral("ファイルをUTF-8のテキストとして読み込めませんでした。"
                              "Shift_JISのファイルとして読み込むこともできます。");
    case SourceRead::Kind::Utf16:
        return QStringLiteral("ファイルをUTF-8のテキストとして読み込めませんでした。"
                              "UTF-16のファイルとして読み込むこともできます。");
    }
    return {};
}

QString offeredEncodingButtonTitle(SourceRead::Kind kind) {
    switch (kind) {
    case SourceRead::Kind::ShiftJis:
        return QStringLiteral("Shift_JISとして読み込む");
    case SourceRead::Kind::Utf16:
        return QStringLiteral("UTF-16として読み込む");
    default:
        return {};
    }
}

} // namespace importer
