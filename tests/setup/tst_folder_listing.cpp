#include "app/app_delegate.h"
#include "setup/folder_listing.h"
#include "stdout_capture.h"
#include "test_home.h"

#include <QDir>
#include <QTest>
#include <QUrl>
#include <memory>

enum Listing { ViewLoad, NormalPath, Open };

class TestFolderListing : public QObject {
    Q_OBJECT

    std::unique_ptr<TestHome> home_;
    setup::SetupScreen screen_;
    QStringList wordsLists_;

    static QStringList words(const char* spaced) {
        return QString::fromUtf8(spaced).split(u' ', Qt::SkipEmptyParts);
    }

private slots:
    // Every listing starts from a combo box holding "kept" (selected), WORDS_LISTS holding
    // "earlier.txt" and ~/words_lists holding a.txt and b.txt.
    void init() {
        home_ = std::make_unique<TestHome>();
        home_->makeListFolder();
        home_->writeFile(QStringLiteral("words_lists/a.txt"), "a$1\n");
        home_->writeFile(QStringLiteral("words_lists/b.txt"), "b$2\n");
        QDir(home_->path()).mkdir(QStringLiteral("other"));
        home_->writeFile(QStringLiteral("other/o.txt"), "o$1\n");
        words_lists_url() = QUrl::fromLocalFile(home_->path() + QStringLiteral("/other"));
        screen_ = setup::SetupScreen();
        screen_.items = {QStringLiteral("kept")};
        screen_.selectedIndex = 0;
        screen_.pathText = QStringLiteral("shown");
        wordsLists_ = QStringList{QStringLiteral("earlier.txt")};
    }
    void cleanup() { home_.reset(); }

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
        QString path = home_->path() + u'/' + folder;
        if (listing == NormalPath) {
            if (fails)
                QDir(home_->listFolder()).removeRecursively();
            path = home_->listFolder();
        }
        StdoutCapture out;
        if (listing == ViewLoad) {
            words_lists_url() = QUrl::fromLocalFile(path);
            setup::listOnViewLoad(screen_, wordsLists_);
        } else if (listing == NormalPath) {
            setup::listDefaultFolder(screen_, wordsLists_);
        } else {
            setup::listChosenFolder(screen_, wordsLists_, QUrl::fromLocalFile(path));
        }

        QStringList shown = screen_.items;
        shown.sort();
        QCOMPARE(shown, items);
        QCOMPARE(screen_.selectedIndex, -1);
        QCOMPARE(words_lists_url().toLocalFile(), path);
        QCOMPARE(screen_.pathText,
                 QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded) + (fails ? "" : "/"));
        QStringList listed = wordsLists_;
        listed.sort();
        items.removeOne(QStringLiteral("kept"));
        QCOMPARE(listed, fails ? QStringList{"earlier.txt"} : items);
        QStringList lines = out.lines();
        if (fails && !lines.isEmpty()) {
            QVERIFY2(lines.last().contains(path), qPrintable(lines.last()));
            lines.last() = QStringLiteral("error");
        }
        const QString names = "[\"" + wordsLists_.join(QStringLiteral("\", \"")) + "\"]";
        QCOMPARE(lines, printed.replaceInStrings(QStringLiteral("location"), screen_.pathText)
                            .replaceInStrings(QStringLiteral("names"), names));
    }

    void cancelledOpenChangesNothing() {
        StdoutCapture out;
        setup::listChosenFolder(screen_, wordsLists_, std::nullopt);
        QCOMPARE(screen_.items, QStringList{"kept"});
        QCOMPARE(screen_.selectedIndex, 0);
        QCOMPARE(screen_.pathText, QStringLiteral("shown"));
        QCOMPARE(wordsLists_, QStringList{"earlier.txt"});
        QCOMPARE(words_lists_url().toLocalFile(), home_->path() + QStringLiteral("/other"));
        QVERIFY(out.bytes().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestFolderListing)
#include "tst_folder_listing.moc"
