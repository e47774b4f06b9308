// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "import/import_options.h"

#include <QByteArray>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <memory>

struct AppDelegate;
class QLabel;
class QLineEdit;

namespace Ui {
class LoadingViewController;
}

// The import screen: the separator and order of the file's lines, the name of the new list,
// and the import of a text file chosen in a panel or dropped onto the screen.
class LoadingViewController : public QWidget {
    Q_OBJECT
public:
    explicit LoadingViewController(AppDelegate& delegate, QWidget* parent = nullptr);
    ~LoadingViewController() override;

    // The text of the last file this screen read, in UTF-8.
    QByteArray ADD_WORDS_LIST;
    AppDelegate& fromAppDelegate;
    QPointer<QLabel> sepalations_label;
    QPointer<QLineEdit> words_list_name;

signals:
    // Back_button.
    void backRequested();

public slots:
    // Sent by Separator_control and Sequence_control.
    void separations(int segment);
    void sequence(int segment);
    // Sent by Open_button: choose a file and import it.
    void open();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void viewDidLoad();
    void importFile(const QString& path);
    void showOptions(importer::LineLayout layout);

    std::unique_ptr<Ui::LoadingViewController> ui_;
    // While a file is read and checked in the background, a second import (a drop) is refused.
    bool importing_ = false;
};
