// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "editor/list_save.h"
#include "editor/pair_table_model.h"

#include <QUndoStack>
#include <QWidget>
#include <memory>

struct AppDelegate;

namespace Ui {
class ListEditorViewController;
}

// The editor of a word list: a table of its pairs, every edit undoable, each pair checked as
// the import checks a line, and a save that replaces the list whole or not at all. A new
// screen edits a new list; openList makes it edit a file.
class ListEditorViewController : public QWidget {
    Q_OBJECT
public:
    explicit ListEditorViewController(AppDelegate& delegate, QWidget* parent = nullptr);
    ~ListEditorViewController() override;

    AppDelegate& fromAppDelegate;

    void openList(const QString& path);
    // Asks whether to save unsaved edits; false when the user chose to stay.
    bool mayLeave();

signals:
    // Editor_back_button: the list's file, or empty for a new list never saved.
    void backRequested(const QString& listPath);

public slots:
    void Add_pair_button();
    void Remove_pairs_button();
    void Save_list_button();
    void Editor_back_button();
    void findNext();

private:
    void viewDidLoad();
    // After an edit: the save button, its tooltip and the message.
    void showChecks();
    void showMessage(const QString& text);
    bool save();
    void commitEditing();
    void editEnded(QWidget* editor, int hint);

    std::unique_ptr<Ui::ListEditorViewController> ui_;
    editor::PairTableModel model_;
    editor::EditedList list_;
    QUndoStack undo_;
};
