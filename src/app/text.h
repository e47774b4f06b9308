#pragma once

// Text operations shared by the import and the list loader.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

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

// forEachLine over UTF-8 bytes (valid UTF-8 assumed): the same lines, as byte views. The
// terminators are the same six: LF, CR, CR LF, C2 85, E2 80 A8 and E2 80 A9.
template <typename F> void forEachLineUtf8(QByteArrayView text, F&& f) {
    const qsizetype n = text.size();
    const auto* data = reinterpret_cast<const unsigned char*>(text.data());
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < n) {
        const unsigned char c = data[i];
        // Only these four bytes can begin a terminator; everything else is skipped at once.
        if (c != '\n' && c != '\r' && c != 0xC2 && c != 0xE2) {
            ++i;
            continue;
        }
        qsizetype length = 0;
        if (c == '\n')
            length = 1;
        else if (c == '\r')
            length = (i + 1 < n && data[i + 1] == '\n') ? 2 : 1;
        else if (c == 0xC2 && i + 1 < n && data[i + 1] == 0x85)
            length = 2;
        else if (c == 0xE2 && i + 2 < n && data[i + 1] == 0x80 &&
                 (data[i + 2] == 0xA8 || data[i + 2] == 0xA9))
            length = 3;
        if (length == 0) {
            ++i;
            continue;
        }
        if (!f(text.sliced(start, i - start)))
            return;
        i += length;
        start = i;
    }
    if (start < n)
        f(text.sliced(start));
}

// The lines of a text, as forEachLine cuts them.
QStringList lines(QStringView text);

// Splits at every occurrence of the separator: k occurrences give k + 1 parts, parts may
// be empty, an empty text gives one empty part, nothing is trimmed.
QStringList splitAll(const QString& text, const QString& separator);

// The number of bytes that the first extended grapheme cluster (Unicode Annex #29) of the
// text takes in UTF-8; 0 for an empty text.
qsizetype firstGraphemeUtf8Length(QStringView text);

// True when the bytes are valid UTF-8, as strictly as decodeUtf8 judges them: no overlong
// form, no surrogate, nothing above U+10FFFF, no sequence cut off.
bool isValidUtf8(QByteArrayView bytes);

// The text of valid UTF-8 bytes, every character kept: unlike QString::fromUtf8, a leading
// U+FEFF stays in the text (a line or a part may begin with one).
QString textOfUtf8(QByteArrayView utf8);

// The bytes without one leading UTF-8 byte-order mark.
QByteArrayView withoutByteOrderMark(QByteArrayView bytes);

// Strict decoders: nullopt when the bytes are not valid in that encoding. A leading UTF-8
// byte-order mark is dropped.
std::optional<QString> decodeUtf8(const QByteArray& bytes);
std::optional<QString> decodeShiftJis(const QByteArray& bytes);

} // namespace platform
