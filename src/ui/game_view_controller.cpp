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
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPainter>

#include <algorithm>
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
    // ... but for the typed answer, where a Japanese input method's full-width letters are
    // welcome (the field is hidden unless the English word is typed).
    ui_->Answer_field->setAttribute(Qt::WA_InputMethodEnabled, true);
    choiceButtons_ = {ui_->Choice_1, ui_->Choice_2, ui_->Choice_3, ui_->Choice_4};
    for (qsizetype i = 0; i < qsizetype(choiceButtons_.size()); ++i)
        connect(choiceButtons_[size_t(i)], &QPushButton::clicked, this, [this, i] { Choose(i); });

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
    if (engine_.answerMode() == quiz::AnswerMode::Typed)
        setAccessibleDescription(QStringLiteral("日本語の意味に合う英語を入力してEnterで確かめ、"
                                                "もう一度Enterで次に進みます。"));
    else if (engine_.answerMode() == quiz::AnswerMode::Choice)
        setAccessibleDescription(QStringLiteral("1から4のキー、または矢印キーとEnterで答えを選び、"
                                                "もう一度押して次に進みます。"));
    refresh();
}

void GameViewController::keyUp(quiz::ArrowKey key) {
    const platform::FlushDiagnosticsOnReturn flush;
    engine_.press(key);
    refresh();
}

void GameViewController::Answer() {
    const platform::FlushDiagnosticsOnReturn flush;
    if (engine_.showingVerdict()) {
        engine_.goOn();
        ui_->Answer_field->clear();
    } else {
        engine_.answerTyped(ui_->Answer_field->text());
    }
    refresh();
}

void GameViewController::Choose(qsizetype index) {
    const platform::FlushDiagnosticsOnReturn flush;
    if (engine_.showingVerdict())
        engine_.goOn();
    else
        engine_.choose(index);
    refresh();
}

void GameViewController::refresh() {
    showTexts();
    // A new pair puts the focus where it is answered (focusInEvent), the result on the choice
    // picked; a banner gives it back to the screen, where ↑ goes on.
    if (engine_.awaitingAnswer())
        answerControl()->setFocus();
    else if (engine_.showingVerdict() && engine_.chosen() >= 0)
        choiceButtons_[size_t(engine_.chosen())]->setFocus();
    else if (engine_.answerMode() != quiz::AnswerMode::Arrows && !engine_.showingVerdict() &&
             !hasFocus())
        setFocus();
    announce();
    followWithVoice();
}

QWidget* GameViewController::answerControl() const {
    if (engine_.answerMode() == quiz::AnswerMode::Typed)
        return ui_->Answer_field;
    return ui_->Choice_1;
}

// The screen keeps the focus through the drill, and a screen reader speaks a change of the
// focused object's name: the name is what a learner needs to hear now. Typing, the field has
// the focus and says it; choosing, the chosen button says the result (showChoices).
void GameViewController::announce() {
    const QString& said = engine_.announcement();
    if (said.isEmpty())
        return;
    setAccessibleName(said);
    if (engine_.answerMode() == quiz::AnswerMode::Typed)
        ui_->Answer_field->setAccessibleName(said);
}

void GameViewController::showChoices() {
    const QStringList& choices = engine_.choices();
    const bool verdict = engine_.showingVerdict();
    for (qsizetype i = 0; i < qsizetype(choiceButtons_.size()); ++i) {
        QPushButton* button = choiceButtons_[size_t(i)];
        button->setVisible(engine_.answerMode() == quiz::AnswerMode::Choice && i < choices.size());
        if (i >= choices.size())
            continue;
        const QString number = QString::number(i + 1);
        const bool right = verdict && i == engine_.rightChoice();
        const bool chosen = verdict && i == engine_.chosen();
        const QString mark = right    ? QStringLiteral("○ ")
                             : chosen ? QStringLiteral("× ")
                                      : QString();
        // A "&" of the answer is no mnemonic: the number is.
        button->setText(mark + u'&' + number + u' ' +
                        QString(choices[i]).replace(u'&', QStringLiteral("&&")));
        button->setAccessibleName(number + u' ' + choices[i] +
                                  (chosen  ? u' ' + engine_.announcement()
                                   : right ? QStringLiteral(" 正解")
                                           : QString()));
        // The question, heard with the choice that has the focus.
        button->setAccessibleDescription(engine_.texts().Upper_words);
    }
}

