#include "app/app_delegate.h"
#include "setup/folder_listing.h"
#include "setup/list_deletion.h"
#include "setup/list_loading.h"
#include "stdout_capture.h"
#include "test_home.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <QUrl>
#include <memory>

using setup::SetupScreen;

class TestListDeletion : public QObject {
    Q_OBJECT

    std::unique_ptr<TestHome> home_;
    AppDelegate delegate_;
    SetupScreen screen_;
    QStringList wordsLists_;
    QStringList asked_; // what each confirmation was asked about

    setup::ConfirmDelete answering(bool yes) {
        return [this, yes](const QString& item) {
            asked_.append(item);
            return yes;
        };
    }

    void select(const QString& name) {
        screen_.selectedIndex = screen_.items.indexOf(name);
        QVERIFY(screen_.selectedIndex >= 0);
    }

    // Loads a.txt with the screen, then selects another entry.
    void loadThenSelect(const QString& name) {
        select(QStringLiteral("a.txt"));
        setup::loadSelectedList(delegate_, screen_);
        select(name);
    }

private slots:
    void init() {
        home_ = std::make_unique<TestHome>();
        home_->makeListFolder();
        home_->writeFile(QStringLiteral("words_lists/a.txt"), "apple$りんご\nbook$本\n");
        home_->writeFile(QStringLiteral("words_lists/b.txt"), "b$2\n");
        QDir(home_->listFolder()).mkdir(QStringLiteral("x"));
        home_->writeFile(QStringLiteral("words_lists/x/inner.txt"), "i$1\n");
        words_lists_url() = QUrl::fromLocalFile(home_->listFolder());
        delegate_ = AppDelegate();
        delegate_.SHUFFLE = false;
        screen_ = SetupScreen();
        wordsLists_.clear();
        asked_.clear();
        StdoutCapture quiet;
        setup::listOnViewLoad(screen_, wordsLists_);
    }
    void cleanup() { home_.reset(); }

    void noSelectionDoesNothing() {
        delegate_.SELECTED_ITEM = QStringLiteral("earlier");
        delegate_.WORDS_LIST_FOR_GAME = QStringLiteral("file:///somewhere/a.txt");
        const QStringList items = screen_.items;
        StdoutCapture out;
        setup::deleteSelected(delegate_, screen_, answering(true));
        QCOMPARE(delegate_.SELECTED_ITEM, QString());
        QVERIFY(asked_.isEmpty());
        QCOMPARE(screen_.items, items);
        QVERIFY(QFileInfo::exists(home_->listFolder()));
        QVERIFY(out.bytes().isEmpty());
    }

    void cancelRemovesNothing() {
        StdoutCapture quiet;
        loadThenSelect(QStringLiteral("b.txt"));
        setup::deleteSelected(delegate_, screen_, answering(false));
        QCOMPARE(asked_, QStringList{"b.txt"});
        QCOMPARE(delegate_.SELECTED_ITEM, QStringLiteral("b.txt"));
        QVERIFY(home_->has(QStringLiteral("words_lists/b.txt")));
        QVERIFY(screen_.items.contains(QStringLiteral("b.txt")));
    }

    void yesBeforeAnyLoadRemovesNothing() {
        select(QStringLiteral("b.txt"));
        StdoutCapture out;
        setup::deleteSelected(delegate_, screen_, answering(true));
        QCOMPARE(asked_, QStringList{"b.txt"});
        QVERIFY(home_->has(QStringLiteral("words_lists/b.txt")));
        QVERIFY(out.bytes().isEmpty());
    }

    void lastLoadMustTargetATextFile() {
        StdoutCapture quiet;
        select(QStringLiteral("x"));
        setup::loadSelectedList(delegate_, screen_); // a folder: ends in "/", not ".txt"
        select(QStringLiteral("b.txt"));
        setup::deleteSelected(delegate_, screen_, answering(true));
        QVERIFY(home_->has(QStringLiteral("words_lists/b.txt")));
    }

