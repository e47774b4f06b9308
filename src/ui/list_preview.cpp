// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/list_preview.h"

#include "platform/text.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>

namespace {

// A line of a megabyte is cut into rows of this many characters, so that no paint ever
// has to lay out more than a row's worth of text.
constexpr qsizetype rowLimit = 1000;
constexpr int margin = 4;
constexpr int focusFrameWidth = 2;

// Qt gives a scroll area of its own no text to read: this offers the whole text, read-only,
// as a multi-line text field. Nothing is selectable and there is no caret, so the cursor
// stays at the start.
class ListPreviewAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit ListPreviewAccessible(ListPreview* preview)
        : QAccessibleWidget(preview, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = true;
        s.multiLine = true;
        s.editable = false;
        return s;
    }

    QString text(int start, int end) const override {
        const QString& all = preview()->toPlainText();
        start = qBound(0, start, int(all.size()));
        end = end < 0 ? int(all.size()) : qBound(start, end, int(all.size()));
        return all.mid(start, end - start);
    }
    QString text(QAccessible::Text t) const override { return QAccessibleWidget::text(t); }
    int characterCount() const override { return int(preview()->toPlainText().size()); }
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* start, int* end) const override {
        *start = 0;
        *end = qMax(offset, characterCount());
        return {};
    }

private:
    ListPreview* preview() const { return static_cast<ListPreview*>(widget()); }
};

QAccessibleInterface* listPreviewAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String("ListPreview"))
        return new ListPreviewAccessible(static_cast<ListPreview*>(object));
    return nullptr;
}

} // namespace

ListPreview::ListPreview(QWidget* parent) : QAbstractScrollArea(parent) {
    static const bool installed = [] {
        QAccessible::installFactory(listPreviewAccessible);
        return true;
    }();
    Q_UNUSED(installed);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
}

void ListPreview::setPlainText(const QString& text) {
    text_ = text;
    rows_.clear();
    longestRow_ = -1;
    qsizetype longest = -1;
    const QChar* base = text_.constData();
    platform::forEachLine(QStringView(text_), [&](QStringView line) {
        qsizetype start = line.data() - base;
        qsizetype left = line.size();
        do {
            const qsizetype length = qMin(left, rowLimit);
            if (length > longest) {
                longest = length;
                longestRow_ = qsizetype(rows_.size());
            }
            rows_.push_back({start, length});
            start += length;
            left -= length;
        } while (left > 0);
        return true;
    });
    contentWidth_ = 0;
    if (longestRow_ >= 0) {
        const Row& row = rows_[size_t(longestRow_)];
        contentWidth_ = fontMetrics().horizontalAdvance(
                            QStringView(text_).sliced(row.start, row.length).toString()) +
                        2 * margin;
    }
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    updateScrollBars();
    viewport()->update();
}

void ListPreview::updateScrollBars() {
    const int lineHeight = fontMetrics().lineSpacing();
    const int visibleRows = qMax(1, viewport()->height() / qMax(1, lineHeight));
    const qsizetype maxFirst = qMax<qsizetype>(0, rowCount() - visibleRows);
    verticalScrollBar()->setRange(0, int(qMin<qsizetype>(maxFirst, INT_MAX)));
    verticalScrollBar()->setPageStep(visibleRows);
    verticalScrollBar()->setSingleStep(1);
    horizontalScrollBar()->setRange(0, qMax(0, contentWidth_ - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    horizontalScrollBar()->setSingleStep(qMax(1, fontMetrics().averageCharWidth() * 2));
}

void ListPreview::fitWidth(int width) {
    if (width <= contentWidth_)
        return;
    contentWidth_ = width;
    // Changing a range inside a paint would paint again at once; do it afterwards.
    QTimer::singleShot(0, this, [this] { updateScrollBars(); });
}

void ListPreview::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(viewport());
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text));
    const QFontMetrics metrics = fontMetrics();
    const int lineHeight = metrics.lineSpacing();
    const int x = margin - horizontalScrollBar()->value();
    int y = metrics.ascent() + margin / 2;
    int widest = 0;
    for (qsizetype i = verticalScrollBar()->value();
         i < rowCount() && y - metrics.ascent() < viewport()->height(); ++i, y += lineHeight) {
        const Row& row = rows_[size_t(i)];
        const QString shown = QStringView(text_).sliced(row.start, row.length).toString();
        painter.drawText(x, y, shown);
        widest = qMax(widest, metrics.horizontalAdvance(shown));
    }
    fitWidth(widest + 2 * margin);
    if (hasFocus()) {
        // The style's 1 px change of the frame is too faint to find the focus by.
        painter.setPen(QPen(palette().color(QPalette::Highlight), focusFrameWidth));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(viewport()->rect())
                             .adjusted(focusFrameWidth / 2.0, focusFrameWidth / 2.0,
                                       -focusFrameWidth / 2.0, -focusFrameWidth / 2.0));
    }
}

void ListPreview::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void ListPreview::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

void ListPreview::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void ListPreview::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        setPlainText(text_);
}

void ListPreview::keyPressEvent(QKeyEvent* event) {
    QScrollBar* vertical = verticalScrollBar();
    QScrollBar* horizontal = horizontalScrollBar();
    if (event->matches(QKeySequence::MoveToStartOfDocument)) {
        vertical->setValue(vertical->minimum());
        horizontal->setValue(horizontal->minimum());
    } else if (event->matches(QKeySequence::MoveToEndOfDocument)) {
        vertical->setValue(vertical->maximum());
    } else if (event->matches(QKeySequence::MoveToStartOfLine)) {
        horizontal->setValue(horizontal->minimum());
    } else if (event->matches(QKeySequence::MoveToEndOfLine)) {
        horizontal->setValue(horizontal->maximum());
    } else {
        // Arrows and the page keys scroll as in any scroll area.
        QAbstractScrollArea::keyPressEvent(event);
    }
}
