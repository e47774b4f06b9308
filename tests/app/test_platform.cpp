// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/platform.h"
#include "platform/text.h"
#include "test_home.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

class TestPlatform : public QObject {
    Q_OBJECT
private slots:
    void linesCutAtEveryTerminator_data();
    void linesCutAtEveryTerminator();
    void firstGraphemeWidth_data();
    void firstGraphemeWidth();
    void decodersAreStrict();
    void listingIncludesHiddenEntriesAndDescribesFailure();
    void moveAndNewWriteNeverReplace();
    void atomicWriteLeavesNoPartialFile();
    void removeNeverFollowsLinks();
    void readDescribesFailure();
    void locationTextIsAnEncodedFileUrl();
};

void TestPlatform::linesCutAtEveryTerminator_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("empty text") << QString() << QStringList{};
    QTest::newRow("LF") << u"a\nb"_qs << QStringList{u"a"_qs, u"b"_qs};
    QTest::newRow("CR") << u"a\rb"_qs << QStringList{u"a"_qs, u"b"_qs};
    QTest::newRow("CR LF is one") << u"a\r\nb"_qs << QStringList{u"a"_qs, u"b"_qs};
    QTest::newRow("LF CR is two") << u"a\n\rb"_qs << QStringList{u"a"_qs, u""_qs, u"b"_qs};
    QTest::newRow("NEL") << u"a\u0085b"_qs << QStringList{u"a"_qs, u"b"_qs};
    QTest::newRow("LS") << u"a\u2028b"_qs << QStringList{u"a"_qs, u"b"_qs};
    QTest::newRow("PS") << u"a\u2029b"_qs << QStringList{u"a"_qs, u"b"_qs};
    QTest::newRow("final terminator starts no line") << u"a\r\n"_qs << QStringList{u"a"_qs};
    QTest::newRow("two terminators enclose an empty line")
        << u"a\n\nb"_qs << QStringList{u"a"_qs, u""_qs, u"b"_qs};
    QTest::newRow("leading terminator") << u"\na"_qs << QStringList{u""_qs, u"a"_qs};
    QTest::newRow("blank line at the end") << u"a\n\n"_qs << QStringList{u"a"_qs, u""_qs};
    QTest::newRow("vertical tab is text") << u"a\u000bb"_qs << QStringList{u"a\u000bb"_qs};
}

void TestPlatform::linesCutAtEveryTerminator() {
    QFETCH(QString, text);
    QFETCH(QStringList, expected);
    QCOMPARE(platform::lines(text), expected);
    // Stopping early yields a prefix.
    QStringList first;
    platform::forEachLine(text, [&](QStringView line) {
        first.append(line.toString());
        return false;
    });
    QCOMPARE(first, expected.mid(0, 1));
}

void TestPlatform::firstGraphemeWidth_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<qsizetype>("bytes");
    QTest::newRow("empty") << QString() << qsizetype(0);
    QTest::newRow("a") << u"apple,りんご"_qs << qsizetype(1);
    QTest::newRow("é precomposed") << u"\u00e9"_qs << qsizetype(2);
    QTest::newRow("e + combining acute") << u"e\u0301x"_qs << qsizetype(3);
    QTest::newRow("あ") << u"あいう"_qs << qsizetype(3);
    QTest::newRow("ideographic space") << u"\u3000a"_qs << qsizetype(3);
    QTest::newRow("astral") << u"😀a"_qs << qsizetype(4);
    QTest::newRow("cluster longer than the first look")
        << (u"a"_qs + QString(40, QChar(0x0301)) + u"b"_qs) << qsizetype(1 + 40 * 2);
}

void TestPlatform::firstGraphemeWidth() {
    QFETCH(QString, text);
    QFETCH(qsizetype, bytes);
    QCOMPARE(platform::firstGraphemeUtf8Length(text), bytes);
}

void TestPlatform::decodersAreStrict() {
    QCOMPARE(platform::decodeUtf8("apple$\xe3\x82"), std::nullopt); // cut off at the end
    QCOMPARE(platform::decodeUtf8("\xc0\xaf"), std::nullopt);       // overlong "/"
    QCOMPARE(platform::decodeUtf8("\xed\xa0\x80"), std::nullopt);   // surrogate
    QCOMPARE(platform::decodeUtf8("\xef\xbb\xbf"
                                  "a\xef\xbb\xbf"),
             std::optional(u"a\ufeff"_qs)); // only a leading mark is a signature
    // "りんご" in Shift_JIS is not UTF-8, but decodes cleanly as Shift_JIS.
    const QByteArray sjis("apple,\x82\xe8\x82\xf1\x82\xb2");
    QCOMPARE(platform::decodeUtf8(sjis), std::nullopt);
    QCOMPARE(platform::decodeShiftJis(sjis), std::optional(u"apple,りんご"_qs));
    QCOMPARE(platform::decodeShiftJis("\x82"), std::nullopt);
}

