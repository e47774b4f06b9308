// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "test_home.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTest>

TestHome::TestHome() : previous_(qgetenv("HOME")) {
    if (!dir_.isValid())
        qFatal("cannot create a temporary home folder");
    qputenv("HOME", QFile::encodeName(dir_.path()));
}

TestHome::~TestHome() {
    qputenv("HOME", previous_);
}

void TestHome::makeListFolder() const {
    QDir(dir_.path()).mkdir(QStringLiteral("words_lists"));
}

void TestHome::writeFile(const QString& relativePath, const QByteArray& bytes) const {
    QFile file(dir_.path() + u'/' + relativePath);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot arrange %s", qPrintable(relativePath));
}

QByteArray TestHome::readFile(const QString& relativePath) const {
    QFile file(dir_.path() + u'/' + relativePath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

bool TestHome::has(const QString& relativePath) const {
    const QFileInfo info(dir_.path() + u'/' + relativePath);
    return info.exists() || info.isSymLink();
}

QMap<QString, QByteArray> TestHome::snapshot() const {
    QMap<QString, QByteArray> files;
    QDirIterator it(dir_.path(),
                    QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next().mid(dir_.path().size() + 1);
        const QFileInfo info = it.fileInfo();
        if (info.isDir() && !info.isSymLink())
            files.insert(path + u'/', QByteArray());
        else if (info.isFile() && !info.isSymLink())
            files.insert(path, readFile(path));
        else
            files.insert(path, QByteArrayLiteral("(not a plain file)"));
    }
    return files;
}
