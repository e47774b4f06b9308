// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/app_delegate.h"
#include "modal_driver.h"
#include "quiz/voice.h"
#include "stdout_capture.h"
#include "test_home.h"
#include "ui/game_view_controller.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QUrl>
#include <QtTest>

namespace {

// Three pairs loaded, in a temporary home, with the diagnostics captured.
struct Loaded {
    TestHome home;
    StdoutCapture out;
    AppDelegate delegate;
    Loaded() {
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
        const qsizetype arrow = QStringView(u"LRDU").indexOf(c.toUpper());
        const Qt::Key key = arrow >= 0  ? std::array{Qt::Key_Left, Qt::Key_Right, Qt::Key_Down,
                                                    Qt::Key_Up}[size_t(arrow)]
                            : c == u'S' ? Qt::Key_Space
                                        : Qt::Key(c.unicode());
        if (c == u'B') {
            QTest::mouseClick(target->window()->findChild<QPushButton*>(u"Speak_button"_qs),
                              Qt::LeftButton);
        } else if (arrow < 0 && c != u' ') {
            QTest::keyClick(target, key);
        } else if (c.isUpper()) {
            QTest::keyRelease(target, key);
        } else if (arrow >= 0) {
            QTest::keyPress(target, key);
            for (const bool press : {false, true, false, true})
                QTest::simulateEvent(target, press, key, Qt::NoModifier, {}, true);
        }
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

} // namespace

class TestGameViewController : public QObject {
    Q_OBJECT

private slots:
    // No sound server for this whole program: no test here makes a sound.
    void initTestCase() { qputenv("PULSE_SERVER", "unix:/nonexistent/verbolin-test"); }
    void keys_data();
    void keys();
    void saveMissed_data();
    void saveMissed();
};

using Files = QMap<QString, QByteArray>;

// The end banner's save of the pairs missed: the button, the alerts of each press, and what
// the store holds afterwards beyond what it held.
void TestGameViewController::saveMissed_data() {
    QTest::addColumn<QString>("keys");
    QTest::addColumn<Files>("before");
    QTest::addColumn<QStringList>("alerts"); // one press each
    QTest::addColumn<Files>("added");
    const QString missOne = u"DL DR DR U DR"_qs;
    const auto saved = [](const QString& name) {
        return u"間違えた1単語を「"_qs + name + u"」として保存しました。"_qs;
    };
    const QByteArray apple = "apple$りんご\n";
    const QString review = u"words_lists/fruit_復習.txt"_qs;
    const Files one{{review, apple}, {u"count.txt"_qs, "1"}};
    const auto row = [](const char* name, const QString& keys, const Files& before,
                        const QStringList& alerts, const Files& added) {
        QTest::newRow(name) << keys << before << alerts << added;
    };
    row("nothing missed", u"DR DR DR"_qs, {}, {}, {});
    row("one missed", missOne, {}, {saved(u"fruit_復習.txt"_qs)}, one);
    row("the review name taken", missOne, {{review, "old$古い\n"}}, {saved(u"Words_list_1.txt"_qs)},
        {{u"words_lists/Words_list_1.txt"_qs, apple}, {u"count.txt"_qs, "1"}});
    row("a counter that is no number", missOne, {{u"count.txt"_qs, "abc"}},
        {u"count.txtの内容が数値ではないため、単語リストを保存できませんでした。"_qs}, {});
    row("saved twice", missOne, {}, {saved(u"fruit_復習.txt"_qs), saved(u"Words_list_2.txt"_qs)},
        {{review, apple}, {u"words_lists/Words_list_2.txt"_qs, apple}, {u"count.txt"_qs, "2"}});
}

void TestGameViewController::saveMissed() {
    QFETCH(QString, keys);
    QFETCH(Files, before);
    QFETCH(QStringList, alerts);
    QFETCH(Files, added);
    Loaded loaded;
    loaded.home.makeListFolder();
    for (auto it = before.begin(); it != before.end(); ++it)
        loaded.home.writeFile(it.key(), it.value());
    Files expected = loaded.home.snapshot();
    expected.insert(added);
    loaded.delegate.WORDS_LIST_FOR_GAME =
        QUrl::fromLocalFile(loaded.home.listFolder() + u"/fruit.txt"_qs).toString();
    GameViewController screen(loaded.delegate);
    screen.show();
    auto* button = screen.findChild<QPushButton*>(u"Save_missed_button"_qs);
    QVERIFY(!button->isEnabled());
    send(&screen, keys);
    QCOMPARE(shown(&screen).section(u' ', 0, 0), u"|\n学習|終了|||"_qs);
    QCOMPARE(button->isEnabled(), !alerts.isEmpty());
    for (const QString& alert : alerts) {
        screen.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&screen));
        ShownAlert box;
        ModalDriver driver({answerAlert(&box)});
        QTest::keyClick(&screen, Qt::Key_M, Qt::AltModifier);
        QTRY_VERIFY(driver.done()); // a mnemonic clicks a moment later
        QCOMPARE(box.informativeText, alert);
        QCOMPARE(box.text, alert.contains(u"保存しました"_qs) ? u"保存完了"_qs : u"ERROR!"_qs);
    }
    QCOMPARE(loaded.home.snapshot(), expected);
    // What was saved went out as the import's save prints it.
    QCOMPARE(loaded.out.bytes().contains("apple$りんご\n"), !added.isEmpty());
}