void TestPlatform::listingIncludesHiddenEntriesAndDescribesFailure() {
    TestHome home;
    home.makeListFolder();
    home.writeFile(u"words_lists/a.txt"_qs, "");
    home.writeFile(u"words_lists/.hidden"_qs, "");
    QVERIFY(QFile::link(home.path() + u"/nowhere"_qs, home.listFolder() + u"/dangling"_qs));
    platform::Result<QStringList> listing = platform::listFolder(home.listFolder());
    QVERIFY(listing.ok);
    listing.value.sort();
    QCOMPARE(listing.value, (QStringList{u".hidden"_qs, u"a.txt"_qs, u"dangling"_qs}));
    QVERIFY(platform::exists(home.listFolder() + u"/dangling"_qs));

    for (const QString& bad : {u"missing"_qs, u"words_lists/a.txt"_qs}) {
        listing = platform::listFolder(home.path() + u'/' + bad);
        QVERIFY(!listing.ok);
        QVERIFY2(listing.error.contains(bad), qPrintable(listing.error));
    }
}

void TestPlatform::moveAndNewWriteNeverReplace() {
    TestHome home;
    home.writeFile(u"from"_qs, "new");
    home.writeFile(u"to"_qs, "old");
    QVERIFY(!platform::moveNoReplace(home.path() + u"/from"_qs, home.path() + u"/to"_qs).ok);
    const platform::NewFileStatus taken =
        platform::writeUtf8AtomicNew(home.path() + u"/to"_qs, u"newer"_qs);
    QVERIFY(!taken.ok && taken.alreadyExists);
    QCOMPARE(home.readFile(u"to"_qs), QByteArray("old"));

    QVERIFY(platform::moveNoReplace(home.path() + u"/from"_qs, home.path() + u"/free"_qs).ok);
    QVERIFY(!home.has(u"from"_qs));
    QVERIFY(platform::writeUtf8AtomicNew(home.path() + u"/y.txt"_qs, u"りんご"_qs).ok);
    QCOMPARE(home.readFile(u"y.txt"_qs), u"りんご"_qs.toUtf8());
    QVERIFY(QFileInfo(home.path() + u"/y.txt"_qs).permissions() & QFileDevice::ReadOther);
    QCOMPARE(QDir(home.path()).entryList(QDir::Files | QDir::Hidden),
             (QStringList{u"free"_qs, u"to"_qs, u"y.txt"_qs}));
}

void TestPlatform::atomicWriteLeavesNoPartialFile() {
    TestHome home;
    const platform::Status failed =
        platform::writeUtf8Atomic(home.path() + u"/missing/x.txt"_qs, u"text"_qs);
    QVERIFY(!failed.ok);
    QVERIFY(failed.error.contains(u"x.txt"_qs));
    QVERIFY(!platform::writeUtf8AtomicNew(home.path() + u"/missing/x.txt"_qs, u"t"_qs).ok);
    QVERIFY(QDir(home.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));

    home.writeFile(u"x.txt"_qs, "old");
    QVERIFY(platform::writeUtf8Atomic(home.path() + u"/x.txt"_qs, u"りんご"_qs).ok);
    QCOMPARE(home.readFile(u"x.txt"_qs), u"りんご"_qs.toUtf8());
    QCOMPARE(QDir(home.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"x.txt"_qs});
}

void TestPlatform::removeNeverFollowsLinks() {
    TestHome home;
    QDir(home.path()).mkpath(u"target"_qs);
    home.writeFile(u"target/keep.txt"_qs, "keep");
    QDir(home.path()).mkpath(u"tree/sub"_qs);
    QVERIFY(QFile::link(home.path() + u"/target"_qs, home.path() + u"/tree/sub/link"_qs));
    QVERIFY(platform::removeEntryWithin(home.path(), home.path(), u"tree"_qs).ok);
    QVERIFY(!home.has(u"tree"_qs));
    QCOMPARE(home.readFile(u"target/keep.txt"_qs), QByteArray("keep"));
    const platform::Status missing =
        platform::removeEntryWithin(home.path(), home.path(), u"gone"_qs);
    QVERIFY(!missing.ok && missing.error.contains(u"gone"_qs));
}

void TestPlatform::readDescribesFailure() {
    TestHome home;
    home.writeFile(u"latin1.txt"_qs, "caf\xe9");
    QDir(home.path()).mkdir(u"folder"_qs);
    for (const QString& name : {u"missing.txt"_qs, u"latin1.txt"_qs, u"folder"_qs}) {
        const platform::Result<QString> read = platform::readUtf8(home.path() + u'/' + name);
        QVERIFY2(!read.ok, qPrintable(name));
        QVERIFY2(read.error.contains(name) && !read.error.contains(u'\n'), qPrintable(read.error));
    }
}

void TestPlatform::locationTextIsAnEncodedFileUrl() {
    TestHome home;
    home.makeListFolder();
    const QString base = u"file://"_qs + home.path() + u"/words_lists/"_qs;
    QCOMPARE(platform::locationText(home.listFolder()), base);
    QCOMPARE(platform::locationText(home.listFolder() + u"/a b.txt"_qs), base + u"a%20b.txt"_qs);
    QCOMPARE(platform::locationText(home.listFolder() + u"/単.txt"_qs), base + u"%E5%8D%98.txt"_qs);
}

QTEST_GUILESS_MAIN(TestPlatform)
#include "test_platform.moc"
