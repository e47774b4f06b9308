// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace setup {

// The set-up screen as its rules see it: the combo box's items and selection, and the
// outputs that the listings, the deletion and the load write. The screen copies the
// selection in before an action and shows the whole model after it.
struct SetupScreen {
    QStringList items;            // Words_lists, in order
    qsizetype selectedIndex = -1; // -1: no item selected
    QString pathText;             // path_textfield
    QString preview;              // List_check_textfield
    QString countText;            // All_words_number
    bool startEnabled = false;    // Start_button
    QString startBlocked;         // why a loaded list cannot start, if it cannot

    // Why Start_button cannot be pressed, while it cannot (a tooltip and an accessible
    // description); empty while it can.
    QString startToolTip() const {
        if (startEnabled)
            return {};
        return !startBlocked.isEmpty()
                   ? startBlocked
                   : QStringLiteral("単語リストがまだ読み込まれていません。単語リストを選んで"
                                    "「このリストに決定」を押してください。");
    }

    // The selected item's name, or "" when no item is selected.
    QString selectedItem() const {
        return selectedIndex >= 0 && selectedIndex < items.size() ? items[selectedIndex]
                                                                  : QString();
    }
};

} // namespace setup
