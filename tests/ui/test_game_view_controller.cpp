// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/app_delegate.h"
#include "modal_driver.h"
#include "private_sound_server.h"
#include "quiz/voice.h"
#include "speech/flite_synthesizer.h"
#include "stdout_capture.h"
#include "test_home.h"
#include "ui/game_view_controller.h"
#include "ui/main_window.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QUrl>
#include <QtTest>

namespace {

// Three pairs loaded from fruit.txt, in a temporary home, with the diagnostics captured.
struct Loaded {
    TestHome home;
    StdoutCapture out;
    AppDelegate delegate;
    Loaded() {
        home.makeListFolder();
        delegate.WORDS_LIST_FOR_GAME =
            QUrl::fromLocalFile(home.listFolder() + u"/fruit.txt"_qs).toString();
        delegate.english_words = {"apple", "take care of", "<b>cat</b>"};
        delegate.japanese_words = {"りんご", "世話をする", "猫"};
        delegate.LINE_INDEX = 3;
    }
};

// The six labels in screen order joined by '|', the lap bar as value/maximum, and "♪" if
// the speak button is enabled.
QString shown(const QWidget* screen) {
    QStringList texts;
    for (const char* name :
         {"Upper_info", "Upper_words", "Lower_words", "Lower_info", "Last_words", "Key_detection"})
        texts << screen->findChild<QLabel*>(QLatin1String(name))->text();
    const auto* bar = screen->findChild<QProgressBar*>();
    const bool speakable = screen->findChild<QPushButton*>(u"Speak_button"_qs)->isEnabled();
    return texts.join(u'|') + QStringLiteral(" %1/%2").arg(bar->value()).arg(bar->maximum()) +
           (speakable ? u" ♪"_qs : QString());
}

// Keys L R D U released; in lower case, pressed and held so that the keyboard repeats it
// (as release and press); S the space bar, B a click on the speak button; any other
// letter is that key clicked. Spaces only group keys.
void send(QWidget* target, const QString& keys) {
    for (const QChar c : keys) {
        const qsizetype arrow = QStringView(u"LURD").indexOf(c.toUpper());
        const Qt::Key key = arrow >= 0  ? Qt::Key(Qt::Key_Left + arrow)
                            : c == u'S' ? Qt::Key_Space
                                        : Qt::Key(c.unicode());
        if (c == u'B')
            QTest::mouseClick(target->window()->findChild<QPushButton*>(u"Speak_button"_qs),
                              Qt::LeftButton);
        else if (arrow < 0 && c != u' ')
            QTest::keyClick(target, key);
        else if (c.isUpper())
            QTest::keyRelease(target, key);
        else if (arrow >= 0)
            for (int i = 0; i < 5; ++i)
                QTest::simulateEvent(target, i % 2 == 0, key, Qt::NoModifier, {}, i > 0);
    }
}

// A voice that keeps what it is asked to say and never finishes saying it.
struct RecordingVoice : quiz::Voice {
    QStringList said;
    int stops = 0;
    quiz::VoiceProblem problem() const override { return quiz::VoiceProblem::None; }
    void say(const QString& text) override { said << text; }
    void stop() override { ++stops; }
};

using Files = QMap<QString, QByteArray>;

} // namespace

class TestGameViewController : public QObject {
    Q_OBJECT

private slots:
    // No sound server but the speech tests' own: no other test here makes a sound.
    void initTestCase() { qputenv("PULSE_SERVER", "unix:/nonexistent/verbolin-test"); }

