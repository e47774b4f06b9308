// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/diagnostics.h"
#include "stdout_capture.h"

#include <QTest>

class TestDiagnostics : public QObject {
    Q_OBJECT

private slots:
    // text: one line through diagnostic(), or, when null, raw bytes through diagnosticRaw();
    // out: what follows the line "before" printed first.
    void lines_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("raw");
        QTest::addColumn<QByteArray>("out");
        // A long line is encoded in pieces: the first ends where this pair begins.
        const QString pair = QString(65535, u'a') + u"😀b"_qs;
        QTest::newRow("a pair where a piece ends") << pair << QByteArray() << pair.toUtf8() + '\n';
        QTest::newRow("a line never breaks") << u"a\nb\tc"_qs << QByteArray() << "a\\nb\\tc\n"_qba;
        const QByteArray saved(1 << 20, 'y'); // too long to buffer: written straight
        QTest::newRow("raw bytes after the buffered lines") << QString() << saved << saved + '\n';
    }
    void lines() {
        QFETCH(QString, text);
        QFETCH(QByteArray, raw);
        QFETCH(QByteArray, out);
        StdoutCapture capture;
        platform::diagnostic(u"before"_qs);
        if (text.isNull())
            platform::diagnosticRaw(QByteArrayView(raw));
        else
            platform::diagnostic(text);
        QCOMPARE(capture.bytes(), "before\n" + out);
    }
};

QTEST_GUILESS_MAIN(TestDiagnostics)
#include "test_diagnostics.moc"
