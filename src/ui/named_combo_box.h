// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QComboBox>

// A combo box that a screen reader reads by its accessible name, with the chosen entry as
// its value. Qt's own accessible combo box gives the chosen entry as the name on Linux, so
// once an entry is chosen the name would no longer be read.
class NamedComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit NamedComboBox(QWidget* parent = nullptr);
};
