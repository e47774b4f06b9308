// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "store/counter.h"
#include "store/list_file.h"
#include "store/list_folder.h"
#include "test_home.h"

#include <QDir>
#include <QFile>
#include <QTest>

class TestStore : public QObject {
    Q_OBJECT
private slots:
    void counterGrammar_data();
    void counterGrammar();
    void splitPair_data();
    void splitPair();
    void deletion_data();
    void deletion();
};

void TestStore::counterGrammar_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("parses");
    QTest::addColumn<qint64>("value");
    QTest::newRow("plain") << u"41"_qs << true << qint64(41);
    QTest::newRow("plus") << u"+7"_qs << true << qint64(7);
    QTest::newRow("minus") << u"-7"_qs << true << qint64(-7);
    QTest::newRow("line end after") << u"41\n"_qs << true << qint64(41);
    QTest::newRow("white space around") << u" \t41\r\n "_qs << true << qint64(41);
    QTest::newRow("largest") << u"9223372036854775807"_qs << true << qint64(9223372036854775807);
    QTest::newRow("past the largest") << u"9223372036854775808"_qs << false << qint64(0);
    QTest::newRow("empty") << u""_qs << false << qint64(0);
    QTest::newRow("sign only") << u"-"_qs << false << qint64(0);
    QTest::newRow("space inside") << u"4 1"_qs << false << qint64(0);
    QTest::newRow("trailing text") << u"41a"_qs << false << qint64(0);
    QTest::newRow("full-width digits") << u"４１"_qs << false << qint64(0);
    QTest::newRow("no-break space") << u"\u00a041"_qs << false << qint64(0);
    QTest::newRow("NUL") << QString(u"4\u00001"_qs) << false << qint64(0);
}

void TestStore::counterGrammar() {
    QFETCH(QString, text);
    QFETCH(bool, parses);
    QFETCH(qint64, value);
    const std::optional<qint64> parsed = store::parseCounter(text);
    QCOMPARE(parsed.has_value(), parses);
    if (parses)
        QCOMPARE(*parsed, value);
}

void TestStore::splitPair_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("english");
    QTest::addColumn<QString>("japanese");
    QTest::newRow("only the separator") << u"$"_qs << u""_qs << u""_qs;
    QTest::newRow("two separators") << u"$$"_qs << u""_qs << u""_qs;
    QTest::newRow("no separator: all English") << u"hello"_qs << u"hello"_qs << u""_qs;
    QTest::newRow("empty line") << u""_qs << u""_qs << u""_qs;
    QTest::newRow("spaces kept") << u" a $ b "_qs << u" a "_qs << u" b "_qs;
}

void TestStore::splitPair() {
    QFETCH(QString, line);
    QFETCH(QString, english);
    QFETCH(QString, japanese);
    const store::Pair pair = store::splitPair(line);
    QCOMPARE(pair.english.toString(), english);
    QCOMPARE(pair.japanese.toString(), japanese);
}

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
