// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QSize>
#include <QStringList>
#include <QWidget>

class QButtonGroup;

// A row of checkable, mutually exclusive buttons, one per segment. Assistive technology sees
// it as a group of radio buttons named by the control's accessible name; Space, Enter or an
// assistive tool's action on a segment picks it, as a click does. Focus given to the control
// (by its caption's mnemonic, say) goes to the selected segment.
class SegmentedControl : public QWidget {
    Q_OBJECT
public:
    explicit SegmentedControl(QWidget* parent = nullptr);

    // Replaces the segments; none is selected afterwards. Each segment's accessible name is
    // the one given, or else its title; extraRoom is added around each title.
    void setSegments(const QStringList& titles, const QStringList& accessibleNames = {},
                     QSize extraRoom = {});
    int segmentCount() const;

    // Index of the selected segment from 0, or -1 when none is selected.
    int selectedSegment() const;
    // Selects a segment without emitting segmentSelected; -1 clears the selection.
    void setSelectedSegment(int index);

signals:
    // The user picked a segment.
    void segmentSelected(int index);

private:
    void followSelectionWithFocus();

    QButtonGroup* group_;
};

// Sets the Tab order to the widgets in the order given, a segmented control standing for
// its segments: segments are made after a form is set up, which puts them last.
void setTabOrderInRows(const QList<QWidget*>& widgets);
