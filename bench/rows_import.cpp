// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "bench_context.h"
#include "rows.h"

#include "app/app_delegate.h"
#include "import/format_check.h"
#include "import/import_options.h"
#include "import/import_run.h"
#include "import/import_source.h"
#include "platform/diagnostics.h"
#include "store/locations.h"
#include "ui/loading_view_controller.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <vector>

namespace bench {

namespace {

constexpr int importRuns = 7;
constexpr int boxRuns = 5;
// A box that never comes is given up on after this long, so that the bench still ends.
constexpr qint64 boxGiveUpNs = 30'000'000'000;

// One line of about 1 MB that the check rejects (words, but no separator), after one line
// it accepts.
struct RejectedLineFile {
    QString path;
    QString expectedMessage;
};

RejectedLineFile rejectedLineFile(Context& context) {
    QByteArray line;
    line.reserve((1 << 20) + 16);
    for (int i = 0; line.size() < (1 << 20); ++i)
        line += "word" + QByteArray::number(i % 997) + ' ';
    line.chop(1);
    RejectedLineFile file;
    file.path = context.workFolder() + QStringLiteral("/rejected-1mb-line.txt");
    QFile out(file.path);
    if (!out.open(QIODevice::WriteOnly) || out.write("apple,りんご\n" + line + '\n') < 0 ||
        !out.flush())
        fail(QStringLiteral("cannot write ") + file.path);
    file.expectedMessage = QStringLiteral("2行目: ") + QString::fromLatin1(line) +
                           QStringLiteral(" は正しいフォーマットに基づいて書かれていません。");
    return file;
}

// What one click of Open_button led to.
struct BoxRun {
    double seconds = -1; // from the click to the box shown; -1 when no box came
    QString text;
    QString informativeText;
    int otherDialogs = 0; // dialogs other than the panel and one box
    // The longest the event loop went without a turn, from the file chosen to the box shown.
    double longestWait = 0;
};

// Clicks the import screen's Open_button; a timer, like the tests' modal driver, chooses
// path in the file panel and, once the box is the visible modal widget, takes the time, reads
// the box and presses its OK.
BoxRun clickOpenUntilBox(LoadingViewController& screen, const QString& path) {
    auto* open = screen.findChild<QPushButton*>(QStringLiteral("Open_button"));
    if (!open)
        fail(QStringLiteral("the import screen has no Open_button"));
    BoxRun run;
    QElapsedTimer clock;
    QPointer<QWidget> handled;
    QTimer poll;
    poll.setInterval(1);
    qint64 lastTurn = -1; // once the file is chosen
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (lastTurn >= 0 && run.seconds < 0) {
            const qint64 now = clock.nsecsElapsed();
            run.longestWait = std::max(run.longestWait, double(now - lastTurn) / 1e9);
            lastTurn = now;
        }
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible() || modal == handled) {
            if (clock.nsecsElapsed() > boxGiveUpNs)
                if (auto* dialog = qobject_cast<QDialog*>(modal))
                    dialog->reject();
            return;
        }
        handled = modal;
        if (auto* panel = qobject_cast<QFileDialog*>(modal); panel && run.seconds < 0) {
            panel->selectFile(path);
            static_cast<QDialog*>(panel)->accept();
            lastTurn = clock.nsecsElapsed();
            return;
        }
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (box && run.seconds < 0) {
            run.seconds = double(clock.nsecsElapsed()) / 1e9;
            run.text = box->text();
            run.informativeText = box->informativeText();
            for (QAbstractButton* button : box->buttons())
                if (button->text() == QStringLiteral("OK"))
                    return button->click();
        }
        ++run.otherDialogs;
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
    });
    poll.start();
    clock.start();
    QTest::mouseClick(open, Qt::LeftButton);
    poll.stop();
    return run;
}

} // namespace

double importRunSeconds(const QString& source, qint64 pairs) {
    AppDelegate state;
    importer::ImportOutcome outcome;
    double seconds = 0;
    {
        const StdoutToDevNull silence;
        seconds = secondsOf([&] {
            importer::SourceRead read = importer::readSource(source);
            // English first, as the generated sources are written; the file tells its format.
            if (read.kind == importer::SourceRead::Kind::Text) {
                const importer::SourceFormat format = importer::formatOf(source, read.utf8);
                outcome =
                    importer::finishImport(importer::checkSource(std::move(read.utf8), {}, format),
                                           QString(), state, format);
            }
            platform::flushDiagnostics();
        });
    }
    if (outcome.kind != importer::ImportOutcome::Kind::Completed || state.LINE_INDEX != pairs)
        fail(QStringLiteral("the import did not save %1 pairs").arg(pairs));
    // The next run saves a list of the same size again.
    QFile::remove(store::unnamedListPath(outcome.saved.number));
    return seconds;
}

