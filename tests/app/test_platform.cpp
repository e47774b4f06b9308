// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/diagnostics.h"
#include "platform/text.h"
#include "stdout_capture.h"

#include <QTest>

class TestPlatform : public QObject {
    Q_OBJECT
private slots:
    void firstGraphemeWidth_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qsizetype>("bytes");
        QTest::newRow("e + combining acute") << u"e\u0301x"_qs << qsizetype(3);
        QTest::newRow("astral") << u"😀a"_qs << qsizetype(4);
        QTest::newRow("cluster longer than the first look")
            << (u"a"_qs + QString(40, QChar(0x0301)) + u"b"_qs) << qsizetype(1 + 40 * 2);
    }
    void firstGraphemeWidth() {
        QFETCH(QString, text);
        QFETCH(qsizetype, bytes);
        QCOMPARE(platform::firstGraphemeUtf8Length(text), bytes);
    }

    void shiftJisIsStrict() {
        // "りんご" in Shift_JIS decodes cleanly; a sequence cut off at the end does not.
        QCOMPARE(platform::decodeShiftJis("apple,\x82\xe8\x82\xf1\x82\xb2"),
                 std::optional(u"apple,りんご"_qs));
        QCOMPARE(platform::decodeShiftJis("\x82"), std::nullopt);
    }

    // A line never breaks; a long line is encoded in pieces, the first ending where a
    // surrogate pair begins; raw bytes too long to buffer, written straight, still come
    // after the buffered lines.
    void diagnostics() {
        const QString pair = QString(65535, u'a') + u"😀b"_qs;
        const QByteArray saved(1 << 20, 'y');
        StdoutCapture capture;
        platform::diagnostic(u"a\nb\tc"_qs);
        platform::diagnostic(pair);
        platform::diagnosticRaw(QByteArrayView(saved));
        QCOMPARE(capture.bytes(), "a\\nb\\tc\n" + pair.toUtf8() + '\n' + saved + '\n');
    }
};

QTEST_GUILESS_MAIN(TestPlatform)
#include "test_platform.moc"
