// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/app_delegate.h"
#include "quiz/quiz_engine.h"
#include "stdout_capture.h"

#include <QtTest>

using quiz::ArrowKey;

namespace {

// One quiz over `pairs` pairs, its standard output captured. ANSWER_VALUE starts with a
// stale status, as an earlier quiz would leave it: start() must rebuild it.
struct Quiz {
    StdoutCapture out;
    AppDelegate delegate;
    quiz::QuizEngine engine{delegate};
    bool started = false;

    explicit Quiz(qint64 pairs) {
        for (qint64 i = 0; i < pairs; ++i) {
            delegate.english_words.append(u'e' + QString::number(i));
            delegate.japanese_words.append(u'j' + QString::number(i));
        }
        delegate.LINE_INDEX = pairs;
        delegate.ANSWER_VALUE = {0, 0, 0, 0, 0};
    }

    // Keys L R D U; 0 and 1 set PLAYING_TYPE; spaces only group them. The quiz starts at
    // the first key, so a leading digit holds from the start.
    void play(const QString& keys) {
        static const QString letters = QStringLiteral("LRDU");
        const ArrowKey arrows[] = {ArrowKey::Left, ArrowKey::Right, ArrowKey::Down, ArrowKey::Up};
        for (const QChar c : keys) {
            if (c == u'0' || c == u'1')
                delegate.PLAYING_TYPE = c.digitValue();
            if (!letters.contains(c))
                continue;
            if (!std::exchange(started, true))
                engine.start();
            engine.press(arrows[letters.indexOf(c)]);
        }
        if (!std::exchange(started, true))
            engine.start();
    }

    // What a row expects: "said:" what a screen reader hears, and "+" if the grading hint is
    // on show; "out:" the lines printed, and ANSWER_VALUE; otherwise the six texts in screen
    // order joined by '|', then count, lap_count, last_problems and own_line_index.
    QString result(const QString& expected) {
        if (expected.startsWith(u"said:"))
            return u"said:"_qs + engine.announcement() +
                   (engine.gradingHint().isEmpty() ? "" : "+");
        if (expected.startsWith(u"out:")) {
            QString answers;
            for (const qint64 value : delegate.ANSWER_VALUE)
                answers += QString::number(value);
            return u"out:"_qs + out.lines().join(u' ') + u'|' + answers;
        }
        const quiz::QuizTexts& t = engine.texts();
        const quiz::QuizState& s = engine.state();
        return QStringList{t.Upper_info, t.Upper_words, t.Lower_words,
                           t.Lower_info, t.Last_words,  t.Key_detection}
                   .join(u'|') +
               u" %1 %2 %3 %4"_qs.arg(s.count)
                   .arg(s.lap_count)
                   .arg(s.last_problems)
                   .arg(s.own_line_index);
    }
};

const QString endBanner = QStringLiteral("|\n学習|終了|||");
QString lapBanner(int lap, const char* result) {
    return QStringLiteral("↑|\n%1周目|スタート||%2|").arg(lap).arg(QString::fromUtf8(result));
}

void row(const char* name, int pairs, const QString& keys, const QString& screen,
         const char* counters = "") {
    QTest::newRow(name) << pairs << keys
                        << (*counters ? screen + u' ' + QString::fromLatin1(counters) : screen);
}

} // namespace

class TestQuizEngine : public QObject {
    Q_OBJECT

private slots:
    void keys_data();
    void keys();
};

