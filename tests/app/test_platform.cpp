#include "app/platform.h"
#include "app/text.h"
#include "test_home.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <unistd.h>

class TestPlatform : public QObject {
    Q_OBJECT
private slots:
    void linesCutAtEveryTerminator_data();
    void linesCutAtEveryTerminator();
    void forEachLineStopsWhenAsked();
    void splitAllKeepsEmptyParts_data();
    void splitAllKeepsEmptyParts();
    void firstGraphemeWidth_data();
    void firstGraphemeWidth();
    void strictUtf8();
    void shiftJis();
    void existsCountsEveryEntry();
    void createFolderMakesOneLevelOnly();
    void listFolderIncludesHiddenEntries();
    void listFolderDescribesFailure_data();
    void listFolderDescribesFailure();
    void moveNeverReplaces();
    void removeNeverFollowsLinks();
    void atomicWriteLeavesNoPartialFile();
    void atomicNewWriteNeverReplaces();
    void readDescribesFailure();
    void randomBelowStaysInRange();
    void locationTextIsAnEncodedFileUrl();
};

void TestPlatform::linesCutAtEveryTerminator_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("empty text") << QString() << QStringList{};
    QTest::newRow("no terminator") << u"a"_qs << QStringList{u"a"_qs};
    QTest::newRow("LF") << u"a\nb"_qs << QStringList{u"a"_qs, u"b"_qs};
    QTest::newRow("CR") << u"a\rb"_qs << QStringList{u"a"_qs, u"b"_qs};
    QTest::newRow("CR LF is one") << u"a\r\nb"_qs << QStringList{u"a"_qs, u"b"_qs};
    QTest::newRow("LF CR is two") << u"a\n\rb"_qs << QStringList{u"a"_qs, u""_qs, u"b"_qs};
    QTest::newRow("NEL") << u"a\u0085b"_qs << QStringList{u"a"_qs, u"b"_qs};
    QTest::newRow("LS") << u"a\u2028b"_qs << QStringList{u"a"_qs, u"b"_qs};
    QTest::newRow("PS") << u"a\u2029b"_qs << QStringList{u"a"_qs, u"b"_qs};
    QTest::newRow("final terminator starts no line") << u"a\n"_qs << QStringList{u"a"_qs};
    QTest::newRow("final CR LF starts no line") << u"a\r\n"_qs << QStringList{u"a"_qs};
    QTest::newRow("two terminators enclose an empty line")
        << u"a\n\nb"_qs << QStringList{u"a"_qs, u""_qs, u"b"_qs};
    QTest::newRow("leading terminator") << u"\na"_qs << QStringList{u""_qs, u"a"_qs};
    QTest::newRow("only a terminator") << u"\n"_qs << QStringList{u""_qs};
    QTest::newRow("blank line at the end") << u"a\n\n"_qs << QStringList{u"a"_qs, u""_qs};
    QTest::newRow("mixed") << u"a\r\nb\rc\u2028d\ne"_qs
                           << QStringList{u"a"_qs, u"b"_qs, u"c"_qs, u"d"_qs, u"e"_qs};
    QTest::newRow("vertical tab and form feed are text")
        << u"a\u000bb\u000cc"_qs << QStringList{u"a\u000bb\u000cc"_qs};
}

void TestPlatform::linesCutAtEveryTerminator() {
    QFETCH(QString, text);
    QFETCH(QStringList, expected);
    QCOMPARE(platform::lines(text), expected);
}

void TestPlatform::forEachLineStopsWhenAsked() {
    QStringList seen;
    platform::forEachLine(u"a\nb\nc", [&](QStringView line) {
        seen.append(line.toString());
        return line != u"b";
    });
    QCOMPARE(seen, (QStringList{u"a"_qs, u"b"_qs}));
}

