// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

// randomBelow draws from a buffered block of system random words: every draw must stay in
// range, reach every value of a small range, and use all 64 bits for a large one.
#include "platform/platform.h"

#include <QTest>

#include <limits>

class TestRandomBelow : public QObject {
    Q_OBJECT

private slots:
    void staysBelowTheBound_data() {
        QTest::addColumn<quint64>("bound");
        QTest::newRow("one") << quint64(1);
        QTest::newRow("two") << quint64(2);
        QTest::newRow("seven") << quint64(7);
        QTest::newRow("just over 32 bits") << (quint64(1) << 32) + 1;
        QTest::newRow("largest") << std::numeric_limits<quint64>::max();
    }
    void staysBelowTheBound() {
        QFETCH(quint64, bound);
        // More draws than one block holds, so that refilling is exercised too.
        for (int i = 0; i < 2000; ++i)
            QVERIFY(platform::randomBelow(bound) < bound);
    }

    void reachesEveryValueOfASmallRange() {
        int seen[5] = {};
        for (int i = 0; i < 5000; ++i)
            ++seen[platform::randomBelow(5)];
        // Each value is expected 1000 times; below 800 is a fault, not bad luck (p < 1e-10).
        for (const int count : seen)
            QVERIFY2(count > 800, qPrintable(QString::number(count)));
    }

    void usesTheHighBitsOfALargeRange() {
        const quint64 half = quint64(1) << 63;
        int high = 0;
        for (int i = 0; i < 1000; ++i)
            high += platform::randomBelow(std::numeric_limits<quint64>::max()) >= half ? 1 : 0;
        QVERIFY(high > 400 && high < 600);
    }
};

QTEST_APPLESS_MAIN(TestRandomBelow)
#include "test_random_below.moc"
