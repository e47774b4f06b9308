// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "setup/setup_screen.h"

#include <QStringList>
#include <QWidget>
#include <memory>

struct AppDelegate;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class ListPreview;

namespace Ui {
class GameSettingViewController;
}

// The set-up screen: lists the current words-list folder, switches folders, deletes a
// list after a confirmation and loads the chosen list for play.
class GameSettingViewController : public QWidget {
    Q_OBJECT
public:
    explicit GameSettingViewController(AppDelegate& delegate, QWidget* parent = nullptr);
    ~GameSettingViewController() override;

    // Entry names of the last successful listing of the folder, in listing order.
    QStringList WORDS_LISTS;
    AppDelegate& fromAppDelegate;

signals:
    // Back_button and Start_button.
    void backRequested();
    void startRequested();
    // Edit_button, with the loaded list's file, and New_list_button.
    void editRequested(const QString& listPath);
    void newListRequested();

public slots:
    void normal_path();
    void Open();
    void Words_list_determined();
    void Delete_button();
    // Selects the entry of that name, if listed, and loads it.
    void loadEntry(const QString& name);
    // Sent by Export_button: writes the loaded list to a file of another program's type.
    void Export();

private:
    void viewDidLoad();
    bool confirm_delete(const QString& selectedItem);
    // The combo box's selection into the model, and the whole model onto the controls.
    void takeSelection();
    void showScreen();

    std::unique_ptr<Ui::GameSettingViewController> ui_;
    setup::SetupScreen screen_;
};
