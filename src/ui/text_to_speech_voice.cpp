// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/text_to_speech_voice.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QTextToSpeech>
#include <QVoice>

#include <algorithm>

namespace {

// Clear for a learner: a little slower than the engine's 0, on its scale of -1 to 1.
constexpr double learnerRate = -0.2;

} // namespace

TextToSpeechVoice::TextToSpeechVoice(QObject* parent) : quiz::Voice(parent) {
    const QStringList engines = QTextToSpeech::availableEngines();
    for (const char* name : {"flite", "speechd"}) {
        if (engines.contains(name)) {
            engine_ = new QTextToSpeech(QLatin1String(name), this);
            break;
        }
    }
    prepare();
    if (engine_)
        connect(engine_, &QTextToSpeech::stateChanged, this, &TextToSpeechVoice::update);
    devices_ = new QMediaDevices(this);
    connect(devices_, &QMediaDevices::audioOutputsChanged, this, &TextToSpeechVoice::update);
    problem_ = currentProblem();
}

// The engine goes first, while the sound system it plays through is still there.
TextToSpeechVoice::~TextToSpeechVoice() {
    delete engine_;
}

// Chooses the voice once the engine works: at once, or when it reports that it is ready.
void TextToSpeechVoice::prepare() {
    if (!engine_ || hasVoice_ || engine_->state() == QTextToSpeech::Error)
        return;
    chooseVoice();
    engine_->setRate(learnerRate);
}

void TextToSpeechVoice::chooseVoice() {
    const QList<QLocale> locales = engine_->availableLocales();
    const auto english = [](const QLocale& locale) {
        return locale.language() == QLocale::English;
    };
    auto locale = std::find_if(locales.begin(), locales.end(), [&](const QLocale& l) {
        return english(l) && l.territory() == QLocale::UnitedStates;
    });
    if (locale == locales.end())
        locale = std::find_if(locales.begin(), locales.end(), english);
    if (locale == locales.end())
        return;
    engine_->setLocale(*locale);
    const QList<QVoice> voices = engine_->availableVoices();
    if (voices.isEmpty())
        return;
    // flite's default voice leaves some words silent; slt says every word we tried.
    auto voice = std::find_if(voices.begin(), voices.end(),
                              [](const QVoice& v) { return v.name() == u"slt"; });
    engine_->setVoice(voice != voices.end() ? *voice : voices.first());
    hasVoice_ = true;
}

quiz::VoiceProblem TextToSpeechVoice::currentProblem() const {
    using quiz::VoiceProblem;
    if (!engine_)
        return VoiceProblem::NoEngine;
    if (engine_->state() == QTextToSpeech::Error) {
        switch (engine_->errorReason()) {
        case QTextToSpeech::ErrorReason::Playback:
            return VoiceProblem::NoSound;
        case QTextToSpeech::ErrorReason::Input: // one word it could not say, not the voice
        case QTextToSpeech::ErrorReason::NoError:
            break;
        default:
            return VoiceProblem::NoEngine;
        }
    }
    if (!hasVoice_)
        return VoiceProblem::NoVoice;
    // flite reports Ready without a sound server and fails only when it speaks: ask first.
    if (QMediaDevices::audioOutputs().isEmpty())
        return VoiceProblem::NoSound;
    return VoiceProblem::None;
}

void TextToSpeechVoice::update() {
    prepare();
    const quiz::VoiceProblem now = currentProblem();
    if (now == problem_)
        return;
    problem_ = now;
    emit problemChanged();
}

void TextToSpeechVoice::say(const QString& text) {
    if (problem_ != quiz::VoiceProblem::None)
        return;
    engine_->stop(QTextToSpeech::BoundaryHint::Immediate);
    engine_->say(text);
}

void TextToSpeechVoice::stop() {
    if (engine_)
        engine_->stop(QTextToSpeech::BoundaryHint::Immediate);
}
