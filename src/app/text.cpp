#include "app/text.h"

#include <QStringDecoder>
#include <QTextBoundaryFinder>

#include <cstdint>
#include <cstring>

namespace platform {

QStringList lines(QStringView text) {
    QStringList result;
    forEachLine(text, [&](QStringView line) {
        result.append(line.toString());
        return true;
    });
    return result;
}

QStringList splitAll(const QString& text, const QString& separator) {
    return text.split(separator, Qt::KeepEmptyParts, Qt::CaseSensitive);
}

qsizetype firstGraphemeUtf8Length(QStringView text) {
    if (text.isEmpty())
        return 0;
    // Look at a short prefix first and widen it only while the cluster runs to its end:
    // a line may be megabytes long, its first cluster rarely more than a few code units.
    qsizetype window = 16;
    for (;;) {
        const qsizetype length = qMin(window, text.size());
        QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text.data(), length);
        const qsizetype end = finder.toNextBoundary();
        if ((end > 0 && end < length) || length == text.size())
            return text.first(end > 0 ? end : length).toUtf8().size();
        window *= 4;
    }
}

bool isValidUtf8(QByteArrayView bytes) {
    // The well-formed sequences of the Unicode standard (table 3-7): the second byte's range
    // depends on the first byte, which rules out overlong forms, surrogates and code points
    // above U+10FFFF; every later byte is 80..BF.
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const end = p + bytes.size();
    while (p < end) {
        // Most text to import is ASCII: eight bytes at a time while no high bit is set.
        while (end - p >= 8) {
            std::uint64_t word;
            std::memcpy(&word, p, 8);
            if (word & 0x8080808080808080u)
                break;
            p += 8;
        }
        if (p == end)
            break;
        const unsigned char c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        int length = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            if (c == 0xE0)
                low = 0xA0; // overlong below
            else if (c == 0xED)
                high = 0x9F; // surrogates above
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            if (c == 0xF0)
                low = 0x90; // overlong below
            else if (c == 0xF4)
                high = 0x8F; // above U+10FFFF
        } else {
            return false; // 80..C1 and F5..FF never begin a sequence
        }
        if (end - p < length || p[1] < low || p[1] > high)
            return false;
        for (int i = 2; i < length; ++i)
            if (p[i] < 0x80 || p[i] > 0xBF)
                return false;
        p += length;
    }
    return true;
}

QString textOfUtf8(QByteArrayView utf8) {
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless |
                                                       QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(utf8);
}

QByteArrayView withoutByteOrderMark(QByteArrayView bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return bytes.sliced(3);
    return bytes;
}

std::optional<QString> decodeUtf8(const QByteArray& bytes) {
    // Stateless: a sequence cut off at the end of the bytes is an error, not a wait for more.
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

std::optional<QString> decodeShiftJis(const QByteArray& bytes) {
    QStringDecoder decoder("Shift_JIS", QStringConverter::Flag::Stateless);
    if (!decoder.isValid())
        return std::nullopt;
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

} // namespace platform
