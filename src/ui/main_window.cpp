// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/main_window.h"

#include "speech/flite_voice.h"
#include "ui/alert.h"
#include "ui/game_setting_view_controller.h"
#include "ui/game_view_controller.h"
#include "ui/loading_view_controller.h"
#include "ui/playing_setting.h"
#include "ui/start_view_controller.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStackedWidget>
#include <QStyle>
#include <QVBoxLayout>

MainWindow::MainWindow(AppDelegate& delegate, QWidget* parent)
    : QMainWindow(parent), delegate_(delegate), stack_(new QStackedWidget(this)) {
    setWindowTitle(QApplication::applicationDisplayName());
    // A screen that does not fit the window (a small screen, a large scale) scrolls instead
    // of being squeezed until its texts are cut.
    auto* scroller = new QScrollArea(this);
    scroller->setWidgetResizable(true);
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setFocusPolicy(Qt::NoFocus); // not a stop of its own for Tab
    scroller->setWidget(stack_);
    setCentralWidget(scroller);
    // The whole window, its title bar included, fits the screen's free area.
    const QSize room = screen()->availableGeometry().size() -
                       QSize(0, style()->pixelMetric(QStyle::PM_TitleBarHeight));
    setMinimumSize(QSize(560, 440).boundedTo(room));
    resize(QSize(760, 560).boundedTo(room));
    showStart();
}

QWidget* MainWindow::currentScreen() const {
    return stack_->currentWidget();
}

void MainWindow::replaceScreen(QWidget* screen) {
    QWidget* old = stack_->currentWidget();
    stack_->addWidget(screen);
    stack_->setCurrentWidget(screen);
    if (old) {
        // The old screen may be inside the handler of its own button: let it return first.
        stack_->removeWidget(old);
        old->deleteLater();
    }
    // Each screen names where its work starts (its focus proxy), the quiz itself.
    screen->setFocus(Qt::OtherFocusReason);
}

void MainWindow::showStart() {
    auto* screen = new StartViewController(delegate_);
    connect(screen, &StartViewController::importRequested, this, &MainWindow::showImport);
    connect(screen, &StartViewController::setupRequested, this, &MainWindow::showSetup);
    connect(screen, &StartViewController::settingsRequested, this, &MainWindow::openSettings);
    replaceScreen(screen);
}

void MainWindow::showImport() {
    auto* screen = new LoadingViewController(delegate_);
    connect(screen, &LoadingViewController::backRequested, this, &MainWindow::showStart);
    replaceScreen(screen);
}

void MainWindow::showSetup() {
    auto* screen = new GameSettingViewController(delegate_);
    connect(screen, &GameSettingViewController::backRequested, this, &MainWindow::showStart);
    connect(screen, &GameSettingViewController::startRequested, this, &MainWindow::showQuiz);
    replaceScreen(screen);
}

void MainWindow::showQuiz() {
    auto* screen = new GameViewController(delegate_);
    connect(screen, &GameViewController::backRequested, this, &MainWindow::showSetup);
    replaceScreen(screen);
    if (!voice_)
        voice_ = new speech::FliteVoice(this);
    screen->setVoice(voice_);
}

void MainWindow::openSettings() {
    QDialog dialog(this);
    dialog.setWindowTitle(QApplication::applicationDisplayName());
    auto* layout = new QVBoxLayout(&dialog);
    auto* panel = new PlayingSetting(delegate_, &dialog);
    layout->addWidget(panel);
    auto* buttons = new QDialogButtonBox(&dialog);
    QPushButton* close = buttons->addButton(QStringLiteral("閉じる"), QDialogButtonBox::AcceptRole);
    close->setObjectName(QStringLiteral("Close_button"));
    close->setAccessibleName(QStringLiteral("閉じる"));
    close->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    layout->addWidget(buttons);
    runModal(dialog);
}
