// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "bench_context.h"
#include "private_sound_server.h"
#include "rows.h"

#include "app/app_delegate.h"
#include "ui/main_window.h"

#include <QTest>

#include <algorithm>
#include <memory>
#include <vector>

namespace bench {

namespace {

constexpr int presses = 15;
constexpr int launches = 8;

// A private sound server for one row, as a desktop's would be; the row fails without one.
std::unique_ptr<PrivateSoundServer> startSoundServer() {
    auto server = std::make_unique<PrivateSoundServer>();
    if (!server->start())
        fail(QStringLiteral("cannot start a private PulseAudio server (pulseaudio)"));
    return server;
}

// One quiz window on "apple" (its voice is made as the quiz is shown).
std::unique_ptr<MainWindow> quizOnApple(AppDelegate& delegate) {
    delegate.english_words = {QStringLiteral("apple")};
    delegate.japanese_words = {QStringLiteral("りんご")};
    delegate.LINE_INDEX = 1;
    auto window = std::make_unique<MainWindow>(delegate);
    window->show();
    window->showQuiz();
    return window;
}

// Seconds from the space bar's release to the voice heard on the sink's monitor.
double keyToSound(PrivateSoundServer& sound, QWidget* screen) {
    QTest::keyPress(screen, Qt::Key_Space);
    const qint64 key = sound.now();
    QTest::keyRelease(screen, Qt::Key_Space);
    const PrivateSoundServer::Heard heard = sound.heardSince(key, 5);
    if (heard.onset < 0)
        fail(QStringLiteral("the word was not heard"));
    return heard.onset;
}

} // namespace

Row keyToSoundRow() {
    Row row;
    row.figure = QStringLiteral("key to sound: space released to the word heard on the sink");
    row.unit = Unit::Seconds;
    row.target = Target::below(0.150);
    row.measure = [](Context& context) {
        const auto sound = startSoundServer();
        context.freshHome();
        AppDelegate delegate;
        std::vector<double> seconds;
        {
            const StdoutToDevNull silence;
            const auto window = quizOnApple(delegate);
            for (int i = 0; i < presses; ++i)
                seconds.push_back(keyToSound(*sound, window->currentScreen()));
        }
        const std::vector<double> first(seconds.begin(), seconds.begin() + 5);
        const std::vector<double> last(seconds.end() - 5, seconds.end());
        return Figure{
            medianOfValues(seconds), std::nullopt,
            QStringLiteral("median of %1 presses in one run through a null-sink PulseAudio "
                           "server; worst %2 ms; first five %3 ms, last five %4 ms (medians)")
                .arg(presses)
                .arg(*std::max_element(seconds.begin(), seconds.end()) * 1e3, 0, 'f', 1)
                .arg(medianOfValues(first) * 1e3, 0, 'f', 1)
                .arg(medianOfValues(last) * 1e3, 0, 'f', 1)};
    };
    return row;
}

Row firstKeyToSoundRow() {
    Row row;
    row.figure = QStringLiteral("first key to sound: the first press after the quiz opens");
    row.unit = Unit::Seconds;
    row.target = Target::below(0.150);
    row.measure = [](Context& context) {
        const auto sound = startSoundServer();
        context.freshHome();
        std::vector<double> seconds;
        const StdoutToDevNull silence;
        for (int i = 0; i < launches; ++i) {
            AppDelegate delegate;
            const auto window = quizOnApple(delegate);
            seconds.push_back(keyToSound(*sound, window->currentScreen()));
        }
        return Figure{medianOfValues(seconds), std::nullopt,
                      QStringLiteral("median of %1 windows, each pressed once as its quiz "
                                     "opened; worst %2 ms")
                          .arg(launches)
                          .arg(*std::max_element(seconds.begin(), seconds.end()) * 1e3, 0, 'f', 1)};
    };
    return row;
}

} // namespace bench
