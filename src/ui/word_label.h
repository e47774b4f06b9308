// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QLabel>
#include <QTextOption>

// A label for the quiz's words: it breaks a line between words where it can and anywhere
// where it must, so that a word with no break point (a 90-letter word, a long URL) is shown
// whole within the screen's width, on as many lines as it takes. A plain label sizes itself
// by its unbroken text and is then cut at both edges.
class WordLabel : public QLabel {
    Q_OBJECT

public:
    using QLabel::QLabel;

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QTextOption textOption() const;
};
