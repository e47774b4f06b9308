// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/start_view_controller.h"

#include "app/app_delegate.h"
#include "platform/diagnostics.h"
#include "store/locations.h"
#include "ui_start_view_controller.h"

#include <QPushButton>

StartViewController::StartViewController(AppDelegate& delegate, QWidget* parent)
    : QWidget(parent), fromAppDelegate(delegate), ui_(new Ui::StartViewController) {
    ui_->setupUi(this);
    // Arriving here, the first button has the focus.
    setFocusProxy(ui_->Setup_button);
    QFont title = ui_->title_label->font();
    title.setPointSizeF(title.pointSizeF() * 2.4);
    title.setBold(true);
    ui_->title_label->setFont(title);
    connect(ui_->Import_button, &QPushButton::clicked, this, &StartViewController::importRequested);
    connect(ui_->Setup_button, &QPushButton::clicked, this, &StartViewController::setupRequested);
    connect(ui_->Settings_button, &QPushButton::clicked, this,
            &StartViewController::settingsRequested);
    viewDidLoad();
}

StartViewController::~StartViewController() = default;

void StartViewController::viewDidLoad() {
    const platform::FlushDiagnosticsOnReturn flush;
    const platform::Status folder = store::ensureListFolder();
    if (!folder.ok)
        platform::diagnostic(folder.error);
}
