// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QWidget>
#include <memory>

struct AppDelegate;

namespace Ui {
class StartViewController;
}

// The start screen: makes sure the store folder exists and leads to the other screens.
class StartViewController : public QWidget {
    Q_OBJECT
public:
    explicit StartViewController(AppDelegate& delegate, QWidget* parent = nullptr);
    ~StartViewController() override;

    AppDelegate& fromAppDelegate;

signals:
    // The ways out: Import_button, Setup_button and Settings_button.
    void importRequested();
    void setupRequested();
    void settingsRequested();

private:
    void viewDidLoad();

    std::unique_ptr<Ui::StartViewController> ui_;
};
