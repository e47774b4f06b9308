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
    connect(group_, &QButtonGroup::idClicked, this, &SegmentedControl::segmentSelected);
}

void SegmentedControl::setSegments(const QStringList& titles) {
    for (QAbstractButton* button : group_->buttons()) {
        group_->removeButton(button);
        delete button;
    }
    for (int i = 0; i < titles.size(); ++i) {
        auto* button = new QPushButton(titles[i], this);
        button->setCheckable(true);
        button->setAccessibleName(titles[i]);
        button->setFocusPolicy(Qt::StrongFocus);
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
