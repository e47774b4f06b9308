// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "quiz/voice.h"

#include "platform/diagnostics.h"

namespace quiz {

QString speakToolTip(VoiceProblem problem) {
    switch (problem) {
    case VoiceProblem::None:
        break;
    case VoiceProblem::NoSound:
        return QStringLiteral("発音できません。サウンドサーバーに接続できません。"
                              "pulseaudio (または pipewire-pulse) "
                              "をインストールして起動してください。");
    }
    return QStringLiteral("英単語を発音します (スペースキー)");
}

QString speakDescription(VoiceProblem problem) {
    return problem == VoiceProblem::None
               ? QStringLiteral("画面の英単語を読み上げます。スペースキーでも読み上げます。")
               : speakToolTip(problem);
}

QString notSaidText(const QString& word) {
    return QStringLiteral("「%1」を発音できませんでした。").arg(word);
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
