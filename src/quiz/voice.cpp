// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "quiz/voice.h"

#include "platform/diagnostics.h"

namespace quiz {

QString speakToolTip(VoiceProblem problem) {
    switch (problem) {
    case VoiceProblem::None:
        break;
    case VoiceProblem::NoEngine:
        return QStringLiteral("発音できません。音声合成エンジンが見つかりません。"
                              "qt6-speech-flite-plugin をインストールしてください。");
    case VoiceProblem::NoVoice:
        return QStringLiteral("発音できません。英語の音声が見つかりません。"
                              "qt6-speech-flite-plugin をインストールしてください。");
    case VoiceProblem::NoSound:
        return QStringLiteral("発音できません。サウンドサーバーに接続できません。"
                              "pulseaudio (または pipewire-pulse) "
                              "をインストールして起動してください。");
    }
    return QStringLiteral("英単語を発音します (スペースキー)");
}

void reportVoiceProblem(VoiceProblem problem) {
    // A learner without sound keeps drilling: one line is enough to say why it is silent.
    static bool reported = false;
    if (problem == VoiceProblem::None || reported)
        return;
    reported = true;
    platform::diagnostic(speakToolTip(problem));
}

} // namespace quiz
