#pragma once

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
    QString counter() const { return dir_.path() + QStringLiteral("/count.txt"); }

    // Helpers for arranging a case.
    void makeListFolder() const;
    void writeFile(const QString& relativePath, const QByteArray& bytes) const;
    QByteArray readFile(const QString& relativePath) const;
    bool has(const QString& relativePath) const;

private:
    QTemporaryDir dir_;
    QByteArray previous_;
};
