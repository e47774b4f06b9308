// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "import/line_check.h"

#include "app/app_delegate.h"
#include "app/text.h"
#include "import/import_options.h"

#include <cstring>
#include <initializer_list>

namespace importer {

bool IMPORT_OK = false;

namespace {

// The first two parts of a line and how many parts it has, capped at 3: nothing needs to
// know more, and a long line with many separators is not cut into pieces for nothing.
struct Parts {
    int count = 1;
    QStringView first;
    QStringView second;
    bool dollar = false; // a "$" in the first or the second part
};

// One pass over the line for the usual separator of one character (other than "$"): the
// import checks a million lines, and three searches of each cost more than the rest of the
// check.
Parts splitAtCharacter(QStringView line, char16_t separator) {
    const char16_t* chars = line.utf16();
    const qsizetype size = line.size();
    qsizetype at = -1;
    bool dollar = false;
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = chars[i];
        if (c == separator) {
            if (at >= 0)
                return {3, line.first(at), line.sliced(at + 1, i - at - 1), dollar};
            at = i;
        } else if (c == u'$') {
            dollar = true;
        }
    }
    if (at < 0)
        return {1, line, {}, dollar};
    return {2, line.first(at), line.sliced(at + 1), dollar};
}

Parts splitLine(QStringView line, QStringView separator) {
    if (separator.size() == 1 && separator[0] != u'$')
        return splitAtCharacter(line, separator[0].unicode());
    const qsizetype at = line.indexOf(separator);
    if (at < 0)
        return {1, line, {}, line.contains(u'$')};
    const qsizetype rest = at + separator.size();
    const qsizetype next = line.indexOf(separator, rest);
    const qsizetype end = next < 0 ? line.size() : next;
    const QStringView first = line.first(at);
    const QStringView second = line.sliced(rest, end - rest);
    return {next < 0 ? 2 : 3, first, second, first.contains(u'$') || second.contains(u'$')};
}

// How many bytes the line's first character (extended grapheme cluster) takes in UTF-8, as
// far as the check needs it: 0, 1, or 2 for "more than one". A first code point outside
// ASCII always takes more than one byte, and two ASCII code points in a row never form one
// cluster (CR LF aside), so only the rare rest needs the segmentation rules.
qsizetype firstCharacterWidth(QStringView line) {
    if (line.isEmpty())
        return 0;
    const char16_t first = line[0].unicode();
    if (first >= 0x80)
        return 2;
    if (line.size() == 1 || (line[1].unicode() < 0x80 && !(first == u'\r' && line[1] == u'\n')))
        return 1;
    return platform::firstGraphemeUtf8Length(line);
}

// splitAtCharacter on UTF-8 bytes. An ASCII byte never occurs inside a multi-byte sequence,
// so the parts end where the text's parts end.
struct Utf8Parts {
    int count = 1;
    QByteArrayView first;
    QByteArrayView second;
    bool dollar = false;
};

Utf8Parts splitAtByte(QByteArrayView line, char separator) {
    const char* const bytes = line.data();
    const char* const end = bytes + line.size();
    qsizetype at = -1;
    bool dollar = false;
    for (const char* p = bytes;; ++p) {
        p = platform::findFirstOf(p, end, separator, '$', separator, separator);
        if (p == end)
            break;
        const qsizetype i = p - bytes;
        if (*p == separator) {
            if (at >= 0)
                return {3, line.first(at), line.sliced(at + 1, i - at - 1), dollar};
            at = i;
        } else {
            dollar = true;
        }
    }
    if (at < 0)
        return {1, line, {}, dollar};
    return {2, line.first(at), line.sliced(at + 1), dollar};
}

// firstCharacterWidth on UTF-8 bytes: a first byte outside ASCII begins a code point outside
// ASCII; only an ASCII byte followed by one that is not needs the segmentation rules.
qsizetype firstCharacterWidthUtf8(QByteArrayView line) {
    if (line.isEmpty())
        return 0;
    const auto first = static_cast<unsigned char>(line[0]);
    if (first >= 0x80)
        return 2;
    if (line.size() == 1)
        return 1;
    const auto next = static_cast<unsigned char>(line[1]);
    if (next < 0x80 && !(first == '\r' && next == '\n'))
        return 1;
    return platform::firstGraphemeUtf8Length(platform::textOfUtf8(line));
}

// The pieces of a message, joined in order.
QString joined(std::initializer_list<QStringView> pieces) {
    qsizetype size = 0;
    for (const QStringView piece : pieces)
        size += piece.size();
    QString text;
    text.reserve(size);
    for (const QStringView piece : pieces)
        text.append(piece);
    return text;
}

} // namespace

