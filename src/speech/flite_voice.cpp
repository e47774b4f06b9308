// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "speech/flite_voice.h"

#include "speech/flite_synthesizer.h"
#include "speech/sound_server_stream.h"

#include <chrono>

namespace speech {

namespace {

using namespace std::chrono_literals;

// How often the thread looks for the sound server while no word is said.
constexpr auto serverCheck = 1s;
// Samples go out in pieces this long, so that a new word or a stop cuts in at once.
constexpr qsizetype pieceBytes = FliteSynthesizer::sampleRate * 2 / 50; // 20 ms

} // namespace

FliteVoice::FliteVoice(QObject* parent) : quiz::Voice(parent) {
    // The first connection is made here, so that the quiz knows from its first moment
    // whether it can speak.
    auto stream = std::make_unique<SoundServerStream>(FliteSynthesizer::sampleRate);
    problem_ = stream->open() ? quiz::VoiceProblem::None : quiz::VoiceProblem::NoSound;
    thread_ = std::thread(&FliteVoice::run, this, std::move(stream));
}

FliteVoice::~FliteVoice() {
    {
        const std::lock_guard lock(mutex_);
        quit_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

void FliteVoice::say(const QString& text) {
    {
        const std::lock_guard lock(mutex_);
        next_ = text;
        cut_ = true;
    }
    wake_.notify_one();
}

void FliteVoice::stop() {
    {
        const std::lock_guard lock(mutex_);
        next_.reset();
        cut_ = true;
    }
    wake_.notify_one();
}

void FliteVoice::run(std::unique_ptr<SoundServerStream> stream) {
    const FliteSynthesizer synthesizer;
    // The first word after launch is said as quickly as any: the voice's tables are read in
    // now, not at the first key.
    synthesizer.say(QStringLiteral("a"));
    for (;;) {
        std::optional<QString> word;
        {
            std::unique_lock lock(mutex_);
            wake_.wait_for(lock, serverCheck, [this] { return quit_ || next_; });
            if (quit_)
                return;
            word = std::exchange(next_, std::nullopt);
            cut_ = false;
        }
        const bool reachable = stream->isOpen() ? word || stream->check() : stream->open();
        publish(reachable ? quiz::VoiceProblem::None : quiz::VoiceProblem::NoSound);
        if (!word || !reachable)
            continue;
        const QByteArray samples = synthesizer.say(*word);
        if (samples.isEmpty()) {
            publishNotSaid(*word);
            continue;
        }
        for (qsizetype at = 0; at < samples.size(); at += pieceBytes) {
            {
                const std::lock_guard lock(mutex_);
                if (cut_ || quit_) {
                    stream->flush();
                    break;
                }
            }
            if (!stream->write(QByteArrayView(samples).sliced(at).first(
                    std::min(pieceBytes, samples.size() - at)))) {
                publish(quiz::VoiceProblem::NoSound);
                publishNotSaid(*word);
                break;
            }
        }
    }
}

void FliteVoice::publish(quiz::VoiceProblem problem) {
    // problem_ belongs to the screen's thread; this object outlives the thread, and a call
    // still queued when it goes is dropped with it.
    QMetaObject::invokeMethod(
        this,
        [this, problem] {
            if (problem_ == problem)
                return;
            problem_ = problem;
            emit problemChanged();
        },
        Qt::QueuedConnection);
}

void FliteVoice::publishNotSaid(const QString& word) {
    QMetaObject::invokeMethod(
        this, [this, word] { emit notSaid(word); }, Qt::QueuedConnection);
}

} // namespace speech
