// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The import's pass over any text. Every accepted line's saved form has two halves, neither
// empty, that rejoin to the line with the separator in the chosen order; the pass stops at the
// first rejected line, and its message names that line by its number.
#include "fuzz_input.h"

#include "import/line_check.h"
#include "platform/text.h"

#include <QRegularExpression>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const importer::LineLayout layout{importer::separatorOfSegment(data[0] % 3),
                                      (data[0] >> 2) & 1};
    const QByteArray utf8(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    const std::optional<QString> text = platform::decodeUtf8(utf8);
    if (!text || utf8.startsWith("\xEF\xBB\xBF")) // the file's reader drops a byte-order mark
        return 0;
    static const QRegularExpression end(u"\r\n|[\n\r\u0085\u2028\u2029]"_qs);
    QStringList lines = text->split(end);
    if (lines.last().isEmpty()) // a final line end starts no line
        lines.removeLast();

    const importer::CheckedText checked = importer::checkText(utf8, layout);
    fuzzCheck(checked.rejection ? checked.lines < lines.size() : checked.lines == lines.size());
    // textOfUtf8, not fromUtf8: a saved line may begin with U+FEFF, which fromUtf8 drops.
    const QStringList saved = platform::textOfUtf8(checked.savedForm).split(u'\n');
    fuzzCheck(saved.size() == checked.lines + 1 && saved.last().isEmpty());
    for (qsizetype i = 0; i < checked.lines; ++i) {
        QStringList halves = saved[i].split(u'$');
        if (layout.sequenceCode != 0 && halves.size() == 2)
            halves.swapItemsAt(0, 1);
        fuzzCheck(halves.size() == 2 && !halves[0].isEmpty() && !halves[1].isEmpty() &&
                  halves.join(QLatin1Char(layout.separator)) == lines[i]);
    }
    fuzzCheck(!checked.rejection ||
              checked.rejection->startsWith(QString::number(checked.lines + 1) + u"行目: "_qs));
    return 0;
}
