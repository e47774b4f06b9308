// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/open_panel.h"

#include <QSettings>
#include <QTemporaryDir>

void setUpOpenPanel(QFileDialog& panel, QFileDialog::FileMode mode, const OpenPanelTexts& texts) {
    // Nothing but the store outlives a run: the panel keeps its own settings
    // (QtProject.conf), so they go to a folder that is removed at exit.
    static const QTemporaryDir scratch;
    if (scratch.isValid()) {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, scratch.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, scratch.path());
    }
    QFileDialog::Options options = QFileDialog::DontUseNativeDialog | QFileDialog::ReadOnly;
    if (mode == QFileDialog::Directory)
        options |= QFileDialog::ShowDirsOnly;
    panel.setOptions(options);
    panel.setFileMode(mode);
    panel.setAcceptMode(QFileDialog::AcceptOpen);
    panel.setWindowTitle(texts.title);
    panel.setLabelText(QFileDialog::LookIn, QStringLiteral("場所:"));
    panel.setLabelText(QFileDialog::FileName, texts.nameLabel);
    panel.setLabelText(QFileDialog::FileType, QStringLiteral("種類:"));
    panel.setLabelText(QFileDialog::Accept, texts.accept);
    panel.setLabelText(QFileDialog::Reject, QStringLiteral("キャンセル"));
}
