// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/platform.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

// Taking the loaded list out to another program's file (the action behind Export_button).
namespace setup {

enum class ExportType {
    Csv,   // UTF-8 with a byte-order mark, CR LF, quoted where RFC 4180 needs it (Excel)
    Text,  // "#separator:tab", "#html:false", then a pair a line, tab-separated, quoted where
           // needed (Anki, Quizlet)
    Kvtml, // kvtml 2.0 with the identifiers "en" and "ja" (KWordQuiz, Parley)
};

// The save panel's file types, in the order of ExportType.
QStringList exportFilters();

// The file name the panel proposes: the list's name with the type's ending.
QString exportFileName(const QString& listFileName, ExportType type);

// Writes the pairs of a list's saved form (one "English$Japanese" a line) to path as a file of
// the type, whole or not at all; a kvtml file is titled with the file's name. A failure's
// description goes to standard output.
platform::Status exportList(QStringView savedForm, ExportType type, const QString& path);

} // namespace setup
