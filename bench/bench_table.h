// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>
#include <optional>
#include <vector>

namespace bench {

class Context;

// What a row measures in, and how its figures are printed.
enum class Unit { Seconds, Microseconds, Bytes };

// The limit a figure must keep: value <= factor * baseline + offset when the row has a
// baseline, value < offset when it has none. Offsets are in the row's base unit (seconds or
// bytes).
struct Target {
    double factor = 0;
    double offset = 0;

    static Target timesBaseline(double factor) { return {factor, 0}; }
    static Target timesBaselinePlus(double factor, double offset) { return {factor, offset}; }
    static Target below(double limit) { return {0, limit}; }
};

// One measurement: the figure and, for relative targets, the baseline measured in the same
// run. note says what was measured when that needs saying (a median of how many runs).
struct Figure {
    double value = 0;
    std::optional<double> baseline;
    QString note;
};

// One line of the table. measure runs once per `make bench`; it may use the context's
// generated files and the baseline runs of rows.h.
struct Row {
    QString figure;
    Unit unit = Unit::Seconds;
    Target target;
    std::function<Figure(Context&)> measure;
};

// Measures every row in order and prints one table to standard output. Returns the number
// of rows that missed their target (a row that could not be measured counts as a miss).
int runTable(const std::vector<Row>& rows, Context& context);

} // namespace bench
