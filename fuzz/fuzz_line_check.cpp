// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The import's pass over any text. The lines, put back with their terminators, give the text
// again, and no line holds a terminator. Every accepted line's saved form rejoins to the line
// with the separator in the chosen order; the pass stops at the first rejected line, and its
// message names that line by number (and by its text, unless the order is at fault).
#include "fuzz_input.h"

#include "import/line_check.h"
#include "platform/text.h"

#include <optional>

namespace {

bool isTerminator(char16_t c) {
    return c == u'\n' || c == u'\r' || c == u'\u0085' || c == u'\u2028' || c == u'\u2029';
}

QStringList linesOf(const QString& text) {
    QStringList lines;
    qsizetype pos = 0;
    platform::forEachLine(text, [&](QStringView line) {
        FUZZ_CHECK(QStringView(text).sliced(pos).startsWith(line));
        for (const QChar c : line)
            FUZZ_CHECK(!isTerminator(c.unicode()));
        pos += line.size();
        if (pos < text.size()) {
            FUZZ_CHECK(isTerminator(text.at(pos).unicode()));
            pos += text.sliced(pos).startsWith(u"\r\n") ? 2 : 1;
        }
        lines.append(line.toString());
        return true;
    });
    FUZZ_CHECK(pos == text.size());
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const importer::LineLayout layout{importer::separatorOfSegment(data[0] % 3),
                                      (data[0] >> 2) & 1};
    const QByteArray utf8(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    const std::optional<QString> text = platform::decodeUtf8(utf8);
    FUZZ_CHECK(platform::isValidUtf8(utf8) == text.has_value());
    if (!text || utf8.startsWith("\xEF\xBB\xBF")) // the file's reader drops a byte-order mark
        return 0;
    const QStringList lines = linesOf(*text);
    const importer::CheckedText checked = importer::checkText(utf8, layout);

    // textOfUtf8, not fromUtf8: a saved line may begin with U+FEFF, which fromUtf8 drops.
    const QStringList saved = platform::textOfUtf8(checked.savedForm).split(u'\n');
    FUZZ_CHECK(saved.size() == checked.lines + 1 && saved.last().isEmpty());
    for (qsizetype i = 0; i < checked.lines; ++i) {
        const QStringList halves = saved[i].split(u'$');
        FUZZ_CHECK(halves.size() == 2);
        const QString first = halves[layout.sequenceCode == 0 ? 0 : 1];
        const QString second = halves[layout.sequenceCode == 0 ? 1 : 0];
        FUZZ_CHECK(first + QLatin1Char(layout.separator) + second == lines[i]);
    }
    if (!checked.rejection) {
        FUZZ_CHECK(checked.lines == lines.size());
        return 0;
    }
    FUZZ_CHECK(checked.lines < lines.size());
    const QString number = QString::number(checked.lines + 1) + u"行目: "_qs;
    FUZZ_CHECK(checked.rejection->startsWith(number));
    FUZZ_CHECK(checked.rejection->endsWith(u"日本語と英語の順番が正しくありません。") ||
               checked.rejection->startsWith(number + lines[checked.lines] + u' '));
    return 0;
}
