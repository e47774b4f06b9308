#include "ui/alert.h"

#include "app/diagnostics.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>

int runModal(QDialog& dialog) {
    platform::flushDiagnostics();
    return dialog.exec();
}

int runAlert(QWidget* parent, const QString& text, const QString& informativeText,
             const AlertButtons& buttons) {
    QMessageBox box(parent);
    box.setWindowTitle(QApplication::applicationDisplayName());
    box.setIcon(QMessageBox::NoIcon);
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    box.setInformativeText(informativeText);
    QList<QPushButton*> added;
    for (int i = 0; i < buttons.titles.size(); ++i) {
        const QMessageBox::ButtonRole role =
            i == buttons.escapeButton ? QMessageBox::RejectRole : QMessageBox::AcceptRole;
        QPushButton* button = box.addButton(buttons.titles[i], role);
        button->setAccessibleName(buttons.titles[i]);
        added.append(button);
    }
    if (!added.isEmpty())
        box.setDefaultButton(added.first());
    if (buttons.escapeButton >= 0 && buttons.escapeButton < added.size())
        box.setEscapeButton(added[buttons.escapeButton]);
    runModal(box);
    return int(added.indexOf(qobject_cast<QPushButton*>(box.clickedButton())));
}