void TestPlatform::splitAllKeepsEmptyParts_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("empty") << QString() << u","_qs << QStringList{QString()};
    QTest::newRow("one") << u"a,b"_qs << u","_qs << QStringList{u"a"_qs, u"b"_qs};
    QTest::newRow("only separators") << u";;"_qs << u";"_qs << QStringList{u""_qs, u""_qs, u""_qs};
    QTest::newRow("spaces stay") << u" a @ b "_qs << u"@"_qs << QStringList{u" a "_qs, u" b "_qs};
    QTest::newRow("other separators are text") << u"a;b"_qs << u","_qs << QStringList{u"a;b"_qs};
}

void TestPlatform::splitAllKeepsEmptyParts() {
    QFETCH(QString, text);
    QFETCH(QString, separator);
    QFETCH(QStringList, expected);
    QCOMPARE(platform::splitAll(text, separator), expected);
}

void TestPlatform::firstGraphemeWidth_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<qsizetype>("bytes");
    QTest::newRow("empty") << QString() << qsizetype(0);
    QTest::newRow("a") << u"a"_qs << qsizetype(1);
    QTest::newRow("ASCII then more") << u"apple,りんご"_qs << qsizetype(1);
    QTest::newRow("space") << u" x"_qs << qsizetype(1);
    QTest::newRow("é precomposed") << u"\u00e9"_qs << qsizetype(2);
    QTest::newRow("e + combining acute") << u"e\u0301x"_qs << qsizetype(3);
    QTest::newRow("あ") << u"あいう"_qs << qsizetype(3);
    QTest::newRow("ideographic space") << u"\u3000a"_qs << qsizetype(3);
    QTest::newRow("CR LF is one cluster") << u"\r\n"_qs << qsizetype(2);
    QTest::newRow("astral") << u"😀a"_qs << qsizetype(4);
    QTest::newRow("long cluster past the first window")
        << (u"a"_qs + QString(40, QChar(0x0301)) + u"b"_qs) << qsizetype(1 + 40 * 2);
}

void TestPlatform::firstGraphemeWidth() {
    QFETCH(QString, text);
    QFETCH(qsizetype, bytes);
    QCOMPARE(platform::firstGraphemeUtf8Length(text), bytes);
}

void TestPlatform::strictUtf8() {
    QCOMPARE(platform::decodeUtf8("apple$\xe3\x82"), std::nullopt); // truncated
    QCOMPARE(platform::decodeUtf8("\xff"), std::nullopt);
    QCOMPARE(platform::decodeUtf8("\xc0\xaf"), std::nullopt);     // overlong "/"
    QCOMPARE(platform::decodeUtf8("\xed\xa0\x80"), std::nullopt); // surrogate
    QCOMPARE(platform::decodeUtf8("\xef\xbb\xbf"
                                  "a"),
             std::optional(u"a"_qs));
    QCOMPARE(platform::decodeUtf8("a\xef\xbb\xbf"), std::optional(u"a\ufeff"_qs));
    QCOMPARE(platform::decodeUtf8(QByteArray("a\0b", 3)), std::optional(QString(u"a\0b"_qs)));
}

void TestPlatform::shiftJis() {
    // "りんご" in Shift_JIS is not UTF-8, but decodes cleanly as Shift_JIS.
    const QByteArray sjis("apple,\x82\xe8\x82\xf1\x82\xb2");
    QCOMPARE(platform::decodeUtf8(sjis), std::nullopt);
    QCOMPARE(platform::decodeShiftJis(sjis), std::optional(u"apple,りんご"_qs));
    QCOMPARE(platform::decodeShiftJis("\x82"), std::nullopt);
}

void TestPlatform::existsCountsEveryEntry() {
    TestHome home;
    home.writeFile(u"file"_qs, "x");
    QVERIFY(QFile::link(home.path() + u"/nowhere"_qs, home.path() + u"/dangling"_qs));
    QVERIFY(platform::exists(home.path() + u"/file"_qs));
    QVERIFY(platform::exists(home.path()));
    QVERIFY(platform::exists(home.path() + u"/dangling"_qs));
    QVERIFY(!platform::exists(home.path() + u"/missing"_qs));
}

