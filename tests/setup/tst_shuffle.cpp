#include "app/app_delegate.h"
#include "setup/list_loading.h"
#include "setup/shuffle.h"
#include "stdout_capture.h"
#include "test_home.h"

#include <QHash>
#include <QSet>
#include <QTest>
#include <QUrl>

// Where a pair's two halves are equal, a pair split apart shows as a difference between
// the two arrays. The tolerances let a correct shuffle fail less than
// once in a billion runs.
class TestShuffle : public QObject {
    Q_OBJECT

    // Shuffles the pairs runs times; how often each outcome "english|japanese" came out.
    static QHash<QString, int> outcomes(const QStringList& english, const QStringList& japanese,
                                        int runs) {
        QHash<QString, int> seen;
        for (int run = 0; run < runs; ++run) {
            AppDelegate delegate;
            delegate.english_words = english;
            delegate.japanese_words = japanese;
            setup::shuffle_words(delegate);
            ++seen[delegate.english_words.join(u',') + u'|' + delegate.japanese_words.join(u',')];
        }
        return seen;
    }
    static QString paired(const char* order) { return QString::fromUtf8(order) + u'|' + order; }
    static QSet<QString> keys(const QHash<QString, int>& seen) {
        return {seen.keyBegin(), seen.keyEnd()};
    }

private slots:
    void smallOrUnpairedStay_data() {
        QTest::addColumn<QStringList>("english");
        QTest::addColumn<QStringList>("japanese");
        QTest::newRow("none") << QStringList{} << QStringList{};
        QTest::newRow("one") << QStringList{"a"} << QStringList{"a"};
        QTest::newRow("unpaired") << QStringList{"a", "b", "c"} << QStringList{"1"};
    }
    void smallOrUnpairedStay() {
        QFETCH(QStringList, english);
        QFETCH(QStringList, japanese);
        QCOMPARE(keys(outcomes(english, japanese, 20)),
                 QSet<QString>{english.join(u',') + u'|' + japanese.join(u',')});
    }

    void twoPairsAlwaysSwap() {
        QCOMPARE(outcomes({"apple", "book"}, {"りんご", "本"}, 100),
                 (QHash<QString, int>{{"book,apple|本,りんご", 100}}));
    }

    // Through the whole load with SHUFFLE on: only the two cyclic orders, about half each.
    void threePairsLoadInTheTwoCycles() {
        TestHome home;
        home.makeListFolder();
        home.writeFile(QStringLiteral("words_lists/abc.txt"), "a$a\nb$b\nc$c\n");
        words_lists_url() = QUrl::fromLocalFile(home.listFolder());
        AppDelegate delegate;
        delegate.SHUFFLE = true;
        setup::SetupScreen screen;
        screen.items = {QStringLiteral("abc.txt")};
        screen.selectedIndex = 0;
        const int loads = 2000;
        QHash<QString, int> seen;
        StdoutCapture quiet;
        for (int i = 0; i < loads; ++i) {
            setup::loadSelectedList(delegate, screen);
            QCOMPARE(delegate.japanese_words, delegate.english_words);
            ++seen[delegate.english_words.join(QString())];
        }
        QCOMPARE(keys(seen), (QSet<QString>{"bca", "cab"}));
        // Binomial(2000, 1/2): beyond 150 from 1000 has probability about 2e-11.
        QVERIFY2(qAbs(seen[QStringLiteral("bca")] - loads / 2) <= 150,
                 qPrintable(QString::number(seen[QStringLiteral("bca")])));
    }

    // Four pairs: only the six single cycles, equally likely.
    void fourPairsUniformOverSingleCycles() {
        const QStringList four{"0", "1", "2", "3"};
        const int runs = 120000;
        const QHash<QString, int> seen = outcomes(four, four, runs);
        QCOMPARE(keys(seen),
                 (QSet<QString>{paired("1,2,3,0"), paired("1,3,0,2"), paired("2,0,3,1"),
                                paired("2,3,1,0"), paired("3,0,1,2"), paired("3,2,0,1")}));
        // Chi-square with 5 degrees of freedom: above 55 with probability about 1.3e-10.
        const double expected = runs / 6.0;
        double chiSquare = 0;
        for (const int count : seen)
            chiSquare += (count - expected) * (count - expected) / expected;
        QVERIFY2(chiSquare < 55.0, qPrintable(QString::number(chiSquare)));
    }
};

QTEST_GUILESS_MAIN(TestShuffle)
#include "tst_shuffle.moc"