Row importRow() {
    Row row;
    row.figure = QStringLiteral(
        "import, core, 1,000,000 lines (read, check, saved form, write + fsync, counter)");
    row.unit = Unit::Seconds;
    row.target = Target::timesBaseline(3);
    row.measure = [](Context& context) {
        const QString source = context.sourceFile(millionLines);
        context.freshHome();
        const auto importRun = [&] { return importRunSeconds(source, millionLines); };
        Figure figure = interleavedMedians(
            importRuns, [&] { return importFloorRun(context); }, importRun);
        // What any import over QString pays at least, for the note: decoding and encoding.
        const double decodingFloor =
            medianOf(importRuns, [&] { return decodingImportFloorRun(context); });
        figure.note = QStringLiteral("median of %1; diagnostics to /dev/null; baseline: read + "
                                     "write + fsync; with UTF-8 decode and encode: %2 ms")
                          .arg(importRuns)
                          .arg(decodingFloor * 1e3, 0, 'f', 1);
        return figure;
    };
    return row;
}

Row importErrorBoxRow() {
    Row row;
    row.figure =
        QStringLiteral("\"ERROR!\" box for a rejected 1 MB line, import screen (click to shown)");
    row.unit = Unit::Seconds;
    row.target = Target::below(1.0);
    row.measure = [](Context& context) {
        const RejectedLineFile file = rejectedLineFile(context);
        context.freshHome();
        std::vector<double> seconds;
        for (int i = 0; i < boxRuns; ++i) {
            AppDelegate delegate;
            const StdoutToDevNull silence;
            LoadingViewController screen(delegate); // a new screen for each visit
            screen.resize(800, 600);
            screen.show();
            QCoreApplication::processEvents();
            settleHeap();
            const BoxRun run = clickOpenUntilBox(screen, file.path);
            if (run.seconds < 0)
                fail(QStringLiteral("no box was shown"));
            if (run.text != importer::errorTitle() || run.otherDialogs != 0)
                fail(QStringLiteral("the box was not the one \"ERROR!\" box"));
            if (run.informativeText != file.expectedMessage)
                fail(QStringLiteral("the box does not hold the whole message (%1 of %2 "
                                    "characters)")
                         .arg(run.informativeText.size())
                         .arg(file.expectedMessage.size()));
            seconds.push_back(run.seconds);
        }
        size_t i = 0;
        const double median = medianOf(boxRuns, [&] { return seconds[i++]; });
        return Figure{median, std::nullopt,
                      QStringLiteral("median of %1 (file panel included), worst %2 ms; whole "
                                     "message checked")
                          .arg(boxRuns)
                          .arg(*std::max_element(seconds.begin(), seconds.end()) * 1e3, 0, 'f', 1)};
    };
    return row;
}

Row unclosedQuoteRow() {
    Row row;
    row.figure = QStringLiteral(
        "import screen reading a 1 GB CSV, quote on line 1 never closed (longest event wait)");
    row.unit = Unit::Seconds;
    row.target = Target::below(0.1);
    row.measure = [](Context& context) {
        constexpr int runs = 3;
        const QString path = context.workFolder() + QStringLiteral("/unclosed-1gb.csv");
        {
            QFile out(path);
            const QByteArray lines = QByteArray("apple,りんご\r\n").repeated(1 << 16);
            if (!out.open(QIODevice::WriteOnly) || out.write("\"take care,気をつける\r\n") < 0)
                fail(QStringLiteral("cannot write ") + path);
            while (out.size() < (qint64(1) << 30))
                if (out.write(lines) != lines.size())
                    fail(QStringLiteral("cannot write ") + path);
        }
        context.freshHome();
        std::vector<double> waits, seconds;
        for (int i = 0; i < runs; ++i) {
            AppDelegate delegate;
            const StdoutToDevNull silence;
            LoadingViewController screen(delegate);
            screen.resize(800, 600);
            screen.show();
            QCoreApplication::processEvents();
            const BoxRun run = clickOpenUntilBox(screen, path);
            if (run.text != importer::errorTitle() || run.otherDialogs != 0 ||
                run.informativeText !=
                    QStringLiteral("1行目: 「\"」で始まるセルが閉じられていません。"))
                fail(QStringLiteral("the box was not the one \"ERROR!\" box for line 1"));
            if (!QDir(store::listFolderPath()).isEmpty())
                fail(QStringLiteral("a list was saved"));
            waits.push_back(run.longestWait);
            seconds.push_back(run.seconds);
        }
        QFile::remove(path);
        return Figure{medianOfValues(waits), std::nullopt,
                      QStringLiteral("median of %1, worst %2 ms; the box came after %3 s "
                                     "(median; file panel included)")
                          .arg(runs)
                          .arg(*std::max_element(waits.begin(), waits.end()) * 1e3, 0, 'f', 1)
                          .arg(medianOfValues(seconds), 0, 'f', 2)};
    };
    return row;
}

} // namespace bench
