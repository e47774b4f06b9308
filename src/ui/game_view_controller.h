// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "quiz/arrow_key.h"
#include "quiz/pronunciation.h"
#include "quiz/quiz_engine.h"

#include <QPointer>
#include <QWidget>
#include <array>
#include <memory>
#include <optional>

class QKeyEvent;
class QPushButton;
struct AppDelegate;
namespace quiz {
class Voice;
}

namespace Ui {
class GameViewController;
}

// The quiz screen: feeds arrow-key releases to the quiz and shows its texts. It takes the
// arrow keys wherever the focus is inside the screen, acting on release, once per press.
// The space bar and Speak_button say the English word while it is on screen; speaking
// never holds up the drill.
// Typing (ANSWER_MODE 1), the English word goes into Answer_field and Enter checks it, then goes
// on; the arrows and the space bar are the field's. Choosing (2), the keys 1-4, a click, or
// Enter or Space on a choice picks and then goes on; the arrows move between the choices. On a
// lap banner ↑ starts the lap in every mode.
class GameViewController : public QWidget {
    Q_OBJECT
public:
    explicit GameViewController(AppDelegate& delegate, QWidget* parent = nullptr);
    ~GameViewController() override;

    AppDelegate& fromAppDelegate;

    // The voice this screen speaks with (kept by its owner, which outlives the screen or
    // lets it know by destroying the voice). The word on show is said at once when speech
    // is automatic.
    void setVoice(quiz::Voice* voice);

signals:
    // Back_button.
    void backRequested();

public slots:
    // Action of Speak_button and the space bar: says the English word on screen, if any.
    void Speak();
    // Action of Save_missed_button: saves the pairs missed in this study as a new list.
    void Save_missed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // While the screen itself has the focus (the arrows are the quiz's), a frame says so.
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void viewDidLoad();
    void keyUp(quiz::ArrowKey key);
    // Enter in Answer_field: checks the word, or goes on after the result.
    void Answer();
    // A choice picked (from 0), or any after the result: goes on.
    void Choose(qsizetype index);
    // Shows what the quiz did and follows it with the voice and the focus.
    void refresh();
    // Where a pair on show is answered: Answer_field, or the first choice.
    QWidget* answerControl() const;
    // A key as the answering mode takes it: true when it was the quiz's, false when it is the
    // focused control's, nullopt when the drill's own handling applies.
    std::optional<bool> answerKey(QObject* watched, QKeyEvent* event);
    void showChoices();
    void showTexts();
    void announce();
    // Follows the quiz with the voice: the button's state, and the word that just appeared.
    void followWithVoice();
    // Tells the learner, on screen and on standard output, that a word was not heard.
    void tellNotSaid(const QString& word);
    bool isInside(const QObject* object) const;

    std::unique_ptr<Ui::GameViewController> ui_;
    quiz::QuizEngine engine_;
    QPointer<quiz::Voice> voice_;
    quiz::AutomaticSpeech automaticSpeech_;
    std::array<QPushButton*, 4> choiceButtons_{};
    // An input method is composing in Answer_field: its Enter commits, it does not check.
    bool composing_ = false;
};
