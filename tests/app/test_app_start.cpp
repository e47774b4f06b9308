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
    void startScreenMakesTheListFolder() {
        for (const QString& arrange :
             {u"missing: created"_qs, u"a file: left alone"_qs, u"no home folder: one line"_qs}) {
            TestHome home;
            if (arrange.startsWith(u"a file"))
                home.writeFile(u"words_lists"_qs, "not a folder");
            else if (arrange.startsWith(u"no home"))
                qputenv("HOME", QFile::encodeName(home.path() + u"/gone"_qs));
            AppDelegate delegate;
            StdoutCapture out;
            StartViewController screen(delegate);
            const QStringList lines = out.lines();
            QVERIFY2(lines.size() == (arrange.startsWith(u"no home") ? 1 : 0), qPrintable(arrange));
            QVERIFY(lines.isEmpty() || lines.first().contains(u"words_lists"_qs));
            QVERIFY2(QFileInfo(home.listFolder()).isDir() == arrange.startsWith(u"missing"),
                     qPrintable(arrange));
        }
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
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QString::fromLatin1(name));
        if (!display.isEmpty())
            env.insert(u"DISPLAY"_qs, display);
        env.insert(u"HOME"_qs, home.path());
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(VERBOLIN_EXECUTABLE), {});
        QVERIFY(process.waitForFinished(20000));
        QVERIFY(process.exitStatus() == QProcess::NormalExit && process.exitCode() == 1);
        const QStringList err =
            QString::fromUtf8(process.readAllStandardError()).split(u'\n', Qt::SkipEmptyParts);
        QVERIFY2(err.size() == 1 && err.first().contains(u"DISPLAY"_qs),
                 qPrintable(err.join('\n')));
        QVERIFY(process.readAllStandardOutput().isEmpty() && !home.has(u"words_lists"_qs));
    }
};

QTEST_MAIN(TestAppStart)
#include "test_app_start.moc"
