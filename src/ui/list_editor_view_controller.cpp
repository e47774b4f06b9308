// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/list_editor_view_controller.h"

#include "app/app_delegate.h"
#include "import/import_run.h"
#include "platform/diagnostics.h"
#include "ui/alert.h"
#include "ui/pair_edit_commands.h"
#include "ui_list_editor_view_controller.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPainter>
#include <QStyledItemDelegate>

#include <algorithm>

namespace {

// Edits go through the undo stack, and a bad cell is marked by more than its colour: a
// screen reader hears why through the cell's description.
class PairDelegate : public QStyledItemDelegate {
public:
    PairDelegate(editor::PairTableModel& model, QUndoStack& undo, QObject* parent)
        : QStyledItemDelegate(parent), model_(model), undo_(undo) {}

    void setModelData(QWidget* editor, QAbstractItemModel*,
                      const QModelIndex& index) const override {
        const QString text = static_cast<QLineEdit*>(editor)->text();
        if (text != index.data(Qt::EditRole).toString())
            undo_.push(new SetCellCommand(model_, index.row(), index.column(), text));
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.data(editor::PairTableModel::BadCellRole).toBool()) {
            option->backgroundBrush = QColor(0xFF, 0xD6, 0xD6);
            option->palette.setColor(QPalette::Text, QColor(0x8B, 0x00, 0x00));
            option->font.setUnderline(true);
        }
    }

private:
    editor::PairTableModel& model_;
    QUndoStack& undo_;
};

} // namespace

ListEditorViewController::ListEditorViewController(AppDelegate& delegate, QWidget* parent)
    : QWidget(parent), fromAppDelegate(delegate), ui_(new Ui::ListEditorViewController) {
    ui_->setupUi(this);
    QTableView* table = ui_->Pairs_table;
    table->setModel(&model_);
    auto* pairDelegate = new PairDelegate(model_, undo_, table);
    table->setItemDelegate(pairDelegate);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    // Rows of one height: a million of them are never measured one by one.
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed);
    setFocusProxy(table);

    const auto shortcut = [this](QAction* action, const QKeySequence& keys) {
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(action);
    };
    shortcut(undo_.createUndoAction(this), QKeySequence::Undo);
    QAction* redo = undo_.createRedoAction(this);
    shortcut(redo, QKeySequence(QStringLiteral("Ctrl+Shift+Z")));
    auto* find = new QAction(this);
    shortcut(find, QKeySequence::Find);
    connect(find, &QAction::triggered, ui_->Find_field,
            [this] { ui_->Find_field->setFocus(Qt::ShortcutFocusReason); });
    auto* saveAction = new QAction(this);
    shortcut(saveAction, QKeySequence::Save);
    connect(saveAction, &QAction::triggered, this, [this] {
        commitEditing();
        if (ui_->Save_list_button->isEnabled())
            Save_list_button();
    });

    connect(ui_->Add_pair_button, &QPushButton::clicked, this,
            &ListEditorViewController::Add_pair_button);
    connect(ui_->Remove_pairs_button, &QPushButton::clicked, this,
            &ListEditorViewController::Remove_pairs_button);
    connect(ui_->Save_list_button, &QPushButton::clicked, this,
            &ListEditorViewController::Save_list_button);
    connect(ui_->Editor_back_button, &QPushButton::clicked, this,
            &ListEditorViewController::Editor_back_button);
    connect(ui_->Find_field, &QLineEdit::returnPressed, this, &ListEditorViewController::findNext);
    connect(pairDelegate, &QAbstractItemDelegate::closeEditor, this,
            [this](QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
                editEnded(editor, hint);
            });
    connect(&undo_, &QUndoStack::indexChanged, this, &ListEditorViewController::showChecks);
    viewDidLoad();
}

ListEditorViewController::~ListEditorViewController() = default;

void ListEditorViewController::viewDidLoad() {
    ui_->List_name_field->setReadOnly(false);
    showChecks();
}

void ListEditorViewController::openList(const QString& path) {
    const platform::FlushDiagnosticsOnReturn flush;
    editor::ListRead read = editor::readList(path);
    list_ = read.list;
    ui_->List_name_field->setText(editor::listName(list_));
    // Only a new list takes a name: an existing one keeps its file.
    ui_->List_name_field->setReadOnly(true);
    if (!read.ok) {
        platform::diagnostic(read.error);
        // Nothing that could not be read is ever written back over the file.
        list_.path.clear();
        ui_->Add_pair_button->setEnabled(false);
        ui_->Pairs_table->setEnabled(false);
        showMessage(QStringLiteral("単語リストを読み込めませんでした。\n") + read.error);
        ui_->Save_list_button->setEnabled(false);
        return;
    }
    model_.setSavedForm(std::move(read.savedForm));
    undo_.clear();
    ui_->Pairs_table->setCurrentIndex(model_.index(0, 0));
    showChecks();
}

void ListEditorViewController::showMessage(const QString& text) {
    ui_->Editor_message->setText(text);
    // A label has no text for a screen reader; a change of its name is announced.
    ui_->Editor_message->setAccessibleName(text.isEmpty() ? QStringLiteral("メッセージ") : text);
}

