// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "store/locations.h"

#include "platform/platform.h"

namespace store {

QString listFolderPath() {
    return platform::homePath() + QStringLiteral("/words_lists");
}

QString counterPath() {
    return platform::homePath() + QStringLiteral("/count.txt");
}

QString unnamedListFileName(qint64 number) {
    return QStringLiteral("Words_list_") + QString::number(number) + QStringLiteral(".txt");
}

QString unnamedListPath(qint64 number) {
    return listFolderPath() + u'/' + unnamedListFileName(number);
}

QStringView listNameOf(QStringView fileName) {
    return fileName.endsWith(QStringLiteral(".txt"), Qt::CaseInsensitive) ? fileName.chopped(4)
                                                                          : fileName;
}

QString namedListPath(const QString& name) {
    // The OS would cut a path at a NUL, dropping the ".txt" and whatever follows.
    if (name.contains(QChar(0)))
        return QString();
    // "fruit.txt", typed from the habit of file names, is saved as fruit.txt.
    return listFolderPath() + u'/' + listNameOf(name).toString() + QStringLiteral(".txt");
}

platform::Status ensureListFolder() {
    const QString folder = listFolderPath();
    if (platform::exists(folder))
        return platform::Status::success();
    return platform::createFolder(folder);
}

} // namespace store
