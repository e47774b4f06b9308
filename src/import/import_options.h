// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

struct AppDelegate;

// How the lines of a file to import are laid out: the separator between the two parts and
// which part comes first. The choices last for the run; the separator returns to "," each
// time the import screen is loaded.
namespace importer {

struct LineLayout {
    char separator = ',';    // one ASCII character: ',', ';', '@' or a tab
    qint64 sequenceCode = 0; // 0 English first, 1 Japanese first
};

// The values the screens share, set only by publish() (the layout) and by the import screen
// after an import (IMPORT_OK).

// "," ";" "@" or a tab.
extern QString SEPARATOR;
// The two part names in the chosen order: ["英語", "日本語"] or ["日本語", "英語"]; always
// agrees with the shared state's SEQUENCE_CODE.
extern QStringList sequence_example;
// True when the last import accepted at least one line and rejected none.
extern bool IMPORT_OK;

// The separator of a segment: 0 ",", 1 ";", 2 "@", 3 a tab; any other index ",".
char separatorOfSegment(int segment);
// The segment that shows a separator.
int segmentOfSeparator(char separator);

// "例: " + first part name + separator + second part name; a tab is shown as "→".
QString exampleLine(LineLayout layout);

// Makes the layout the one in force: SEPARATOR, sequence_example and SEQUENCE_CODE.
void publish(LineLayout layout, AppDelegate& state);
// The layout in force, as SEPARATOR and SEQUENCE_CODE give it.
LineLayout layoutInForce(const AppDelegate& state);

} // namespace importer
