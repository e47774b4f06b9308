// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QMainWindow>

struct AppDelegate;
class QStackedWidget;
namespace quiz {
class Voice;
}

// Shows one screen at a time and leads from one to the next. Each visit creates a new
// screen (so its fields start fresh) and leaving destroys it.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(AppDelegate& delegate, QWidget* parent = nullptr);

    // The screen on show.
    QWidget* currentScreen() const;

public slots:
    void showStart();
    void showImport();
    void showSetup();
    void showQuiz();
    void openSettings();

private:
    void replaceScreen(QWidget* screen);

    AppDelegate& delegate_;
    QStackedWidget* stack_;
    // One voice for the run, made when the quiz is first shown (it takes a moment, which
    // start-up does not pay), and gone with the window, before the application object.
    quiz::Voice* voice_ = nullptr;
};
