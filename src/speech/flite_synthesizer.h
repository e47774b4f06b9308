// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>

struct cst_voice_struct;

namespace speech {

// flite's American English voice slt, offline, speaking into memory: the audio comes back
// as a whole, so nothing between the engine and the sound server can cut it short. Not
// thread-safe: one thread uses one synthesizer.
class FliteSynthesizer {
public:
    // Signed 16-bit little-endian samples, one channel.
    static constexpr int sampleRate = 16000;

    FliteSynthesizer();
    ~FliteSynthesizer();
    FliteSynthesizer(const FliteSynthesizer&) = delete;
    FliteSynthesizer& operator=(const FliteSynthesizer&) = delete;

    // The samples of text said aloud, from a moment before the voice begins (the engine's
    // own lead-in of silence would only delay it); empty when nothing in it can be heard.
    QByteArray say(const QString& text) const;

private:
    cst_voice_struct* voice_;
};

} // namespace speech
