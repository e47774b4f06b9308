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
    // The set-up screen with the list at that path loaded, when there is one.
    void showSetupWith(const QString& listPath);
    // The editor of a list's file, or of a new list for an empty path.
    void showEditor(const QString& listPath);
    void showQuiz();
    void openSettings();

protected:
    // Unsaved edits are offered a save first.
    void closeEvent(QCloseEvent* event) override;

private:
    void replaceScreen(QWidget* screen);

    AppDelegate& delegate_;
    QStackedWidget* stack_;
    // One voice for the run, made when the quiz is first shown (it takes a moment, which
    // start-up does not pay), and gone with the window, before the application object.
    quiz::Voice* voice_ = nullptr;
};
