// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/app_delegate.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "setup/folder_listing.h"
#include "setup/list_deletion.h"
#include "setup/list_loading.h"
#include "stdout_capture.h"
#include "test_home.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <QUrl>

class TestListDeletion : public QObject {
    Q_OBJECT

private slots:
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
        row("a link, not its target", "", "a.txt", "link", true, true);
        row("no selection", "", "a.txt", "", true, false);
        row("outside words_lists", "other", "o.txt", "o.txt", true, false);
        row("a name that is not UTF-8", "", "<sj>", "<sj>", true, true);
    }
    void deletion() {
        QFETCH(QString, folder);
        QFETCH(QString, load);
        QFETCH(QString, select);
        // A name in Shift_JIS, as unzipping an archive made on Windows leaves it.
        const QString sjis = platform::decodeFileName("sj\x82\xa0.txt");
        load.replace(u"<sj>"_qs, sjis);
        select.replace(u"<sj>"_qs, sjis);
        QFETCH(bool, yes);
        QFETCH(bool, removed);
        TestHome home;
        for (const char* made : {"words_lists/x", "other"})
            QDir(home.path()).mkpath(QString::fromLatin1(made));
        home.writeFile(QStringLiteral("words_lists/a.txt"), "apple$りんご\nbook$本\n");
        home.writeFile(QStringLiteral("words_lists/b.txt"), "b$2\n");
        home.writeFile(QStringLiteral("words_lists/x/inner.txt"), "i$1\n");
        home.writeFile(QStringLiteral("other/o.txt"), "o$1\n");
        QVERIFY(QFile::link(home.path() + "/other", home.listFolder() + "/link"));
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
        QCOMPARE(before.startEnabled,
                 load.endsWith(u".txt"_qs)); // a list loaded, whatever its name
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
    }
};

QTEST_GUILESS_MAIN(TestListDeletion)
#include "test_list_deletion.moc"
