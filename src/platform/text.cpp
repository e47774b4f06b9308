// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/text.h"

#include <QStringDecoder>
#include <QTextBoundaryFinder>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace platform {

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

namespace {

// Validates one sequence that begins with a byte outside ASCII at p; returns its end, or
// nullptr when it is not well formed.
const unsigned char* endOfSequence(const unsigned char* p, const unsigned char* end) {
    // The well-formed sequences of the Unicode standard (table 3-7): the second byte's range
    // depends on the first byte, which rules out overlong forms, surrogates and code points
    // above U+10FFFF; every later byte is 80..BF.
    const unsigned char c = *p;
    const auto continuation = [](unsigned char b) { return (b & 0xC0) == 0x80; };
    // The usual case first: kana and kanji are three bytes, E1..EC or EE..EF first.
    if (c >= 0xE1 && c <= 0xEF && c != 0xED) {
        if (end - p < 3 || !continuation(p[1]) || !continuation(p[2]))
            return nullptr;
        return p + 3;
    }
    int length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2;
    } else if (c == 0xE0) {
        length = 3;
        low = 0xA0; // overlong below
    } else if (c == 0xED) {
        length = 3;
        high = 0x9F; // surrogates above
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4;
        if (c == 0xF0)
            low = 0x90; // overlong below
        else if (c == 0xF4)
            high = 0x8F; // above U+10FFFF
    } else {
        return nullptr; // 80..C1 and F5..FF never begin a sequence
    }
    if (end - p < length || p[1] < low || p[1] > high)
        return nullptr;
    for (int i = 2; i < length; ++i)
        if (!continuation(p[i]))
            return nullptr;
    return p + length;
}

} // namespace

bool isValidUtf8(QByteArrayView bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const end = p + bytes.size();
    while (p < end) {
#if defined(__SSE2__)
        // ASCII is passed sixteen bytes at a time where the processor allows, and a shorter run
        // in one step to the sequence that ends it: a list's lines switch between English and
        // Japanese every few bytes.
        if (end - p >= 16) {
            const auto high =
                unsigned(_mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p))));
            if (high == 0) {
                p += 16;
                continue;
            }
            p += __builtin_ctz(high);
        }
#endif
        if (*p < 0x80) {
            ++p;
            continue;
        }
        p = endOfSequence(p, end);
        if (!p)
            return false;
    }
    return true;
}

QString decodeFileName(QByteArrayView bytes) {
    if (isValidUtf8(bytes))
        return QString::fromUtf8(bytes);
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const end = p + bytes.size();
    QString name;
    while (p < end) {
        const unsigned char* next = *p < 0x80 ? p + 1 : endOfSequence(p, end);
        if (next) {
            name += QString::fromUtf8(reinterpret_cast<const char*>(p), next - p);
            p = next;
        } else {
            name += QChar(char16_t(0xDC00 + *p++)); // kept as a lone surrogate
        }
    }
    return name;
}

QByteArray encodeFileName(QStringView name) {
    QByteArray bytes;
    bytes.reserve(name.size() * 3);
    qsizetype from = 0;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name[i].unicode();
        const bool afterHigh = i > 0 && QChar::isHighSurrogate(name[i - 1].unicode());
        if (c >= 0xDC80 && c <= 0xDCFF && !afterHigh) {
            bytes += name.sliced(from, i - from).toUtf8();
            bytes += char(c - 0xDC00);
            from = i + 1;
        }
    }
    bytes += name.sliced(from).toUtf8();
    return bytes;
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

std::optional<QString> decodeUtf16(const QByteArray& bytes) {
    const bool little = bytes.startsWith("\xFF\xFE");
    if ((!little && !bytes.startsWith("\xFE\xFF")) || bytes.size() % 2 != 0)
        return std::nullopt;
    QStringDecoder decoder(little ? QStringConverter::Utf16LE : QStringConverter::Utf16BE);
    QString text = decoder.decode(QByteArrayView(bytes).sliced(2));
    if (decoder.hasError() || !QStringView(text).isValidUtf16())
        return std::nullopt;
    return text;
}

} // namespace platform
