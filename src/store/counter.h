// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/platform.h"

#include <QString>
#include <QStringView>
#include <QtGlobal>
#include <optional>

// The counter file "count.txt": the last list number assigned, as decimal text.
namespace store {

// Parses an optional single sign and one or more ASCII digits, with optional ASCII white
// space around them (a hand-edited "41\n") and nothing else, in the signed 64-bit range.
std::optional<qint64> parseCounter(QStringView text);

struct CounterRead {
    enum class Kind {
        Value,      // the file held a number
        Unreadable, // missing or unreadable: the caller keeps its current value
        Unparsable, // the file holds something else: it must not be overwritten
    };
    Kind kind = Kind::Unreadable;
    qint64 value = 0;
    QString description; // for Unreadable and Unparsable
};

CounterRead readCounter();

// Writes the decimal number to the counter file, atomically, replacing its whole content.
platform::Status writeCounter(qint64 number);

// The number after count; nullopt when it would overflow.
std::optional<qint64> nextNumber(qint64 count);

} // namespace store
