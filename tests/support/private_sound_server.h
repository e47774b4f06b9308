// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QProcess>
#include <QTemporaryDir>

// A PulseAudio server of its own, with one null sink whose monitor is recorded, in a runtime
// folder of its own, so that it disturbs no other server and needs no sound card. While it
// lives, PULSE_SERVER points this process (and what it starts) at it. Silence is played all
// the time, so that the recording runs with the clock: a recording of an idle sink loses its
// first moments.
class PrivateSoundServer {
public:
    PrivateSoundServer();
    ~PrivateSoundServer();

    // Starts the server (again, after stop()) and the recording; false if it cannot start.
    bool start();
    // Ends the server, as when a desktop's sound server stops.
    void stop();
    bool isRunning() const { return server_.state() == QProcess::Running; }

    // Where the recording is now, in samples (16 kHz): take it at the key.
    qint64 now();

    // What a listener heard from `from` on: when the voice began, in seconds after `from`,
    // and for how long it was heard (10 ms windows above 0.01 of full scale). Waits for the
    // voice to end (0.3 s of quiet) or for waitSeconds.
    struct Heard {
        double onset = -1, loud = 0; // onset -1: nothing heard
    };
    Heard heardSince(qint64 from, double waitSeconds);
    // How long a listener hears the voice in these samples (16-bit, 16 kHz), by the same
    // measure.
    static double loudSeconds(const QByteArray& samples);

private:
    QTemporaryDir runtime_;
    QProcess server_;
    QProcess silence_;
    QProcess recorder_;
    QByteArray recording_;
    QByteArray previousAddress_;
};
