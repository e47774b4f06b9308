// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "bench_context.h"
#include "rows.h"

#include "formats/csv.h"
#include "platform/platform.h"
#include "setup/list_export.h"

#include <QFile>

#include <csv.h>

namespace bench {

namespace {

constexpr int runs = 7;

// The generated source, every cell quoted as LibreOffice writes it, with CR LF.
QString quotedCsvFile(Context& context) {
    const QString path = context.workFolder() + QStringLiteral("/source-quoted.csv");
    if (QFile::exists(path))
        return path;
    QFile source(context.sourceFile(millionLines));
    QFile out(path);
    if (!source.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly))
        fail(QStringLiteral("cannot make ") + path);
    QByteArray csv;
    for (const QByteArray& line : source.readAll().split('\n'))
        if (!line.isEmpty())
            csv += '"' + QByteArray(line).replace(',', "\",\"") + "\"\r\n";
    if (out.write(csv) != csv.size())
        fail(QStringLiteral("cannot write ") + path);
    return path;
}

// The generated pairs as a kvtml file of so many entries, in KWordQuiz's own layout.
QString kvtmlFile(Context& context, qint64 entries) {
    const QString path = context.workFolder() + QStringLiteral("/source-%1.kvtml").arg(entries);
    if (QFile::exists(path))
        return path;
    QFile source(context.sourceFile(entries));
    QFile out(path);
    if (!source.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly))
        fail(QStringLiteral("cannot make ") + path);
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<kvtml version=\"2.0\" >\n"
                     "  <identifiers>\n    <identifier id=\"0\" >\n      <name>English</name>\n"
                     "      <locale>English</locale>\n    </identifier>\n    <identifier id=\"1\" "
                     ">\n      <name>Japanese</name>\n      <locale>Japanese</locale>\n    "
                     "</identifier>\n  </identifiers>\n  <entries>\n";
    qint64 id = 0;
    for (const QByteArray& line : source.readAll().split('\n')) {
        const qsizetype comma = line.indexOf(',');
        if (comma < 0)
            continue;
        xml += "    <entry id=\"" + QByteArray::number(id++) +
               "\" >\n      <translation id=\"0\" >\n        <text>" + line.first(comma) +
               "</text>\n      </translation>\n      <translation id=\"1\" >\n        <text>" +
               line.sliced(comma + 1) + "</text>\n      </translation>\n    </entry>\n";
    }
    xml += "  </entries>\n</kvtml>\n";
    if (out.write(xml) != xml.size())
        fail(QStringLiteral("cannot write ") + path);
    return path;
}

// Seconds of a parse alone over the file's bytes, read before the clock starts.
double parseSeconds(const QString& path, const std::function<void(const QByteArray&)>& parse) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail(QStringLiteral("cannot read ") + path);
    const QByteArray bytes = file.readAll();
    return secondsOf([&] { parse(bytes); });
}

} // namespace

Row csvImportRow() {
    Row row;
    row.figure = QStringLiteral("import, core, 1,000,000-record quoted CSV (read to counter)");
    row.unit = Unit::Seconds;
    row.target = Target::timesBaseline(3);
    row.measure = [](Context& context) {
        const QString source = quotedCsvFile(context);
        context.freshHome();
        const auto importRun = [&] { return importRunSeconds(source, millionLines); };
        Figure figure = interleavedMedians(
            runs, [&] { return importFloorRun(context); }, importRun);
        // Our reader, or libcsv in its place: each parse alone, over bytes in memory.
        const double ours = medianOf(runs, [&] {
            return parseSeconds(source, [](const QByteArray& bytes) {
                formats::readCsv(bytes, ',',
                                 [](qint64, std::span<const QByteArrayView>) { return true; });
            });
        });
        // libcsv doing the same: each record's cells handed over as a list, as ours does (its
        // fields live only until the next, so a real use would copy them as well).
        const double libcsv = medianOf(runs, [&] {
            return parseSeconds(source, [](const QByteArray& bytes) {
                struct Record {
                    QList<QByteArrayView> cells;
                    qint64 records = 0;
                } record;
                csv_parser parser;
                csv_init(&parser, CSV_STRICT | CSV_STRICT_FINI);
                const auto cell = [](void* data, size_t size, void* to) {
                    static_cast<Record*>(to)->cells.append(
                        QByteArrayView(static_cast<const char*>(data), qsizetype(size)));
                };
                const auto end = [](int, void* to) {
                    auto* r = static_cast<Record*>(to);
                    r->records += r->cells.size() > 0;
                    r->cells.clear();
                };
                csv_parse(&parser, bytes.constData(), size_t(bytes.size()), cell, end, &record);
                csv_fini(&parser, cell, end, &record);
                csv_free(&parser);
                if (record.records != millionLines)
                    fail(QStringLiteral("libcsv did not read 1,000,000 records"));
            });
        });
        figure.note = QStringLiteral("median of %1; baseline: the import row's; parse alone: "
                                     "ours %2 ms, libcsv %3 ms")
                          .arg(runs)
                          .arg(ours * 1e3, 0, 'f', 1)
                          .arg(libcsv * 1e3, 0, 'f', 1);
        return figure;
    };
    return row;
}

Row kvtmlImportRow() {
    Row row;
    row.figure = QStringLiteral("import, core, 100,000-entry .kvtml (read to counter)");
    row.unit = Unit::Seconds;
    row.target = Target::below(1.0);
    row.measure = [](Context& context) {
        constexpr qint64 entries = 100'000;
        const QString source = kvtmlFile(context, entries);
        context.freshHome();
        const double median = medianOf(runs, [&] { return importRunSeconds(source, entries); });
        return Figure{median, std::nullopt, QStringLiteral("median of %1").arg(runs)};
    };
    return row;
}

QList<Row> exportRows() {
    QList<Row> rows;
    const std::pair<setup::ExportType, QString> types[] = {
        {setup::ExportType::Csv, QStringLiteral("CSV")},
        {setup::ExportType::Text, QStringLiteral("text (Anki)")},
        {setup::ExportType::Kvtml, QStringLiteral("kvtml")}};
    for (const auto& [type, name] : types) {
        Row row;
        row.figure =
            QStringLiteral("export, core, 1,000,000 lines to %1 (write + fsync)").arg(name);
        row.unit = Unit::Seconds;
        row.target = Target::timesBaseline(3);
        row.measure = [type](Context& context) {
            // The loaded list's text, as the set-up screen holds it.
            const platform::Result<QString> list =
                platform::readUtf8(context.savedFile(millionLines));
            if (!list.ok)
                fail(list.error);
            const QString path = context.workFolder() + QStringLiteral("/exported");
            const auto exportRun = [&] {
                const double seconds = secondsOf([&] {
                    if (!setup::exportList(list.value, type, path).ok)
                        fail(QStringLiteral("the export failed"));
                });
                QFile::remove(path);
                return seconds;
            };
            Figure figure = interleavedMedians(
                runs, [&] { return importFloorRun(context); }, exportRun);
            figure.note = QStringLiteral("median of %1; baseline: the import row's").arg(runs);
            return figure;
        };
        rows.append(row);
    }
    return rows;
}

} // namespace bench
