#pragma once

#include "quiz/arrow_key.h"
#include "quiz/quiz_engine.h"

#include <QWidget>
#include <memory>

struct AppDelegate;

namespace Ui {
class GameViewController;
}

// The quiz screen: feeds arrow-key releases to the quiz and shows its texts. It takes the
// arrow keys wherever the focus is inside the screen, acting on release, once per press.
class GameViewController : public QWidget {
    Q_OBJECT
public:
    explicit GameViewController(AppDelegate& delegate, QWidget* parent = nullptr);
    ~GameViewController() override;

    AppDelegate& fromAppDelegate;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void viewDidLoad();
    void keyUp(quiz::ArrowKey key);
    void showTexts();
    bool isInside(const QObject* object) const;

    std::unique_ptr<Ui::GameViewController> ui_;
    quiz::QuizEngine engine_;
};
