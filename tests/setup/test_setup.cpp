// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/app_delegate.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "settings/playing_settings.h"
#include "setup/folder_listing.h"
#include "setup/list_deletion.h"
#include "setup/list_loading.h"
#include "setup/shuffle.h"
#include "stdout_capture.h"
#include "test_home.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QTest>
#include <QUrl>

enum Listing { ViewLoad, NormalPath, Open };

// The set-up screen's rules: loading a list, listing a folder, deleting an entry, shuffling.
class TestSetup : public QObject {
    Q_OBJECT

    static QStringList words(const char* spaced) {
        return QString::fromUtf8(spaced).split(u' ', Qt::SkipEmptyParts);
    }

    // ~/words_lists holds a.txt (two pairs, written as a new list is), b.txt, .hidden, and the
    // folder x with inner.txt and a link to ~/other, which holds o.txt.
    static void arrange(const TestHome& home) {
        for (const char* made : {"words_lists/x", "other"})
            QDir(home.path()).mkpath(QString::fromLatin1(made));
        const QString a = home.listFolder() + u"/a.txt"_qs;
        QVERIFY(platform::writeBytesAtomicNew(a, "apple$りんご\nbook$本\n").ok);
        // A list written new gets the permissions of any new file, not a temporary's.
        QVERIFY(QFileInfo(a).permissions() & QFile::ReadOther);
        for (const char* file : {"words_lists/b.txt", "words_lists/x/inner.txt", "other/o.txt"})
            home.writeFile(QString::fromLatin1(file), "o$1\n");
        home.writeFile(u"words_lists/.hidden"_qs, ""); // listed like any entry
        // Removing x must not follow the link inside.
        QVERIFY(QFile::link(home.path() + "/other", home.listFolder() + "/x/link"));
    }

private slots:
    // Each case loads a.txt, then "my list#%.txt" holding content (null: missing; "/": a
    // folder). pairs: "English|Japanese" as loaded, or "unreadable".
    void load_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("pairs");
        QTest::addColumn<bool>("shuffle");
        auto row = [](const char* name, const QByteArray& content, const char* pairs,
                      bool shuffle = false) {
            QTest::newRow(name) << content << words(pairs) << shuffle;
        };
        row("two lines", "cat$猫\nbook$本\n", "cat|猫 book|本");
        row("SHUFFLE on", "cat$猫\nbook$本\n", "book|本 cat|猫", true);
        row("CR LF", "cat$猫\r\nbook$本\r\n", "cat|猫 book|本");
        row("no final end", "a$1\nb$2", "a|1 b|2");
        row("CR NEL LS PS", "a$1\rb$2\xc2\x85g$3\xe2\x80\xa8h$4\xe2\x80\xa9", "a|1 b|2 g|3 h|4");
        row("$x a$ $", "$x\na$\n$\n", "|x a| |");
        row("no $, empty line", "just_words\n\nz$9\n", "just_words| | z|9");
        row("byte-order mark", "\xef\xbb\xbfz$1\n", "z|1");
        row("empty file", "", "");
        row("missing", QByteArray(), "unreadable");
        row("unreadable: a folder", "/", "unreadable");
        row("not UTF-8", "caf\xe9$x\n", "unreadable");
        row("cut-off UTF-8", "a$\xe3\x81", "unreadable");
    }
    void load() {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, pairs);
        QFETCH(bool, shuffle);
        const bool readable = pairs.removeAll(u"unreadable"_qs) == 0;
        TestHome home;
        arrange(home);
        words_lists_url() = QUrl::fromLocalFile(home.listFolder());
        const QString name = QStringLiteral("my list#%.txt");
        if (content == "/")
            QDir(home.listFolder()).mkdir(name);
        else if (!content.isNull())
            home.writeFile(QStringLiteral("words_lists/") + name, content);
        AppDelegate delegate;
        delegate.SHUFFLE = false;
        setup::SetupScreen screen;
        screen.items = {QStringLiteral("a.txt"), name};
        screen.selectedIndex = 0;
        {
            StdoutCapture quiet;
            setup::loadSelectedList(delegate, screen);
        }
        StdoutCapture out;
        screen.selectedIndex = 1;
        delegate.SHUFFLE = shuffle;
        setup::loadSelectedList(delegate, screen);

        QStringList loaded;
        for (qsizetype i = 0;
             i < qMax(delegate.english_words.size(), delegate.japanese_words.size()); ++i)
            loaded.append(delegate.english_words.value(i) + u'|' +
                          delegate.japanese_words.value(i));
        QCOMPARE(loaded, pairs);
        QCOMPARE(delegate.LINE_INDEX, pairs.size());
        QCOMPARE(screen.countText, QStringLiteral("全%1単語").arg(pairs.size()));
        QCOMPARE(screen.startEnabled, readable);
        const QByteArray shown = content.startsWith('\xef') ? content.mid(3) : content;
        QCOMPARE(screen.preview.toUtf8(), readable ? shown : "apple$りんご\nbook$本\n"_qba);
        QCOMPARE(delegate.SELECTED_ITEM, name);
        QCOMPARE(delegate.WORDS_LIST_FOR_GAME,
                 QUrl::fromLocalFile(home.listFolder()).toString(QUrl::FullyEncoded) +
                     u"/my%20list%23%25.txt"_qs + (content == "/" ? "/" : ""));
        // The location, then LINE_INDEX before each line, or each failed read's description
        // naming the file.
        const QStringList lines = out.lines();
        QStringList expected{delegate.WORDS_LIST_FOR_GAME};
        for (qsizetype i = 0; i < pairs.size(); ++i)
            expected.append(QString::number(i));
        if (!readable) {
            QVERIFY2(lines.value(1).contains(name), qPrintable(lines.value(1)));
            expected << lines.value(1) << lines.value(1);
        }
        QCOMPARE(lines, expected);
    }

    // folder: the one listed, under the home folder ("gone": missing). items: the combo box
    // after, sorted. printed: "location" (the path text), "names" (WORDS_LISTS on one line)
    // or "error" (a description naming the folder). The combo box holds "kept" (selected)
    // before, WORDS_LISTS "earlier.txt", and the remembered folder is ~/other.
    void listing_data() {
        QTest::addColumn<int>("listing");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<QStringList>("printed");
        auto row = [](const char* name, Listing listing, const char* folder, const char* items,
                      const char* printed) {
            QTest::newRow(name) << int(listing) << QString::fromUtf8(folder) << words(items)
                                << words(printed);
        };
        const char* all = ".hidden a.txt b.txt x";
        row("view load", ViewLoad, "words_lists", ".hidden a.txt b.txt kept x", "location");
        row("view load, missing", ViewLoad, "gone", "kept", "location error");
        row("normal_path", NormalPath, "words_lists", all, "names");
        // normal_path always lists ~/words_lists: this row removes it first.
        row("normal_path, missing: previous names", NormalPath, "words_lists", "earlier.txt",
            "error");
        row("Open", Open, "other", "o.txt", "location");
        row("Open, missing", Open, "gone", "", "location error");
        row("Open, a file", Open, "words_lists/a.txt", "", "location error");
    }
    void listing() {
        QFETCH(int, listing);
        QFETCH(QString, folder);
        QFETCH(QStringList, items);
        QFETCH(QStringList, printed);
        const bool fails = printed.contains(QStringLiteral("error"));
        TestHome home;
        arrange(home);
        const QString path = home.path() + u'/' + folder;
        if (listing == NormalPath && fails)
            QDir(path).removeRecursively();
        words_lists_url() =
            QUrl::fromLocalFile(listing == ViewLoad ? path : home.path() + "/other");
        setup::SetupScreen screen;
        screen.items = {QStringLiteral("kept")};
        screen.selectedIndex = 0;
        QStringList wordsLists{QStringLiteral("earlier.txt")};
        StdoutCapture out;
        if (listing == ViewLoad)
            setup::listOnViewLoad(screen, wordsLists);
        else if (listing == NormalPath)
            setup::listDefaultFolder(screen, wordsLists);
        else
            setup::listChosenFolder(screen, wordsLists, QUrl::fromLocalFile(path));

        QStringList shown = screen.items;
        shown.sort();
        QCOMPARE(shown, items);
        QCOMPARE(screen.selectedIndex, -1);
        QCOMPARE(words_lists_url().toLocalFile(), path);
        QCOMPARE(screen.pathText,
                 QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded) + (fails ? "" : "/"));
        QCOMPARE(wordsLists.contains(QStringLiteral("earlier.txt")), fails);
        QStringList lines = out.lines();
        if (fails && !lines.isEmpty()) {
            QVERIFY2(lines.last().contains(path), qPrintable(lines.last()));
            lines.last() = QStringLiteral("error");
        }
        const QString names = "[\"" + wordsLists.join(QStringLiteral("\", \"")) + "\"]";
        QCOMPARE(lines, printed.replaceInStrings(QStringLiteral("location"), screen.pathText)
                            .replaceInStrings(QStringLiteral("names"), names));
    }

    // folder: the folder listed ("" for ~/words_lists); load: the entry loaded first (""
    // for none); select: the entry selected when deleting ("" for none); yes: the answer.
    void deletion_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("load");
        QTest::addColumn<QString>("select");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<bool>("removed");
        auto row = [](const char* name, const char* folder, const char* load, const char* select,
                      bool yes, bool removed) {
            QTest::newRow(name) << QString::fromUtf8(folder) << QString::fromUtf8(load)
                                << QString::fromUtf8(select) << yes << removed;
        };
        row("Cancel", "", "a.txt", "b.txt", false, false);
        row("YES before any load", "", "", "b.txt", true, false);
        row("YES after loading a folder", "", "x", "b.txt", true, false);
        row("YES after loading a.txt", "", "a.txt", "b.txt", true, true);
        row("a folder with its contents", "", "a.txt", "x", true, true);
        row("no selection", "", "a.txt", "", true, false);
        row("outside words_lists", "other", "o.txt", "o.txt", true, false);
        row("a name that is not UTF-8", "", "<sj>", "<sj>", true, true);
    }
    void deletion() {
        QFETCH(QString, folder);
        QFETCH(QString, load);
        QFETCH(QString, select);
        QFETCH(bool, yes);
        QFETCH(bool, removed);
        // A name in Shift_JIS, as unzipping an archive made on Windows leaves it.
        const QString sjis = platform::decodeFileName("sj\x82\xa0.txt");
        load.replace(u"<sj>"_qs, sjis);
        select.replace(u"<sj>"_qs, sjis);
        TestHome home;
        arrange(home);
        QVERIFY(platform::writeBytesAtomicNew(home.listFolder() + u'/' + sjis, "s$1\n").ok);
        const QString listed = folder.isEmpty() ? home.listFolder() : home.path() + u'/' + folder;
        words_lists_url() = QUrl::fromLocalFile(listed);

        AppDelegate delegate;
        delegate.SHUFFLE = false;
        delegate.SELECTED_ITEM = QStringLiteral("earlier");
        setup::SetupScreen screen;
        QStringList wordsLists;
        StdoutCapture quiet;
        setup::listOnViewLoad(screen, wordsLists);
        if (!load.isEmpty()) {
            screen.selectedIndex = screen.items.indexOf(load);
            setup::loadSelectedList(delegate, screen);
        }
        screen.selectedIndex = screen.items.indexOf(select);
        QCOMPARE(screen.selectedIndex >= 0, !select.isEmpty());
        const setup::SetupScreen before = screen;
        const AppDelegate loaded = delegate;
        quiet.bytes();

        QStringList asked;
        StdoutCapture out;
        setup::deleteSelected(delegate, screen, [&](const QString& item) {
            asked.append(item);
            return yes;
        });

        QCOMPARE(asked, select.isEmpty() ? QStringList{} : QStringList{select});
        QCOMPARE(delegate.SELECTED_ITEM, select);
        QCOMPARE(platform::exists(listed + u'/' + select), !removed);
        QVERIFY(home.has(QStringLiteral("other/o.txt")) && home.has(u"words_lists/a.txt"_qs));
        QStringList items = before.items;
        if (removed)
            items.removeOne(select);
        QCOMPARE(screen.items, items);
        QCOMPARE(screen.selectedIndex, removed ? -1 : before.selectedIndex);
        QCOMPARE(screen.preview, removed ? QString() : before.preview);
        // The loaded pairs, the count and the start button stay in every case.
        QCOMPARE(delegate.english_words, loaded.english_words);
        QVERIFY(screen.countText == before.countText && screen.startEnabled == before.startEnabled);
        // Only a refused removal prints: its description, naming the entry.
        const QStringList lines = out.lines();
        QCOMPARE(lines.size(), folder.isEmpty() ? 0 : 1);
        QVERIFY2(lines.isEmpty() || lines[0].contains(select), qPrintable(lines.value(0)));
        // The temporary home cannot remove a name that is not UTF-8 itself.
        platform::removeEntryWithin(home.listFolder(), home.listFolder(), sjis);
    }

    // Pair i is ("i", "語i"). A shuffle is one cycle through every pair, keeping pairs
    // together, and for a few pairs every one of the (n-1)! cycles comes out equally often
    // (cycles: the distinct outcomes to see; 0: too many to count).
    void shuffle_data() {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("runs");
        QTest::addColumn<int>("cycles");
        // Two always swap; 17 pairs and more go beyond the draws made ahead.
        for (const auto& [size, runs, cycles] : {std::tuple{0, 5, 1},
                                                 {1, 5, 1},
                                                 {2, 100, 1},
                                                 {3, 2000, 2},
                                                 {4, 120000, 6},
                                                 {17, 20, 0},
                                                 {18, 20, 0},
                                                 {33, 20, 0},
                                                 {1000, 20, 0}})
            QTest::addRow("%d pairs", size) << size << runs << cycles;
    }
    void shuffle() {
        QFETCH(int, size);
        QFETCH(int, runs);
        QFETCH(int, cycles);
        AppDelegate original;
        for (int i = 0; i < size; ++i) {
            original.english_words.append(QString::number(i));
            original.japanese_words.append(u"語"_qs + QString::number(i));
        }
        QHash<QString, int> seen;
        for (int run = 0; run < runs; ++run) {
            AppDelegate delegate = original;
            setup::shuffle_words(delegate);
            QCOMPARE(delegate.english_words.size(), size);
            int position = 0;
            int length = 0;
            do {
                const int item = delegate.english_words.value(position).toInt();
                QCOMPARE(delegate.japanese_words.value(position),
                         original.japanese_words.value(item));
                position = item;
                QVERIFY(++length <= qMax(size, 1));
            } while (position != 0);
            QCOMPARE(length, qMax(size, 1));
            ++seen[delegate.english_words.join(u',')];
        }
        if (cycles == 0)
            return;
        QCOMPARE(seen.size(), cycles);
        // Chi-square with at most 5 degrees of freedom: above 55 with probability < 1.3e-10.
        const double expected = double(runs) / cycles;
        double chiSquare = 0;
        for (const int count : std::as_const(seen))
            chiSquare += (count - expected) * (count - expected) / expected;
        QVERIFY2(chiSquare < 55.0, qPrintable(QString::number(chiSquare)));
    }

    // The play settings: only segment 1 chooses the other value (speech: only segment 0
    // turns it on), whatever the field held. A fresh start shows auto-shuffle on, English
    // asked and speech off.
    void choices() {
        using Segment = std::optional<int>;
        for (const auto& [segment, other, speak] : {std::tuple{Segment(0), false, true},
                                                    {Segment(1), true, false},
                                                    {Segment(2), false, false},
                                                    {Segment(-1), false, false},
                                                    {Segment(), false, false}}) {
            AppDelegate delegate;
            QCOMPARE(QList<int>({settings::autoShuffleSegment(delegate),
                                 settings::answerTypeSegment(delegate),
                                 settings::speechSegment(delegate)}),
                     QList<int>({0, 0, 1}));
            delegate.PLAYING_TYPE = other ? 0 : 1;
            delegate.SHUFFLE = other;
            delegate.SPEAK_AUTOMATICALLY = !speak;
            settings::answerType(delegate, segment);
            settings::autoShuffle(delegate, segment);
            settings::speech(delegate, segment);
            QCOMPARE(QList<bool>({delegate.PLAYING_TYPE == 1, delegate.SHUFFLE,
                                  delegate.SPEAK_AUTOMATICALLY}),
                     QList<bool>({other, !other, speak}));
        }
    }
};

QTEST_GUILESS_MAIN(TestSetup)
#include "test_setup.moc"
