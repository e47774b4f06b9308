// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "quiz/arrow_key.h"
#include "quiz/pronunciation.h"
#include "quiz/quiz_engine.h"

#include <QPointer>
#include <QWidget>
#include <memory>

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
};