    // Keys, speech and the end banner's save of the pairs missed (Alt+M once for each alert
    // expected): what the screen shows, what the voice is asked to say, the title and text of
    // each box, and the files added to those the home held before.
    void keys_data() {
        // J: Japanese asked; A: speak automatically; a widget's name: the keys go to it
        QTest::addColumn<QString>("options");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QStringList>("said");
        QTest::addColumn<QStringList>("alerts");
        QTest::addColumn<Files>("added");
        QTest::addColumn<Files>("before");
        auto row = [](const char* name, const char* options, const char* keys, const char* shown,
                      const QStringList& said = {}, const QStringList& alerts = {},
                      const Files& added = {}, const Files& before = {}) {
            QTest::newRow(name) << options << keys << QString::fromUtf8(shown) << said << alerts
                                << added << before;
        };
        row("acts at release, once", "", "D r JKX", "|apple|りんご|↓|1/3| 0/3 ♪");
        row("on Back_button", "Back_button", "DR D", "|take care of|世話をする|↓|2/3| 1/3 ♪");
        row("keys outside ignored", "outside", "D S", "|apple||↓|1/3| 0/3 ♪");
        row("space on the button", "Speak_button", "S", "|apple||↓|1/3| 0/3 ♪", {"apple"});
        row("automatic", "A", "DD R DL DR", "↑|\n2周目|スタート||66%正解| 0/1",
            {"apple", "take care of", "<b>cat</b>"});
        row("automatic, Japanese; space, button", "JA", "D DU D S B", "|りんご|apple|↓|1/3| 0/3 ♪",
            QStringList(4, u"apple"_qs));
        const QByteArray pair = "apple$りんご\n";
        const QString review = u"words_lists/fruit_復習.txt"_qs, count = u"count.txt"_qs;
        const char *end = "|\n学習|終了||| 1/1", *missOne = "DL DR DR U DR";
        row("end banner, nothing missed", "", "DR DR DR", end);
        row("the review name taken", "", missOne, end, {},
            {u"保存完了|単語リストの読み込みが完了しましたが、同じファイル名の単語リストが"
             u"存在したため、Words_list_1.txtとして読み込まれました。"_qs},
            {{u"words_lists/Words_list_1.txt"_qs, pair}, {count, "1"}}, {{review, "old$古い\n"}});
        row("a counter that is no number", "", missOne, end, {},
            {u"ERROR!|count.txtの内容が数値ではないため、単語リストを保存できませんでした。"_qs},
            {}, {{count, "abc"}});
        row("saved once, not twice", "", missOne, end, {},
            {u"保存完了|間違えた1単語を「fruit_復習.txt」として保存しました。"_qs},
            {{review, pair}, {count, "1"}});
    }
    void keys() {
        QFETCH(QString, options);
        QFETCH(QStringList, alerts);
        QFETCH(Files, added);
        QFETCH(Files, before);
        Loaded loaded;
        for (auto it = before.begin(); it != before.end(); ++it)
            loaded.home.writeFile(it.key(), it.value());
        Files expected = loaded.home.snapshot();
        expected.insert(added);
        loaded.delegate.PLAYING_TYPE = options.startsWith(u'J');
        loaded.delegate.SPEAK_AUTOMATICALLY = options.endsWith(u'A');
        RecordingVoice voice;
        auto window = std::make_unique<QWidget>();
        (new QLineEdit(window.get()))->setObjectName(QStringLiteral("outside"));
        auto* screen = new GameViewController(loaded.delegate, window.get());
        screen->setVoice(&voice);
        window->show();
        QFETCH(QString, keys);
        send(options.size() < 3 ? screen : window->findChild<QWidget*>(options), keys);
        QTEST(shown(screen), "expected");
        QTEST(voice.said, "said");
        QStringList boxes;
        for (qsizetype i = 0; i < alerts.size(); ++i) {
            window->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(window.get()));
            ShownAlert box;
            ModalDriver driver({answerAlert(&box)});
            QTest::keyClick(window.get(), Qt::Key_M, Qt::AltModifier);
            QTRY_VERIFY(driver.done()); // a mnemonic clicks a moment later
            boxes << box.text + u'|' + box.informativeText;
        }
        QCOMPARE(boxes, alerts);
        // Only a failed save can be tried again.
        QCOMPARE(screen->findChild<QPushButton*>(u"Save_missed_button"_qs)->isEnabled(),
                 !alerts.isEmpty() && alerts.last().startsWith(u"ERROR!"));
        QCOMPARE(loaded.home.snapshot(), expected);
        window.reset();
        QVERIFY(voice.stops > 0); // leaving the screen silences it
    }

    // Typing: the focus in the field, an input method's Enter commits without checking, the next
    // Enter checks, and only then is the English word said; Enter goes on. Choosing: the focus on
    // the first choice, a number key picks, the chosen and the right choices are marked, the focus
    // on the chosen one, where Enter goes on.
    void answering() {
        Loaded loaded;
        loaded.delegate.SPEAK_AUTOMATICALLY = true;
        RecordingVoice voice;
        for (const qint64 mode : {1, 2}) {
            loaded.delegate.ANSWER_MODE = mode;
            GameViewController screen(loaded.delegate);
            screen.setVoice(&voice);
            screen.show();
            QVERIFY(QTest::qWaitForWindowActive(&screen));
            const auto text = [&](const QString& name) {
                return screen.findChild<QWidget*>(name)->property("text").toString().remove(
                    QRegularExpression(u"&\\d "_qs));
            };
            QWidget* focus = QApplication::focusWidget();
            QCOMPARE(focus->objectName(), mode == 1 ? u"Answer_field"_qs : u"Choice_1"_qs);
            QCOMPARE(voice.said.size(), 2 * (mode - 1)); // choosing, English is asked
            QTest::keyClicks(focus, mode == 1 ? u"app"_qs : QString());
            for (const auto& [preedit, commit] :
                 {std::pair{u"る"_qs, QString()}, {{}, u"ｌｅ"_qs}}) {
                QInputMethodQueryEvent query(Qt::ImEnabled); // as an input method asks first
                QInputMethodEvent composing(preedit, {});
                composing.setCommitString(commit);
                if (mode == 1 && QApplication::sendEvent(focus, &query) &&
                    query.value(Qt::ImEnabled).toBool() &&
                    QApplication::sendEvent(focus, &composing))
                    QTest::keyClick(focus, Qt::Key_Return);
            }
            for (int i = 1; mode == 2 && i <= 3; ++i)
                if (text(u"Choice_%1"_qs.arg(i)).endsWith(u"猫"))
                    QTest::keyClick(focus, Qt::Key(Qt::Key_0 + i));
            QStringList choices; // in text order; a hidden one has no text
            for (int i = 1; i <= 4; ++i)
                choices << text(u"Choice_%1"_qs.arg(i));
            choices.sort();
            focus = QApplication::focusWidget();
            QCOMPARE((QStringList{text(u"Answer_result"_qs), text(focus->objectName()),
                                  choices.join(u','), voice.said.join(u',')}),
                     (mode == 1 ? QStringList{"正解", "appｌｅ", ",,,", "apple"}
                                : QStringList{"不正解: 猫", "× 猫", ",× 猫,○ りんご,世話をする",
                                              "apple,apple"}));
            QTest::keyClick(focus, Qt::Key_Return);
            QCOMPARE(text(u"Upper_words"_qs) + text(u"Answer_field"_qs),
                     mode == 1 ? u"世話をする"_qs : u"take care of"_qs);
        }
    }

    // Every English word of the example lists, each the first word said after launch, is
    // heard whole from the null sink's monitor, beginning within 0.4 s of the space bar:
    // as long above the listener's threshold as the voice's own samples are (at least 90 %
    // of it, for the resampling on the way), and never less than 0.15 s.
    void everyWordIsHeard_data() {
        QTest::addColumn<QString>("word");
        QStringList words;
        for (const QFileInfo& file : QDir(VERBOLIN_EXAMPLES).entryInfoList({"*.txt"})) {
            QFile list(file.filePath());
            QVERIFY(list.open(QIODevice::ReadOnly));
            for (const QString& half :
                 QString::fromUtf8(list.readAll()).split(QRegularExpression(u"[,;@\n]"_qs)))
                if (!half.isEmpty() && half.front().unicode() < 0x80 && !words.contains(half))
                    words << half;
        }
        QVERIFY(words.size() > 30);
        for (const QString& word : words)
            QTest::newRow(qPrintable(word)) << word;
    }
    void everyWordIsHeard() {
        QFETCH(QString, word);
        if (!soundServer()) {
            QVERIFY2(!qEnvironmentVariableIsSet("VERBOLIN_REQUIRE_SOUND"), "no PulseAudio server");
            QSKIP("cannot start a private PulseAudio server (pulseaudio)");
        }
        Loaded loaded;
        loaded.delegate.english_words = {word};
        loaded.delegate.LINE_INDEX = 1;
        auto window = std::make_unique<MainWindow>(loaded.delegate);
        window->showQuiz();
        QTest::qWait(300); // a learner sees the word before pressing
        const qint64 key = sound_->now();
        QTest::keyClick(window->currentScreen(), Qt::Key_Space);
        const PrivateSoundServer::Heard heard = sound_->heardSince(key, 5);
        window.reset(); // the voice goes before the application object, cleanly
        const double spoken = PrivateSoundServer::loudSeconds(speech::FliteSynthesizer().say(word));
        QVERIFY2(
            heard.loud >= std::max(0.15, 0.9 * spoken) && heard.onset >= 0 && heard.onset <= 0.4,
            qPrintable(
                u"heard %1 s of %2 s, from %3 s"_qs.arg(heard.loud).arg(spoken).arg(heard.onset)));
    }

    // The learner is told of a word that cannot be said. The quiz follows the sound server
    // going and coming back: while it is gone the speak button is disabled, and the reason is
    // its description and is shown on the screen.
    void followsTheSoundServer() {
        if (!soundServer()) {
            QVERIFY2(!qEnvironmentVariableIsSet("VERBOLIN_REQUIRE_SOUND"), "no PulseAudio server");
            QSKIP("cannot start a private PulseAudio server (pulseaudio)");
        }
        Loaded loaded;
        loaded.delegate.english_words[0] = u"..."_qs;
        MainWindow window(loaded.delegate);
        window.showQuiz();
        auto* speak = window.findChild<QPushButton*>(u"Speak_button"_qs);
        auto* status = window.findChild<QLabel*>(u"Speech_status"_qs);
        QVERIFY(speak->isEnabled() && status->isHidden());
        QTest::keyClick(window.currentScreen(), Qt::Key_Space);
        QTRY_COMPARE(status->text(), u"「...」を発音できませんでした。"_qs);
        QVERIFY(!status->isHidden());
        sound_->stop();
        QTRY_VERIFY_WITH_TIMEOUT(!speak->isEnabled(), 5000);
        QVERIFY(!status->isHidden() && status->text().contains(u"pulseaudio"));
        QCOMPARE(speak->accessibleDescription(), status->text());
        QVERIFY(sound_->start());
        QTRY_VERIFY_WITH_TIMEOUT(speak->isEnabled() && status->isHidden(), 5000);
        send(window.currentScreen(), u"DR"_qs);
        const qint64 key = sound_->now();
        QTest::keyClick(window.currentScreen(), Qt::Key_Space);
        QVERIFY(sound_->heardSince(key, 5).loud >= 0.3);
    }

private:
    // The private sound server the speech tests share, started by the first; false when
    // none can be started.
    bool soundServer() {
        if (!sound_) {
            sound_ = std::make_unique<PrivateSoundServer>();
            sound_->start();
        }
        return sound_->isRunning();
    }

    std::unique_ptr<PrivateSoundServer> sound_;
};

// Run with -o /dev/stderr,txt (ctest does): the captures of standard output would
// otherwise swallow a failure message.
QTEST_MAIN(TestGameViewController)
#include "test_game_view_controller.moc"
