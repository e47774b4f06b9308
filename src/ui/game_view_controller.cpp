// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/game_view_controller.h"

#include "app/app_delegate.h"
#include "platform/diagnostics.h"
#include "quiz/missed_pairs.h"
#include "quiz/voice.h"
#include "ui/alert.h"
#include "ui_game_view_controller.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>

#include <limits>

namespace {

void scaleFont(QWidget* widget, qreal factor, bool bold) {
    QFont font = widget->font();
    font.setPointSizeF(font.pointSizeF() * factor);
    font.setBold(bold);
    widget->setFont(font);
}

// Qt gives a label no text interface for a screen reader to read: its name carries what it
// shows (without the line break that places a banner).
void showText(QLabel* label, const QString& text) {
    label->setText(text);
    label->setAccessibleName(text.trimmed());
}

} // namespace

GameViewController::GameViewController(AppDelegate& delegate, QWidget* parent)
    : QWidget(parent), fromAppDelegate(delegate), ui_(new Ui::GameViewController),
      engine_(delegate) {
    ui_->setupUi(this);
    scaleFont(ui_->Upper_words, 2.4, true);
    scaleFont(ui_->Lower_words, 2.0, false);
    scaleFont(ui_->Upper_info, 1.3, false);
    scaleFont(ui_->Lower_info, 1.3, false);
    // The hint comes and goes: its line is kept, so that the words above do not jump.
    ui_->Grading_hint->setMinimumHeight(ui_->Grading_hint->fontMetrics().lineSpacing());
    // Never written: nothing for anyone to read, a screen reader included.
    ui_->Key_detection->hide();
    if (const QIcon speaker = QIcon::fromTheme(QStringLiteral("audio-volume-high"));
        !speaker.isNull())
        ui_->Speak_button->setIcon(speaker);
    connect(ui_->Speak_button, &QPushButton::clicked, this, &GameViewController::Speak);
    connect(ui_->Back_button, &QPushButton::clicked, this, &GameViewController::backRequested);
    connect(ui_->Save_missed_button, &QPushButton::clicked, this, &GameViewController::Save_missed);

    // An input method would take the arrow keys for its candidate window: this screen
    // takes no text at all.
    setAttribute(Qt::WA_InputMethodEnabled, false);
    for (QWidget* child : findChildren<QWidget*>())
        child->setAttribute(Qt::WA_InputMethodEnabled, false);

    // Key events go to the focused widget; watching them application-wide lets the quiz
    // take them wherever the focus is inside this screen (on Back_button as well).
    qApp->installEventFilter(this);
    viewDidLoad();
}

// Leaving the screen silences it.
GameViewController::~GameViewController() {
    if (voice_)
        voice_->stop();
}

void GameViewController::setVoice(quiz::Voice* voice) {
    const platform::FlushDiagnosticsOnReturn flush;
    if (voice_)
        disconnect(voice_, nullptr, this, nullptr);
    voice_ = voice;
    if (voice_) {
        connect(voice_, &quiz::Voice::problemChanged, this, [this] {
            const platform::FlushDiagnosticsOnReturn flush;
            followWithVoice();
        });
        connect(voice_, &quiz::Voice::notSaid, this, &GameViewController::tellNotSaid);
    }
    followWithVoice();
}

void GameViewController::Speak() {
    const std::optional<QString> word = quiz::speakableWord(fromAppDelegate, engine_);
    if (word && voice_)
        voice_->say(*word);
}

void GameViewController::Save_missed() {
    const platform::FlushDiagnosticsOnReturn flush;
    const quiz::SaveReport report = quiz::saveMissedPairs(fromAppDelegate, engine_);
    ui_->Save_missed_button->setEnabled(engine_.missedSavable());
    runAlert(this, report.title, report.text, {{QStringLiteral("OK")}, 0});
}

void GameViewController::tellNotSaid(const QString& word) {
    const platform::FlushDiagnosticsOnReturn flush;
    const QString text = quiz::notSaidText(word);
    platform::diagnostic(text);
    showText(ui_->Speech_status, text);
    ui_->Speech_status->show();
}

