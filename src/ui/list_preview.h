// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QAbstractScrollArea>
#include <QString>
#include <vector>

// A read-only, scrollable view of a whole text that stays quick for a list of a million
// lines: it keeps the text and where each row starts, and paints only the rows in view.
// Lines longer than a row's limit continue on the next row. The property plainText holds
// the text exactly as it was given. Assistive technology reads it as read-only, multi-line
// text; with the focus it shows a frame of the highlight colour.
class ListPreview : public QAbstractScrollArea {
    Q_OBJECT
    Q_PROPERTY(QString plainText READ toPlainText WRITE setPlainText)
public:
    explicit ListPreview(QWidget* parent = nullptr);

    QString toPlainText() const { return text_; }
    void setPlainText(const QString& text);

    // The number of rows the text takes.
    qsizetype rowCount() const { return qsizetype(rows_.size()); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    struct Row {
        qsizetype start;
        qsizetype length;
    };

    void updateScrollBars();
    // Widens the horizontal range when a painted row turned out wider than it.
    void fitWidth(int width);

    QString text_;
    std::vector<Row> rows_;
    qsizetype longestRow_ = -1; // by characters; the first guess at the widest row
    int contentWidth_ = 0;
};
