// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QtGlobal>
#include <optional>

// The check of one pair of the editor, by the import's own line check: a pair is good
// exactly when the import would accept it as a line read English first.
namespace editor {

enum BadCell : quint8 { EnglishBad = 1, JapaneseBad = 2 };

class PairCheck {
public:
    // Why the pair in row (counted from 1) would be rejected, in the import's words; nullopt
    // when it is good. The halves are valid UTF-8.
    std::optional<QString> problem(QByteArrayView english, QByteArrayView japanese, qint64 row);

    // Which halves make the pair bad (BadCell flags), 0 for a good pair.
    quint8 badCells(QByteArrayView english, QByteArrayView japanese);

private:
    // One buffer for every line checked: a million pairs are checked when a list opens.
    QByteArray line_;
};

} // namespace editor
