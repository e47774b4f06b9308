// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/segmented_control.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QButtonGroup>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>

namespace {

// One segment: a push button that Enter picks too, since a segment is a choice, not a
// command (Enter would otherwise fall through to a dialog's default button).
class SegmentButton : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
            event->modifiers() == Qt::NoModifier) {
            click();
            return;
        }
        QPushButton::keyPressEvent(event);
    }
};

// A segment as a radio button. Qt's own button interface toggles a checkable button for
// the "Toggle" action without a click, so the control would never hear of the choice:
// every action here clicks.
class SegmentAccessible : public QAccessibleWidget {
public:
    explicit SegmentAccessible(QAbstractButton* button)
        : QAccessibleWidget(button, QAccessible::RadioButton) {}

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.checkable = true;
        s.checked = button()->isChecked();
        return s;
    }
    QStringList actionNames() const override {
        return QStringList{pressAction(), toggleAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action != pressAction() && action != toggleAction())
            return QAccessibleWidget::doAction(action);
        if (button()->isEnabled())
            button()->click();
    }

private:
    QAbstractButton* button() const { return static_cast<QAbstractButton*>(widget()); }
};

QAccessibleInterface* segmentedControlAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String("SegmentButton"))
        return new SegmentAccessible(static_cast<QAbstractButton*>(object));
    if (className == QLatin1String("SegmentedControl"))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Grouping);
    return nullptr;
}

} // namespace

SegmentedControl::SegmentedControl(QWidget* parent)
    : QWidget(parent), group_(new QButtonGroup(this)) {
    static const bool installed = [] {
        QAccessible::installFactory(segmentedControlAccessible);
        return true;
    }();
    Q_UNUSED(installed);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    group_->setExclusive(true);
    // Not a Tab stop of its own (it hands focus to a segment), but a caption's mnemonic
    // only gives focus to a buddy that takes it.
    setFocusPolicy(Qt::ClickFocus);
    // The default style sets a checked push button only slightly apart from the others;
    // a segmented control must show its choice at a glance. The focused segment gets a
    // border in the text colour: it stands out from the window and from a selected
    // segment's blue alike (both at 3:1 or more), where a highlight-coloured one vanishes
    // on the selected segment.
    setStyleSheet(
        QStringLiteral("QPushButton { padding: 6px 12px; border: 1px solid palette(mid);"
                       " background: palette(button); color: palette(button-text); }"
                       "QPushButton:checked { background: palette(highlight);"
                       " color: palette(highlighted-text); border-color: palette(highlight); }"
                       "QPushButton:focus { padding: 5px 11px;"
                       " border: 2px solid palette(window-text); }"));
    connect(group_, &QButtonGroup::idClicked, this, &SegmentedControl::segmentSelected);
    connect(group_, &QButtonGroup::idToggled, this, [this] { followSelectionWithFocus(); });
}

void SegmentedControl::setSegments(const QStringList& titles, const QStringList& accessibleNames,
                                   QSize extraRoom) {
    setFocusProxy(nullptr);
    for (QAbstractButton* button : group_->buttons()) {
        group_->removeButton(button);
        delete button;
    }
    for (int i = 0; i < titles.size(); ++i) {
        auto* button = new SegmentButton(titles[i], this);
        button->setCheckable(true);
        button->setAccessibleName(accessibleNames.value(i, titles[i]));
        button->setFocusPolicy(Qt::StrongFocus);
        // Enter picks the segment; it must not also press a dialog's default button.
        button->setAutoDefault(false);
        if (!extraRoom.isEmpty())
            button->setMinimumSize(button->sizeHint() + extraRoom);
        group_->addButton(button, i);
        layout()->addWidget(button);
    }
    followSelectionWithFocus();
}

int SegmentedControl::segmentCount() const {
    return int(group_->buttons().size());
}

int SegmentedControl::selectedSegment() const {
    return group_->checkedId();
}

void SegmentedControl::setSelectedSegment(int index) {
    if (QAbstractButton* button = group_->button(index)) {
        button->setChecked(true);
        return;
    }
    // An exclusive group keeps one button checked; lift that to clear the selection.
    group_->setExclusive(false);
    for (QAbstractButton* b : group_->buttons())
        b->setChecked(false);
    group_->setExclusive(true);
    followSelectionWithFocus();
}

void SegmentedControl::followSelectionWithFocus() {
    QAbstractButton* target = group_->checkedButton();
    if (!target)
        target = group_->button(0);
    if (target)
        setFocusProxy(target);
}

void setTabOrderInRows(const QList<QWidget*>& widgets) {
    QList<QWidget*> stops;
    for (QWidget* widget : widgets) {
        if (auto* control = qobject_cast<SegmentedControl*>(widget))
            for (QAbstractButton* segment : control->findChildren<QAbstractButton*>())
                stops.append(segment);
        else
            stops.append(widget);
    }
    for (qsizetype i = 1; i < stops.size(); ++i)
        QWidget::setTabOrder(stops[i - 1], stops[i]);
}

#include "segmented_control.moc"