LineVerdict judgeLine(QStringView line, QStringView separator, qint64 sequenceCode,
                      qint64 lineNumber) {
    const Parts parts = splitLine(line, separator);
    // Whether a line begins with English or Japanese is told by how wide its first
    // character is in UTF-8: one byte for plain ASCII, more for anything else.
    const qsizetype width = firstCharacterWidth(line);
    const bool beginsEnglish = width == 1;
    const bool beginsJapanese = width > 1;

    LineVerdict decision;
    if (parts.count == 2 &&
        ((sequenceCode == 0 && beginsEnglish) || (sequenceCode == 1 && beginsJapanese))) {
        const QStringView english = sequenceCode == 0 ? parts.first : parts.second;
        const QStringView japanese = sequenceCode == 0 ? parts.second : parts.first;
        // A "$" in a half would split the saved line in the wrong place when it is read
        // back, so such a pair cannot be stored as it stands.
        if (parts.dollar) {
            decision.message = joined({QString::number(lineNumber), u"行目: ", line,
                                       u" には使用できない文字「$」が含まれています。"});
            return decision;
        }
        decision.accepted = true;
        decision.english = english;
        decision.japanese = japanese;
        return decision;
    }
    const QString number = QString::number(lineNumber);
    if ((sequenceCode == 0 && beginsJapanese) || (sequenceCode == 1 && beginsEnglish))
        decision.message = joined({number, u"行目: 日本語と英語の順番が正しくありません。"});
    else if (parts.count >= 3)
        decision.message =
            joined({number, u"行目: ", line, u" には2つ以上の", separator, u"が含まれています。"});
    else
        decision.message =
            joined({number, u"行目: ", line, u" は正しいフォーマットに基づいて書かれていません。"});
    return decision;
}

namespace {

// Whether a split line is accepted: two parts, no "$" in them, and a first character as wide
// as the order asks for.
bool acceptsSplitLine(QByteArrayView line, const Utf8Parts& parts, qint64 sequenceCode) {
    if (parts.count != 2 || parts.dollar)
        return false;
    const qsizetype width = firstCharacterWidthUtf8(line);
    return (sequenceCode == 0 && width == 1) || (sequenceCode == 1 && width > 1);
}

// The message for a rejected line. Rejections are rare and end the pass: the text's own
// check words it.
QString rejectionMessage(QByteArrayView line, char separator, qint64 sequenceCode,
                         qint64 lineNumber) {
    const QChar separatorText = QLatin1Char(separator);
    return judgeLine(platform::textOfUtf8(line), QStringView(&separatorText, 1), sequenceCode,
                     lineNumber)
        .message;
}

// judgeLine on bytes, the line already split.
Utf8LineVerdict judgeSplitLine(QByteArrayView line, const Utf8Parts& parts, char separator,
                               qint64 sequenceCode, qint64 lineNumber) {
    Utf8LineVerdict verdict;
    if (acceptsSplitLine(line, parts, sequenceCode)) {
        verdict.accepted = true;
        verdict.english = sequenceCode == 0 ? parts.first : parts.second;
        verdict.japanese = sequenceCode == 0 ? parts.second : parts.first;
    } else {
        verdict.message = rejectionMessage(line, separator, sequenceCode, lineNumber);
    }
    return verdict;
}

} // namespace

Utf8LineVerdict judgeLineUtf8(QByteArrayView line, char separator, qint64 sequenceCode,
                              qint64 lineNumber) {
    return judgeSplitLine(line, splitAtByte(line, separator), separator, sequenceCode, lineNumber);
}

LineDecision decideLine(QStringView line, QStringView separator, qint64 sequenceCode,
                        qint64 lineNumber) {
    LineVerdict verdict = judgeLine(line, separator, sequenceCode, lineNumber);
    LineDecision decision;
    decision.accepted = verdict.accepted;
    decision.english = verdict.english.toString();
    decision.japanese = verdict.japanese.toString();
    decision.message = std::move(verdict.message);
    return decision;
}

namespace {

// What a rejected line ends: the user sees the message before anything is discarded.
void reject(const QString& message, AppDelegate& state, const RejectionAlert& showRejection) {
    if (showRejection)
        showRejection(message);
    state.LINE_INDEX = 0;
    IMPORT_OK = false;
    state.japanese_words.clear();
    state.english_words.clear();
    state.formal_list.clear();
}

} // namespace

