// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/main_window.h"

#include "speech/flite_voice.h"
#include "ui/alert.h"
#include "ui/game_setting_view_controller.h"
#include "ui/game_view_controller.h"
#include "ui/list_editor_view_controller.h"
#include "ui/loading_view_controller.h"
#include "ui/playing_setting.h"
#include "ui/start_view_controller.h"

#include "app/app_delegate.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileInfo>
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
    connect(screen, &GameSettingViewController::editRequested, this, &MainWindow::showEditor);
    connect(screen, &GameSettingViewController::newListRequested, this,
            [this] { showEditor(QString()); });
    replaceScreen(screen);
}

void MainWindow::showSetupWith(const QString& listPath) {
    if (listPath.isEmpty()) {
        showSetup();
        return;
    }
    // The list's folder is listed, so that the list edited can be loaded.
    const QFileInfo list(listPath);
    words_lists_url() = QUrl::fromLocalFile(list.path());
    showSetup();
    if (auto* setup = qobject_cast<GameSettingViewController*>(currentScreen()))
        setup->loadEntry(list.fileName());
}

void MainWindow::showEditor(const QString& listPath) {
    auto* screen = new ListEditorViewController(delegate_);
    connect(screen, &ListEditorViewController::backRequested, this, &MainWindow::showSetupWith);
    replaceScreen(screen);
    if (!listPath.isEmpty())
        screen->openList(listPath);
    screen->setFocus(Qt::OtherFocusReason);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    auto* editor = qobject_cast<ListEditorViewController*>(currentScreen());
    if (editor && !editor->mayLeave())
        event->ignore();
    else
        QMainWindow::closeEvent(event);
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
