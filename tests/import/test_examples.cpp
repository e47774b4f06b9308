// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The example lists that the README walks through must import as they are.

#include "app/text.h"
#include "import/line_check.h"

#include <QFile>
#include <QTest>

class TestExamples : public QObject {
    Q_OBJECT
private slots:
    void everyLineIsAccepted_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<qint64>("order");
        for (const auto& [name, separator] :
             {std::pair{"comma", ","}, {"semicolon", ";"}, {"at", "@"}}) {
            QTest::addRow("english_%s", name)
                << QStringLiteral(VERBOLIN_EXAMPLES "/english_%1.txt").arg(QLatin1String(name))
                << QString::fromLatin1(separator) << qint64(0);
            QTest::addRow("japanese_first_%s", name)
                << QStringLiteral(VERBOLIN_EXAMPLES "/japanese_first_%1.txt")
                       .arg(QLatin1String(name))
                << QString::fromLatin1(separator) << qint64(1);
        }
    }
    void everyLineIsAccepted() {
        QFETCH(QString, file);
        QFETCH(QString, separator);
        QFETCH(qint64, order);
        QFile source(file);
        QVERIFY(source.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(source.readAll());
        qint64 number = 0;
        platform::forEachLine(text, [&](QStringView line) {
            const importer::LineDecision decision =
                importer::decideLine(line, separator, order, ++number);
            if (!decision.accepted)
                qWarning() << decision.message;
            return decision.accepted;
        });
        QVERIFY(number >= 5);
        QCOMPARE(number, qint64(platform::lines(text).size()));
        QVERIFY(
            importer::decideLine(platform::lines(text).last(), separator, order, number).accepted);
    }
};

QTEST_GUILESS_MAIN(TestExamples)
#include "test_examples.moc"
