// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/word_label.h"

#include <QPainter>
#include <QTextLayout>
#include <QtMath>

QTextOption WordLabel::textOption() const {
    QTextOption option(alignment());
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    return option;
}

// Lays the text out in lines of the given width (each "\n" starts a new one) and calls
// draw(line, y) for each; returns the height of all lines.
template <typename Draw>
static qreal layOut(const QString& text, const QFont& font, const QTextOption& option, qreal width,
                    Draw&& draw) {
    qreal y = 0;
    for (const QString& paragraph : text.split(u'\n')) {
        QTextLayout layout(paragraph, font);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            line.setPosition(QPointF(0, 0));
            draw(line, y);
            y += line.height();
        }
        layout.endLayout();
    }
    return y;
}

int WordLabel::heightForWidth(int width) const {
    const QMargins margins = contentsMargins();
    const qreal lineWidth = qMax(1, width - margins.left() - margins.right());
    const qreal height =
        layOut(text(), font(), textOption(), lineWidth, [](const QTextLine&, qreal) {});
    return qCeil(height) + margins.top() + margins.bottom();
}

QSize WordLabel::sizeHint() const {
    // Never ask for more width than a usual word takes: a longer one wraps instead.
    const int width = qMin(QLabel::sizeHint().width(), fontMetrics().averageCharWidth() * 24);
    return {width, heightForWidth(width)};
}

QSize WordLabel::minimumSizeHint() const {
    const int width = fontMetrics().averageCharWidth() * 4;
    return {width, heightForWidth(width)};
}

void WordLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    const QRectF area(contentsRect());
    const QTextOption option = textOption();
    const qreal height =
        layOut(text(), font(), option, area.width(), [](const QTextLine&, qreal) {});
    const qreal top = area.top() + qMax<qreal>(0, (area.height() - height) / 2);
    // The option's alignment centres each line within the width.
    layOut(text(), font(), option, area.width(), [&](const QTextLine& line, qreal y) {
        line.draw(&painter, QPointF(area.left(), top + y));
    });
}
