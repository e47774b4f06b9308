// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>

class QDialog;
class QWidget;

// Runs a modal dialog after flushing the diagnostics, so that what the program printed
// before the dialog is out before the user is asked anything. Once it closes, the window is
// active again with the focus back on the control that had it.
int runModal(QDialog& dialog);

// An alert as every screen shows it: the program's name as window title, the message text,
// the informative text, and buttons added in order with exactly the given titles. The
// first button is the default (Enter); escapeButton, when given, answers Escape.
// Returns the index of the button that closed the alert, or -1.
struct AlertButtons {
    QStringList titles;
    int escapeButton = -1;
};
int runAlert(QWidget* parent, const QString& text, const QString& informativeText,
             const AlertButtons& buttons);
