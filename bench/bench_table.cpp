// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "bench_table.h"

#include "bench_context.h"

#include <QStringList>

#include <cstdio>
#include <exception>

namespace bench {

namespace {

QString formatValue(double value, Unit unit) {
    switch (unit) {
    case Unit::Seconds:
        return value < 1 ? QString::number(value * 1e3, 'f', 1) + QStringLiteral(" ms")
                         : QString::number(value, 'f', 2) + QStringLiteral(" s");
    case Unit::Microseconds:
        return QString::number(value * 1e6, 'f', 2) + QStringLiteral(" µs");
    case Unit::Bytes:
        return QString::number(value / (1024.0 * 1024.0), 'f', 1) + QStringLiteral(" MB");
    }
    return {};
}

QString formatTarget(const Target& target, Unit unit) {
    if (target.factor == 0)
        return QStringLiteral("< ") + formatValue(target.offset, unit);
    QString text = QStringLiteral("<= ") + QString::number(target.factor) + u'x';
    if (target.offset != 0)
        text += QStringLiteral(" + ") + formatValue(target.offset, unit);
    return text;
}

bool meets(const Figure& figure, const Target& target) {
    if (target.factor == 0 || !figure.baseline)
        return figure.value < target.offset;
    return figure.value <= target.factor * *figure.baseline + target.offset;
}

// Pads by characters, not bytes, so that "µs" and Japanese notes line up.
QString padded(const QString& text, qsizetype width) {
    return text + QString(qMax<qsizetype>(0, width - text.size()), u' ');
}

void printLine(const QStringList& cells, const std::vector<qsizetype>& widths) {
    QString line;
    for (size_t i = 0; i < widths.size(); ++i)
        line += (i ? QStringLiteral(" | ") : QString()) + padded(cells.at(qsizetype(i)), widths[i]);
    std::printf("%s\n", line.trimmed().toUtf8().constData());
    std::fflush(stdout);
}

} // namespace

int runTable(const std::vector<Row>& rows, Context& context) {
    const QStringList header = {QStringLiteral("figure"),   QStringLiteral("value"),
                                QStringLiteral("baseline"), QStringLiteral("ratio"),
                                QStringLiteral("target"),   QStringLiteral("result"),
                                QStringLiteral("note")};
    std::vector<QStringList> table;
    int misses = 0;
    for (const Row& row : rows) {
        std::fprintf(stderr, "measuring: %s\n", qPrintable(row.figure));
        QStringList cells{row.figure};
        try {
            const Figure figure = row.measure(context);
            const bool ok = meets(figure, row.target);
            misses += ok ? 0 : 1;
            cells << formatValue(figure.value, row.unit)
                  << (figure.baseline ? formatValue(*figure.baseline, row.unit)
                                      : QStringLiteral("-"))
                  << (figure.baseline && *figure.baseline > 0
                          ? QString::number(figure.value / *figure.baseline, 'f', 2) + u'x'
                          : QStringLiteral("-"))
                  << formatTarget(row.target, row.unit)
                  << (ok ? QStringLiteral("ok") : QStringLiteral("MISS")) << figure.note;
        } catch (const std::exception& error) {
            ++misses;
            cells << QStringLiteral("-") << QStringLiteral("-") << QStringLiteral("-")
                  << formatTarget(row.target, row.unit) << QStringLiteral("MISS")
                  << QStringLiteral("not measured: ") + QString::fromUtf8(error.what());
        }
        table.push_back(cells);
    }
    std::vector<qsizetype> widths(size_t(header.size()), 0);
    for (const QStringList& cells : table)
        for (qsizetype i = 0; i < cells.size(); ++i)
            widths[size_t(i)] = qMax(widths[size_t(i)], cells.at(i).size());
    for (qsizetype i = 0; i < header.size(); ++i)
        widths[size_t(i)] = qMax(widths[size_t(i)], header.at(i).size());
    std::printf("\n");
    printLine(header, widths);
    QStringList rule;
    for (const qsizetype width : widths)
        rule << QString(width, u'-');
    printLine(rule, widths);
    for (const QStringList& cells : table)
        printLine(cells, widths);
    return misses;
}

} // namespace bench
