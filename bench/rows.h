#pragma once

#include "bench_table.h"

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

// One run of the load rows' baseline: the two whole-file UTF-8 reads of a 1,000,000-line saved
// list that a load for play makes (one for the preview, one for the pairs). Returns seconds.
double twoListReadsRun(Context& context);

// The store's share of an import: counter read, next number, the list written through
// writeNewList and the counter advanced, against the import floor.
Row storeShareRow();

// The core of a load for play: both reads, the split into two word arrays and the shuffle,
// against the two reads.
Row coreLoadRow();

// Process start to the start window mapped under Xvfb, against a minimal Qt window with one
// Japanese label started the same way.
Row startupRow();

// Peak resident memory with a 1,000,000-line list loaded, against the file's size.
Row peakMemoryRow();

// The child side of peakMemoryRow: loads the list and exits. Returns the exit status.
int runPeakLoadChild(const QString& listPath);

} // namespace bench
