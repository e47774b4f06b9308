// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "private_sound_server.h"

#include <QFile>
#include <QTest>

#include <cmath>
#include <numeric>

namespace {

constexpr int rate = 16000;
constexpr int window = rate / 100; // 10 ms
const QStringList format{"--raw", "--format=s16le", "--rate=16000", "--channels=1"};

// A listener hears a 10 ms window whose root mean square is above 0.01 of full scale.
bool loud(const qint16* samples) {
    static const double quiet = window * std::pow(0.01 * 32768, 2);
    return std::inner_product(samples, samples + window, samples, 0.0) > quiet;
}

} // namespace

PrivateSoundServer::PrivateSoundServer() : previousAddress_(qgetenv("PULSE_SERVER")) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"XDG_RUNTIME_DIR", "HOME"})
        env.insert(name, runtime_.path());
    env.insert("PULSE_RUNTIME_PATH", runtime_.path() + "/pulse");
    server_.setProcessEnvironment(env);
    server_.setStandardOutputFile(QProcess::nullDevice());
    for (QProcess* process : {&server_, &silence_, &recorder_})
        process->setStandardErrorFile(QProcess::nullDevice());
}

PrivateSoundServer::~PrivateSoundServer() {
    stop();
    qputenv("PULSE_SERVER", previousAddress_);
}

bool PrivateSoundServer::start() {
    server_.start("pulseaudio",
                  {"--daemonize=no", "--exit-idle-time=-1", "-n",
                   "--load=module-null-sink sink_name=null", "--load=module-native-protocol-unix"});
    const QString socket = runtime_.path() + "/pulse/native";
    if (!QTest::qWaitFor([&] { return QFile::exists(socket); }, 10000))
        return false;
    qputenv("PULSE_SERVER", "unix:" + QFile::encodeName(socket));
    silence_.start("pacat", format + QStringList{"-p", "/dev/zero"});
    recorder_.start("parec", format + QStringList{"-d", "null.monitor", "--latency-msec=20"});
    if (!silence_.waitForStarted() || !recorder_.waitForStarted())
        return false;
    const qint64 before = now();
    return QTest::qWaitFor([&] { return now() - before >= rate / 2; }, 10000); // 0.5 s
}

void PrivateSoundServer::stop() {
    for (QProcess* process : {&silence_, &recorder_, &server_}) {
        process->terminate();
        if (!process->waitForFinished(5000))
            process->kill();
        process->waitForFinished();
    }
    QFile::remove(runtime_.path() + "/pulse/native");
}

qint64 PrivateSoundServer::now() {
    QCoreApplication::processEvents();
    recording_ += recorder_.readAllStandardOutput();
    return recording_.size() / 2;
}

double PrivateSoundServer::loudSeconds(const QByteArray& samples) {
    const auto* at = reinterpret_cast<const qint16*>(samples.constData());
    int windows = 0;
    for (qsizetype i = 0; i + window <= samples.size() / 2; i += window)
        windows += loud(at + i);
    return double(windows * window) / rate;
}

PrivateSoundServer::Heard PrivateSoundServer::heardSince(qint64 from, double waitSeconds) {
    Heard heard;
    qint64 at = from, lastLoud = -1;
    // Waiting in vain is an answer too: nothing, or a voice that never stops.
    static_cast<void>(QTest::qWaitFor(
        [&] {
            now();
            const auto* samples = reinterpret_cast<const qint16*>(recording_.constData());
            for (; at + window <= recording_.size() / 2; at += window) {
                if (!loud(samples + at))
                    continue;
                if (heard.onset < 0)
                    heard.onset = double(at - from) / rate;
                heard.loud += double(window) / rate;
                lastLoud = at;
            }
            return lastLoud >= 0 && at - lastLoud > rate * 3 / 10;
        },
        int(waitSeconds * 1000)));
    return heard;
}
