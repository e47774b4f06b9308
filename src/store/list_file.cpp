// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "store/list_file.h"

#include "store/counter.h"
#include "store/locations.h"

#include <cerrno>

namespace store {

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

Pair splitPair(QStringView line) {
    const qsizetype first = line.indexOf(u'$');
    if (first < 0)
        return {line, QStringView()};
    const qsizetype second = line.indexOf(u'$', first + 1);
    const qsizetype end = second < 0 ? line.size() : second;
    return {line.first(first), line.sliced(first + 1, end - first - 1)};
}

} // namespace store
