// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "bench_table.h"

#include <QList>
#include <QString>

struct AppDelegate;
namespace setup {
struct SetupScreen;
}

// The rows of the table, one function each, and the baseline runs that several rows share.
//
// To add a row: declare `Row nameRow();` here, define it in a rows_<topic>.cpp of its own (and
// list that file in bench/CMakeLists.txt), and put it in the list in main.cpp. Its measure
// function returns a Figure: a row with a baseline times both with interleavedMedians (for
// instance against importFloorRun or twoListReadsRun) and uses Target::timesBaseline; a row
// with a fixed limit returns {value, std::nullopt, note} with Target::below(seconds). The
// bench runs as a QApplication on the offscreen platform, so a row may build the real screens
// (with a TestHome-like fresh home from Context::freshHome). A row that cannot be measured
// calls fail(why); it is printed as a MISS with the reason.
namespace bench {

constexpr qint64 millionLines = 1'000'000;

// One run of the import rows' baseline: reading the generated 1,000,000-line source file and
// writing the same bytes to a new file with one fsync (the physical floor of any import).
// Returns seconds. A row compares against it with interleavedMedians.
double importFloorRun(Context& context);

// importFloorRun with the text decoded from UTF-8 into a QString and encoded back before the
// write: the least that an import working on Qt's strings does. Returns seconds.
double decodingImportFloorRun(Context& context);

// One run of the load rows' baseline: two whole-file UTF-8 reads of a 1,000,000-line saved list,
// what a load for play made when it read once for the preview and once for the pairs (it now
// reads once). Returns seconds.
double twoListReadsRun(Context& context);

// Loads the saved list at listPath for play through the core's own load, as the set-up
// screen's button does with that list selected in its folder (words_lists_url() is set to the
// list's folder). The load's diagnostics go to standard output, buffered.
void loadForPlay(const QString& listPath, AppDelegate& delegate, setup::SetupScreen& screen);

// One timed import of source through the core, as the import screen runs it (read, the
// file's format, check, saved form, write with fsync, counter), its diagnostics sent to
// /dev/null. Fails unless it saved pairs pairs; removes the list it saved. Returns seconds.
double importRunSeconds(const QString& source, qint64 pairs);

// The whole import in the core: the source read, the check of every line, the saved form
// printed, the list written with its fsync and the counter, against the import floor.
Row importRow();

// The import of a 1,000,000-record CSV, every cell quoted, against the import floor; the note
// compares our reader's parse alone with libcsv's over the same bytes.
Row csvImportRow();

// The import of a 100,000-entry .kvtml in KWordQuiz's layout, below a second.
Row kvtmlImportRow();

// The export of a saved 1,000,000-line list, already read, to each of the three types, against
// the import floor.
QList<Row> exportRows();

// The "ERROR!" box for a rejected line of 1 MB through the real import screen, from the click
// of Open_button (the file chosen in the panel) to the box shown, its whole message checked.
Row importErrorBoxRow();

// The import screen while it reads a CSV file of 1 GB whose quote on line 1 is never closed:
// the longest the window waits to handle an event, from the file chosen to the "ERROR!" box.
Row unclosedQuoteRow();

// The store's share of an import: counter read, next number, the list written through
// writeNewList and the counter advanced, against the import floor.
Row storeShareRow();

// The core's load for play (setup::loadSelectedList): its one read, the split into two word
// arrays, the shuffle and a diagnostic line per pair, against the two reads.
Row coreLoadRow();

// The same load through the real set-up screen: the list selected in Words_lists, a click of
// Words_list_determined_button, until the screen is painted with the preview and the count.
Row screenLoadRow();

// The list editor opening a 1,000,000-pair list in the store, to its table painted.
Row editorOpenRow();

// The list editor's save of that list, one pair changed: the saved form made and the list
// replaced with its fsync, against the import floor (the same bytes read and written).
Row editorSaveRow();

// One arrow key of QuizEngine over 1,000,000 pairs, over three laps whose later laps make
// next_problem pass over many answered pairs: the median, the worst in the note.
Row quizKeyRow();

// One typed English word checked by QuizEngine over 1,000,000 pairs, as Enter does: nine right
// words typed with other case and spaces, then a near miss (spelled out with its marks); the
// median, and the worst, in the note.
Row typedAnswerRow();

// The space bar released on the quiz screen to the word heard on the monitor of a private
// PulseAudio server's null sink: the median of presses in one window, whether the time drifts,
// and the first press in a window whose quiz has just opened (the voice is made then).
Row keyToSoundRow();
Row firstKeyToSoundRow();

// Process start to the start window mapped under Xvfb, against a minimal Qt window with one
// Japanese label started the same way.
Row startupRow();

// Peak resident memory with a 1,000,000-line list loaded, against the file's size.
Row peakMemoryRow();

// The child side of peakMemoryRow: loads the list, writes its own peak resident set in bytes
// to reportPath and exits. Returns the exit status.
int runPeakLoadChild(const QString& listPath, const QString& reportPath);

} // namespace bench
