// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/playing_setting.h"

#include "app/app_delegate.h"
#include "platform/diagnostics.h"
#include "settings/playing_settings.h"
#include "ui/segmented_control.h"
#include "ui_playing_setting.h"

#include <QPushButton>

namespace {

struct Segment {
    QString title; // with its mnemonic
    QString accessibleName;
};

// Fills a control with its segments. A segment is picked with Space or its mnemonic.
void fillSegments(SegmentedControl* control, const QList<Segment>& segments) {
    QStringList titles;
    QStringList names;
    for (const Segment& segment : segments) {
        titles.append(segment.title);
        names.append(segment.accessibleName);
    }
    // Room around the title, so that a segment reads as a button of its own.
    control->setSegments(titles, names, QSize(24, 12));
}

} // namespace

PlayingSetting::PlayingSetting(AppDelegate& delegate, QWidget* parent)
    : QWidget(parent), fromAppDelegate(delegate), ui_(new Ui::PlayingSetting) {
    ui_->setupUi(this);
    fillSegments(ui_->Answer_type_control, {{QStringLiteral("英語を表示して日本語を答える(&E)"),
                                             QStringLiteral("英語を表示して日本語を答える")},
                                            {QStringLiteral("日本語を表示して英語を答える(&J)"),
                                             QStringLiteral("日本語を表示して英語を答える")}});
    fillSegments(
        ui_->Auto_shuffle_control,
        {{QStringLiteral("シャッフルする(&S)"), QStringLiteral("シャッフルする")},
         {QStringLiteral("ファイルの順番のまま(&F)"), QStringLiteral("ファイルの順番のまま")}});
    fillSegments(ui_->Speech_control,
                 {{QStringLiteral("自動で読み上げる(&Y)"), QStringLiteral("自動で読み上げる")},
                  {QStringLiteral("読み上げない(&N)"), QStringLiteral("読み上げない")}});
    // No mnemonics of their own: the caption's Alt+A leads here, and the arrows choose.
    fillSegments(ui_->Answer_control, {{QStringLiteral("自分で判定"), QStringLiteral("自分で判定")},
                                       {QStringLiteral("英語を入力"), QStringLiteral("英語を入力")},
                                       {QStringLiteral("4択"), QStringLiteral("4択")}});
    setTabOrderInRows({ui_->Answer_type_control, ui_->Auto_shuffle_control, ui_->Speech_control,
                       ui_->Answer_control});
    connect(ui_->Answer_type_control, &SegmentedControl::segmentSelected, this,
            &PlayingSetting::Answer_type);
    connect(ui_->Auto_shuffle_control, &SegmentedControl::segmentSelected, this,
            &PlayingSetting::Auto_shuffle);
    connect(ui_->Speech_control, &SegmentedControl::segmentSelected, this, &PlayingSetting::Speech);
    connect(ui_->Answer_control, &SegmentedControl::segmentSelected, this, &PlayingSetting::Answer);
    viewDidLoad();
}

PlayingSetting::~PlayingSetting() = default;

void PlayingSetting::viewDidLoad() {
    // Show the values in force; selecting a segment from code sends no action, so
    // nothing is written by opening the panel.
    ui_->Answer_type_control->setSelectedSegment(settings::answerTypeSegment(fromAppDelegate));
    ui_->Auto_shuffle_control->setSelectedSegment(settings::autoShuffleSegment(fromAppDelegate));
    ui_->Speech_control->setSelectedSegment(settings::speechSegment(fromAppDelegate));
    ui_->Answer_control->setSelectedSegment(settings::answerModeSegment(fromAppDelegate));
}

void PlayingSetting::Answer_type(int segment) {
    const platform::FlushDiagnosticsOnReturn flush;
    settings::answerType(fromAppDelegate, segment);
}

void PlayingSetting::Auto_shuffle(int segment) {
    const platform::FlushDiagnosticsOnReturn flush;
    settings::autoShuffle(fromAppDelegate, segment);
}

void PlayingSetting::Speech(int segment) {
    const platform::FlushDiagnosticsOnReturn flush;
    settings::speech(fromAppDelegate, segment);
}

void PlayingSetting::Answer(int segment) {
    const platform::FlushDiagnosticsOnReturn flush;
    settings::answerMode(fromAppDelegate, segment);
}
