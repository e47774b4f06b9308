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

using Files = QMap<QString, QByteArray>;

} // namespace

class TestGameViewController : public QObject {
    Q_OBJECT

private slots:
    // No sound server for this whole program: no test here makes a sound.
    void initTestCase() { qputenv("PULSE_SERVER", "unix:/nonexistent/verbolin-test"); }

    // Keys and speech: what the screen shows and what the voice is asked to say.
    void keys_data() {
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
        row("acts at release, once", "", "D r JKX", "|apple|りんご|↓|1/3| 0/3 ♪");
        row("end banner", "", "DR DL DR U DR", "|\n学習|終了||| 1/1");
        row("on Back_button", "Back_button", "DR D", "|take care of|世話をする|↓|2/3| 1/3 ♪");
        row("keys outside ignored", "outside", "D S", "|apple||↓|1/3| 0/3 ♪");
        row("space says", "", "S DR", "|take care of||↓|2/3| 1/3 ♪", apple);
        row("space on the button", "Speak_button", "S", "|apple||↓|1/3| 0/3 ♪", apple);
        row("the button says", "", "D B", "|apple|りんご|↓|1/3| 0/3 ♪", apple);
        row("Japanese asked", "J", "S B", "|りんご||↓|1/3| 0/3");
        row("Japanese revealed", "J", "D S", "|りんご|apple|↓|1/3| 0/3 ♪", apple);
        row("automatic", "A", "DD R DL DR", "↑|\n2周目|スタート||66%正解| 0/1",
            {"apple", "take care of", "<b>cat</b>"});
        row("automatic, Japanese", "JA", "D DU D", "|りんご|apple|↓|1/3| 0/3 ♪",
            {"apple", "apple"});
    }
    void keys() {
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
        send(options.size() < 3 ? screen : window->findChild<QWidget*>(options), keys);
        QTEST(shown(screen), "expected");
        QTEST(voice.said, "said");
        window.reset();
        QVERIFY(voice.stops > 0); // leaving the screen silences it
    }

    // The end banner's save of the pairs missed (one, or none when no alert is expected): the
    // title and text of the box each Alt+M opens, and what the store holds afterwards beyond
    // what it held.
    void saveMissed_data() {
        QTest::addColumn<Files>("before");
        QTest::addColumn<QStringList>("alerts");
        QTest::addColumn<Files>("added");
        const auto saved = [](const char* name) {
            return u"保存完了|間違えた1単語を「"_qs + QString::fromUtf8(name) +
                   u"」として保存しました。"_qs;
        };
        const QByteArray apple = "apple$りんご\n";
        const QString review = u"words_lists/fruit_復習.txt"_qs, count = u"count.txt"_qs;
        QTest::newRow("nothing missed") << Files{} << QStringList{} << Files{};
        QTest::newRow("one missed") << Files{} << QStringList{saved("fruit_復習.txt")}
                                    << Files{{review, apple}, {count, "1"}};
        QTest::newRow("the review name taken")
            << Files{{review, "old$古い\n"}} << QStringList{saved("Words_list_1.txt")}
            << Files{{u"words_lists/Words_list_1.txt"_qs, apple}, {count, "1"}};
        QTest::newRow("a counter that is no number")
            << Files{{count, "abc"}}
            << QStringList{u"ERROR!|count.txtの内容が数値ではないため、単語リストを保存できませんでした。"_qs}
            << Files{};
        QTest::newRow("saved twice")
            << Files{} << QStringList{saved("fruit_復習.txt"), saved("Words_list_2.txt")}
            << Files{{review, apple}, {u"words_lists/Words_list_2.txt"_qs, apple}, {count, "2"}};
    }
    void saveMissed() {
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
        send(&screen, alerts.isEmpty() ? u"DR DR DR"_qs : u"DL DR DR U DR"_qs);
        QStringList shown;
        for (qsizetype i = 0; i < alerts.size(); ++i) {
            screen.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&screen));
            ShownAlert box;
            ModalDriver driver({answerAlert(&box)});
            QTest::keyClick(&screen, Qt::Key_M, Qt::AltModifier);
            QTRY_VERIFY(driver.done()); // a mnemonic clicks a moment later
            shown << box.text + u'|' + box.informativeText;
        }
        QCOMPARE(shown, alerts);
        QCOMPARE(screen.findChild<QPushButton*>(u"Save_missed_button"_qs)->isEnabled(),
                 !alerts.isEmpty());
        QCOMPARE(loaded.home.snapshot(), expected);
        // What was saved went out as the import's save prints it.
        QCOMPARE(loaded.out.bytes().contains("apple$りんご\n"), !added.isEmpty());
    }
};

// Run with -o /dev/stderr,txt (ctest does): the captures of standard output would
// otherwise swallow a failure message.
QTEST_MAIN(TestGameViewController)
#include "test_game_view_controller.moc"
