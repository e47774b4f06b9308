// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "quiz/voice.h"

class QMediaDevices;
class QTextToSpeech;

// The desktop's own voice: Qt TextToSpeech with flite (offline, English), or
// speech-dispatcher where flite is missing, playing through the sound server. One voice for
// the whole run, a little slower than the engine's default so that a learner hears every
// sound; American English where there is one.
class TextToSpeechVoice : public quiz::Voice {
    Q_OBJECT
public:
    explicit TextToSpeechVoice(QObject* parent = nullptr);
    ~TextToSpeechVoice() override;

    quiz::VoiceProblem problem() const override { return problem_; }
    void say(const QString& text) override;
    void stop() override;

private:
    void prepare();
    void chooseVoice();
    quiz::VoiceProblem currentProblem() const;
    void update();

    QTextToSpeech* engine_ = nullptr;
    QMediaDevices* devices_ = nullptr;
    bool hasVoice_ = false;
    quiz::VoiceProblem problem_ = quiz::VoiceProblem::None;
};
