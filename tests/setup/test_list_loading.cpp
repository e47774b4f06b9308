// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/app_delegate.h"
#include "setup/list_loading.h"
#include "stdout_capture.h"
#include "test_home.h"

#include <QDir>
#include <QTest>
#include <QUrl>

// Each case loads old.txt, then "my list#%.txt" with the given content over it.
class TestListLoading : public QObject {
    Q_OBJECT

private slots:
    void load_data() {
        QTest::addColumn<QByteArray>("content"); // null: missing; "/": a folder
        QTest::addColumn<QStringList>("pairs");  // "English|Japanese"; none when unreadable
        QTest::addColumn<bool>("readable");
        QTest::addColumn<bool>("shuffle");
        auto row = [](const char* name, const QByteArray& content, const QStringList& pairs,
                      bool readable = true, bool shuffle = false) {
            QTest::newRow(name) << content << pairs << readable << shuffle;
        };
        row("two lines", "apple$りんご\nbook$本\n", {"apple|りんご", "book|本"});
        row("SHUFFLE on", "apple$りんご\nbook$本\n", {"book|本", "apple|りんご"}, true, true);
        row("CR LF", "apple$りんご\r\nbook$本\r\n", {"apple|りんご", "book|本"});
        row("no final end", "a$1\nb$2", {"a|1", "b|2"});
        row("CR NEL LS PS", "a$1\rb$2\xc2\x85g$3\xe2\x80\xa8h$4\xe2\x80\xa9",
            {"a|1", "b|2", "g|3", "h|4"});
        row("a$b$c", "a$b$c\n", {"a|b"});
        row("$x a$ $", "$x\na$\n$\n", {"|x", "a|", "|"});
        row("no $, empty line", "just words\n\nz$9\n", {"just words|", "|", "z|9"});
        row("byte-order mark", "\xef\xbb\xbfz$1\n", {"z|1"});
        row("empty file", "", {});
        row("missing", QByteArray(), {}, false);
        row("unreadable: a folder", "/", {}, false);
        row("not UTF-8", "caf\xe9$x\n", {}, false);
        row("cut-off UTF-8", "a$\xe3\x81", {}, false);
    }
    void load() {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, pairs);
        QFETCH(bool, readable);
        QFETCH(bool, shuffle);
        TestHome home;
        home.makeListFolder();
        words_lists_url() = QUrl::fromLocalFile(home.listFolder());
        home.writeFile(QStringLiteral("words_lists/old.txt"), "o$1\np$2\n");
        const QString name = QStringLiteral("my list#%.txt");
        if (content == "/")
            QDir(home.listFolder()).mkdir(name);
        else if (!content.isNull())
            home.writeFile(QStringLiteral("words_lists/") + name, content);
        AppDelegate delegate;
        delegate.SHUFFLE = false;
        setup::SetupScreen screen;
        screen.items = {QStringLiteral("old.txt"), name};
        screen.selectedIndex = 0;
        {
            StdoutCapture quiet;
            setup::loadSelectedList(delegate, screen);
        }
        const QStringList held = delegate.english_words; // a copy that must not change
        StdoutCapture out;
        screen.selectedIndex = 1;
        delegate.SHUFFLE = shuffle;
        setup::loadSelectedList(delegate, screen);

        QStringList loaded;
        for (qsizetype i = 0; i < delegate.english_words.size(); ++i)
            loaded.append(delegate.english_words[i] + u'|' + delegate.japanese_words.value(i));
        QCOMPARE(loaded, pairs);
        QCOMPARE(delegate.japanese_words.size(), pairs.size());
        QCOMPARE(delegate.LINE_INDEX, pairs.size());
        QCOMPARE(screen.countText, QStringLiteral("全%1単語").arg(pairs.size()));
        QCOMPARE(screen.startEnabled, readable);
        const QByteArray shown = content.startsWith('\xef') ? content.mid(3) : content;
        QCOMPARE(screen.preview.toUtf8(), readable ? shown : QByteArray("o$1\np$2\n"));
        QCOMPARE(held, QStringList({"o", "p"}));
        QCOMPARE(delegate.SELECTED_ITEM, name);
        const QString location =
            QUrl::fromLocalFile(home.listFolder()).toString(QUrl::FullyEncoded) +
            QStringLiteral("/my%20list%23%25.txt");
        QCOMPARE(delegate.WORDS_LIST_FOR_GAME, location + (content == "/" ? "/" : ""));
        // The location, then LINE_INDEX before each line, or each failed read's description.
        const QStringList lines = out.lines();
        QStringList expected{delegate.WORDS_LIST_FOR_GAME};
        for (qsizetype i = 0; i < pairs.size(); ++i)
            expected.append(QString::number(i));
        if (!readable) {
            QVERIFY(!lines.value(1).isEmpty());
            expected << lines.value(1) << lines.value(1);
        }
        QCOMPARE(lines, expected);
    }
};

QTEST_GUILESS_MAIN(TestListLoading)
#include "test_list_loading.moc"