    void yesRemovesTheSelectedEntryOnly() {
        StdoutCapture out;
        loadThenSelect(QStringLiteral("b.txt"));
        screen_.preview = QStringLiteral("shown");
        const QString countText = screen_.countText;
        const QStringList lists = wordsLists_;
        out.bytes();
        setup::deleteSelected(delegate_, screen_, answering(true));
        QVERIFY(!home_->has(QStringLiteral("words_lists/b.txt")));
        QVERIFY(home_->has(QStringLiteral("words_lists/a.txt")));
        QVERIFY(!screen_.items.contains(QStringLiteral("b.txt")));
        QCOMPARE(screen_.items.size(), 2);
        QCOMPARE(screen_.selectedIndex, -1);
        QCOMPARE(screen_.preview, QString());
        // The loaded pairs, the count, the start button and WORDS_LISTS stay.
        QCOMPARE(delegate_.english_words, QStringList({"apple", "book"}));
        QCOMPARE(delegate_.LINE_INDEX, 2);
        QCOMPARE(screen_.countText, countText);
        QVERIFY(screen_.startEnabled);
        QCOMPARE(wordsLists_, lists);
    }

    void yesRemovesAFolderWithItsContents() {
        StdoutCapture quiet;
        loadThenSelect(QStringLiteral("x"));
        setup::deleteSelected(delegate_, screen_, answering(true));
        QVERIFY(!home_->has(QStringLiteral("words_lists/x")));
        QVERIFY(!screen_.items.contains(QStringLiteral("x")));
    }

    void aLinkIsRemovedNotItsTarget() {
        const QString outside = home_->path() + QStringLiteral("/keep");
        QDir().mkdir(outside);
        home_->writeFile(QStringLiteral("keep/k.txt"), "k$1\n");
        QVERIFY(QFile::link(outside, home_->listFolder() + QStringLiteral("/link")));
        StdoutCapture quiet;
        setup::listDefaultFolder(screen_, wordsLists_);
        loadThenSelect(QStringLiteral("link"));
        setup::deleteSelected(delegate_, screen_, answering(true));
        QVERIFY(!home_->has(QStringLiteral("words_lists/link")));
        QVERIFY(home_->has(QStringLiteral("keep/k.txt")));
    }

    void outsideTheListFolderNothingIsRemoved() {
        const QString other = home_->path() + QStringLiteral("/other");
        QDir().mkdir(other);
        home_->writeFile(QStringLiteral("other/o.txt"), "o$1\n");
        StdoutCapture out;
        setup::listChosenFolder(screen_, wordsLists_, QUrl::fromLocalFile(other));
        select(QStringLiteral("o.txt"));
        setup::loadSelectedList(delegate_, screen_);
        out.bytes();
        StdoutCapture deletion;
        setup::deleteSelected(delegate_, screen_, answering(true));
        QVERIFY(home_->has(QStringLiteral("other/o.txt")));
        QCOMPARE(screen_.items, QStringList{"o.txt"});
        QCOMPARE(screen_.selectedIndex, 0);
        QCOMPARE(deletion.lines().size(), 1);
        QVERIFY(deletion.lines().constFirst().contains(QStringLiteral("o.txt")));
    }

    void entryGoneMeanwhileIsReported() {
        StdoutCapture quiet;
        loadThenSelect(QStringLiteral("b.txt"));
        QFile::remove(home_->listFolder() + QStringLiteral("/b.txt"));
        StdoutCapture out;
        setup::deleteSelected(delegate_, screen_, answering(true));
        QVERIFY(screen_.items.contains(QStringLiteral("b.txt")));
        QCOMPARE(out.lines().size(), 1);
    }

    void deletedNameComesBackAfterAFailedListing() {
        StdoutCapture quiet;
        loadThenSelect(QStringLiteral("b.txt"));
        setup::deleteSelected(delegate_, screen_, answering(true));
        QDir(home_->listFolder()).removeRecursively();
        setup::listDefaultFolder(screen_, wordsLists_);
        QVERIFY(screen_.items.contains(QStringLiteral("b.txt")));
    }
};

QTEST_GUILESS_MAIN(TestListDeletion)
#include "tst_list_deletion.moc"
