// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QTemporaryDir>

// Points HOME at a fresh temporary folder for as long as it lives, so that a test never
// touches the real home folder. The previous HOME comes back afterwards.
class TestHome {
public:
    TestHome();
    ~TestHome();
    TestHome(const TestHome&) = delete;
    TestHome& operator=(const TestHome&) = delete;

    QString path() const { return dir_.path(); }
    QString listFolder() const { return dir_.path() + QStringLiteral("/words_lists"); }

    // Helpers for arranging a case.
    void makeListFolder() const;
    void writeFile(const QString& relativePath, const QByteArray& bytes) const;
    QByteArray readFile(const QString& relativePath) const;
    bool has(const QString& relativePath) const;

    // Everything below the home folder, hidden entries included, as relative path -> bytes:
    // folders end in "/" and hold nothing; links, pipes and other special entries are never
    // opened (a pipe would block) and hold "(not a plain file)".
    QMap<QString, QByteArray> snapshot() const;

private:
    QTemporaryDir dir_;
    QByteArray previous_;
};
