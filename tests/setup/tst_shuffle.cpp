#include "app/app_delegate.h"
#include "setup/list_loading.h"
#include "setup/shuffle.h"
#include "stdout_capture.h"
#include "test_home.h"

#include <QHash>
#include <QTest>
#include <QUrl>

// The tolerances below let a correct shuffle fail less than once in a billion runs.
class TestShuffle : public QObject {
    Q_OBJECT

    static AppDelegate withPairs(const QStringList& english, const QStringList& japanese) {
        AppDelegate delegate;
        delegate.english_words = english;
        delegate.japanese_words = japanese;
        delegate.LINE_INDEX = english.size();
        return delegate;
    }

private slots:
    void fewerThanTwoPairsStay_data() {
        QTest::addColumn<QStringList>("english");
        QTest::addColumn<QStringList>("japanese");
        QTest::newRow("none") << QStringList{} << QStringList{};
        QTest::newRow("one") << QStringList{"a"} << QStringList{"1"};
        QTest::newRow("unpaired") << QStringList{"a", "b", "c"} << QStringList{"1"};
    }
    void fewerThanTwoPairsStay() {
        QFETCH(QStringList, english);
        QFETCH(QStringList, japanese);
        AppDelegate delegate = withPairs(english, japanese);
        setup::shuffle_words(delegate);
        QCOMPARE(delegate.english_words, english);
        QCOMPARE(delegate.japanese_words, japanese);
    }

    void twoPairsAlwaysSwap() {
        for (int run = 0; run < 100; ++run) {
            AppDelegate delegate = withPairs({"apple", "book"}, {"りんご", "本"});
            setup::shuffle_words(delegate);
            QCOMPARE(delegate.english_words, QStringList({"book", "apple"}));
            QCOMPARE(delegate.japanese_words, QStringList({"本", "りんご"}));
            QCOMPARE(delegate.LINE_INDEX, 2);
        }
    }

    // Through the whole load: only the two cyclic orders of three pairs, about half each.
    void threePairsGiveTheTwoCycles() {
        TestHome home;
        home.makeListFolder();
        home.writeFile(QStringLiteral("words_lists/abc.txt"), "a$1\nb$2\nc$3\n");
        words_lists_url() = QUrl::fromLocalFile(home.listFolder());
        AppDelegate delegate;
        setup::SetupScreen screen;
        screen.items = {QStringLiteral("abc.txt")};
        screen.selectedIndex = 0;

        const int loads = 2000;
        QHash<QString, int> seen;
        StdoutCapture out; // a load prints its lines; not the point here
        for (int i = 0; i < loads; ++i) {
            setup::loadSelectedList(delegate, screen);
            const QString order = delegate.english_words.join(QString());
            // The Japanese halves move with their English halves.
            QString expectedJapanese = order;
            expectedJapanese.replace(u'a', u'1').replace(u'b', u'2').replace(u'c', u'3');
            QCOMPARE(delegate.japanese_words.join(QString()), expectedJapanese);
            ++seen[order];
        }
        QCOMPARE(seen.size(), 2);
        QVERIFY(seen.contains(QStringLiteral("bca")));
        QVERIFY(seen.contains(QStringLiteral("cab")));
        // Binomial(2000, 1/2): a deviation beyond 150 has probability about 1.6e-11.
        QVERIFY2(qAbs(seen[QStringLiteral("bca")] - loads / 2) <= 150,
                 qPrintable(QString::number(seen[QStringLiteral("bca")])));
    }

    // Four pairs: every draw is one of the six single cycles, and all six are equally likely.
    void fourPairsSingleCyclesUniform() {
        const QStringList english{"0", "1", "2", "3"};
        const QStringList japanese{"a", "b", "c", "d"};
        const int runs = 120000;
        QHash<QString, int> seen;
        for (int run = 0; run < runs; ++run) {
            AppDelegate delegate = withPairs(english, japanese);
            setup::shuffle_words(delegate);
            const QString order = delegate.english_words.join(QString());
            for (int i = 0; i < 4; ++i) {
                const int from = delegate.english_words[i].toInt();
                QCOMPARE(delegate.japanese_words[i], japanese[from]);
            }
            ++seen[order];
        }
        // The single cycles of 0123: following position -> item must visit all four.
        for (auto it = seen.cbegin(); it != seen.cend(); ++it) {
            int position = 0;
            int length = 0;
            do {
                position = it.key()[position].digitValue();
                ++length;
            } while (position != 0);
            QVERIFY2(length == 4, qPrintable(it.key() + QStringLiteral(" is not one cycle")));
        }
        QCOMPARE(seen.size(), 6);
        // Chi-square with 5 degrees of freedom: above 55 with probability about 1.3e-10.
        const double expected = runs / 6.0;
        double chiSquare = 0;
        for (const int count : std::as_const(seen))
            chiSquare += (count - expected) * (count - expected) / expected;
        QVERIFY2(chiSquare < 55.0, qPrintable(QString::number(chiSquare)));
    }

    // Longer than the draws made ahead: still one cycle through every pair, kept paired.
    void longListsStayOneCycle_data() {
        QTest::addColumn<int>("size");
        for (const int size : {16, 17, 18, 33, 1000})
            QTest::addRow("%d pairs", size) << size;
    }
    void longListsStayOneCycle() {
        QFETCH(int, size);
        QStringList english;
        QStringList japanese;
        for (int i = 0; i < size; ++i) {
            english.append(QString::number(i));
            japanese.append(QStringLiteral("語") + QString::number(i));
        }
        for (int run = 0; run < 20; ++run) {
            AppDelegate delegate = withPairs(english, japanese);
            setup::shuffle_words(delegate);
            QList<bool> visited(size, false);
            int position = 0;
            int length = 0;
            do {
                QVERIFY(!visited[position]);
                visited[position] = true;
                const int item = delegate.english_words[position].toInt();
                QCOMPARE(delegate.japanese_words[position], japanese[item]);
                position = item;
                ++length;
            } while (position != 0);
            QCOMPARE(length, size);
        }
    }
};

QTEST_GUILESS_MAIN(TestShuffle)
#include "tst_shuffle.moc"
