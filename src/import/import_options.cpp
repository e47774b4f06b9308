// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "import/import_options.h"

#include "app/app_delegate.h"

namespace importer {

namespace {

const QString english = QStringLiteral("英語");
const QString japanese = QStringLiteral("日本語");
const QStringList separators = {QStringLiteral(","), QStringLiteral(";"), QStringLiteral("@")};

} // namespace

QString SEPARATOR = QStringLiteral(",");
QStringList sequence_example = {english, japanese};

QString separatorForSegment(std::optional<int> segment) {
    if (segment && *segment >= 0 && *segment < separators.size())
        return separators[*segment];
    return separators[0];
}

qint64 sequenceCodeForSegment(std::optional<int> segment) {
    return segment == 1 ? 1 : 0;
}

QStringList sequenceExampleFor(qint64 sequenceCode) {
    return sequenceCode == 1 ? QStringList{japanese, english} : QStringList{english, japanese};
}

int segmentOfSeparator(const QString& separator) {
    const qsizetype index = separators.indexOf(separator);
    return index < 0 ? 0 : int(index);
}

int segmentOfSequenceCode(qint64 sequenceCode) {
    return sequenceCode == 1 ? 1 : 0;
}

QString exampleLine(const QString& separator, const QStringList& order) {
    return QStringLiteral("例: ") + order.value(0) + separator + order.value(1);
}

QString exampleLine() {
    return exampleLine(SEPARATOR, sequence_example);
}

void chooseSeparator(std::optional<int> segment) {
    SEPARATOR = separatorForSegment(segment);
}

void chooseSequence(AppDelegate& state, std::optional<int> segment) {
    state.SEQUENCE_CODE = sequenceCodeForSegment(segment);
    sequence_example = sequenceExampleFor(state.SEQUENCE_CODE);
}

void resetSeparator() {
    SEPARATOR = separators[0];
}

} // namespace importer
