// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QWidget>
#include <memory>

struct AppDelegate;

namespace Ui {
class PlayingSetting;
}

// The playing-settings panel: which side of a pair the quiz asks, whether a list is
// shuffled when it is loaded, and whether the quiz says each English word by itself, and how the
// learner answers. Each control writes its field as soon as the user picks a segment; opening the
// panel only shows the values in force.
class PlayingSetting : public QWidget {
    Q_OBJECT
public:
    explicit PlayingSetting(AppDelegate& delegate, QWidget* parent = nullptr);
    ~PlayingSetting() override;

    AppDelegate& fromAppDelegate;

public slots:
    // Actions of the four controls; each takes the segment that was picked.
    void Answer_type(int segment);
    void Auto_shuffle(int segment);
    void Speech(int segment);
    void Answer(int segment);

private:
    void viewDidLoad();

    std::unique_ptr<Ui::PlayingSetting> ui_;
};
