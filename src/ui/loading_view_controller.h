#pragma once

#include <QWidget>

struct AppDelegate;

// The import screen.
class LoadingViewController : public QWidget {
    Q_OBJECT
public:
    explicit LoadingViewController(AppDelegate& delegate, QWidget* parent = nullptr);

    AppDelegate& fromAppDelegate;
};
