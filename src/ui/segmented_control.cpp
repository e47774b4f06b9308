// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/segmented_control.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QHBoxLayout>
#include <QPushButton>

SegmentedControl::SegmentedControl(QWidget* parent)
    : QWidget(parent), group_(new QButtonGroup(this)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    group_->setExclusive(true);
    // The default style sets a checked push button only slightly apart from the others;
    // a segmented control must show its choice at a glance.
    setStyleSheet(
        QStringLiteral("QPushButton { padding: 6px 12px; border: 1px solid palette(mid);"
                       " background: palette(button); color: palette(button-text); }"
                       "QPushButton:checked { background: palette(highlight);"
                       " color: palette(highlighted-text); border-color: palette(highlight); }"
                       "QPushButton:focus { border: 2px solid palette(highlight); }"));
    connect(group_, &QButtonGroup::idClicked, this, &SegmentedControl::segmentSelected);
}

void SegmentedControl::setSegments(const QStringList& titles, const QStringList& accessibleNames,
                                   QSize extraRoom) {
    for (QAbstractButton* button : group_->buttons()) {
        group_->removeButton(button);
        delete button;
    }
    for (int i = 0; i < titles.size(); ++i) {
        auto* button = new QPushButton(titles[i], this);
        button->setCheckable(true);
        button->setAccessibleName(accessibleNames.value(i, titles[i]));
        button->setFocusPolicy(Qt::StrongFocus);
        // Enter is left to a dialog around the control, which it closes.
        button->setAutoDefault(false);
        if (!extraRoom.isEmpty())
            button->setMinimumSize(button->sizeHint() + extraRoom);
        group_->addButton(button, i);
        layout()->addWidget(button);
    }
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
}

std::optional<int> selectedSegmentOf(const QObject* sender) {
    if (const auto* control = qobject_cast<const SegmentedControl*>(sender))
        return control->selectedSegment();
    return std::nullopt;
}
