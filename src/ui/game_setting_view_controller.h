#pragma once

#include <QWidget>

struct AppDelegate;

// The set-up screen.
class GameSettingViewController : public QWidget {
    Q_OBJECT
public:
    explicit GameSettingViewController(AppDelegate& delegate, QWidget* parent = nullptr);

    AppDelegate& fromAppDelegate;
};