void GameViewController::showTexts() {
    const quiz::QuizTexts& texts = engine_.texts();
    showText(ui_->Upper_info, texts.Upper_info);
    showText(ui_->Upper_words, texts.Upper_words);
    showText(ui_->Lower_words, texts.Lower_words);
    showText(ui_->Lower_info, texts.Lower_info);
    showText(ui_->Last_words, texts.Last_words);
    showText(ui_->Grading_hint, engine_.gradingHint());
    showText(ui_->Answer_result, texts.Answer_result);
    ui_->Answer_field->setVisible(engine_.answerMode() == quiz::AnswerMode::Typed);
    ui_->Answer_result->setVisible(engine_.answerMode() != quiz::AnswerMode::Arrows);
    ui_->Answer_field->setEnabled(engine_.awaitingAnswer() || engine_.showingVerdict());
    ui_->Answer_field->setReadOnly(engine_.showingVerdict());
    showChoices();
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
    // Where a pair is answered by typing or choosing, the work starts at the answer; Shift+Tab
    // stops here, on its way back.
    if (engine_.awaitingAnswer() && event->reason() != Qt::BacktabFocusReason)
        answerControl()->setFocus(event->reason());
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
    if (type == QEvent::InputMethod && watched == ui_->Answer_field)
        composing_ = !static_cast<QInputMethodEvent*>(event)->preeditString().isEmpty();
    if ((type != QEvent::KeyPress && type != QEvent::KeyRelease) || !isInside(watched))
        return false;
    auto* keyEvent = static_cast<QKeyEvent*>(event);
    if (engine_.answerMode() != quiz::AnswerMode::Arrows)
        if (const std::optional<bool> taken = answerKey(watched, keyEvent))
            return *taken;
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

std::optional<bool> GameViewController::answerKey(QObject* watched, QKeyEvent* event) {
    const bool press = event->type() == QEvent::KeyPress && !event->isAutoRepeat();
    const int key = event->key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (event->modifiers() & ~Qt::KeypadModifier)
        return std::nullopt;
    if (engine_.answerMode() == quiz::AnswerMode::Typed) {
        if (watched != ui_->Answer_field)
            return std::nullopt;
        // Enter while an input method composes commits the composition; the next one checks.
        if (enter && !composing_ && press)
            Answer();
        // Every other key is the field's: the space bar, and the arrows that move in the word.
        return enter && !composing_;
    }
    if (key >= Qt::Key_1 && key <= Qt::Key_4) {
        if (press)
            Choose(key - Qt::Key_1);
        return true;
    }
    const auto* choice = std::find(choiceButtons_.begin(), choiceButtons_.end(), watched);
    if (choice == choiceButtons_.end())
        return std::nullopt;
    if (enter || key == Qt::Key_Space) {
        if (press)
            Choose(choice - choiceButtons_.begin());
        return true;
    }
    // The arrows move between the choices, round the row.
    const std::optional<quiz::ArrowKey> arrow = quiz::arrowKeyFor(key);
    if (!arrow)
        return std::nullopt;
    if (event->type() == QEvent::KeyPress) {
        const qsizetype shown = engine_.choices().size();
        const qsizetype step =
            *arrow == quiz::ArrowKey::Left || *arrow == quiz::ArrowKey::Up ? shown - 1 : 1;
        if (shown > 0)
            choiceButtons_[size_t((choice - choiceButtons_.begin() + step) % shown)]->setFocus();
    }
    return true;
}
