// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class QCoreApplication;

// Installs Qt's own Japanese translations (the file panel's columns and buttons, the
// context menus of text fields), so that the texts Qt draws are Japanese like ours.
// Returns false when the translations are not installed; Qt's English texts stay then.
bool installJapaneseTranslations(QCoreApplication& application);
