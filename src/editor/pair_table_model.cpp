// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "editor/pair_table_model.h"

#include "platform/text.h"

#include <algorithm>

namespace editor {

PairTableModel::PairTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void PairTableModel::setSavedForm(QByteArray utf8) {
    beginResetModel();
    text_ = std::move(utf8);
    rows_.clear();
    badRows_ = 0;
    const char* const begin = text_.constData();
    const char* const end = begin + text_.size();
    rows_.reserve(text_.count('\n') + 1);
    const char* lineStart = begin;
    const char* dollar = nullptr;
    const auto addRow = [&](const char* lineEnd) {
        Row row;
        row.english = lineStart - begin;
        row.englishSize = (dollar ? dollar : lineEnd) - lineStart;
        row.japanese = dollar ? dollar + 1 - begin : lineEnd - begin;
        row.japaneseSize = dollar ? lineEnd - dollar - 1 : 0;
        recheck(row);
        rows_.append(row);
        dollar = nullptr;
    };
    // Lines end where a load for play ends them.
    platform::forEachOf(
        begin, end,
        [&](const char* at) {
            if (at < lineStart) // the LF of a CR LF
                return true;
            if (*at == '$') {
                if (!dollar)
                    dollar = at;
                return true;
            }
            const qsizetype length = platform::terminatorLengthAt(at, end);
            if (length > 0) {
                addRow(at);
                lineStart = at + length;
            }
            return true;
        },
        '\n', '\r', '\xC2', '\xE2', '$');
    if (lineStart < end)
        addRow(end);
    endResetModel();
}

QByteArray PairTableModel::savedForm() const {
    qsizetype size = 0;
    for (const Row& row : rows_)
        size += row.englishSize + row.japaneseSize + 2;
    QByteArray saved;
    saved.reserve(size);
    for (const Row& row : rows_)
        saved.append(english(row)).append('$').append(japanese(row)).append('\n');
    return saved;
}

qsizetype PairTableModel::store(const QString& text, qsizetype& size) {
    const qsizetype at = text_.size();
    text_.append(text.toUtf8());
    size = text_.size() - at;
    return at;
}

void PairTableModel::recheck(Row& row) {
    const bool wasBad = row.bad != 0;
    row.bad = check_.badCells(english(row), japanese(row));
    badRows_ += qsizetype(row.bad != 0) - qsizetype(wasBad);
}

QString PairTableModel::setCell(qsizetype row, int column, const QString& text) {
    Row& r = rows_[row];
    QString previous;
    if (column == English) {
        previous = QString::fromUtf8(english(r));
        r.english = store(text, r.englishSize);
    } else {
        previous = QString::fromUtf8(japanese(r));
        r.japanese = store(text, r.japaneseSize);
    }
    recheck(r);
    emit dataChanged(index(int(row), 0), index(int(row), 1));
    return previous;
}

void PairTableModel::insertPairs(qsizetype row, const QList<PairText>& pairs) {
    if (pairs.isEmpty())
        return;
    beginInsertRows(QModelIndex(), int(row), int(row + pairs.size() - 1));
    QList<Row> added(pairs.size());
    for (qsizetype i = 0; i < pairs.size(); ++i) {
        added[i].english = store(pairs[i].english, added[i].englishSize);
        added[i].japanese = store(pairs[i].japanese, added[i].japaneseSize);
        recheck(added[i]);
    }
    rows_.insert(row, added.size(), Row());
    std::copy(added.cbegin(), added.cend(), rows_.begin() + row);
    endInsertRows();
}

RemovedRows PairTableModel::removePairs(qsizetype row, qsizetype count) {
    RemovedRows removed{row, {}};
    if (count <= 0)
        return removed;
    beginRemoveRows(QModelIndex(), int(row), int(row + count - 1));
    removed.pairs.reserve(count);
    for (qsizetype i = row; i < row + count; ++i) {
        removed.pairs.append(pair(i));
        badRows_ -= qsizetype(rows_[i].bad != 0);
    }
    rows_.remove(row, count);
    endRemoveRows();
    return removed;
}

void PairTableModel::restorePairs(const RemovedRows& removed) {
    insertPairs(removed.row, removed.pairs);
}

QList<RemovedRows> PairTableModel::removeRows(QList<qsizetype> rows) {
    std::sort(rows.begin(), rows.end());
    QList<RemovedRows> removed;
    for (qsizetype end = rows.size(); end > 0;) {
        qsizetype start = end - 1;
        while (start > 0 && rows[start - 1] == rows[start] - 1)
            --start;
        removed.append(removePairs(rows[start], end - start));
        end = start;
    }
    return removed;
}

void PairTableModel::restoreRows(const QList<RemovedRows>& removed) {
    for (auto it = removed.crbegin(); it != removed.crend(); ++it)
        restorePairs(*it);
}

PairText PairTableModel::pair(qsizetype row) const {
    const Row& r = rows_[row];
    return {QString::fromUtf8(english(r)), QString::fromUtf8(japanese(r))};
}

qsizetype PairTableModel::firstBadRow() const {
    if (badRows_ == 0)
        return -1;
    for (qsizetype i = 0; i < rows_.size(); ++i)
        if (rows_[i].bad)
            return i;
    return -1;
}

QString PairTableModel::saveBlocker() const {
    if (rows_.isEmpty())
        return QStringLiteral("単語が1つもないため、保存できません。");
    const qsizetype bad = firstBadRow();
    return bad < 0 ? QString() : problem(bad);
}

QString PairTableModel::problem(qsizetype row) const {
    const Row& r = rows_[row];
    return r.bad ? check_.problem(english(r), japanese(r), row + 1).value_or(QString()) : QString();
}

qsizetype PairTableModel::find(const QString& text, qsizetype from) const {
    const qsizetype n = rows_.size();
    if (text.isEmpty() || n == 0)
        return -1;
    for (qsizetype step = 1; step <= n; ++step) {
        const qsizetype i = (from + step) % n;
        const Row& r = rows_[i];
        if (QString::fromUtf8(english(r)).contains(text, Qt::CaseInsensitive) ||
            QString::fromUtf8(japanese(r)).contains(text, Qt::CaseInsensitive))
            return i;
    }
    return -1;
}

int PairTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(rows_.size());
}

int PairTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 2;
}

QVariant PairTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const Row& r = rows_[index.row()];
    const quint8 flag = index.column() == English ? EnglishBad : JapaneseBad;
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return QString::fromUtf8(index.column() == English ? english(r) : japanese(r));
    case BadCellRole:
        return (r.bad & flag) != 0;
    case Qt::ToolTipRole:
    case Qt::AccessibleDescriptionRole:
        return (r.bad & flag) ? problem(index.row()) : QVariant();
    default:
        return {};
    }
}

QVariant PairTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return QString::number(section + 1);
    return section == English ? QStringLiteral("英語") : QStringLiteral("日本語");
}

Qt::ItemFlags PairTableModel::flags(const QModelIndex& index) const {
    return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
}

} // namespace editor
