// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "store/counter.h"
#include "store/list_file.h"
#include "store/list_folder.h"
#include "store/locations.h"
#include "test_home.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <limits>

using store::CounterRead;
using store::ListWrite;

class TestStore : public QObject {
    Q_OBJECT
private slots:
    void counterGrammar_data();
    void counterGrammar();
    void readCounter_data();
    void readCounter();
    void nextNumberRefusesOverflow();
    void numberingStopsAtTheLargestNumber();
    void namingMovesOrRefuses_data();
    void namingMovesOrRefuses();
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
    QTest::newRow("largest") << u"9223372036854775807"_qs << true
                             << std::numeric_limits<qint64>::max();
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

void TestStore::readCounter_data() {
    QTest::addColumn<QByteArray>("content"); // "<none>" for no file, "<folder>" for a folder
    QTest::addColumn<int>("kind");
    QTest::addColumn<qint64>("value");
    QTest::newRow("missing") << QByteArray("<none>") << int(CounterRead::Kind::Unreadable)
                             << qint64(0);
    QTest::newRow("a folder") << QByteArray("<folder>") << int(CounterRead::Kind::Unreadable)
                              << qint64(0);
    QTest::newRow("41") << QByteArray("41") << int(CounterRead::Kind::Value) << qint64(41);
    QTest::newRow("hand-edited 41")
        << QByteArray("41\n") << int(CounterRead::Kind::Value) << qint64(41);
    QTest::newRow("byte-order mark") << QByteArray("\xef\xbb\xbf"
                                                   "5")
                                     << int(CounterRead::Kind::Value) << qint64(5);
    QTest::newRow("text") << QByteArray("abc") << int(CounterRead::Kind::Unparsable) << qint64(0);
    QTest::newRow("empty") << QByteArray("") << int(CounterRead::Kind::Unparsable) << qint64(0);
    QTest::newRow("not UTF-8") << QByteArray("4\xff") << int(CounterRead::Kind::Unparsable)
                               << qint64(0);
}

void TestStore::readCounter() {
    QFETCH(QByteArray, content);
    QFETCH(int, kind);
    QFETCH(qint64, value);
    TestHome home;
    if (content == "<folder>")
        QDir(home.path()).mkdir(u"count.txt"_qs);
    else if (content != "<none>")
        home.writeFile(u"count.txt"_qs, content);
    const CounterRead read = store::readCounter();
    QCOMPARE(int(read.kind), kind);
    if (read.kind == CounterRead::Kind::Value)
        QCOMPARE(read.value, value);
    else
        QVERIFY(read.description.contains(u"count.txt"_qs));
}

void TestStore::nextNumberRefusesOverflow() {
    QCOMPARE(store::nextNumber(0), std::optional<qint64>(1));
    QCOMPARE(store::nextNumber(-1), std::optional<qint64>(0));
    QCOMPARE(store::nextNumber(std::numeric_limits<qint64>::max() - 1),
             std::optional<qint64>(std::numeric_limits<qint64>::max()));
    QCOMPARE(store::nextNumber(std::numeric_limits<qint64>::max()), std::nullopt);
}

void TestStore::numberingStopsAtTheLargestNumber() {
    TestHome home;
    home.makeListFolder();
    const qint64 largest = std::numeric_limits<qint64>::max();
    home.writeFile(u"words_lists/"_qs + store::unnamedListFileName(largest), "taken$x\n");
    const ListWrite written = store::writeNewList(largest, u"new$新\n"_qs);
    QCOMPARE(int(written.kind), int(ListWrite::Kind::NumberOverflow));
    QCOMPARE(home.readFile(u"words_lists/"_qs + store::unnamedListFileName(largest)),
             QByteArray("taken$x\n"));
    QCOMPARE(QDir(home.listFolder()).count(), 3u); // ".", ".." and the taken file
}

void TestStore::namingMovesOrRefuses_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("kind");         // store::Naming::Kind
    QTest::addColumn<QString>("expected"); // relative path of the list afterwards
    const int named = int(store::Naming::Kind::Named);
    const int taken = int(store::Naming::Kind::Taken);
    const int unusable = int(store::Naming::Kind::Unusable);
    const QString unnamed = u"words_lists/Words_list_1.txt"_qs;
    QTest::newRow("dots stay inside") << u".."_qs << named << u"words_lists/...txt"_qs;
    QTest::newRow("existing subfolder") << u"sub/x"_qs << named << u"words_lists/sub/x.txt"_qs;
    QTest::newRow("a .txt ending is not doubled")
        << u"fruit.TXT"_qs << named << u"words_lists/fruit.txt"_qs;
    QTest::newRow("taken") << u"taken"_qs << taken << unnamed;
    QTest::newRow("leaves by ..") << u"a/../../x"_qs << unusable << unnamed;
    QTest::newRow("leaves through a link") << u"linkdir/x"_qs << unusable << unnamed;
    QTest::newRow("folder missing") << u"10/5小テスト"_qs << unusable << unnamed;
    QTest::newRow("NUL would cut the name short")
        << QString(u"x.sh\u0000"_qs) << unusable << unnamed;
}

void TestStore::namingMovesOrRefuses() {
    QFETCH(QString, name);
    QFETCH(int, kind);
    QFETCH(QString, expected);
    TestHome home;
    home.makeListFolder();
    QDir(home.listFolder()).mkdir(u"sub"_qs);
    QDir(home.path()).mkdir(u"outside"_qs);
    QVERIFY(QFile::link(home.path() + u"/outside"_qs, home.listFolder() + u"/linkdir"_qs));
    home.writeFile(u"words_lists/taken.txt"_qs, "old$古\n");
    const ListWrite written = store::writeNewList(1, u"a$b\n"_qs);
    QCOMPARE(int(written.kind), int(ListWrite::Kind::Written));
    const store::Naming naming = store::nameList(written.path, name);
    QCOMPARE(int(naming.kind), kind);
    QCOMPARE(naming.description.isEmpty(), kind == int(store::Naming::Kind::Named));
    QCOMPARE(home.readFile(expected), QByteArray("a$b\n"));
    QCOMPARE(home.readFile(u"words_lists/taken.txt"_qs), u"old$古\n"_qs.toUtf8());
    QVERIFY(!home.has(u"x.txt"_qs) && !home.has(u"outside/x.txt"_qs));
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
