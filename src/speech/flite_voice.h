// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "quiz/voice.h"

#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

namespace speech {

class SoundServerStream;

// The quiz's voice: flite says a word into memory and the samples go to the desktop's sound
// server, on a thread of their own so that no key waits. A new word cuts off the one being
// said. The thread also follows the sound server: it notices the server going within a
// second, and tries again every second until it comes back.
class FliteVoice : public quiz::Voice {
    Q_OBJECT
public:
    explicit FliteVoice(QObject* parent = nullptr);
    ~FliteVoice() override;

    quiz::VoiceProblem problem() const override { return problem_; }
    void say(const QString& text) override;
    void stop() override;

private:
    void run(std::unique_ptr<SoundServerStream> stream);
    // From the thread: the problem now, or a word that could not be said, for the screen.
    void publish(quiz::VoiceProblem problem);
    void publishNotSaid(const QString& word);

    quiz::VoiceProblem problem_;
    // Between the screen and the thread.
    std::mutex mutex_;
    std::condition_variable wake_;
    std::optional<QString> next_;
    bool cut_ = false;
    bool quit_ = false;
    std::thread thread_;
};

} // namespace speech
