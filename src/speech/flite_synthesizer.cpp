// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "speech/flite_synthesizer.h"

#include <flite/flite.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

extern "C" cst_voice* register_cmu_us_slt(const char* voxdir);
extern "C" void unregister_cmu_us_slt(cst_voice* voice);

namespace speech {

namespace {

// Clear for a learner: each sound a little longer than the voice's own pace.
constexpr float learnerStretch = 1.15f;
// A sample louder than this (about 1 % of full scale) is voice, not the lead-in's hiss.
constexpr int audible = 328;
// Kept before the first audible sample, so that a soft onset is not clipped.
constexpr int leadInSamples = FliteSynthesizer::sampleRate / 100;

} // namespace

FliteSynthesizer::FliteSynthesizer() {
    // flite_init only sets up tables; calling it for a second synthesizer is harmless.
    flite_init();
    voice_ = register_cmu_us_slt(nullptr);
    feat_set_float(voice_->features, "duration_stretch", learnerStretch);
}

FliteSynthesizer::~FliteSynthesizer() {
    unregister_cmu_us_slt(voice_);
}

QByteArray FliteSynthesizer::say(const QString& text) const {
    const QByteArray utf8 = text.toUtf8();
    const std::unique_ptr<cst_wave, void (*)(cst_wave*)> wave(
        flite_text_to_wave(utf8.constData(), voice_), delete_wave);
    if (!wave || wave->num_samples <= 0)
        return {};
    // slt speaks at 16 kHz in one channel; resample should a build of flite differ.
    if (wave->sample_rate != sampleRate)
        cst_wave_resample(wave.get(), sampleRate);
    const short* begin = wave->samples;
    const short* end = begin + wave->num_samples;
    const short* first =
        std::find_if(begin, end, [](short s) { return std::abs(int(s)) > audible; });
    if (first == end)
        return {};
    first = std::max(begin, first - leadInSamples);
    return QByteArray(reinterpret_cast<const char*>(first),
                      (end - first) * qsizetype(sizeof(short)));
}

} // namespace speech
