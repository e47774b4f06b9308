#include "app/app_delegate.h"
#include "setup/list_loading.h"
#include "stdout_capture.h"
#include "test_home.h"

#include <QTest>
#include <QUrl>
#include <memory>

using setup::SetupScreen;

class TestListLoading : public QObject {
    Q_OBJECT

    std::unique_ptr<TestHome> home_;

    // A screen whose combo box offers the given name and has it selected.
    static SetupScreen selecting(const QString& name) {
        SetupScreen screen;
        screen.items = {QStringLiteral("other.txt"), name};
        screen.selectedIndex = 1;
        return screen;
    }

    QString location(const QString& name) const {
        return QStringLiteral("file://") + QUrl::toPercentEncoding(home_->listFolder(), "/") +
               u'/' + QUrl::toPercentEncoding(name, "/");
    }

private slots:
    void init() {
        home_ = std::make_unique<TestHome>();
        home_->makeListFolder();
        words_lists_url() = QUrl::fromLocalFile(home_->listFolder());
    }
    void cleanup() { home_.reset(); }

    void loadsPairs_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("english");
        QTest::addColumn<QStringList>("japanese");

        QTest::newRow("two lines") << QByteArray("apple$りんご\nbook$本\n")
                                   << QStringList{"apple", "book"} << QStringList{"りんご", "本"};
        QTest::newRow("CR LF as LF") << QByteArray("apple$りんご\r\nbook$本\r\n")
                                     << QStringList{"apple", "book"} << QStringList{"りんご", "本"};
        QTest::newRow("last line without end")
            << QByteArray("a$1\nb$2") << QStringList{"a", "b"} << QStringList{"1", "2"};
        QTest::newRow("every terminator")
            << QByteArray("a$1\rb$2\xc2\x85"
                          "c$3\xe2\x80\xa8"
                          "d$4\xe2\x80\xa9")
            << QStringList{"a", "b", "c", "d"} << QStringList{"1", "2", "3", "4"};
        QTest::newRow("third field dropped")
            << QByteArray("a$b$c\n") << QStringList{"a"} << QStringList{"b"};
        QTest::newRow("empty halves")
            << QByteArray("$x\na$\n$\n") << QStringList{"", "a", ""} << QStringList{"x", "", ""};
        QTest::newRow("no dollar is all English")
            << QByteArray("just words\n\nz$9\n") << QStringList{"just words", "", "z"}
            << QStringList{"", "", "9"};
        QTest::newRow("spaces kept")
            << QByteArray(" a $ b \n") << QStringList{" a "} << QStringList{" b "};
        QTest::newRow("byte-order mark is no text") << QByteArray("\xef\xbb\xbf"
                                                                  "a$1\n")
                                                    << QStringList{"a"} << QStringList{"1"};
        QTest::newRow("empty file") << QByteArray() << QStringList{} << QStringList{};
    }
    void loadsPairs() {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, english);
        QFETCH(QStringList, japanese);
        home_->writeFile(QStringLiteral("words_lists/list.txt"), content);
        AppDelegate delegate;
        delegate.SHUFFLE = false;
        SetupScreen screen = selecting(QStringLiteral("list.txt"));

        StdoutCapture out;
        setup::loadSelectedList(delegate, screen);

        QCOMPARE(delegate.english_words, english);
        QCOMPARE(delegate.japanese_words, japanese);
        QCOMPARE(delegate.LINE_INDEX, qint64(english.size()));
        QVERIFY(screen.startEnabled);
        QCOMPARE(screen.countText, QStringLiteral("全%1単語").arg(english.size()));
        QCOMPARE(screen.preview.toUtf8(),
                 content.startsWith("\xef\xbb\xbf") ? content.mid(3) : content);
        QCOMPARE(delegate.SELECTED_ITEM, QStringLiteral("list.txt"));
        QCOMPARE(delegate.WORDS_LIST_FOR_GAME, location(QStringLiteral("list.txt")));
        QStringList expected{delegate.WORDS_LIST_FOR_GAME};
        for (qsizetype i = 0; i < english.size(); ++i)
            expected.append(QString::number(i));
        QCOMPARE(out.lines(), expected);
    }

    void failedReadLeavesPreviewAndEmptiesPairs_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("missing") << QStringLiteral("gone.txt");
        QTest::newRow("a folder") << QStringLiteral("folder.txt");
        QTest::newRow("not UTF-8") << QStringLiteral("latin1.txt");
        QTest::newRow("cut-off sequence") << QStringLiteral("cut.txt");
    }
    void failedReadLeavesPreviewAndEmptiesPairs() {
        QFETCH(QString, name);
        home_->writeFile(QStringLiteral("words_lists/old.txt"), "a$1\nb$2\n");
        QDir(home_->listFolder()).mkdir(QStringLiteral("folder.txt"));
        home_->writeFile(QStringLiteral("words_lists/latin1.txt"), "caf\xe9$x\n");
        home_->writeFile(QStringLiteral("words_lists/cut.txt"), "a$\xe3\x81");
        AppDelegate delegate;
        SetupScreen screen = selecting(QStringLiteral("old.txt"));
        setup::loadSelectedList(delegate, screen);
        QCOMPARE(delegate.LINE_INDEX, 2);

        screen.items[1] = name;
        StdoutCapture out;
        setup::loadSelectedList(delegate, screen);

        QVERIFY(!screen.startEnabled);
        QCOMPARE(screen.preview, QStringLiteral("a$1\nb$2\n"));
        QCOMPARE(screen.countText, QStringLiteral("全0単語"));
        QCOMPARE(delegate.LINE_INDEX, 0);
        QVERIFY(delegate.english_words.isEmpty());
        QVERIFY(delegate.japanese_words.isEmpty());
        QCOMPARE(delegate.SELECTED_ITEM, name);
        QVERIFY(delegate.WORDS_LIST_FOR_GAME.startsWith(location(name)));
        const QStringList lines = out.lines();
        // The location, then one description per read.
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines[0], delegate.WORDS_LIST_FOR_GAME);
        QVERIFY(!lines[1].isEmpty());
        QCOMPARE(lines[2], lines[1]);
    }

    void noSelectionTargetsTheFolderItself() {
        AppDelegate delegate;
        SetupScreen screen;
        screen.items = {QStringLiteral("a.txt")};
        StdoutCapture out;
        setup::loadSelectedList(delegate, screen);
        QCOMPARE(delegate.SELECTED_ITEM, QString());
        QCOMPARE(delegate.WORDS_LIST_FOR_GAME, location(QString()));
        QVERIFY(delegate.WORDS_LIST_FOR_GAME.endsWith(QStringLiteral("/words_lists/")));
        QVERIFY(!screen.startEnabled);
        QCOMPARE(out.lines().size(), 3);
    }

    void locationIsPercentEncoded() {
        const QString name = QStringLiteral("a b#%.txt");
        home_->writeFile(QStringLiteral("words_lists/") + name, "x$y\n");
        AppDelegate delegate;
        SetupScreen screen = selecting(name);
        StdoutCapture out;
        setup::loadSelectedList(delegate, screen);
        QVERIFY(delegate.WORDS_LIST_FOR_GAME.endsWith(QStringLiteral("/a%20b%23%25.txt")));
        QVERIFY(screen.startEnabled);
    }

    void laterLoadReplacesEarlier_data() {
        QTest::addColumn<QByteArray>("first");
        QTest::addColumn<QByteArray>("second");
        QTest::addColumn<QStringList>("english");
        QTest::addColumn<QStringList>("japanese");
        QTest::newRow("longer first") << QByteArray("a$1\nb$2\nc$3\n") << QByteArray("dd$44\n")
                                      << QStringList{"dd"} << QStringList{"44"};
        QTest::newRow("longer second")
            << QByteArray("a$1\n") << QByteArray("xyzzy$\n$q\nr$s\n")
            << QStringList{"xyzzy", "", "r"} << QStringList{"", "q", "s"};
    }
    void laterLoadReplacesEarlier() {
        QFETCH(QByteArray, first);
        QFETCH(QByteArray, second);
        QFETCH(QStringList, english);
        QFETCH(QStringList, japanese);
        home_->writeFile(QStringLiteral("words_lists/A.txt"), first);
        home_->writeFile(QStringLiteral("words_lists/B.txt"), second);
        AppDelegate delegate;
        delegate.SHUFFLE = false;
        StdoutCapture out;
        SetupScreen screen = selecting(QStringLiteral("A.txt"));
        setup::loadSelectedList(delegate, screen);
        // A copy held elsewhere (the quiz keeps none, but nothing forbids it) stays intact.
        const QStringList held = delegate.english_words;
        screen.items[1] = QStringLiteral("B.txt");
        setup::loadSelectedList(delegate, screen);
        QCOMPARE(delegate.english_words, english);
        QCOMPARE(delegate.japanese_words, japanese);
        QCOMPARE(delegate.LINE_INDEX, english.size());
        QCOMPARE(held.size(), first.count('\n'));
        QCOMPARE(held.first(), QStringLiteral("a"));
    }

    void otherSharedStateUntouched() {
        home_->writeFile(QStringLiteral("words_lists/a.txt"), "a$1\nb$2\n");
        AppDelegate delegate;
        delegate.ANSWER_VALUE = {1, 0};
        delegate.PLAYING_TYPE = 1;
        delegate.SEQUENCE_CODE = 1;
        delegate.formal_list = QStringLiteral("form");
        delegate.COUNT = 7;
        SetupScreen screen = selecting(QStringLiteral("a.txt"));
        StdoutCapture out;
        setup::loadSelectedList(delegate, screen);
        QCOMPARE(delegate.ANSWER_VALUE, (QList<qint64>{1, 0}));
        QCOMPARE(delegate.PLAYING_TYPE, 1);
        QCOMPARE(delegate.SEQUENCE_CODE, 1);
        QCOMPARE(delegate.formal_list, QStringLiteral("form"));
        QCOMPARE(delegate.COUNT, 7);
        QVERIFY(!delegate.add_words.has_value());
    }

    void shufflesWhenOn_data() {
        QTest::addColumn<bool>("shuffle");
        QTest::newRow("on") << true;
        QTest::newRow("off") << false;
    }
    void shufflesWhenOn() {
        QFETCH(bool, shuffle);
        home_->writeFile(QStringLiteral("words_lists/two.txt"), "apple$りんご\nbook$本\n");
        AppDelegate delegate;
        delegate.SHUFFLE = shuffle;
        SetupScreen screen = selecting(QStringLiteral("two.txt"));
        StdoutCapture out;
        setup::loadSelectedList(delegate, screen);
        // Two pairs have one single-cycle order: swapped. The preview keeps the file order.
        QCOMPARE(delegate.english_words,
                 shuffle ? QStringList({"book", "apple"}) : QStringList({"apple", "book"}));
        QCOMPARE(delegate.japanese_words,
                 shuffle ? QStringList({"本", "りんご"}) : QStringList({"りんご", "本"}));
        QCOMPARE(screen.preview, QStringLiteral("apple$りんご\nbook$本\n"));
    }
};

QTEST_GUILESS_MAIN(TestListLoading)
#include "tst_list_loading.moc"
