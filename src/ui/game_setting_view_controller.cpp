// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/game_setting_view_controller.h"

#include "app/app_delegate.h"
#include "platform/diagnostics.h"
#include "setup/folder_listing.h"
#include "setup/list_deletion.h"
#include "setup/list_export.h"
#include "setup/list_loading.h"
#include "ui/alert.h"
#include "ui/list_preview.h"
#include "ui/open_panel.h"
#include "ui_game_setting_view_controller.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

GameSettingViewController::GameSettingViewController(AppDelegate& delegate, QWidget* parent)
    : QWidget(parent), fromAppDelegate(delegate), ui_(new Ui::GameSettingViewController) {
    ui_->setupUi(this);
    // Arriving here, work starts with the choice of a list.
    setFocusProxy(ui_->Words_lists);
    // Only the button loads: moving through the combo box with the arrow keys must not.
    connect(ui_->Words_list_determined_button, &QPushButton::clicked, this,
            &GameSettingViewController::Words_list_determined);
    connect(ui_->normal_path_button, &QPushButton::clicked, this,
            &GameSettingViewController::normal_path);
    connect(ui_->Open_button, &QPushButton::clicked, this, &GameSettingViewController::Open);
    connect(ui_->Delete_button, &QPushButton::clicked, this,
            &GameSettingViewController::Delete_button);
    connect(ui_->Export_button, &QPushButton::clicked, this, &GameSettingViewController::Export);
    connect(ui_->Back_button, &QPushButton::clicked, this,
            &GameSettingViewController::backRequested);
    connect(ui_->Start_button, &QPushButton::clicked, this,
            &GameSettingViewController::startRequested);
    connect(ui_->Edit_button, &QPushButton::clicked, this, [this] {
        emit editRequested(QUrl(fromAppDelegate.WORDS_LIST_FOR_GAME).toLocalFile());
    });
    connect(ui_->New_list_button, &QPushButton::clicked, this,
            &GameSettingViewController::newListRequested);
    viewDidLoad();
}

GameSettingViewController::~GameSettingViewController() = default;

void GameSettingViewController::takeSelection() {
    screen_.selectedIndex = ui_->Words_lists->currentIndex();
}

void GameSettingViewController::showScreen() {
    QComboBox* combo = ui_->Words_lists;
    QStringList shown;
    shown.reserve(combo->count());
    for (int i = 0; i < combo->count(); ++i)
        shown.append(combo->itemText(i));
    if (shown != screen_.items) {
        combo->clear();
        combo->addItems(screen_.items);
    }
    // Qt selects an item by itself when items come or go; the model says which one.
    combo->setCurrentIndex(int(screen_.selectedIndex));
    ui_->path_textfield->setText(screen_.pathText);
    ui_->path_textfield->setCursorPosition(0);
    if (ui_->List_check_textfield->toPlainText() != screen_.preview)
        ui_->List_check_textfield->setPlainText(screen_.preview);
    ui_->All_words_number->setText(screen_.countText);
    // A label has no text for a screen reader to read; a change of its name is announced.
    ui_->All_words_number->setAccessibleName(screen_.countText);
    ui_->Start_button->setEnabled(screen_.startEnabled);
    ui_->Start_button->setToolTip(screen_.startToolTip());
    ui_->Start_button->setAccessibleDescription(screen_.startToolTip());
    // What can be studied can be edited.
    ui_->Edit_button->setEnabled(screen_.startEnabled);
    ui_->Edit_button->setToolTip(screen_.startToolTip());
    ui_->Edit_button->setAccessibleDescription(screen_.startToolTip());
    ui_->Export_button->setEnabled(screen_.startEnabled);
}

void GameSettingViewController::viewDidLoad() {
    const platform::FlushDiagnosticsOnReturn flush;
    setup::listOnViewLoad(screen_, WORDS_LISTS);
    showScreen();
}

void GameSettingViewController::normal_path() {
    const platform::FlushDiagnosticsOnReturn flush;
    takeSelection();
    setup::listDefaultFolder(screen_, WORDS_LISTS);
    showScreen();
}

