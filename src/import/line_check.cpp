#include "import/line_check.h"

#include "app/app_delegate.h"
#include "app/text.h"
#include "import/import_options.h"

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
};

Parts splitLine(QStringView line, QStringView separator) {
    const qsizetype at = line.indexOf(separator);
    if (at < 0)
        return {1, line, {}};
    const qsizetype rest = at + separator.size();
    const qsizetype next = line.indexOf(separator, rest);
    const qsizetype end = next < 0 ? line.size() : next;
    return {next < 0 ? 2 : 3, line.first(at), line.sliced(rest, end - rest)};
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

LineDecision decideLine(QStringView line, QStringView separator, qint64 sequenceCode,
                        qint64 lineNumber) {
    const Parts parts = splitLine(line, separator);
    // Whether a line begins with English or Japanese is told by how wide its first
    // character is in UTF-8: one byte for plain ASCII, more for anything else.
    const qsizetype width = firstCharacterWidth(line);
    const bool beginsEnglish = width == 1;
    const bool beginsJapanese = width > 1;

    LineDecision decision;
    if (parts.count == 2 &&
        ((sequenceCode == 0 && beginsEnglish) || (sequenceCode == 1 && beginsJapanese))) {
        const QStringView english = sequenceCode == 0 ? parts.first : parts.second;
        const QStringView japanese = sequenceCode == 0 ? parts.second : parts.first;
        // A "$" in a half would split the saved line in the wrong place when it is read
        // back, so such a pair cannot be stored as it stands.
        if (english.contains(u'$') || japanese.contains(u'$')) {
            decision.message = joined({QString::number(lineNumber), u"行目: ", line,
                                       u" には使用できない文字「$」が含まれています。"});
            return decision;
        }
        decision.accepted = true;
        decision.english = english.toString();
        decision.japanese = japanese.toString();
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
    // The user sees the message before anything is discarded.
    if (showRejection)
        showRejection(decision.message);
    state.LINE_INDEX = 0;
    IMPORT_OK = false;
    state.japanese_words.clear();
    state.english_words.clear();
    state.formal_list.clear();
    return false;
}

} // namespace importer
