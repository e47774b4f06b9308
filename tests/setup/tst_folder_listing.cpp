#include "app/app_delegate.h"
#include "app/diagnostics.h"
#include "setup/folder_listing.h"
#include "stdout_capture.h"
#include "test_home.h"

#include <QDir>
#include <QSet>
#include <QTest>
#include <QUrl>
#include <memory>
#include <unistd.h>

using setup::SetupScreen;

class TestFolderListing : public QObject {
    Q_OBJECT

    std::unique_ptr<TestHome> home_;

    QString folderText(const QString& path) const {
        return QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded) + u'/';
    }
    static QSet<QString> asSet(const QStringList& names) { return {names.begin(), names.end()}; }

    // The names as the file system yields them.
    static QStringList listed(const QString& path) {
        return QDir(path).entryList(
            QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
    }

private slots:
    void init() {
        home_ = std::make_unique<TestHome>();
        home_->makeListFolder();
        home_->writeFile(QStringLiteral("words_lists/a.txt"), "a$1\n");
        home_->writeFile(QStringLiteral("words_lists/b.txt"), "b$2\n");
        QDir(home_->listFolder()).mkdir(QStringLiteral("x"));
        words_lists_url() = QUrl::fromLocalFile(home_->listFolder());
    }
    void cleanup() { home_.reset(); }

    void viewLoadListsEveryEntry() {
        SetupScreen screen;
        QStringList wordsLists;
        StdoutCapture out;
        setup::listOnViewLoad(screen, wordsLists);
        QCOMPARE(screen.pathText, folderText(home_->listFolder()));
        QCOMPARE(out.lines(), QStringList{screen.pathText});
        QCOMPARE(asSet(screen.items), (QSet<QString>{"a.txt", "b.txt", "x"}));
        QCOMPARE(screen.items, listed(home_->listFolder()));
        QCOMPARE(wordsLists, screen.items);
        QCOMPARE(screen.selectedIndex, -1);
    }

    void namesAreTakenAsTheyAre() {
        const QStringList odd{QStringLiteral("a b.txt"), QStringLiteral("日本語.txt"),
                              QStringLiteral(".hidden"), QStringLiteral("new\nline.txt")};
        for (const QString& name : odd)
            home_->writeFile(QStringLiteral("words_lists/") + name, "x$y\n");
        SetupScreen screen;
        QStringList wordsLists;
        StdoutCapture out;
        setup::listDefaultFolder(screen, wordsLists);
        for (const QString& name : odd)
            QVERIFY(screen.items.contains(name));
        // The names stay one line, the line end in a name escaped, in the listing's order.
        const QStringList lines = out.lines();
        QCOMPARE(lines.size(), 1);
        QCOMPARE(lines.constFirst(),
                 platform::nameListLine(wordsLists).replace(u'\n', QStringLiteral("\\n")));
    }

    void manyEntries() {
        const QString folder = home_->path() + QStringLiteral("/many");
        QDir().mkdir(folder);
        for (int i = 0; i < 10000; ++i)
            QFile(folder + QStringLiteral("/%1.txt").arg(i)).open(QIODevice::WriteOnly);
        SetupScreen screen;
        QStringList wordsLists;
        StdoutCapture out;
        setup::listChosenFolder(screen, wordsLists, QUrl::fromLocalFile(folder));
        QCOMPARE(screen.items.size(), 10000);
        QVERIFY(screen.items.contains(QStringLiteral("9999.txt")));
    }

    // A listing that fails leaves each listing's own result (the combo box before is
    // "kept", and WORDS_LISTS holds an earlier listing's names).
    void failedListing_data() {
        QTest::addColumn<int>("listing");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("view load: combo box untouched") << 0 << QStringList{"kept"};
        QTest::newRow("default: the previous names again") << 1 << QStringList{"earlier.txt"};
        QTest::newRow("chosen: combo box empty") << 2 << QStringList{};
    }
    void failedListing() {
        QFETCH(int, listing);
        QFETCH(QStringList, items);
        const QString gone = home_->path() + QStringLiteral("/gone");
        SetupScreen screen;
        screen.items = {QStringLiteral("kept")};
        screen.selectedIndex = 0;
        QStringList wordsLists{QStringLiteral("earlier.txt")};
        QDir(home_->listFolder()).removeRecursively();

        StdoutCapture out;
        if (listing == 0) {
            words_lists_url() = QUrl::fromLocalFile(gone);
            setup::listOnViewLoad(screen, wordsLists);
        } else if (listing == 1) {
            setup::listDefaultFolder(screen, wordsLists);
        } else {
            setup::listChosenFolder(screen, wordsLists, QUrl::fromLocalFile(gone));
        }
        QCOMPARE(screen.items, items);
        QCOMPARE(screen.selectedIndex, -1);
        QCOMPARE(wordsLists, QStringList{"earlier.txt"});
        const QString folder = listing == 1 ? home_->listFolder() : gone;
        QCOMPARE(screen.pathText, QUrl::fromLocalFile(folder).toString(QUrl::FullyEncoded));
        const QStringList lines = out.lines();
        // normal_path prints only the error; the other two print the location first.
        QCOMPARE(lines.size(), listing == 1 ? 1 : 2);
        if (listing != 1)
            QCOMPARE(lines.constFirst(), screen.pathText);
        QVERIFY(lines.constLast().contains(folder));
    }

    void defaultFolderAfterAnother() {
        const QString other = home_->path() + QStringLiteral("/other");
        QDir().mkdir(other);
        home_->writeFile(QStringLiteral("other/o.txt"), "o$1\n");
        words_lists_url() = QUrl::fromLocalFile(other);
        SetupScreen screen;
        screen.items = {QStringLiteral("o.txt")};
        QStringList wordsLists;
        StdoutCapture out;
        setup::listDefaultFolder(screen, wordsLists);
        QCOMPARE(words_lists_url().toLocalFile(), home_->listFolder());
        QCOMPARE(asSet(screen.items), (QSet<QString>{"a.txt", "b.txt", "x"}));
        QCOMPARE(screen.pathText, folderText(home_->listFolder()));
        QCOMPARE(out.lines(), QStringList{platform::nameListLine(wordsLists)});
    }

    void chosenFolderIsListedAndKept() {
        const QString other = home_->path() + QStringLiteral("/other folder");
        QDir().mkdir(other);
        home_->writeFile(QStringLiteral("other folder/o.txt"), "o$1\n");
        SetupScreen screen;
        QStringList wordsLists;
        {
            StdoutCapture quiet;
            setup::listOnViewLoad(screen, wordsLists);
        }
        StdoutCapture out;
        setup::listChosenFolder(screen, wordsLists, QUrl::fromLocalFile(other));
        QCOMPARE(screen.items, QStringList{"o.txt"});
        QCOMPARE(wordsLists, QStringList{"o.txt"});
        QVERIFY(screen.pathText.endsWith(QStringLiteral("/other%20folder/")));
        QCOMPARE(out.lines(), QStringList{screen.pathText});

        // A later screen lists the folder chosen here.
        SetupScreen later;
        QStringList laterLists;
        StdoutCapture quiet;
        setup::listOnViewLoad(later, laterLists);
        QCOMPARE(later.items, QStringList{"o.txt"});
    }

    void chosenFileCannotBeListed() {
        SetupScreen screen;
        QStringList wordsLists;
        {
            StdoutCapture quiet;
            setup::listOnViewLoad(screen, wordsLists);
        }
        const QStringList before = wordsLists;
        const QString file = home_->listFolder() + QStringLiteral("/a.txt");
        StdoutCapture out;
        setup::listChosenFolder(screen, wordsLists, QUrl::fromLocalFile(file));
        QCOMPARE(words_lists_url().toLocalFile(), file);
        QCOMPARE(screen.pathText, QUrl::fromLocalFile(file).toString(QUrl::FullyEncoded));
        QVERIFY(screen.items.isEmpty());
        QCOMPARE(wordsLists, before);
        QCOMPARE(out.lines().size(), 2);
    }

    void unreadableFolderIsReported() {
        if (::geteuid() == 0)
            QSKIP("permissions do not stop the superuser");
        const QString locked = home_->path() + QStringLiteral("/locked");
        QDir().mkdir(locked);
        QFile::setPermissions(locked, QFileDevice::WriteOwner);
        SetupScreen screen;
        QStringList wordsLists{QStringLiteral("earlier.txt")};
        StdoutCapture out;
        setup::listChosenFolder(screen, wordsLists, QUrl::fromLocalFile(locked));
        QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ExeOwner);
        QVERIFY(screen.items.isEmpty());
        QCOMPARE(out.lines().size(), 2);
    }

    void cancelledChoiceChangesNothing() {
        SetupScreen screen;
        QStringList wordsLists;
        {
            StdoutCapture quiet;
            setup::listOnViewLoad(screen, wordsLists);
        }
        screen.selectedIndex = 1;
        const SetupScreen before = screen;
        const QStringList listsBefore = wordsLists;
        StdoutCapture out;
        setup::listChosenFolder(screen, wordsLists, std::nullopt);
        QCOMPARE(screen.items, before.items);
        QCOMPARE(screen.selectedIndex, 1);
        QCOMPARE(screen.pathText, before.pathText);
        QCOMPARE(wordsLists, listsBefore);
        QCOMPARE(words_lists_url().toLocalFile(), home_->listFolder());
        QVERIFY(out.bytes().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestFolderListing)
#include "tst_folder_listing.moc"