void TestPlatform::createFolderMakesOneLevelOnly() {
    TestHome home;
    QVERIFY(platform::createFolder(home.path() + u"/a"_qs).ok);
    QVERIFY(platform::isFolder(home.path() + u"/a"_qs));
    const platform::Status nested = platform::createFolder(home.path() + u"/x/y"_qs);
    QVERIFY(!nested.ok);
    QVERIFY(nested.error.contains(home.path() + u"/x/y"_qs));
    QVERIFY(!platform::exists(home.path() + u"/x"_qs));
    QVERIFY(!platform::createFolder(home.path() + u"/a"_qs).ok);
}

void TestPlatform::listFolderIncludesHiddenEntries() {
    TestHome home;
    home.makeListFolder();
    home.writeFile(u"words_lists/a.txt"_qs, "");
    home.writeFile(u"words_lists/.hidden"_qs, "");
    QDir(home.listFolder()).mkdir(u"x"_qs);
    const platform::Result<QStringList> listing = platform::listFolder(home.listFolder());
    QVERIFY(listing.ok);
    QStringList names = listing.value;
    names.sort();
    QCOMPARE(names, (QStringList{u".hidden"_qs, u"a.txt"_qs, u"x"_qs}));
}

void TestPlatform::listFolderDescribesFailure_data() {
    QTest::addColumn<QString>("relativePath");
    QTest::newRow("missing") << u"missing"_qs;
    QTest::newRow("a file") << u"file"_qs;
}

void TestPlatform::listFolderDescribesFailure() {
    QFETCH(QString, relativePath);
    TestHome home;
    home.writeFile(u"file"_qs, "x");
    const platform::Result<QStringList> listing =
        platform::listFolder(home.path() + u'/' + relativePath);
    QVERIFY(!listing.ok);
    QVERIFY(listing.error.contains(relativePath));
    QVERIFY(!listing.error.contains(u'\n'));
}

void TestPlatform::moveNeverReplaces() {
    TestHome home;
    home.writeFile(u"from"_qs, "new");
    home.writeFile(u"to"_qs, "old");
    const platform::Status refused =
        platform::moveNoReplace(home.path() + u"/from"_qs, home.path() + u"/to"_qs);
    QVERIFY(!refused.ok);
    QVERIFY(!refused.error.isEmpty());
    QCOMPARE(home.readFile(u"to"_qs), QByteArray("old"));
    QCOMPARE(home.readFile(u"from"_qs), QByteArray("new"));
    QVERIFY(platform::moveNoReplace(home.path() + u"/from"_qs, home.path() + u"/free"_qs).ok);
    QCOMPARE(home.readFile(u"free"_qs), QByteArray("new"));
    QVERIFY(!home.has(u"from"_qs));
}

void TestPlatform::removeNeverFollowsLinks() {
    TestHome home;
    QDir(home.path()).mkdir(u"target"_qs);
    home.writeFile(u"target/keep.txt"_qs, "keep");
    QDir(home.path()).mkdir(u"tree"_qs);
    home.writeFile(u"tree/a.txt"_qs, "a");
    QVERIFY(QFile::link(home.path() + u"/target"_qs, home.path() + u"/tree/inner_link"_qs));
    QVERIFY(QFile::link(home.path() + u"/target"_qs, home.path() + u"/link"_qs));

    QVERIFY(platform::removeEntry(home.path() + u"/link"_qs).ok);
    QVERIFY(!home.has(u"link"_qs));
    QVERIFY(platform::removeEntry(home.path() + u"/tree"_qs).ok);
    QVERIFY(!home.has(u"tree"_qs));
    QCOMPARE(home.readFile(u"target/keep.txt"_qs), QByteArray("keep"));

    const platform::Status missing = platform::removeEntry(home.path() + u"/gone"_qs);
    QVERIFY(!missing.ok);
    QVERIFY(missing.error.contains(u"gone"_qs));
}

