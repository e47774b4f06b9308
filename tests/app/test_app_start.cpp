// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "test_home.h"
#include "ui/japanese_translations.h"

#include <QFileInfo>
#include <QProcess>
#include <QTest>

class TestAppStart : public QObject {
    Q_OBJECT
private slots:
    void qtsOwnTextsAreJapanese() {
        QVERIFY(installJapaneseTranslations(*QCoreApplication::instance()));
        // The file panel's own labels, which the screens do not set themselves.
        QCOMPARE_NE(QCoreApplication::translate("QFileDialog", "Detail View"), u"Detail View"_qs);
    }

    // Without a display the program says so on standard error, exits with 1 and leaves the
    // home folder as it was.
    void withoutDisplayTheProgramSaysSoAndExits_data() {
        QTest::addColumn<QString>("display");
        QTest::newRow("no display set") << QString();
        // A display number that no server answers, as a stale DISPLAY after ssh leaves it.
        int free = 7301;
        while (QFileInfo::exists(u"/tmp/.X11-unix/X"_qs + QString::number(free)))
            ++free;
        QTest::newRow("a display nobody answers") << u":"_qs + QString::number(free);
    }
    void withoutDisplayTheProgramSaysSoAndExits() {
        QFETCH(QString, display);
        TestHome home;
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(u"DISPLAY"_qs);
        if (!display.isEmpty())
            env.insert(u"DISPLAY"_qs, display);
        env.remove(u"WAYLAND_DISPLAY"_qs);
        env.remove(u"QT_QPA_PLATFORM"_qs);
        env.insert(u"HOME"_qs, home.path());
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(VERBOLIN_EXECUTABLE), {});
        QVERIFY(process.waitForFinished(20000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 1);
        const QStringList err =
            QString::fromUtf8(process.readAllStandardError()).split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(err.size(), 1);
        QVERIFY(err.first().contains(u"DISPLAY"_qs));
        QVERIFY(process.readAllStandardOutput().isEmpty());
        QVERIFY(!home.has(u"words_lists"_qs));
    }
};

QTEST_GUILESS_MAIN(TestAppStart)
#include "test_app_start.moc"
