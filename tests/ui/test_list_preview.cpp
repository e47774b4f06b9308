// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/list_preview.h"

#include <QScrollBar>
#include <QTest>

// The preview keeps the text exactly and cuts it into rows as the list loader cuts lines,
// with lines beyond a thousand characters continued on further rows.
class TestListPreview : public QObject {
    Q_OBJECT

private slots:
    void rows_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("rows");
        QTest::newRow("empty") << QString() << 0;
        QTest::newRow("one line without end") << QStringLiteral("a$b") << 1;
        QTest::newRow("final end adds no row") << QStringLiteral("a$b\nc$d\n") << 2;
        QTest::newRow("CR LF is one end") << QStringLiteral("a\r\nb\r\n") << 2;
        QTest::newRow("empty lines count") << QStringLiteral("a\n\n\u2028b\u0085c\rd\u2029") << 6;
        QTest::newRow("long line continues") << QString(2500, u'x') + QStringLiteral("\nz") << 4;
        QTest::newRow("exactly a row") << QString(1000, u'x') << 1;
    }
    void rows() {
        QFETCH(QString, text);
        QFETCH(int, rows);
        ListPreview preview;
        preview.setProperty("plainText", text);
        QCOMPARE(preview.rowCount(), rows);
        QCOMPARE(preview.property("plainText").toString(), text);
    }

    // Read-only and scrolled by the keyboard; a new text starts at the top.
    void keyboard() {
        ListPreview preview;
        preview.resize(300, 200);
        preview.show();
        QVERIFY(QTest::qWaitForWindowExposed(&preview));
        const QString text = QStringLiteral("line\n").repeated(500);
        preview.setPlainText(text);
        QScrollBar* bar = preview.verticalScrollBar();
        preview.setFocus();
        QTest::keyClick(&preview, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(bar->value(), bar->maximum());
        QTest::keyClicks(&preview, QStringLiteral("typed"));
        QCOMPARE(preview.toPlainText(), text);
        preview.setPlainText(QStringLiteral("one\n"));
        QCOMPARE(bar->value(), 0);
        QCOMPARE(bar->maximum(), 0);
    }
};

QTEST_MAIN(TestListPreview)
#include "test_list_preview.moc"