void TestPlatform::atomicWriteLeavesNoPartialFile() {
    TestHome home;
    const platform::Status failed =
        platform::writeUtf8Atomic(home.path() + u"/missing/x.txt"_qs, u"text"_qs);
    QVERIFY(!failed.ok);
    QVERIFY(failed.error.contains(u"x.txt"_qs));
    QVERIFY(!home.has(u"missing"_qs));

    home.writeFile(u"x.txt"_qs, "old");
    QVERIFY(platform::writeUtf8Atomic(home.path() + u"/x.txt"_qs, u"りんご"_qs).ok);
    QCOMPARE(home.readFile(u"x.txt"_qs), u"りんご"_qs.toUtf8());
    QCOMPARE(QDir(home.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"x.txt"_qs});
}

void TestPlatform::atomicNewWriteNeverReplaces() {
    TestHome home;
    home.writeFile(u"x.txt"_qs, "old");
    const platform::NewFileStatus taken =
        platform::writeUtf8AtomicNew(home.path() + u"/x.txt"_qs, u"new"_qs);
    QVERIFY(!taken.ok);
    QVERIFY(taken.alreadyExists);
    QCOMPARE(home.readFile(u"x.txt"_qs), QByteArray("old"));

    const platform::NewFileStatus written =
        platform::writeUtf8AtomicNew(home.path() + u"/y.txt"_qs, u"apple$りんご\n"_qs);
    QVERIFY(written.ok);
    QCOMPARE(home.readFile(u"y.txt"_qs), u"apple$りんご\n"_qs.toUtf8());
    QVERIFY(QFileInfo(home.path() + u"/y.txt"_qs).permissions() & QFileDevice::ReadOther);

    const platform::NewFileStatus noFolder =
        platform::writeUtf8AtomicNew(home.path() + u"/missing/z.txt"_qs, u"z"_qs);
    QVERIFY(!noFolder.ok);
    QVERIFY(!noFolder.alreadyExists);
    // Nothing but the two files: no temporary file is left behind.
    QCOMPARE(QDir(home.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

void TestPlatform::readDescribesFailure() {
    TestHome home;
    home.writeFile(u"latin1.txt"_qs, "caf\xe9");
    QDir(home.path()).mkdir(u"folder"_qs);
    for (const QString& name : {u"missing.txt"_qs, u"latin1.txt"_qs, u"folder"_qs}) {
        const platform::Result<QString> read = platform::readUtf8(home.path() + u'/' + name);
        QVERIFY2(!read.ok, qPrintable(name));
        QVERIFY2(read.error.contains(name), qPrintable(read.error));
    }
}

void TestPlatform::randomBelowStaysInRange() {
    for (int i = 0; i < 1000; ++i) {
        QCOMPARE(platform::randomBelow(1), quint64(0));
        QVERIFY(platform::randomBelow(3) < 3);
    }
    // The largest bounds must not be folded into a 32-bit draw.
    bool high = false;
    for (int i = 0; i < 64 && !high; ++i)
        high = platform::randomBelow(quint64(1) << 63) >= (quint64(1) << 32);
    QVERIFY(high);
}

void TestPlatform::locationTextIsAnEncodedFileUrl() {
    TestHome home;
    home.makeListFolder();
    QCOMPARE(platform::locationText(home.listFolder()),
             u"file://"_qs + home.path() + u"/words_lists/"_qs);
    QCOMPARE(platform::locationText(home.listFolder() + u"/a b.txt"_qs),
             u"file://"_qs + home.path() + u"/words_lists/a%20b.txt"_qs);
    QCOMPARE(platform::locationText(home.listFolder() + u"/単語.txt"_qs),
             u"file://"_qs + home.path() + u"/words_lists/%E5%8D%98%E8%AA%9E.txt"_qs);
}

QTEST_GUILESS_MAIN(TestPlatform)
#include "test_platform.moc"
