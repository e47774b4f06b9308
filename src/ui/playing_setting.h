#pragma once

#include <QWidget>

struct AppDelegate;

// The playing-settings panel.
class PlayingSetting : public QWidget {
    Q_OBJECT
public:
    explicit PlayingSetting(AppDelegate& delegate, QWidget* parent = nullptr);

    AppDelegate& fromAppDelegate;
};