void ListEditorViewController::showChecks() {
    const QString blocker = model_.saveBlocker();
    ui_->Save_list_button->setEnabled(blocker.isEmpty() && ui_->Pairs_table->isEnabled());
    ui_->Save_list_button->setToolTip(blocker);
    ui_->Save_list_button->setAccessibleDescription(blocker);
    ui_->Remove_pairs_button->setEnabled(model_.rowCount() > 0);
    if (model_.rowCount() > 0)
        showMessage(blocker);
}

void ListEditorViewController::Add_pair_button() {
    QTableView* table = ui_->Pairs_table;
    const int row =
        table->currentIndex().isValid() ? table->currentIndex().row() + 1 : model_.rowCount();
    undo_.push(new AddPairCommand(model_, row));
    const QModelIndex english = model_.index(row, editor::PairTableModel::English);
    table->setCurrentIndex(english);
    table->setFocus(Qt::OtherFocusReason);
    table->edit(english);
}

void ListEditorViewController::editEnded(QWidget*, int hint) {
    const QModelIndex current = ui_->Pairs_table->currentIndex();
    // Escape in a pair just added and still empty takes the pair back: Enter in the last
    // row would otherwise leave an empty pair that keeps the list from being saved.
    const auto* added = dynamic_cast<const AddPairCommand*>(undo_.command(undo_.index() - 1));
    if (hint == QAbstractItemDelegate::RevertModelCache && added && added->row() == current.row() &&
        model_.pair(current.row()) == editor::PairText()) {
        undo_.undo();
        return;
    }
    // Enter in the last row's Japanese cell goes on to a new pair.
    if (hint == QAbstractItemDelegate::SubmitModelCache &&
        current.column() == editor::PairTableModel::Japanese &&
        current.row() == model_.rowCount() - 1)
        Add_pair_button();
}

void ListEditorViewController::Remove_pairs_button() {
    QList<qsizetype> rows;
    const QModelIndexList selected = ui_->Pairs_table->selectionModel()->selectedIndexes();
    for (const QModelIndex& index : selected)
        rows.append(index.row());
    // Each row once, however many of its cells are selected.
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (rows.isEmpty() && ui_->Pairs_table->currentIndex().isValid())
        rows.append(ui_->Pairs_table->currentIndex().row());
    if (!rows.isEmpty())
        undo_.push(new RemovePairsCommand(model_, rows));
}

void ListEditorViewController::findNext() {
    QTableView* table = ui_->Pairs_table;
    const QString text = ui_->Find_field->text();
    const qsizetype from = table->currentIndex().isValid() ? table->currentIndex().row() : -1;
    const qsizetype found = model_.find(text, from < 0 ? model_.rowCount() - 1 : from);
    if (found < 0) {
        showMessage(QStringLiteral("「") + text + QStringLiteral("」は見つかりませんでした。"));
        return;
    }
    const QModelIndex index = model_.index(int(found), qMax(0, table->currentIndex().column()));
    table->setCurrentIndex(index);
    table->scrollTo(index);
}

void ListEditorViewController::commitEditing() {
    // Ctrl+S and closing the window leave the focus in the cell being edited: what it holds
    // is an edit too. The editor closes, so that the focus is back on the table, where an
    // alert returns it.
    QWidget* editing = QApplication::focusWidget();
    if (editing && editing->parentWidget() == ui_->Pairs_table->viewport()) {
        QAbstractItemDelegate* delegate = ui_->Pairs_table->itemDelegate();
        emit delegate->commitData(editing);
        emit delegate->closeEditor(editing, QAbstractItemDelegate::NoHint);
    }
}

bool ListEditorViewController::save() {
    const platform::FlushDiagnosticsOnReturn flush;
    commitEditing();
    if (!model_.saveBlocker().isEmpty())
        return false;
    const QString name = editor::listName(list_);
    if (list_.inStore && editor::changedOnDisk(list_)) {
        const int answer =
            runAlert(this,
                     QStringLiteral("単語リスト「") + name +
                         QStringLiteral("」はほかのプログラムで変更されています。上書きしますか？"),
                     QString(), {{QStringLiteral("キャンセル"), QStringLiteral("上書き")}, 0});
        if (answer != 1)
            return false;
    }
    const bool fromOutside = !list_.path.isEmpty() && !list_.inStore;
    const editor::SaveOutcome outcome =
        editor::saveList(list_, model_.savedForm(), ui_->List_name_field->text(), fromAppDelegate);
    showMessage(outcome.message);
    if (outcome.kind == editor::SaveOutcome::Kind::Failed) {
        runAlert(this, importer::errorTitle(), outcome.message, {{QStringLiteral("OK")}});
        return false;
    }
    undo_.setClean();
    ui_->List_name_field->setText(editor::listName(list_));
    ui_->List_name_field->setReadOnly(true);
    if (fromOutside)
        runAlert(this, QStringLiteral("保存しました"), outcome.message, {{QStringLiteral("OK")}});
    return true;
}

void ListEditorViewController::Save_list_button() {
    save();
}

bool ListEditorViewController::mayLeave() {
    commitEditing();
    if (undo_.isClean())
        return true;
    const int answer = runAlert(
        this, QStringLiteral("変更を保存しますか？"), QString(),
        {{QStringLiteral("保存"), QStringLiteral("保存しない"), QStringLiteral("キャンセル")}, 2});
    if (answer == 0)
        return save();
    return answer == 1;
}

void ListEditorViewController::Editor_back_button() {
    if (mayLeave())
        emit backRequested(list_.path);
}
