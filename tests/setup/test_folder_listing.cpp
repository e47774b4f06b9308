// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/app_delegate.h"
#include "setup/folder_listing.h"
#include "stdout_capture.h"
#include "test_home.h"

#include <QDir>
#include <QTest>
#include <QUrl>

enum Listing { ViewLoad, NormalPath, Open };

class TestFolderListing : public QObject {
    Q_OBJECT

    static QStringList words(const char* spaced) {
        return QString::fromUtf8(spaced).split(u' ', Qt::SkipEmptyParts);
    }

private slots:
    // folder: the one listed, under the home folder ("gone": missing). items: the combo box
    // after, sorted. printed: "location" (the path text), "names" (WORDS_LISTS on one line)
    // or "error" (a description naming the folder).
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
        row("view load", ViewLoad, "words_lists", "a.txt b.txt kept", "location");
        row("view load, missing", ViewLoad, "gone", "kept", "location error");
        row("normal_path", NormalPath, "words_lists", "a.txt b.txt", "names");
        row("normal_path, missing: previous names", NormalPath, "gone", "earlier.txt", "error");
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
        // ~/words_lists holds a.txt and b.txt; the combo box "kept" (selected); WORDS_LISTS
        // "earlier.txt".
        TestHome home;
        home.makeListFolder();
        home.writeFile(QStringLiteral("words_lists/a.txt"), "a$1\n");
        home.writeFile(QStringLiteral("words_lists/b.txt"), "b$2\n");
        QDir(home.path()).mkdir(QStringLiteral("other"));
        home.writeFile(QStringLiteral("other/o.txt"), "o$1\n");
        words_lists_url() = QUrl::fromLocalFile(home.path() + QStringLiteral("/other"));
        setup::SetupScreen screen;
        screen.items = {QStringLiteral("kept")};
        screen.selectedIndex = 0;
        QStringList wordsLists{QStringLiteral("earlier.txt")};
        QString path = home.path() + u'/' + folder;
        if (listing == NormalPath) {
            if (fails)
                QDir(home.listFolder()).removeRecursively();
            path = home.listFolder();
        }
        StdoutCapture out;
        if (listing == ViewLoad) {
            words_lists_url() = QUrl::fromLocalFile(path);
            setup::listOnViewLoad(screen, wordsLists);
        } else if (listing == NormalPath) {
            setup::listDefaultFolder(screen, wordsLists);
        } else {
            setup::listChosenFolder(screen, wordsLists, QUrl::fromLocalFile(path));
        }

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
};

QTEST_GUILESS_MAIN(TestFolderListing)
#include "test_folder_listing.moc"
