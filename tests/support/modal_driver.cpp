// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "modal_driver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTest>

ModalDriver::ModalDriver(QList<Step> steps) : steps_(std::move(steps)) {
    connect(&timer_, &QTimer::timeout, this, &ModalDriver::poll);
    timer_.start(5);
}

void ModalDriver::poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible() || modal == current_)
        return;
    current_ = modal;
    if (steps_.isEmpty()) {
        ++unexpected_;
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        return;
    }
    steps_.takeFirst()(modal);
}

ModalDriver::Step choosePath(const QString& path) {
    return [path](QWidget* modal) {
        auto* panel = qobject_cast<QFileDialog*>(modal);
        QVERIFY(panel);
        QVERIFY(panel->testOption(QFileDialog::ReadOnly));
        QVERIFY(panel->testOption(QFileDialog::DontUseNativeDialog));
        if (path.isEmpty()) {
            panel->reject();
            return;
        }
        panel->selectFile(path);
        static_cast<QDialog*>(panel)->accept();
    };
}

ModalDriver::Step answerAlert(ShownAlert* shown, const QString& button) {
    return [shown, button](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        QVERIFY(box);
        shown->text = box->text();
        shown->informativeText = box->informativeText();
        shown->plain = true;
        shown->shown.clear();
        for (const QLabel* label : box->findChildren<QLabel*>()) {
            shown->plain = shown->plain && label->textFormat() == Qt::PlainText;
            if (label->isVisible() && label->text() == shown->informativeText)
                shown->shown = label->text();
        }
        if (auto* view = box->findChild<QPlainTextEdit*>(); view && view->isVisible())
            shown->shown = view->toPlainText();
        shown->buttons.clear();
        for (QAbstractButton* b : box->buttons())
            shown->buttons.append(b->text());
        shown->buttons.sort();
        for (QAbstractButton* b : box->buttons())
            if (b->text() == button)
                return b->click();
        QFAIL("the box has no such button");
    };
}
