// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "bench_context.h"
#include "rows.h"

#include "app/app_delegate.h"
#include "platform/diagnostics.h"
#include "platform/platform.h"
#include "setup/list_loading.h"
#include "setup/setup_screen.h"
#include "ui/game_setting_view_controller.h"

#include <QAbstractScrollArea>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <memory>
#include <vector>

namespace bench {

namespace {

constexpr int coreRuns = 7;
constexpr int screenRuns = 5;

// The figures of a load are the same whichever pairs it gets; the check is that it got them.
void expectPairs(const AppDelegate& delegate) {
    if (delegate.LINE_INDEX != millionLines || delegate.english_words.size() != millionLines ||
        delegate.japanese_words.size() != millionLines)
        fail(QStringLiteral("the load did not give 1,000,000 pairs"));
}

} // namespace

double twoListReadsRun(Context& context) {
    const QString list = context.savedFile(millionLines);
    return secondsOf([&] {
        for (int read = 0; read < 2; ++read)
            if (!platform::readUtf8(list).ok)
                fail(QStringLiteral("cannot read ") + list);
    });
}

void loadForPlay(const QString& listPath, AppDelegate& delegate, setup::SetupScreen& screen) {
    const QFileInfo list(listPath);
    words_lists_url() = QUrl::fromLocalFile(list.absolutePath());
    screen.items = {list.fileName()};
    screen.selectedIndex = 0;
    setup::loadSelectedList(delegate, screen);
}

Row coreLoadRow() {
    Row row;
    row.figure = QStringLiteral("load for play, core, 1,000,000 lines (read, split, shuffle)");
    row.unit = Unit::Seconds;
    row.target = Target::timesBaseline(3);
    row.measure = [](Context& context) {
        const QString list = context.savedFile(millionLines);
        const auto loadRun = [&] {
            // A first load: the delegate of a program that has loaded nothing yet. Its pairs
            // are freed after the timed part.
            auto delegate = std::make_unique<AppDelegate>();
            setup::SetupScreen screen;
            double seconds = 0;
            {
                const StdoutToDevNull silence;
                seconds = secondsOf([&] {
                    loadForPlay(list, *delegate, screen);
                    platform::flushDiagnostics();
                });
            }
            expectPairs(*delegate);
            if (!screen.startEnabled || screen.countText != setup::wordCountText(millionLines))
                fail(QStringLiteral("the load did not end ready to play"));
            return seconds;
        };
        Figure figure = interleavedMedians(
            coreRuns, [&] { return twoListReadsRun(context); }, loadRun);
        figure.note = QStringLiteral("median of %1; LINE_INDEX lines to /dev/null; baseline: "
                                     "the two reads")
                          .arg(coreRuns);
        return figure;
    };
    return row;
}

Row screenLoadRow() {
    Row row;
    row.figure =
        QStringLiteral("load for play, set-up screen, 1,000,000 lines (preview and count shown)");
    row.unit = Unit::Seconds;
    row.target = Target::below(1.5);
    row.measure = [](Context& context) {
        const QString folder = context.freshHome() + QStringLiteral("/words_lists");
        const QString name = QStringLiteral("bench.txt");
        if (!QFile::copy(context.savedFile(millionLines), folder + u'/' + name))
            fail(QStringLiteral("cannot copy the list into ") + folder);
        const platform::Result<QString> text = platform::readUtf8(folder + u'/' + name);
        if (!text.ok)
            fail(text.error);
        words_lists_url() = QUrl::fromLocalFile(folder);

        std::vector<double> seconds;
        for (int i = 0; i < screenRuns; ++i) {
            auto delegate = std::make_unique<AppDelegate>();
            const StdoutToDevNull silence;
            auto screen = std::make_unique<GameSettingViewController>(*delegate);
            screen->resize(900, 700);
            screen->show();
            QCoreApplication::processEvents();
            auto* lists = screen->findChild<QComboBox*>(QStringLiteral("Words_lists"));
            auto* load =
                screen->findChild<QPushButton*>(QStringLiteral("Words_list_determined_button"));
            auto* preview =
                screen->findChild<QAbstractScrollArea*>(QStringLiteral("List_check_textfield"));
            auto* count = screen->findChild<QLabel*>(QStringLiteral("All_words_number"));
            if (!lists || !load || !preview || !count)
                fail(QStringLiteral("the set-up screen lacks a control"));
            lists->setCurrentIndex(lists->findText(name));
            if (lists->currentIndex() < 0)
                fail(QStringLiteral("the set-up screen does not list ") + name);
            settleHeap();

            seconds.push_back(secondsOf([&] {
                QTest::mouseClick(load, Qt::LeftButton);
                // Shown: the screen painted with the preview and the count in it.
                screen->repaint();
            }));
            expectPairs(*delegate);
            if (preview->property("plainText").toString() != text.value ||
                count->text() != setup::wordCountText(millionLines))
                fail(QStringLiteral("the preview or the count is not the list's"));
        }
        const auto worst = *std::max_element(seconds.begin(), seconds.end());
        size_t i = 0;
        const double median = medianOf(screenRuns, [&] { return seconds[i++]; });
        return Figure{median, std::nullopt,
                      QStringLiteral("median of %1, worst %2 ms; click to screen painted")
                          .arg(screenRuns)
                          .arg(worst * 1e3, 0, 'f', 1)};
    };
    return row;
}

} // namespace bench