void GameSettingViewController::Open() {
    const platform::FlushDiagnosticsOnReturn flush;
    takeSelection();
    // Folders only: a file could never be listed.
    QFileDialog panel(this);
    setUpOpenPanel(panel, QFileDialog::Directory,
                   {QStringLiteral("単語リストのフォルダを選ぶ"), QStringLiteral("フォルダ名:"),
                    QStringLiteral("選ぶ")});
    panel.setDirectoryUrl(words_lists_url());
    std::optional<QUrl> chosen;
    if (runModal(panel) == QDialog::Accepted && !panel.selectedUrls().isEmpty())
        chosen = panel.selectedUrls().constFirst();
    setup::listChosenFolder(screen_, WORDS_LISTS, chosen);
    showScreen();
}

void GameSettingViewController::Words_list_determined() {
    const platform::FlushDiagnosticsOnReturn flush;
    takeSelection();
    setup::loadSelectedList(fromAppDelegate, screen_);
    showScreen();
}

void GameSettingViewController::loadEntry(const QString& name) {
    const platform::FlushDiagnosticsOnReturn flush;
    screen_.selectedIndex = screen_.items.indexOf(name);
    if (screen_.selectedIndex >= 0)
        setup::loadSelectedList(fromAppDelegate, screen_);
    showScreen();
}

void GameSettingViewController::Delete_button() {
    const platform::FlushDiagnosticsOnReturn flush;
    takeSelection();
    setup::deleteSelected(fromAppDelegate, screen_, [this](const QString& selectedItem) {
        return confirm_delete(selectedItem);
    });
    showScreen();
}

bool GameSettingViewController::confirm_delete(const QString& selectedItem) {
    const int pressed = runAlert(this, QStringLiteral("単語リストの削除"),
                                 selectedItem + QStringLiteral("を削除しますか？"),
                                 {{QStringLiteral("YES"), QStringLiteral("Cancel")}, 1});
    return pressed == 0;
}

void GameSettingViewController::Export() {
    const platform::FlushDiagnosticsOnReturn flush;
    QString path;
    setup::ExportType type = setup::ExportType::Csv;
    {
        QFileDialog panel(this);
        setUpOpenPanel(panel, QFileDialog::AnyFile,
                       {QStringLiteral("単語リストを書き出す"), QStringLiteral("ファイル名:"),
                        QStringLiteral("書き出す")});
        panel.setAcceptMode(QFileDialog::AcceptSave);
        // Replacing is asked below, in the program's own words and buttons.
        panel.setOption(QFileDialog::DontConfirmOverwrite);
        panel.setNameFilters(setup::exportFilters());
        panel.setDirectory(QDir::homePath());
        const auto typeOf = [&] {
            return setup::ExportType(
                qMax(0, int(setup::exportFilters().indexOf(panel.selectedNameFilter()))));
        };
        // The list's name, and a typed name without an ending, get the chosen type's ending.
        const auto propose = [&] {
            const QString name = setup::exportFileName(fromAppDelegate.SELECTED_ITEM, typeOf());
            panel.setDefaultSuffix(QFileInfo(name).suffix());
            panel.selectFile(name);
        };
        propose();
        connect(&panel, &QFileDialog::filterSelected, &panel, [&](const QString&) { propose(); });
        if (runModal(panel) != QDialog::Accepted || panel.selectedFiles().isEmpty())
            return;
        path = panel.selectedFiles().constFirst();
        type = typeOf();
    }
    // The button as the alerts' parent: the window is not yet active again after the panel, and
    // the focus returns to the parent.
    if (QFileInfo::exists(path) &&
        runAlert(ui_->Export_button, QStringLiteral("ファイルの置き換え"),
                 QFileInfo(path).fileName() + QStringLiteral("はすでにあります。置き換えますか？"),
                 {{QStringLiteral("YES"), QStringLiteral("Cancel")}, 1}) != 0)
        return;
    if (!setup::exportList(screen_.preview, type, path).ok)
        runAlert(this, QStringLiteral("ERROR!"),
                 QStringLiteral("単語リストを書き出せませんでした。"), {{QStringLiteral("OK")}, 0});
}
