// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "import/import_options.h"

#include "app/app_delegate.h"

namespace importer {

namespace {

const QString english = QStringLiteral("英語");
const QString japanese = QStringLiteral("日本語");
constexpr char separators[] = {',', ';', '@', '\t'};

QStringList orderOf(qint64 sequenceCode) {
    return sequenceCode == 1 ? QStringList{japanese, english} : QStringList{english, japanese};
}

QString separatorText(char separator) {
    // A tab would show as a gap, or as nothing.
    return separator == '\t' ? QStringLiteral("→") : QString(QLatin1Char(separator));
}

} // namespace

QString SEPARATOR = QStringLiteral(",");
QStringList sequence_example = {english, japanese};
bool IMPORT_OK = false;

char separatorOfSegment(int segment) {
    return segment >= 0 && segment < int(std::size(separators)) ? separators[segment]
                                                                : separators[0];
}

int segmentOfSeparator(char separator) {
    for (int i = 0; i < int(std::size(separators)); ++i)
        if (separators[i] == separator)
            return i;
    return 0;
}

QString exampleLine(LineLayout layout) {
    const QStringList order = orderOf(layout.sequenceCode);
    return QStringLiteral("例: ") + order[0] + separatorText(layout.separator) + order[1];
}

void publish(LineLayout layout, AppDelegate& state) {
    SEPARATOR = QString(QLatin1Char(layout.separator));
    state.SEQUENCE_CODE = layout.sequenceCode;
    sequence_example = orderOf(layout.sequenceCode);
}

LineLayout layoutInForce(const AppDelegate& state) {
    const bool oneCharacter = SEPARATOR.size() == 1 && SEPARATOR[0].unicode() < 0x80;
    return {oneCharacter ? char(SEPARATOR[0].unicode()) : separators[0], state.SEQUENCE_CODE};
}

} // namespace importer
