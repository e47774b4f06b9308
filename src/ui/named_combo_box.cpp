// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/named_combo_box.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>

namespace {

// Qt's accessible combo box (its list as the one child, and the action that opens it),
// but with the widget's accessible name as its name.
class AccessibleNamedComboBox : public QAccessibleWidget {
public:
    explicit AccessibleNamedComboBox(QComboBox* box)
        : QAccessibleWidget(box, QAccessible::ComboBox) {}

    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Value ? box()->currentText() : QAccessibleWidget::text(t);
    }
    int childCount() const override { return 1; }
    QAccessibleInterface* child(int index) const override {
        return index == 0 ? QAccessible::queryAccessibleInterface(box()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child && child->object() == box()->view() ? 0 : -1;
    }
    QStringList actionNames() const override {
        return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action != showMenuAction() && action != pressAction())
            QAccessibleWidget::doAction(action);
        else if (box()->view()->isVisible())
            box()->hidePopup();
        else
            box()->showPopup();
    }

private:
    QComboBox* box() const { return static_cast<QComboBox*>(widget()); }
};

QAccessibleInterface* accessibleFor(const QString& className, QObject* object) {
    auto* box = qobject_cast<NamedComboBox*>(object);
    if (box && className == QLatin1String(NamedComboBox::staticMetaObject.className()))
        return new AccessibleNamedComboBox(box);
    return nullptr;
}

} // namespace

NamedComboBox::NamedComboBox(QWidget* parent) : QComboBox(parent) {
    // Installed once, however many boxes are made.
    QAccessible::installFactory(accessibleFor);
}
