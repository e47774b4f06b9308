// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/app_delegate.h"
#include "setup/shuffle.h"

#include <QHash>
#include <QSet>
#include <QTest>

// Where a pair's two halves are equal, a pair split apart shows as a difference between
// the two arrays. The tolerances let a correct shuffle fail less than once in a billion runs.
class TestShuffle : public QObject {
    Q_OBJECT

private slots:
    // Every outcome ("English,...|Japanese,...") must be among the expected ones, and all
    // of them equally likely.
    void shuffle_data() {
        QTest::addColumn<QStringList>("english");
        QTest::addColumn<QStringList>("japanese");
        QTest::addColumn<int>("runs");
        QTest::addColumn<QStringList>("outcomes");
        QTest::newRow("none") << QStringList{} << QStringList{} << 20 << QStringList{"|"};
        QTest::newRow("one") << QStringList{"a"} << QStringList{"x"} << 20 << QStringList{"a|x"};
        QTest::newRow("unpaired") << QStringList{"a", "b"} << QStringList{"x"} << 20
                                  << QStringList{"a,b|x"};
        QTest::newRow("two always swap")
            << QStringList{"apple", "book"} << QStringList{"りんご", "本"} << 100
            << QStringList{"book,apple|本,りんご"};
        QTest::newRow("three: the two cycles")
            << QStringList{"a", "b", "c"} << QStringList{"a", "b", "c"} << 2000
            << QStringList{"b,c,a|b,c,a", "c,a,b|c,a,b"};
        // Four pairs: the six single cycles only.
        QTest::newRow("four") << QStringList{"0", "1", "2", "3"} << QStringList{"0", "1", "2", "3"}
                              << 120000 << QStringList{"1,2,3,0|1,2,3,0", "1,3,0,2|1,3,0,2",
                                                       "2,0,3,1|2,0,3,1", "2,3,1,0|2,3,1,0",
                                                       "3,0,1,2|3,0,1,2", "3,2,0,1|3,2,0,1"};
    }
    void shuffle() {
        QFETCH(QStringList, english);
        QFETCH(QStringList, japanese);
        QFETCH(int, runs);
        QFETCH(QStringList, outcomes);
        QHash<QString, int> seen;
        for (int run = 0; run < runs; ++run) {
            AppDelegate delegate;
            delegate.english_words = english;
            delegate.japanese_words = japanese;
            setup::shuffle_words(delegate);
            ++seen[delegate.english_words.join(u',') + u'|' + delegate.japanese_words.join(u',')];
        }
        QCOMPARE(QSet<QString>(seen.keyBegin(), seen.keyEnd()),
                 QSet<QString>(outcomes.begin(), outcomes.end()));
        // Chi-square with at most 5 degrees of freedom: above 55 with probability < 1.3e-10
        // (for three pairs: a count 166 away from 1,000 of 2,000).
        const double expected = double(runs) / outcomes.size();
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
            AppDelegate delegate;
            delegate.english_words = english;
            delegate.japanese_words = japanese;
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
#include "test_shuffle.moc"
