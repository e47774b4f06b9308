// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/app_delegate.h"
#include "stdout_capture.h"
#include "test_home.h"
#include "ui/japanese_translations.h"
#include "ui/start_view_controller.h"

#include <QApplication>
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

    // The start screen makes ~/words_lists when it is missing and leaves whatever stands
    // there; when it cannot, it prints one line naming the folder.
    void startScreenMakesTheListFolder_data() {
        QTest::addColumn<QString>("arrange");
        QTest::addColumn<bool>("folderAfter");
        QTest::newRow("missing: created") << u"nothing"_qs << true;
        QTest::newRow("a file of that name is left alone") << u"file"_qs << false;
        QTest::newRow("home folder missing: one line") << u"no home"_qs << false;
    }
    void startScreenMakesTheListFolder() {
        QFETCH(QString, arrange);
        QFETCH(bool, folderAfter);
        TestHome home;
        if (arrange == u"file")
            home.writeFile(u"words_lists"_qs, "not a folder");
        else if (arrange == u"no home")
            qputenv("HOME", QFile::encodeName(home.path() + u"/gone"_qs));
        AppDelegate delegate;
        StdoutCapture out;
        StartViewController screen(delegate);
        const QStringList lines = out.lines();
        QCOMPARE(lines.size(), arrange == u"no home" ? 1 : 0);
        QVERIFY(lines.isEmpty() || lines.first().contains(u"words_lists"_qs));
        QCOMPARE(QFileInfo(home.listFolder()).isDir(), folderAfter);
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

QTEST_MAIN(TestAppStart)
#include "test_app_start.moc"
