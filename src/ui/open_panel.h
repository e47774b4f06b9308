// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QFileDialog>
#include <QString>

// The open panel every screen uses: Qt's own dialog (so that it looks and behaves alike on
// every desktop), read-only (it offers no way to create, rename or delete anything), with
// Japanese labels.
struct OpenPanelTexts {
    QString title;
    QString nameLabel; // the label of the name field ("ファイル名:", "フォルダ名:")
    QString accept;    // the title of the accept button
};
void setUpOpenPanel(QFileDialog& panel, QFileDialog::FileMode mode, const OpenPanelTexts& texts);