// Keys and speech: what the screen shows and what the voice is asked to say.
void TestGameViewController::keys_data() {
    // J: Japanese asked; A: speak automatically; a widget's name: the keys go to it
    QTest::addColumn<QString>("options");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QStringList>("said");
    auto row = [](const char* name, const char* options, const char* keys, const char* shown,
                  const QStringList& said = {}) {
        QTest::newRow(name) << options << keys << QString::fromUtf8(shown) << said;
    };
    const QStringList apple{"apple"};
    row("held → acts at its release; other keys ignored", "", "D r JKX",
        "|apple|りんご|↓|1/3| 0/3 ♪");
    row("end banner", "", "DR DL DR U DR", "|\n学習|終了||| 1/1");
    row("keys on Back_button", "Back_button", "DR D", "|take care of|世話をする|↓|2/3| 1/3 ♪");
    row("keys outside the screen ignored", "outside", "D S", "|apple||↓|1/3| 0/3 ♪");
    row("space says the word, arrows act", "", "S DR", "|take care of||↓|2/3| 1/3 ♪", apple);
    row("space on the button says it once", "Speak_button", "S", "|apple||↓|1/3| 0/3 ♪", apple);
    row("the button says it", "", "D B", "|apple|りんご|↓|1/3| 0/3 ♪", apple);
    row("Japanese asked: not before ↓", "J", "S B", "|りんご||↓|1/3| 0/3");
    row("Japanese asked: revealed", "J", "D S", "|りんご|apple|↓|1/3| 0/3 ♪", apple);
    row("automatic: each word once", "A", "DD R DL DR", "↑|\n2周目|スタート||66%正解| 0/1",
        {"apple", "take care of", "<b>cat</b>"});
    row("automatic, Japanese asked: at ↓", "JA", "D DU D", "|りんご|apple|↓|1/3| 0/3 ♪",
        {"apple", "apple"});
}

void TestGameViewController::keys() {
    QFETCH(QString, options);
    QFETCH(QString, keys);

    Loaded loaded;
    loaded.delegate.PLAYING_TYPE = options.startsWith(u'J');
    loaded.delegate.SPEAK_AUTOMATICALLY = options.endsWith(u'A');
    RecordingVoice voice;
    auto window = std::make_unique<QWidget>();
    (new QLineEdit(window.get()))->setObjectName(QStringLiteral("outside"));
    auto* screen = new GameViewController(loaded.delegate, window.get());
    screen->setVoice(&voice);
    QWidget* widget = options.size() < 3 ? screen : window->findChild<QWidget*>(options);
    QVERIFY(widget);
    send(widget, keys);
    QTEST(shown(screen), "expected");
    QTEST(voice.said, "said");
    window.reset();
    QVERIFY(voice.stops > 0); // leaving the screen silences it
}

// Run with -o /dev/stderr,txt (ctest does): the captures of standard output would
// otherwise swallow a failure message.
QTEST_MAIN(TestGameViewController)
#include "test_game_view_controller.moc"
