// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "bench_context.h"
#include "rows.h"

#include "app/app_delegate.h"
#include "editor/list_save.h"
#include "editor/pair_table_model.h"
#include "ui/list_editor_view_controller.h"

#include <QCoreApplication>
#include <QFile>
#include <QTableView>

#include <memory>

namespace bench {

namespace {

constexpr int editorRuns = 5;

// The saved list copied into a fresh store; returns its path.
QString listInStore(Context& context) {
    const QString path = context.freshHome() + QStringLiteral("/words_lists/bench.txt");
    if (!QFile::copy(context.savedFile(millionLines), path))
        fail(QStringLiteral("cannot copy the list to ") + path);
    return path;
}

} // namespace

Row editorOpenRow() {
    Row row;
    row.figure = QStringLiteral("list editor opens 1,000,000 pairs (read, checked, table painted)");
    row.unit = Unit::Seconds;
    row.target = Target::below(1.0);
    row.measure = [](Context& context) {
        const QString path = listInStore(context);
        AppDelegate delegate;
        const double median = medianOf(editorRuns, [&] {
            auto screen = std::make_unique<ListEditorViewController>(delegate);
            screen->resize(900, 700);
            screen->show();
            QCoreApplication::processEvents();
            settleHeap();
            const double seconds = secondsOf([&] {
                screen->openList(path);
                screen->repaint();
            });
            auto* table = screen->findChild<QTableView*>(QStringLiteral("Pairs_table"));
            if (!table || table->model()->rowCount() != millionLines)
                fail(QStringLiteral("the editor does not show every pair"));
            return seconds;
        });
        return Figure{
            median, std::nullopt,
            QStringLiteral("median of %1; openList to the screen painted").arg(editorRuns)};
    };
    return row;
}

Row editorSaveRow() {
    Row row;
    row.figure = QStringLiteral("list editor saves 1,000,000 pairs (replaced with fsync)");
    row.unit = Unit::Seconds;
    row.target = Target::timesBaseline(3);
    row.measure = [](Context& context) {
        const QString path = listInStore(context);
        editor::ListRead read = editor::readList(path);
        if (!read.ok)
            fail(read.error);
        editor::PairTableModel model;
        model.setSavedForm(read.savedForm);
        model.setCell(0, editor::PairTableModel::Japanese, QStringLiteral("直した"));
        AppDelegate delegate;
        const auto saveRun = [&] {
            return secondsOf([&] {
                const editor::SaveOutcome saved =
                    editor::saveList(read.list, model.savedForm(), {}, delegate);
                if (saved.kind != editor::SaveOutcome::Kind::Replaced)
                    fail(saved.message);
            });
        };
        Figure figure = interleavedMedians(
            editorRuns, [&] { return importFloorRun(context); }, saveRun);
        figure.note =
            QStringLiteral("median of %1; baseline: read + write + fsync").arg(editorRuns);
        return figure;
    };
    return row;
}

} // namespace bench
