// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "editor/pair_check.h"

#include <QAbstractTableModel>
#include <QByteArray>
#include <QList>
#include <QString>

// The pairs of the list being edited, as a table of two columns, English and Japanese. The
// texts stay in one buffer of UTF-8, the list's bytes as read followed by every text typed
// since, and a row only points into it: a million pairs open as fast as the file is read.
namespace editor {

struct PairText {
    QString english;
    QString japanese;
    bool operator==(const PairText&) const = default;
};

// Rows removed together, to be put back by restorePairs.
struct RemovedRows {
    qsizetype row = 0;
    QList<PairText> pairs;
};

class PairTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { English = 0, Japanese = 1 };
    // Data role: true for a cell that keeps its pair from being saved.
    static constexpr int BadCellRole = Qt::UserRole;

    explicit PairTableModel(QObject* parent = nullptr);

    // Replaces every pair with those of a list's saved form (valid UTF-8, no byte-order
    // mark). A line is cut at its first "$" only: a further "$" stays in the Japanese half,
    // where the check shows it, rather than being dropped as a load for play drops it.
    void setSavedForm(QByteArray utf8);
    // The saved form of the pairs: English half, "$", Japanese half, "\n" a pair.
    QByteArray savedForm() const;

    // The edits, each the exact inverse of another, for the undo stack.
    // Sets one cell and returns its previous text.
    QString setCell(qsizetype row, int column, const QString& text);
    void insertPairs(qsizetype row, const QList<PairText>& pairs);
    RemovedRows removePairs(qsizetype row, qsizetype count);
    void restorePairs(const RemovedRows& removed);
    // Removes the given rows (in any order, each once), a run of neighbours at a time, the
    // last run first; restoreRows puts them all back.
    QList<RemovedRows> removeRows(QList<qsizetype> rows);
    void restoreRows(const QList<RemovedRows>& removed);

    PairText pair(qsizetype row) const;

    // The first row whose pair cannot be saved, or -1.
    qsizetype firstBadRow() const;
    // Why the list cannot be saved (no pair, or the first bad pair); empty when it can.
    QString saveBlocker() const;
    // Why that row's pair cannot be saved, with its number; empty for a good pair.
    QString problem(qsizetype row) const;

    // The first row after from (wrapping round to from itself) with text in either half,
    // ignoring case; -1 when none holds it.
    qsizetype find(const QString& text, qsizetype from) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    struct Row {
        qsizetype english = 0; // offsets into text_
        qsizetype japanese = 0;
        qsizetype englishSize = 0;
        qsizetype japaneseSize = 0;
        quint8 bad = 0; // BadCell flags
    };
    QByteArrayView english(const Row& row) const {
        return {text_.data() + row.english, row.englishSize};
    }
    QByteArrayView japanese(const Row& row) const {
        return {text_.data() + row.japanese, row.japaneseSize};
    }
    // Appends a text to the buffer and returns where it starts.
    qsizetype store(const QString& text, qsizetype& size);
    void recheck(Row& row);

    QByteArray text_;
    QList<Row> rows_;
    qsizetype badRows_ = 0;
    mutable PairCheck check_;
};

} // namespace editor
