// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <optional>

struct AppDelegate;

// How the lines of a file to import are laid out: the separator between the two parts and
// which part comes first. The choices last for the run; the separator returns to "," each
// time the import screen is loaded.
namespace importer {

// "," ";" or "@".
extern QString SEPARATOR;
// The two part names in the chosen order: ["英語", "日本語"] or ["日本語", "英語"]; always
// agrees with the shared state's SEQUENCE_CODE.
extern QStringList sequence_example;

// Segment 0 ",", 1 ";", 2 "@"; any other index, or none, ",".
QString separatorForSegment(std::optional<int> segment);
// Segment 1 is Japanese first (1); any other index, or none, English first (0).
qint64 sequenceCodeForSegment(std::optional<int> segment);
QStringList sequenceExampleFor(qint64 sequenceCode);

// The segments that show the values in force.
int segmentOfSeparator(const QString& separator);
int segmentOfSequenceCode(qint64 sequenceCode);

// "例: " + first part name + separator + second part name.
QString exampleLine(const QString& separator, const QStringList& order);
// The example line of the values in force.
QString exampleLine();

// The separator action: sets SEPARATOR from the chosen segment.
void chooseSeparator(std::optional<int> segment);
// The order action: sets SEQUENCE_CODE and sequence_example together.
void chooseSequence(AppDelegate& state, std::optional<int> segment);

// What a load of the import screen resets: the separator only.
void resetSeparator();

} // namespace importer
