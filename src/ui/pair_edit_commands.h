// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "editor/pair_table_model.h"

#include <QUndoCommand>

// The editor's edits as undo commands: each calls the model's edit and its inverse.
class SetCellCommand : public QUndoCommand {
public:
    SetCellCommand(editor::PairTableModel& model, qsizetype row, int column, QString text);
    void redo() override;
    void undo() override;

private:
    editor::PairTableModel& model_;
    qsizetype row_;
    int column_;
    QString text_;
    QString previous_;
};

class AddPairCommand : public QUndoCommand {
public:
    AddPairCommand(editor::PairTableModel& model, qsizetype row);
    qsizetype row() const { return row_; }
    void redo() override;
    void undo() override;

private:
    editor::PairTableModel& model_;
    qsizetype row_;
};

class RemovePairsCommand : public QUndoCommand {
public:
    RemovePairsCommand(editor::PairTableModel& model, QList<qsizetype> rows);
    void redo() override;
    void undo() override;

private:
    editor::PairTableModel& model_;
    QList<qsizetype> rows_;
    QList<editor::RemovedRows> removed_;
};
