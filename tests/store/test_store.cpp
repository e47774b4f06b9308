// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "store/list_folder.h"
#include "test_home.h"

#include <QDir>
#include <QFile>
#include <QTest>

class TestStore : public QObject {
    Q_OBJECT
private slots:
    void deletion_data();
    void deletion();
};

void TestStore::deletion_data() {
    QTest::addColumn<QString>("folder"); // relative to home
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("removed");
    QTest::newRow("a list") << u"words_lists"_qs << u"a.txt"_qs << true;
    QTest::newRow("a subfolder with its contents") << u"words_lists"_qs << u"x"_qs << true;
    QTest::newRow("a link, not its target") << u"words_lists"_qs << u"link"_qs << true;
    QTest::newRow("no name: never the folder itself") << u"words_lists"_qs << u""_qs << false;
    QTest::newRow("outside the list folder") << u"elsewhere"_qs << u"b.txt"_qs << false;
    QTest::newRow("parent of the list folder") << u"words_lists"_qs << u".."_qs << false;
    QTest::newRow("missing entry") << u"words_lists"_qs << u"gone.txt"_qs << false;
    QTest::newRow("a folder elsewhere, through a link")
        << u"words_lists/link"_qs << u"b.txt"_qs << false;
    QTest::newRow("the home folder, through a link")
        << u"words_lists/up"_qs << u"words_lists"_qs << false;
}

void TestStore::deletion() {
    QFETCH(QString, folder);
    QFETCH(QString, name);
    QFETCH(bool, removed);
    TestHome home;
    home.makeListFolder();
    home.writeFile(u"words_lists/a.txt"_qs, "a$b\n");
    QDir(home.listFolder()).mkpath(u"x/y"_qs);
    home.writeFile(u"words_lists/x/y/z.txt"_qs, "z");
    QDir(home.path()).mkdir(u"elsewhere"_qs);
    home.writeFile(u"elsewhere/b.txt"_qs, "keep");
    QVERIFY(QFile::link(home.path() + u"/elsewhere"_qs, home.listFolder() + u"/link"_qs));
    QVERIFY(QFile::link(u".."_qs, home.listFolder() + u"/up"_qs));

    const platform::Status status = store::deleteEntry(home.path() + u'/' + folder, name);
    QCOMPARE(status.ok, removed);
    if (removed)
        QVERIFY(!home.has(folder + u'/' + name));
    else
        QVERIFY(!status.error.isEmpty());
    QVERIFY(QFileInfo(home.listFolder()).isDir());
    QCOMPARE(home.readFile(u"elsewhere/b.txt"_qs), QByteArray("keep"));
    QCOMPARE(home.has(u"words_lists/a.txt"_qs), name != u"a.txt");
    QVERIFY(home.has(u"words_lists/x/y/z.txt"_qs) || name == u"x");
}

QTEST_GUILESS_MAIN(TestStore)
#include "test_store.moc"
