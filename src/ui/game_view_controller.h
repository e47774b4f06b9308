#pragma once

#include <QWidget>

struct AppDelegate;

// The quiz screen.
class GameViewController : public QWidget {
    Q_OBJECT
public:
    explicit GameViewController(AppDelegate& delegate, QWidget* parent = nullptr);

    AppDelegate& fromAppDelegate;
};
