// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArrayView>

struct pa_simple;

namespace speech {

// One playback stream to the desktop's sound server (PulseAudio, or PipeWire's PulseAudio
// service), kept open for the run so that a word starts without the wait for a connection.
// Its buffer is short and playback starts with the first small piece written, so a word is
// heard at once, and a stream that runs dry plays everything written before it stops.
// Calls block (write until the server has room); use it from one thread.
class SoundServerStream {
public:
    // Signed 16-bit little-endian samples, one channel, at sampleRate.
    explicit SoundServerStream(int sampleRate);
    ~SoundServerStream();
    SoundServerStream(const SoundServerStream&) = delete;
    SoundServerStream& operator=(const SoundServerStream&) = delete;

    // Connects, unless connected already; false when there is no server to play to.
    bool open();
    bool isOpen() const { return stream_ != nullptr; }
    // Plays the samples after those written before; false (and closed) when the server is
    // gone.
    bool write(QByteArrayView samples);
    // Drops what was written and not yet played.
    void flush();
    // Whether the server is still there; closes the stream when it is not.
    bool check();

private:
    void close();

    int sampleRate_;
    pa_simple* stream_ = nullptr;
};

} // namespace speech
