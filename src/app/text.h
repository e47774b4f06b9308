#pragma once

// Text operations shared by the import and the list loader.

#include <QByteArray>
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

// The lines of a text, as forEachLine cuts them.
QStringList lines(QStringView text);

// Splits at every occurrence of the separator: k occurrences give k + 1 parts, parts may
// be empty, an empty text gives one empty part, nothing is trimmed.
QStringList splitAll(const QString& text, const QString& separator);

// The number of bytes that the first extended grapheme cluster (Unicode Annex #29) of the
// text takes in UTF-8; 0 for an empty text.
qsizetype firstGraphemeUtf8Length(QStringView text);

// Strict decoders: nullopt when the bytes are not valid in that encoding. A leading UTF-8
// byte-order mark is dropped.
std::optional<QString> decodeUtf8(const QByteArray& bytes);
std::optional<QString> decodeShiftJis(const QByteArray& bytes);

} // namespace platform
