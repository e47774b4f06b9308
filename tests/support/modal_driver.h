// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <functional>

// Answers the modal dialogs that open one after another while an action runs: each step
// gets the dialog on top and must close it. A dialog nobody expected is closed and counted.
class ModalDriver : public QObject {
public:
    using Step = std::function<void(QWidget*)>;

    explicit ModalDriver(QList<Step> steps);

    bool done() const { return steps_.isEmpty(); }
    int unexpected() const { return unexpected_; }

private:
    void poll();

    QList<Step> steps_;
    QPointer<QWidget> current_;
    QTimer timer_;
    int unexpected_ = 0;
};

// What a message box showed.
struct ShownAlert {
    QString text;
    QString informativeText;
    QStringList buttons; // sorted: the box lays its buttons out by role
    QString shown;       // what the box shows (and copies) of the informative text
    bool plain = true;   // every label shows its text as plain text, never as markup
};

// Chooses the path in a file panel, or cancels the panel for an empty path.
ModalDriver::Step choosePath(const QString& path);

// Reads a message box into shown and presses the button with that title.
ModalDriver::Step answerAlert(ShownAlert* shown, const QString& button = QStringLiteral("OK"));