void TestQuizEngine::keys_data() {
    QTest::addColumn<int>("pairs");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("expected");

    row("start", 3, "", "|e0||↓|1/3|", "0 1 3 3");
    row("↓ reveals", 3, "D", "|e0|j0|↓|1/3|", "0 1 3 3");
    row("→ asks the next pair", 3, "DR", "|e1||↓|2/3|", "1 1 3 3");
    row("← asks the next pair", 3, "DR DL", "|e2||↓|3/3|", "2 1 3 3");
    row("lap 1 closes at 2 of 3", 3, "DR DL DR", lapBanner(2, "66%正解"), "0 2 1 3");
    row("↑ starts lap 2 at the missed pair", 3, "DR DL DR U", "|e1||↓|1/1|", "1 2 1 3");
    row("the study ends", 3, "DR DL DR U DR", endBanner, "0 1 0 0");
    row("finished: keys ignored", 3, "DR DL DR U DR U D L R", endBanner, "0 1 0 0");

    row("pair: ← → ignored", 3, "DR L R", "|e1||↓|2/3|", "1 1 3 3");
    row("pair: ↑ at count 0 shows it again", 3, "DL DR DR U 1 U", "|j0||↓|1/1|", "0 2 1 3");
    row("pair: ↑ at count 1 ignored", 3, "DR 1 U", "|e1||↓|2/3|", "1 1 3 3");
    row("answer: ↑ at count 0 hides it", 3, "D U", "|e0||↓|1/3|", "0 1 3 3");
    row("answer: ← taken after ↑ hid it", 3, "D U L", "|e1||↓|2/3|", "1 1 3 3");
    row("answer: ↑ at count 1 ignored", 3, "DR D U", "|e1|j1|↓|2/3|", "1 1 3 3");
    row("lap start: ↓ ← → ignored", 3, "DR DL DL D L R", lapBanner(2, "33%正解"), "0 2 2 3");
    row("lap start: ↑ skips answered pairs", 3, "DR DL DL U", "|e1||↓|1/2|", "1 2 2 3");

    row("0 of 2", 2, "DL DL", lapBanner(2, "0%正解"), "0 2 2 2");
    row("3 of 3: end banner", 3, "DR DR DR", endBanner, "0 1 0 0");
    row("lap 4 of one pair", 4, "DL DL DR DR U DL DR U DL", lapBanner(4, "0%正解"), "0 4 1 4");
    const QString ten = QStringLiteral("DR DR DR DL DR DR DR DL DR DR");
    row("10: lap 1 closes", 10, ten, lapBanner(2, "80%正解"), "0 2 2 10");
    row("10: lap 2 asks pair 3", 10, ten + " U", "|e3||↓|1/2|", "3 2 2 10");
    row("10: then pair 7", 10, ten + " U DR", "|e7||↓|2/2|", "7 2 2 10");
    row("10: lap 2 closes", 10, ten + " U DR DL", lapBanner(3, "50%正解"), "0 3 1 10");
    row("10: lap 3 asks pair 7 only", 10, ten + " U DR DL U", "|e7||↓|1/1|", "7 3 1 10");

    row("one pair: start", 1, "", "|e0||↓|1/1|", "0 1 1 1");
    row("one pair: → at once", 1, "DR U D L R", endBanner, "0 1 0 0");
    row("empty list", 0, "U D L R", endBanner, "0 1 0 0");

    row("PLAYING_TYPE 1", 3, "1 D", "|j0|e0|↓|1/3|", "0 1 3 3");
    row("PLAYING_TYPE read at reveal", 3, "1 D 0 D", "|j0|j0|↓|1/3|", "0 1 3 3");
    row("PLAYING_TYPE read at show", 3, "1 D 0 R", "|e1||↓|2/3|", "1 1 3 3");

    // What a screen reader hears after the last key, and the grading hint then on show.
    row("said at start: the asked word", 3, "", "said:e0");
    row("said at ↓: the answer", 3, "D", "said:j0+");
    row("said at →: the next word", 3, "DR", "said:e1");
    row("said at an ignored key: nothing", 3, "DR L", "said:");
    row("said at ↑ hiding the answer", 3, "D U", "said:e0+");
    row("said at lap end: banner and result", 3, "DR DL DR", "said:2周目 スタート 66%正解");
    row("said at ↑: the lap's first word", 3, "DR DL DR U", "said:e1");
    row("said at the end", 3, "DR DR DR", "said:学習 終了");

    // What is printed, and the answer status.
    row("printed: empty list", 0, "", "out:0|");
    row("printed: start", 3, "", "out:3 1 2 3|111");
    row("printed: miscount restarts each lap", 3, "DR DL DL U DR DL U DR",
        "out:3 1 2 3 miscount1 miscount2 miscount1|000");
}

void TestQuizEngine::keys() {
    QFETCH(int, pairs);
    QFETCH(QString, keys);
    QFETCH(QString, expected);
    Quiz q(pairs);
    q.play(keys);
    QCOMPARE(q.result(expected), expected);
}

// Run with -o /dev/stderr,txt (ctest does): the captures of standard output would
// otherwise swallow a failure message.
QTEST_GUILESS_MAIN(TestQuizEngine)
#include "test_quiz_engine.moc"
