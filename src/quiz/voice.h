// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QString>

namespace quiz {

// Why the quiz cannot speak a word, or None when it can.
enum class VoiceProblem { None, NoSound };

// What says a word aloud. The quiz never waits for it: say() returns at once, and a new word
// cuts off the one being said.
class Voice : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    virtual VoiceProblem problem() const = 0;
    virtual void say(const QString& text) = 0;
    virtual void stop() = 0;

signals:
    // problem() changed: the voice was lost, or came back.
    void problemChanged();
    // A word asked for was not heard: nothing in it could be said, or the sound went.
    void notSaid(const QString& word);
};

// The speak button's tooltip: what it does, or why it cannot and what to install.
QString speakToolTip(VoiceProblem problem);
// What the speak button does, for a screen reader: its use, or the reason it cannot speak.
QString speakDescription(VoiceProblem problem);
// What the learner is told of a word that was not heard.
QString notSaidText(const QString& word);

// Says once in a run, on standard output, why the quiz cannot speak (nothing for None).
void reportVoiceProblem(VoiceProblem problem);

} // namespace quiz
