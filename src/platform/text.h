// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Text operations shared by the import and the list loader.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace platform {

// Calls f(QStringView line) for each line of text, in order. Lines end at LF, CR, CR LF
// (one terminator), U+0085, U+2028 and U+2029; a terminator is not part of its line, a
// terminator at the very end starts no further line, an empty text has no line, and two
// terminators in a row enclose an empty line. f returns false to stop early.
template <typename F> void forEachLine(QStringView text, F&& f) {
    const qsizetype n = text.size();
    const QChar* data = text.data();
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < n) {
        const char16_t c = data[i].unicode();
        if (c == u'\n' || c == u'\r' || c == u'\u0085' || c == u'\u2028' || c == u'\u2029') {
            if (!f(text.sliced(start, i - start)))
                return;
            i += (c == u'\r' && i + 1 < n && data[i + 1].unicode() == u'\n') ? 2 : 1;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < n)
        f(text.sliced(start));
}

// Calls visit(const char* at) for each byte in [from, end) that equals one of the given bytes,
// in order, until it returns false. Sixteen bytes are compared at a time where the processor
// allows, and every hit in them is visited before the next sixteen are loaded: the import
// looks for separators and line ends in tens of megabytes of short lines.
template <typename Visit, typename... Bytes>
inline void forEachOf(const char* from, const char* end, Visit&& visit, Bytes... bytes) {
#if defined(__SSE2__)
    while (end - from >= 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
        __m128i hits = _mm_setzero_si128();
        ((hits = _mm_or_si128(hits, _mm_cmpeq_epi8(chunk, _mm_set1_epi8(char(bytes))))), ...);
        for (unsigned mask = unsigned(_mm_movemask_epi8(hits)); mask != 0; mask &= mask - 1)
            if (!visit(from + __builtin_ctz(mask)))
                return;
        from += 16;
    }
#endif
    for (; from < end; ++from) {
        const char x = *from;
        if (((x == char(bytes)) || ...) && !visit(from))
            return;
    }
}

// How many bytes the line terminator at `at` takes (LF, CR, CR LF, C2 85, E2 80 A8, E2 80 A9),
// or 0 when none begins there.
inline qsizetype terminatorLengthAt(const char* at, const char* end) {
    const auto c = static_cast<unsigned char>(at[0]);
    if (c == '\n')
        return 1;
    if (c == '\r')
        return (end - at >= 2 && at[1] == '\n') ? 2 : 1;
    if (c == 0xC2)
        return (end - at >= 2 && static_cast<unsigned char>(at[1]) == 0x85) ? 2 : 0;
    if (c == 0xE2 && end - at >= 3 && static_cast<unsigned char>(at[1]) == 0x80) {
        const auto last = static_cast<unsigned char>(at[2]);
        return (last == 0xA8 || last == 0xA9) ? 3 : 0;
    }
    return 0;
}

// The number of bytes that the first extended grapheme cluster (Unicode Annex #29) of the
// text takes in UTF-8; 0 for an empty text.
qsizetype firstGraphemeUtf8Length(QStringView text);

// True when the bytes are valid UTF-8, as strictly as decodeUtf8 judges them: no overlong
// form, no surrogate, nothing above U+10FFFF, no sequence cut off.
bool isValidUtf8(QByteArrayView bytes);

// A file name as the file system gave it: bytes that are not UTF-8 (a name made on Windows
// in Shift_JIS) become the lone surrogates U+DC80..U+DCFF, which encodeFileName turns back
// into the same bytes, so that a listed name still leads to its file.
QString decodeFileName(QByteArrayView bytes);
QByteArray encodeFileName(QStringView name);
// The text of valid UTF-8 bytes, every character kept: unlike QString::fromUtf8, a leading
// U+FEFF stays in the text (a line or a part may begin with one).
QString textOfUtf8(QByteArrayView utf8);

// The bytes without one leading UTF-8 byte-order mark.
QByteArrayView withoutByteOrderMark(QByteArrayView bytes);

// Strict decoders: nullopt when the bytes are not valid in that encoding. A leading UTF-8
// byte-order mark is dropped.
std::optional<QString> decodeUtf8(const QByteArray& bytes);
std::optional<QString> decodeShiftJis(const QByteArray& bytes);
// UTF-16 that begins with a byte-order mark (either byte order), which it drops; nullopt for
// any other bytes, an odd count or a lone surrogate.
std::optional<QString> decodeUtf16(const QByteArray& bytes);

} // namespace platform
