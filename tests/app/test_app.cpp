// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The ground floor: the platform layer's text and diagnostics, and the program's start (Qt's
// texts, the list folder, the exit without a display).
#include "app/app_delegate.h"
#include "platform/diagnostics.h"
#include "platform/text.h"
#include "stdout_capture.h"
#include "test_home.h"
#include "ui/japanese_translations.h"
#include "ui/start_view_controller.h"

#include <QFileInfo>
#include <QProcess>
#include <QTest>

class AppTest : public QObject {
    Q_OBJECT
private slots:
    // A first letter longer than the first look at the text; "りんご" in Shift_JIS decodes
    // cleanly, a sequence cut off at the end does not.
    void text() {
        const QString cluster = u"a"_qs + QString(40, QChar(0x0301));
        QCOMPARE(platform::firstGraphemeUtf8Length(cluster + u"b"_qs), cluster.toUtf8().size());
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

    // Qt's own texts are Japanese: the file panel's labels, which the screens do not set
    // themselves. The start screen makes ~/words_lists when it is missing and leaves whatever
    // stands there; when it cannot, it prints one line naming the folder. Each case: whether a
    // folder stands there afterwards, the lines printed and those that name the folder.
    void start() {
        QVERIFY(installJapaneseTranslations(*QCoreApplication::instance()));
        QCOMPARE_NE(QCoreApplication::translate("QFileDialog", "Detail View"), u"Detail View"_qs);
        QStringList seen;
        for (const int arrange : {0, 1, 2}) {
            TestHome home;
            if (arrange == 1)
                home.writeFile(u"words_lists"_qs, "not a folder");
            if (arrange == 2)
                qputenv("HOME", QFile::encodeName(home.path() + u"/gone"_qs));
            AppDelegate delegate;
            StdoutCapture out;
            StartViewController screen(delegate);
            const QStringList lines = out.lines();
            seen << u"%1 %2 %3"_qs.arg(QFileInfo(home.listFolder()).isDir())
                        .arg(lines.size())
                        .arg(lines.filter(u"/gone/words_lists"_qs).size());
        }
        QCOMPARE(seen, (QStringList{u"1 0 0"_qs, u"0 0 0"_qs, u"0 1 1"_qs}));
    }

    // Without a display the program says so on standard error, in a line that tells the two
    // cases apart, exits with 1 and leaves the home folder as it was.
    void withoutDisplayTheProgramSaysSoAndExits_data() {
        QTest::addColumn<QString>("display");
        QTest::addColumn<QString>("says");
        QTest::newRow("DISPLAY empty, no other display set") << QString() << u"設定されて"_qs;
        // A display number that no server answers, as a stale DISPLAY after ssh leaves it.
        int free = 7301;
        while (QFileInfo::exists(u"/tmp/.X11-unix/X"_qs + QString::number(free)))
            ++free;
        QTest::newRow("a display nobody answers")
            << u":"_qs + QString::number(free) << u"接続できませんでした"_qs;
    }
    void withoutDisplayTheProgramSaysSoAndExits() {
        QFETCH(QString, display);
        QFETCH(QString, says);
        TestHome home;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(u"WAYLAND_DISPLAY"_qs);
        env.remove(u"QT_QPA_PLATFORM"_qs);
        env.insert(u"DISPLAY"_qs, display);
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(VERBOLIN_EXECUTABLE), {});
        QVERIFY(process.waitForFinished(20000));
        const QString err = QString::fromUtf8(process.readAllStandardError());
        QVERIFY2(process.exitStatus() == QProcess::NormalExit && process.exitCode() == 1 &&
                     err.count(u'\n') == 1 && err.contains(says) &&
                     process.readAllStandardOutput().isEmpty() && !home.has(u"words_lists"_qs),
                 qPrintable(err));
    }
};

QTEST_MAIN(AppTest)
#include "test_app.moc"
