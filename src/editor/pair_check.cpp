// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "editor/pair_check.h"

#include "import/line_check.h"
#include "platform/text.h"

namespace editor {

namespace {

bool holdsLineBreak(QByteArrayView half) {
    bool found = false;
    platform::forEachOf(
        half.data(), half.data() + half.size(),
        [&](const char* at) {
            found = platform::terminatorLengthAt(at, half.data() + half.size()) > 0;
            return !found;
        },
        '\n', '\r', '\xC2', '\xE2');
    return found;
}

// A separator that stands in neither half, so that the line falls into exactly these two
// parts. The usual ones first: they are what a message shows between the halves.
char separatorFor(QByteArrayView english, QByteArrayView japanese) {
    static constexpr char candidates[] = ",;@\t|#/\x1F\x1E\x1D\x1C\x01";
    for (const char c : candidates)
        if (c && !english.contains(c) && !japanese.contains(c))
            return c;
    return ',';
}

} // namespace

std::optional<QString> PairCheck::problem(QByteArrayView english, QByteArrayView japanese,
                                          qint64 row) {
    // A line break cannot stand in a line: the import never meets one inside a half, but a
    // pasted cell can hold one.
    if (holdsLineBreak(english) || holdsLineBreak(japanese))
        return QString::number(row) + QStringLiteral("行目: 英語か日本語に改行が含まれています。");
    const char separator = separatorFor(english, japanese);
    line_.truncate(0);
    line_.append(english).append(separator).append(japanese);
    importer::CheckedText checked = importer::checkText(std::move(line_), {separator, 0});
    line_ = std::move(checked.savedForm);
    if (!checked.rejection)
        return std::nullopt;
    // The check numbers the line 1: the pair's own row replaces it.
    QString& message = *checked.rejection;
    return message.replace(0, message.indexOf(u'行'), QString::number(row));
}

quint8 PairCheck::badCells(QByteArrayView english, QByteArrayView japanese) {
    if (!problem(english, japanese, 1))
        return 0;
    // Each half beside one that the check always accepts.
    return (problem(english, "あ", 1) ? EnglishBad : 0) |
           (problem("a", japanese, 1) ? JapaneseBad : 0);
}

} // namespace editor
