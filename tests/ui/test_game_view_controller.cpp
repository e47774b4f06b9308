// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/app_delegate.h"
#include "modal_driver.h"
#include "quiz/voice.h"
#include "stdout_capture.h"
#include "test_home.h"
#include "ui/game_view_controller.h"
#include "ui/main_window.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextToSpeech>
#include <QUrl>
#include <QtTest>

#include <cmath>
#include <numeric>

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
    // No sound server but spaceSaysTheWordAloud's own: no other test here makes a sound.
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
        const QStringList apple{"apple"};
        row("acts at release, once", "", "D r JKX", "|apple|りんご|↓|1/3| 0/3 ♪");
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
        const auto saved = [](const char* name) {
            return u"保存完了|間違えた1単語を「"_qs + QString::fromUtf8(name) +
                   u"」として保存しました。"_qs;
        };
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
        row("saved once, not twice", "", missOne, end, {}, {saved("fruit_復習.txt")},
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

    // The space bar on the real quiz screen showing "apple" puts speech into the
    // sound server: the null sink's monitor holds at least 0.3 s clearly above
    // silence.
    void spaceSaysTheWordAloud() {
        // A PulseAudio server of this test's own, with one null sink, in a runtime folder of
        // its own, so that it disturbs no other server and needs no sound card.
        QTemporaryDir runtime;
        QProcess server;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"XDG_RUNTIME_DIR", "HOME"})
            env.insert(name, runtime.path());
        env.insert("PULSE_RUNTIME_PATH", runtime.path() + "/pulse");
        server.setProcessEnvironment(env);
        server.start("pulseaudio", {"--daemonize=no", "--exit-idle-time=-1", "-n",
                                    "--load=module-null-sink sink_name=null",
                                    "--load=module-native-protocol-unix"});
        const QString socket = runtime.path() + "/pulse/native";
        if (!QTest::qWaitFor([&] { return QFile::exists(socket); }, 10000)) {
            QVERIFY2(!qEnvironmentVariableIsSet("VERBOLIN_REQUIRE_SOUND"), "no PulseAudio server");
            QSKIP("cannot start a private PulseAudio server (pulseaudio)");
        }
        // Before anything in this process asks for the sound server; the tools below too.
        qputenv("PULSE_SERVER", "unix:" + QFile::encodeName(socket));
        // Silence keeps the sink running, so that the recording runs with the clock from
        // before the key: the first moments of a recording of an idle sink are lost.
        const QStringList format{"--raw", "--format=s16le", "--rate=16000", "--channels=1"};
        QProcess silence, recorder;
        silence.start("pacat", format + QStringList{"-p", "/dev/zero"});
        recorder.start("parec", format + QStringList{"-d", "null.monitor", "--latency-msec=20"});
        QVERIFY(silence.waitForStarted() && recorder.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(recorder.bytesAvailable() >= 32000, 10000); // 1 s

        Loaded loaded;
        auto window = std::make_unique<MainWindow>(loaded.delegate);
        window->showQuiz();
        auto* engine = window->findChild<QTextToSpeech*>();
        QTest::keyClick(window->currentScreen(), Qt::Key_Space);
        QTRY_COMPARE_WITH_TIMEOUT(engine->state(), QTextToSpeech::Speaking, 20000);
        QTRY_COMPARE_WITH_TIMEOUT(engine->state(), QTextToSpeech::Ready, 20000);
        QTest::qWait(2000); // what the server still holds, and the recorder's latency
        window.reset();     // the engine goes before the application object, cleanly
        recorder.terminate();
        QVERIFY(recorder.waitForFinished(5000));

        // 10 ms windows of 16-bit samples: speech is the windows clearly above silence (a
        // root mean square above 0.02 of full scale).
        const QByteArray bytes = recorder.readAllStandardOutput();
        const auto* samples = reinterpret_cast<const qint16*>(bytes.constData());
        const double quiet = 160 * std::pow(0.02 * 32768, 2);
        int loudWindows = 0;
        for (qsizetype at = 0; at + 160 <= bytes.size() / 2; at += 160)
            loudWindows +=
                std::inner_product(samples + at, samples + at + 160, samples + at, 0.0) > quiet;
        QVERIFY2(loudWindows >= 30, qPrintable(QString::number(loudWindows)));
    }
};

// Run with -o /dev/stderr,txt (ctest does): the captures of standard output would
// otherwise swallow a failure message.
QTEST_MAIN(TestGameViewController)
#include "test_game_view_controller.moc"
