// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/pair_edit_commands.h"

SetCellCommand::SetCellCommand(editor::PairTableModel& model, qsizetype row, int column,
                               QString text)
    : QUndoCommand(QStringLiteral("編集")), model_(model), row_(row), column_(column),
      text_(std::move(text)) {}

void SetCellCommand::redo() {
    previous_ = model_.setCell(row_, column_, text_);
}

void SetCellCommand::undo() {
    model_.setCell(row_, column_, previous_);
}

AddPairCommand::AddPairCommand(editor::PairTableModel& model, qsizetype row)
    : QUndoCommand(QStringLiteral("追加")), model_(model), row_(row) {}

void AddPairCommand::redo() {
    model_.insertPairs(row_, {editor::PairText()});
}

void AddPairCommand::undo() {
    model_.removePairs(row_, 1);
}

RemovePairsCommand::RemovePairsCommand(editor::PairTableModel& model, QList<qsizetype> rows)
    : QUndoCommand(QStringLiteral("削除")), model_(model), rows_(std::move(rows)) {}

void RemovePairsCommand::redo() {
    removed_ = model_.removeRows(rows_);
}

void RemovePairsCommand::undo() {
    model_.restoreRows(removed_);
    removed_.clear();
}
