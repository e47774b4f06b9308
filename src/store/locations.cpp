#include "store/locations.h"

#include "app/platform.h"

#include <QDir>

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

bool isInsideListFolder(const QString& path) {
    const QString folder = QDir::cleanPath(listFolderPath()) + u'/';
    const QString cleaned = QDir::cleanPath(path);
    return cleaned.startsWith(folder) && cleaned.size() > folder.size();
}

QString namedListPath(const QString& name) {
    // The OS would cut a path at a NUL, dropping the ".txt" and whatever follows.
    if (name.contains(QChar(0)))
        return QString();
    const QString path = listFolderPath() + u'/' + name + QStringLiteral(".txt");
    return isInsideListFolder(path) ? path : QString();
}

} // namespace store
