// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "store/counter.h"

#include "platform/platform.h"
#include "platform/text.h"
#include "store/locations.h"

#include <charconv>
#include <limits>

namespace store {

namespace {

bool isAsciiSpace(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f';
}

} // namespace

std::optional<qint64> parseCounter(QStringView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isAsciiSpace(text[begin].unicode()))
        ++begin;
    while (end > begin && isAsciiSpace(text[end - 1].unicode()))
        --end;
    QStringView number = text.sliced(begin, end - begin);
    bool negative = false;
    if (!number.isEmpty() && (number.front() == u'+' || number.front() == u'-')) {
        negative = number.front() == u'-';
        number = number.sliced(1);
    }
    if (number.isEmpty())
        return std::nullopt;
    std::string digits;
    digits.reserve(size_t(number.size()) + 1);
    if (negative)
        digits += '-';
    for (const QChar c : number) {
        if (c.unicode() < u'0' || c.unicode() > u'9')
            return std::nullopt;
        digits += char(c.unicode());
    }
    qint64 value = 0;
    const auto [ptr, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || ptr != digits.data() + digits.size())
        return std::nullopt;
    return value;
}

CounterRead readCounter() {
    const QString path = counterPath();
    const platform::Result<QByteArray> bytes = platform::readBytes(path);
    if (!bytes.ok)
        return {CounterRead::Kind::Unreadable, 0, bytes.error};
    // A file that is there but holds no number (not even valid UTF-8) is the user's,
    // not ours to overwrite.
    const std::optional<QString> text = platform::decodeUtf8(bytes.value);
    const std::optional<qint64> value = text ? parseCounter(*text) : std::nullopt;
    if (!value)
        return {CounterRead::Kind::Unparsable, 0,
                QStringLiteral("count.txt「%1」の内容が数値ではありません").arg(path)};
    return {CounterRead::Kind::Value, *value, {}};
}

platform::Status writeCounter(qint64 number) {
    return platform::writeUtf8Atomic(counterPath(), QString::number(number));
}

std::optional<qint64> nextNumber(qint64 count) {
    if (count == std::numeric_limits<qint64>::max())
        return std::nullopt;
    return count + 1;
}

} // namespace store
