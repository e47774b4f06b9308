// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "speech/sound_server_stream.h"

#include <pulse/simple.h>

#include <QCoreApplication>

namespace speech {

namespace {

constexpr int bytesPerSecond(int sampleRate) {
    return sampleRate * 2;
}

} // namespace

SoundServerStream::SoundServerStream(int sampleRate) : sampleRate_(sampleRate) {}

SoundServerStream::~SoundServerStream() {
    close();
}

bool SoundServerStream::open() {
    if (stream_)
        return true;
    const pa_sample_spec format{PA_SAMPLE_S16LE, uint32_t(sampleRate_), 1};
    // 60 ms in the server's hands at most, and playback from the first 20 ms on: a word
    // starts at once, and a stop is heard at once. The server's default waits for a full
    // buffer before it plays, which a short word never fills.
    const uint32_t perSecond = bytesPerSecond(sampleRate_);
    const pa_buffer_attr buffer{uint32_t(-1), perSecond * 60 / 1000, perSecond * 20 / 1000,
                                perSecond * 20 / 1000, uint32_t(-1)};
    const QByteArray name = QCoreApplication::applicationName().toUtf8();
    stream_ =
        pa_simple_new(nullptr, name.isEmpty() ? "verbolin" : name.constData(), PA_STREAM_PLAYBACK,
                      nullptr, "word", &format, nullptr, &buffer, nullptr);
    return stream_ != nullptr;
}

bool SoundServerStream::write(QByteArrayView samples) {
    if (stream_ && pa_simple_write(stream_, samples.data(), size_t(samples.size()), nullptr) == 0)
        return true;
    close();
    return false;
}

void SoundServerStream::flush() {
    if (stream_ && pa_simple_flush(stream_, nullptr) != 0)
        close();
}

bool SoundServerStream::check() {
    // Asking for the latency fails once the connection to the server is lost.
    if (stream_ && pa_simple_get_latency(stream_, nullptr) == pa_usec_t(-1))
        close();
    return stream_ != nullptr;
}

void SoundServerStream::close() {
    if (stream_)
        pa_simple_free(stream_);
    stream_ = nullptr;
}

} // namespace speech
