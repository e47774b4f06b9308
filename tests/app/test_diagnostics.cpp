// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/diagnostics.h"
#include "stdout_capture.h"

#include <QStringEncoder>
#include <QTest>
#include <limits>

class TestDiagnostics : public QObject {
    Q_OBJECT

private slots:
    void numbersAreWrittenAsQStringNumberWritesThem_data() {
        QTest::addColumn<qint64>("value");
        QTest::newRow("zero") << qint64(0);
        QTest::newRow("one digit") << qint64(7);
        QTest::newRow("a million") << qint64(1'000'000);
        QTest::newRow("negative") << qint64(-42);
        QTest::newRow("largest") << std::numeric_limits<qint64>::max();
        QTest::newRow("smallest") << std::numeric_limits<qint64>::min();
    }
    void numbersAreWrittenAsQStringNumberWritesThem() {
        QFETCH(qint64, value);
        StdoutCapture out;
        platform::diagnosticNumber(value);
        platform::diagnostic(QStringLiteral("after"));
        QCOMPARE(out.lines(), (QStringList{QString::number(value), QStringLiteral("after")}));
    }

    // A long text is encoded in pieces; wherever a piece ends, the bytes are those of the
    // whole text encoded at once: a character outside the BMP (two UTF-16 units) comes out
    // whole, and a lone surrogate as the encoder writes one.
    void longRawTextComesOutAsOneEncoding_data() {
        QTest::addColumn<QString>("text");
        const QString pair = QStringLiteral("😀");
        for (const qsizetype before : {65534, 65535, 65536, 131071}) {
            const QString filler(before, u'a');
            QTest::addRow("pair after %lld units", qlonglong(before))
                << filler + pair + QString(70000, u'b') + pair;
            QTest::addRow("lone high surrogate after %lld units", qlonglong(before))
                << filler + pair.first(1) + QStringLiteral("c\nd") + QString(3, u'x');
        }
        QTest::newRow("a million pairs") << QString(1'000'000, u'あ') + pair;
    }
    void longRawTextComesOutAsOneEncoding() {
        QFETCH(QString, text);
        StdoutCapture out;
        platform::diagnosticRaw(text);
        QStringEncoder whole(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        QCOMPARE(out.bytes(), QByteArray(whole.encode(text)) + '\n');
    }

    // Bytes go out as they are, in order with the lines around them, however long.
    void rawBytesComeOutInOrder_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("short") << "a$\xE3\x82\x8A\n"_qba;
        QTest::newRow("just below a flush") << QByteArray((1 << 20) - 1, 'x');
        QTest::newRow("a flush") << QByteArray(1 << 20, 'y');
        QTest::newRow("three megabytes") << QByteArray(3 << 20, 'z');
    }
    void rawBytesComeOutInOrder() {
        QFETCH(QByteArray, bytes);
        StdoutCapture out;
        platform::diagnostic(QStringLiteral("before"));
        platform::diagnosticRaw(QByteArrayView(bytes));
        platform::diagnostic(QStringLiteral("after"));
        QCOMPARE(out.bytes(), "before\n" + bytes + "\nafter\n");
    }
};

QTEST_GUILESS_MAIN(TestDiagnostics)
#include "test_diagnostics.moc"