void GameViewController::followWithVoice() {
    const quiz::VoiceProblem problem = voice_ ? voice_->problem() : quiz::VoiceProblem::None;
    const std::optional<QString> word = quiz::speakableWord(fromAppDelegate, engine_);
    ui_->Speak_button->setEnabled(voice_ && problem == quiz::VoiceProblem::None && word);
    ui_->Speak_button->setToolTip(quiz::speakToolTip(problem));
    // A disabled button can be neither focused nor hovered: the reason is also on the screen.
    ui_->Speak_button->setAccessibleDescription(quiz::speakDescription(problem));
    const QString reason =
        problem == quiz::VoiceProblem::None ? QString() : quiz::speakToolTip(problem);
    showText(ui_->Speech_status, reason);
    ui_->Speech_status->setVisible(!reason.isEmpty());
    if (!voice_)
        return;
    quiz::reportVoiceProblem(problem);
    if (const std::optional<QString> appeared = automaticSpeech_.next(fromAppDelegate, engine_))
        voice_->say(*appeared);
}

void GameViewController::viewDidLoad() {
    const platform::FlushDiagnosticsOnReturn flush;
    engine_.start();
    showTexts();
    announce();
    followWithVoice();
}

void GameViewController::keyUp(quiz::ArrowKey key) {
    const platform::FlushDiagnosticsOnReturn flush;
    engine_.press(key);
    showTexts();
    announce();
    followWithVoice();
}

// The screen keeps the focus through the quiz, and a screen reader speaks a change of the
// focused object's name: the name is what a learner needs to hear now.
void GameViewController::announce() {
    if (!engine_.announcement().isEmpty())
        setAccessibleName(engine_.announcement());
}

void GameViewController::showTexts() {
    const quiz::QuizTexts& texts = engine_.texts();
    showText(ui_->Upper_info, texts.Upper_info);
    showText(ui_->Upper_words, texts.Upper_words);
    showText(ui_->Lower_words, texts.Lower_words);
    showText(ui_->Lower_info, texts.Lower_info);
    showText(ui_->Last_words, texts.Last_words);
    showText(ui_->Grading_hint, engine_.gradingHint());
    ui_->Save_missed_button->setEnabled(engine_.missedSavable());

    // A finished study (no lap left) shows a full bar.
    const qint64 pairs = engine_.pairsInLap();
    const qint64 answered = engine_.answeredInLap();
    if (pairs > 0) {
        // QProgressBar counts in int: scale a very long lap down to stay in range.
        const qint64 scale = pairs / std::numeric_limits<int>::max() + 1;
        ui_->Lap_progress->setRange(0, int(pairs / scale));
        ui_->Lap_progress->setValue(int(answered / scale));
    } else {
        ui_->Lap_progress->setRange(0, 1);
        ui_->Lap_progress->setValue(engine_.finished() ? 1 : 0);
    }
}

void GameViewController::paintEvent(QPaintEvent*) {
    if (!hasFocus())
        return;
    constexpr qreal width = 2;
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::Highlight), width));
    painter.drawRect(QRectF(rect()).adjusted(8, 8, -8, -8));
}

void GameViewController::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void GameViewController::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

bool GameViewController::isInside(const QObject* object) const {
    if (!object->isWidgetType())
        return false;
    const auto* widget = static_cast<const QWidget*>(object);
    return widget == this || isAncestorOf(widget);
}

bool GameViewController::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if ((type != QEvent::KeyPress && type != QEvent::KeyRelease) || !isInside(watched))
        return false;
    auto* keyEvent = static_cast<QKeyEvent*>(event);
    // The space bar speaks, wherever the focus is in the screen (on a button too, which
    // would otherwise take it as a click), once per press.
    if (keyEvent->key() == Qt::Key_Space && keyEvent->modifiers() == Qt::NoModifier) {
        if (type == QEvent::KeyRelease && !keyEvent->isAutoRepeat())
            Speak();
        return true;
    }
    const std::optional<quiz::ArrowKey> key = quiz::arrowKeyFor(keyEvent->key());
    if (!key)
        return false;
    // The arrows belong to the quiz: a press moves no focus, and only a release that is
    // not an auto-repeat acts, so holding a key down is one step.
    if (type == QEvent::KeyRelease && !keyEvent->isAutoRepeat())
        keyUp(*key);
    return true;
}