bool checkLine(QStringView line, AppDelegate& state, const RejectionAlert& showRejection) {
    LineDecision decision = decideLine(line, SEPARATOR, state.SEQUENCE_CODE, state.LINE_INDEX + 1);
    if (decision.accepted) {
        // Both arrays held LINE_INDEX entries before, so the parts appended here are the
        // entries at LINE_INDEX that the saved line is made of.
        state.formal_list.append(decision.english)
            .append(u'$')
            .append(decision.japanese)
            .append(u'\n');
        state.english_words.append(std::move(decision.english));
        state.japanese_words.append(std::move(decision.japanese));
        ++state.LINE_INDEX;
        IMPORT_OK = true;
        return true;
    }
    reject(decision.message, state, showRejection);
    return false;
}

bool checkLineForSave(QStringView line, AppDelegate& state, const RejectionAlert& showRejection) {
    const LineVerdict verdict =
        judgeLine(line, SEPARATOR, state.SEQUENCE_CODE, state.LINE_INDEX + 1);
    if (verdict.accepted) {
        state.formal_list.append(verdict.english)
            .append(u'$')
            .append(verdict.japanese)
            .append(u'\n');
        ++state.LINE_INDEX;
        IMPORT_OK = true;
        return true;
    }
    reject(verdict.message, state, showRejection);
    return false;
}

void checkLinesForSaveUtf8(QByteArrayView text, char separator, AppDelegate& state,
                           QByteArray& savedForm, const RejectionAlert& showRejection) {
    Q_ASSERT(static_cast<unsigned char>(separator) < 0x80);
    // The saved form of the text is at most one byte longer than the text: a line keeps its
    // length with "$" for its separator, and each line end becomes one "\n" (one more for a
    // last line without one). It is written in place and cut to length at the end.
    const qsizetype used = savedForm.size();
    savedForm.resize(used + text.size() + 1);
    char* out = savedForm.data() + used;
    const auto written = [&] { return out - savedForm.constData(); };

    const char* const end = text.data() + text.size();
    const char* lineStart = text.data();
    const char* firstSeparator = nullptr;
    const char* secondSeparator = nullptr;
    bool dollar = false; // a "$" before the second separator
    const auto checkLine = [&](const char* lineEnd) {
        const QByteArrayView line(lineStart, lineEnd);
        Utf8Parts parts{1, line, {}, dollar};
        if (firstSeparator)
            parts = {
                secondSeparator ? 3 : 2, QByteArrayView(lineStart, firstSeparator),
                QByteArrayView(firstSeparator + 1, secondSeparator ? secondSeparator : lineEnd),
                dollar};
        const qint64 sequenceCode = state.SEQUENCE_CODE;
        if (!acceptsSplitLine(line, parts, sequenceCode)) {
            const QString message =
                rejectionMessage(line, separator, sequenceCode, state.LINE_INDEX + 1);
            savedForm.truncate(written());
            state.formal_list = platform::textOfUtf8(savedForm);
            savedForm.clear();
            reject(message, state, showRejection);
            return false;
        }
        const QByteArrayView english = sequenceCode == 0 ? parts.first : parts.second;
        const QByteArrayView japanese = sequenceCode == 0 ? parts.second : parts.first;
        const qsizetype englishSize = english.size();
        const qsizetype japaneseSize = japanese.size();
        if (sequenceCode == 0) {
            // English first: the saved line is the line with "$" for its separator.
            std::memcpy(out, lineStart, size_t(line.size()));
            out[englishSize] = '$';
            out += line.size();
        } else {
            if (englishSize > 0)
                std::memcpy(out, english.data(), size_t(englishSize));
            out += englishSize;
            *out++ = '$';
            if (japaneseSize > 0)
                std::memcpy(out, japanese.data(), size_t(japaneseSize));
            out += japaneseSize;
        }
        *out++ = '\n';
        ++state.LINE_INDEX;
        IMPORT_OK = true;
        firstSeparator = nullptr;
        secondSeparator = nullptr;
        dollar = false;
        return true;
    };

    // One scan of the whole text for the bytes that matter: line ends, separators and "$".
    const char* at = lineStart;
    for (;;) {
        at = platform::findFirstOf(at, end, '\n', '\r', '\xC2', '\xE2', separator, '$');
        if (at == end)
            break;
        const char c = *at;
        // A line end first: a line never holds one, even when it is the separator.
        if (c == '\n' || c == '\r' || c == '\xC2' || c == '\xE2') {
            const qsizetype length = platform::terminatorLengthAt(at, end);
            if (length == 0) {
                ++at;
                continue;
            }
            if (!checkLine(at))
                return;
            at += length;
            lineStart = at;
            continue;
        }
        if (c == separator) {
            if (!firstSeparator)
                firstSeparator = at;
            else if (!secondSeparator)
                secondSeparator = at;
        } else if (!secondSeparator) {
            dollar = true;
        }
        ++at;
    }
    if (lineStart < end && !checkLine(end))
        return;
    savedForm.truncate(written());
}

} // namespace importer
