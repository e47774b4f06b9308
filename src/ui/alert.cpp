// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/alert.h"

#include "platform/diagnostics.h"

#include <QApplication>
#include <QDialog>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>

namespace {

// A message is shown whole up to this many characters (a rejected line of 10,000 with its
// number and reason); a longer one (megabytes, at worst) is shown as its beginning and its
// end, where the line number and the reason stand, and the box says what was left out.
constexpr qsizetype shownWhole = 12000;
constexpr qsizetype shownHead = 8000;
constexpr qsizetype shownTail = 3000;
// Longer informative texts go into a scrolling view that can break a line anywhere: a
// label breaks only between words, so a long line without spaces would widen the box past
// the screen.
constexpr qsizetype labelLimit = 400;

QString abridged(const QString& text) {
    if (text.size() <= shownWhole)
        return text;
    const qsizetype left = text.size() - shownHead - shownTail;
    return text.first(shownHead) +
           QStringLiteral("\n\n…(長すぎるため、ここで%1文字を省略して表示しています)…\n\n")
               .arg(QString::number(left)) +
           text.last(shownTail);
}

// Puts a read-only view of the text where the informative label stands, and hides the
// label: a hidden label is never laid out, however long its text.
void showInScrollingView(QMessageBox& box, QLabel* label, const QString& text) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    const int index = grid ? grid->indexOf(label) : -1;
    if (index < 0)
        return;
    int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
    grid->getItemPosition(index, &row, &column, &rowSpan, &columnSpan);
    auto* view = new QPlainTextEdit(&box);
    view->setObjectName(QStringLiteral("informative_text"));
    view->setReadOnly(true);
    view->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    view->setMinimumSize(480, 200);
    view->setPlainText(abridged(text));
    view->setAccessibleName(QStringLiteral("メッセージ"));
    grid->addWidget(view, row, column, rowSpan, columnSpan);
    label->hide();
}

} // namespace

int runModal(QDialog& dialog) {
    platform::flushDiagnostics();
    const QPointer<QWidget> opener =
        QApplication::focusWidget() ? QApplication::focusWidget() : dialog.parentWidget();
    const int result = dialog.exec();
    // The window does not always get the activation back when a dialog closes (a file panel
    // closed by Enter, or no window manager at all): with no focus anywhere, a screen reader
    // falls silent and keys go nowhere.
    if (opener) {
        opener->activateWindow();
        opener->setFocus(Qt::OtherFocusReason);
    }
    return result;
}

int runAlert(QWidget* parent, const QString& text, const QString& informativeText,
             const AlertButtons& buttons) {
    QMessageBox box(parent);
    box.setWindowTitle(QApplication::applicationDisplayName());
    box.setIcon(QMessageBox::NoIcon);
    box.setText(text);
    box.setInformativeText(informativeText);
    // A line, a file name or a typed name is shown as the text it is: Qt would guess rich
    // text for the informative label by itself and render "<b>" or "&lt;".
    for (QLabel* label : box.findChildren<QLabel*>()) {
        label->setTextFormat(Qt::PlainText);
        if (informativeText.size() > labelLimit && label->text() == informativeText)
            showInScrollingView(box, label, informativeText);
    }
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
