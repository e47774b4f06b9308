// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/app_delegate.h"
#include "test_home.h"
#include "ui/main_window.h"

#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextToSpeech>
#include <QtTest>

#include <cmath>

class TestSpeechSound : public QObject {
    Q_OBJECT
private slots:
    void spaceSaysTheWordAloud();
};

// The space bar on the real quiz screen showing "apple" puts speech into the sound server:
// the null sink's monitor holds at least 0.3 s clearly above silence.
void TestSpeechSound::spaceSaysTheWordAloud() {
    // A PulseAudio server of this test's own, with one null sink, in a runtime folder of its
    // own, so that it disturbs no other server and needs no sound card.
    QTemporaryDir runtime;
    const QString address = "unix:" + runtime.path() + "/pulse/native";
    const auto answers = [&] {
        QProcess pactl;
        pactl.start("pactl", {"--server=" + address, "info"});
        return pactl.waitForFinished() && pactl.exitStatus() == QProcess::NormalExit &&
               pactl.exitCode() == 0;
    };
    QProcess server;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"XDG_RUNTIME_DIR", "HOME"})
        env.insert(name, runtime.path());
    env.insert("PULSE_RUNTIME_PATH", runtime.path() + "/pulse");
    server.setProcessEnvironment(env);
    server.setStandardOutputFile(QProcess::nullDevice());
    server.setStandardErrorFile(QProcess::nullDevice());
    server.start("pulseaudio",
                 {"--daemonize=no", "--exit-idle-time=-1", "-n",
                  "--load=module-null-sink sink_name=null", "--load=module-native-protocol-unix"});
    if (!QTest::qWaitFor([&] { return server.state() == QProcess::NotRunning || answers(); },
                         10000) ||
        !answers()) {
        const char* why = "cannot start a private PulseAudio server (pulseaudio, pactl)";
        if (qEnvironmentVariableIsSet("VERBOLIN_REQUIRE_SOUND"))
            QFAIL(why);
        QSKIP(why);
    }
    // Before anything in this process asks for the sound server.
    qputenv("PULSE_SERVER", address.toLocal8Bit());
    // Silence keeps the sink running, so that the recording runs with the clock from before
    // the key: the first moments of a recording of an idle sink are lost.
    const QStringList format{"--server=" + address, "--raw", "--format=s16le", "--rate=16000",
                             "--channels=1"};
    QProcess silence, recorder;
    silence.start("pacat", format + QStringList{"-p", "/dev/zero"});
    recorder.start("parec", format + QStringList{"-d", "null.monitor", "--latency-msec=20"});
    QVERIFY(silence.waitForStarted() && recorder.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(recorder.bytesAvailable() >= 32000, 10000); // 1 s

    TestHome home;
    AppDelegate delegate;
    delegate.english_words = {"apple"};
    delegate.japanese_words = {"りんご"};
    delegate.LINE_INDEX = 1;
    auto window = std::make_unique<MainWindow>(delegate);
    window->show();
    window->showQuiz();
    auto* button = window->currentScreen()->findChild<QPushButton*>("Speak_button");
    QVERIFY2(button->isEnabled(), qPrintable(button->toolTip()));
    auto* engine = window->findChild<QTextToSpeech*>();
    QTest::keyClick(window->currentScreen(), Qt::Key_Space);
    QTRY_COMPARE_WITH_TIMEOUT(engine->state(), QTextToSpeech::Speaking, 20000);
    QTRY_COMPARE_WITH_TIMEOUT(engine->state(), QTextToSpeech::Ready, 20000);
    QTest::qWait(2000); // what the server still holds, and the recorder's latency
    window.reset();     // the engine goes before the application object, cleanly
    recorder.terminate();
    silence.terminate();
    QVERIFY(recorder.waitForFinished(5000) && silence.waitForFinished(5000));

    // 10 ms windows of 16-bit samples: speech is the windows clearly above silence.
    const QByteArray bytes = recorder.readAllStandardOutput();
    const auto* samples = reinterpret_cast<const qint16*>(bytes.constData());
    int loudWindows = 0;
    for (qsizetype start = 0; start + 160 <= bytes.size() / 2; start += 160) {
        double squares = 0;
        for (qsizetype i = start; i < start + 160; ++i)
            squares += std::pow(samples[i] / 32768.0, 2);
        loudWindows += std::sqrt(squares / 160) > 0.02;
    }
    QVERIFY2(loudWindows >= 30, qPrintable(QString::number(loudWindows)));
}

QTEST_MAIN(TestSpeechSound)
#include "test_speech_sound.moc"
