// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "bench_context.h"
#include "rows.h"

#include "app/app_delegate.h"
#include "ui/main_window.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTextToSpeech>
#include <QTimer>

#include <algorithm>
#include <vector>

namespace bench {

namespace {

constexpr int runs = 15;

// Runs the event loop until the engine reports state, or for timeoutMs at most.
bool waitForState(QTextToSpeech* engine, QTextToSpeech::State state, int timeoutMs) {
    if (engine->state() == state)
        return true;
    QEventLoop loop;
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    QObject::connect(engine, &QTextToSpeech::stateChanged, &loop, [&](QTextToSpeech::State now) {
        if (now == state)
            loop.quit();
    });
    loop.exec();
    return engine->state() == state;
}

} // namespace

Row keyToSpeakingRow() {
    Row row;
    row.figure = QStringLiteral("key to speaking: space released to the engine speaking");
    row.unit = Unit::Seconds;
    row.target = Target::below(0.050);
    row.measure = [](Context& context) {
        // A sound server of the row's own with a null sink, as a desktop's would be.
        QTemporaryDir runtime;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        env.insert(QStringLiteral("PULSE_RUNTIME_PATH"), runtime.path() + QStringLiteral("/pulse"));
        env.insert(QStringLiteral("HOME"), runtime.path());
        QProcess server;
        server.setProcessEnvironment(env);
        server.setStandardOutputFile(QProcess::nullDevice());
        server.setStandardErrorFile(QProcess::nullDevice());
        server.start(QStringLiteral("pulseaudio"),
                     {QStringLiteral("--daemonize=no"), QStringLiteral("--exit-idle-time=-1"),
                      QStringLiteral("-n"),
                      QStringLiteral("--load=module-null-sink sink_name=null"),
                      QStringLiteral("--load=module-native-protocol-unix")});
        const QString address =
            QStringLiteral("unix:") + runtime.path() + QStringLiteral("/pulse/native");
        for (int i = 0; i < 100 && server.state() != QProcess::NotRunning; ++i) {
            QProcess pactl;
            pactl.start(QStringLiteral("pactl"),
                        {QStringLiteral("--server=") + address, QStringLiteral("info")});
            if (pactl.waitForFinished() && pactl.exitCode() == 0)
                break;
            QTest::qWait(100);
        }
        qputenv("PULSE_SERVER", address.toLocal8Bit());
        const auto stopServer = qScopeGuard([&] {
            server.terminate();
            server.waitForFinished(5000);
        });

        context.freshHome();
        AppDelegate delegate;
        delegate.english_words = {QStringLiteral("apple")};
        delegate.japanese_words = {QStringLiteral("りんご")};
        delegate.LINE_INDEX = 1;
        std::vector<double> seconds;
        {
            const StdoutToDevNull silence;
            MainWindow window(delegate);
            window.show();
            window.showQuiz();
            QWidget* screen = window.currentScreen();
            auto* engine = window.findChild<QTextToSpeech*>();
            if (!engine || engine->state() == QTextToSpeech::Error)
                fail(QStringLiteral("no speech engine"));
            for (int i = 0; i < runs; ++i) {
                QTest::keyPress(screen, Qt::Key_Space);
                QElapsedTimer timer;
                timer.start();
                QTest::keyRelease(screen, Qt::Key_Space);
                if (!waitForState(engine, QTextToSpeech::Speaking, 5000))
                    fail(QStringLiteral("the engine did not speak (is there a sound server?)"));
                seconds.push_back(double(timer.nsecsElapsed()) / 1e9);
                waitForState(engine, QTextToSpeech::Ready, 5000);
            }
        }
        size_t next = 0;
        const double median = medianOf(runs, [&] { return seconds[next++]; });
        const double worst = *std::max_element(seconds.begin(), seconds.end());
        return Figure{
            median, std::nullopt,
            QStringLiteral("median of %1 through a null-sink PulseAudio server; worst %2 ms")
                .arg(runs)
                .arg(worst * 1e3, 0, 'f', 1)};
    };
    return row;
}

} // namespace bench
