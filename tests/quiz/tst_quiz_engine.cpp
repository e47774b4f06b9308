#include "app/app_delegate.h"
#include "quiz/arrow_key.h"
#include "quiz/quiz_engine.h"
#include "stdout_capture.h"

#include <QRandomGenerator>
#include <QSet>
#include <QtTest>

#include <memory>

using quiz::ArrowKey;

namespace {

const QString LF = QStringLiteral("\n");

QString english(qint64 i) {
    return QStringLiteral("word %1").arg(i);
}
QString japanese(qint64 i) {
    return QStringLiteral("単語%1").arg(i);
}

// One quiz over `pairs` pairs, started, with its standard output captured.
struct Quiz {
    StdoutCapture out;
    AppDelegate delegate;
    quiz::QuizEngine engine{delegate};

    explicit Quiz(qint64 pairs, qint64 playingType = 0) {
        for (qint64 i = 0; i < pairs; ++i) {
            delegate.english_words.append(english(i));
            delegate.japanese_words.append(japanese(i));
        }
        delegate.LINE_INDEX = pairs;
        delegate.PLAYING_TYPE = playingType;
        engine.start();
    }

    // Keys written as arrows: "↓→↑".
    void press(const QString& keys) {
        for (const QChar key : keys) {
            switch (key.unicode()) {
            case u'←':
                engine.press(ArrowKey::Left);
                break;
            case u'→':
                engine.press(ArrowKey::Right);
                break;
            case u'↓':
                engine.press(ArrowKey::Down);
                break;
            case u'↑':
                engine.press(ArrowKey::Up);
                break;
            default:
                QFAIL(qPrintable(QStringLiteral("not a key: ") + key));
            }
        }
    }

    const quiz::QuizTexts& texts() const { return engine.texts(); }
    const quiz::QuizState& state() const { return engine.state(); }

    QString phase() const {
        const quiz::QuizState& s = state();
        if (s.all_arrows_lock)
            return QStringLiteral("finished");
        if (s.next_lap_lock)
            return QStringLiteral("lap start");
        return s.down_arrow ? QStringLiteral("answer") : QStringLiteral("pair");
    }

    QList<qint64> answers() const { return delegate.ANSWER_VALUE; }
};

// A lap of n pairs answered as the pattern says ('r' right, 'w' wrong), one ↓ before each.
QString lap(const QString& pattern) {
    QString keys;
    for (const QChar c : pattern)
        keys += c == u'r' ? QStringLiteral("↓→") : QStringLiteral("↓←");
    return keys;
}

// The hint lines belong to the phase.
void checkHints(const Quiz& q, const QString& phase) {
    if (phase == u"pair" || phase == u"answer") {
        QCOMPARE(q.texts().Upper_info, QString());
        QCOMPARE(q.texts().Lower_info, QStringLiteral("↓"));
    } else if (phase == u"lap start") {
        QCOMPARE(q.texts().Upper_info, QStringLiteral("↑"));
        QCOMPARE(q.texts().Lower_info, QString());
    } else {
        QCOMPARE(q.texts().Upper_info, QString());
        QCOMPARE(q.texts().Lower_info, QString());
    }
}

} // namespace

class TestQuizEngine : public QObject {
    Q_OBJECT

private slots:
    void arrowKeys_data();
    void arrowKeys();
    void start_data();
    void start();
    void workedExample_data();
    void workedExample();
    void transitions_data();
    void transitions();
    void lapResults_data();
    void lapResults();
    void laterLapAsksOnlyTheMissedPairs();
    void finishedQuizIgnoresEveryKey_data();
    void finishedQuizIgnoresEveryKey();
    void askedSideFollowsPlayingType();
    void miscountRestartsEachLap();
    void randomKeysKeepTheInvariants();
};

void TestQuizEngine::arrowKeys_data() {
    QTest::addColumn<int>("qtKey");
    QTest::addColumn<int>("arrow"); // -1: not an arrow key
    QTest::newRow("left") << int(Qt::Key_Left) << int(ArrowKey::Left);
    QTest::newRow("right") << int(Qt::Key_Right) << int(ArrowKey::Right);
    QTest::newRow("down") << int(Qt::Key_Down) << int(ArrowKey::Down);
    QTest::newRow("up") << int(Qt::Key_Up) << int(ArrowKey::Up);
    QTest::newRow("space") << int(Qt::Key_Space) << -1;
    QTest::newRow("return") << int(Qt::Key_Return) << -1;
    QTest::newRow("page down") << int(Qt::Key_PageDown) << -1;
    QTest::newRow("letter") << int(Qt::Key_J) << -1;
}

void TestQuizEngine::arrowKeys() {
    QFETCH(int, qtKey);
    QFETCH(int, arrow);
    const std::optional<ArrowKey> key = quiz::arrowKeyFor(qtKey);
    QCOMPARE(key.has_value(), arrow >= 0);
    if (key)
        QCOMPARE(int(*key), arrow);
}

void TestQuizEngine::start_data() {
    QTest::addColumn<int>("pairs");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("upperWords");
    QTest::addColumn<QString>("lowerWords");
    QTest::addColumn<QString>("lastWords");
    QTest::addColumn<QString>("phase");
    QTest::newRow("empty list ends at once")
        << 0 << QStringList{"0"} << LF + QStringLiteral("学習") << QStringLiteral("終了")
        << QString() << QStringLiteral("finished");
    QTest::newRow("one pair") << 1 << QStringList{"1", "1"} << english(0) << QString()
                              << QStringLiteral("1/1") << QStringLiteral("pair");
    QTest::newRow("three pairs") << 3 << QStringList{"3", "1", "2", "3"} << english(0) << QString()
                                 << QStringLiteral("1/3") << QStringLiteral("pair");
    QTest::newRow("ten pairs") << 10 << QStringList{"10", "1", "2", "3", "4", "5",
                                                    "6",  "7", "8", "9", "10"}
                               << english(0) << QString() << QStringLiteral("1/10")
                               << QStringLiteral("pair");
}

void TestQuizEngine::start() {
    QFETCH(int, pairs);
    QFETCH(QStringList, lines);
    QFETCH(QString, upperWords);
    QFETCH(QString, lowerWords);
    QFETCH(QString, lastWords);
    QFETCH(QString, phase);

    Quiz q(pairs);
    // An earlier quiz's status must not carry over.
    QCOMPARE(q.out.lines(), lines);
    QCOMPARE(q.answers(), QList<qint64>(pairs, 1));
    QCOMPARE(q.texts().Upper_words, upperWords);
    QCOMPARE(q.texts().Lower_words, lowerWords);
    QCOMPARE(q.texts().Last_words, lastWords);
    QCOMPARE(q.phase(), phase);
    checkHints(q, phase);
    QCOMPARE(q.state().count, 0);
    QCOMPARE(q.state().lap_count, 1);
    QCOMPARE(q.state().last_problems, pairs);

    // Every key is refused by an empty quiz, and the first pair waits for ↓.
    q.press(QStringLiteral("←→↑"));
    QCOMPARE(q.phase(), phase);
    QCOMPARE(q.texts().Last_words, lastWords);
    QCOMPARE(q.texts().Upper_words, upperWords);
}

void TestQuizEngine::workedExample_data() {
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("upperWords");
    QTest::addColumn<QString>("lowerWords");
    QTest::addColumn<QString>("lastWords");
    QTest::addColumn<QString>("phase");
    QTest::newRow("start") << "" << english(0) << ""
                           << "1/3"
                           << "pair";
    QTest::newRow("↓") << "↓" << english(0) << japanese(0) << "1/3"
                       << "answer";
    QTest::newRow("↓→") << "↓→" << english(1) << ""
                        << "2/3"
                        << "pair";
    QTest::newRow("↓→↓") << "↓→↓" << english(1) << japanese(1) << "2/3"
                         << "answer";
    QTest::newRow("↓→↓←") << "↓→↓←" << english(2) << ""
                          << "3/3"
                          << "pair";
    QTest::newRow("lap 1 ends") << "↓→↓←↓→" << LF + "2周目"
                                << "スタート"
                                << "66%正解"
                                << "lap start";
    QTest::newRow("lap 2 asks pair 1") << "↓→↓←↓→↑" << english(1) << ""
                                       << "1/1"
                                       << "pair";
    QTest::newRow("study ends") << "↓→↓←↓→↑↓→" << LF + "学習"
                                << "終了"
                                << ""
                                << "finished";
}

void TestQuizEngine::workedExample() {
    QFETCH(QString, keys);
    QFETCH(QString, upperWords);
    QFETCH(QString, lowerWords);
    QFETCH(QString, lastWords);
    QFETCH(QString, phase);

    Quiz q(3);
    q.press(keys);
    QCOMPARE(q.texts().Upper_words, upperWords);
    QCOMPARE(q.texts().Lower_words, lowerWords);
    QCOMPARE(q.texts().Last_words, lastWords);
    QCOMPARE(q.phase(), phase);
    checkHints(q, phase);
    QCOMPARE(q.texts().Key_detection, QString());
}

void TestQuizEngine::transitions_data() {
    // Three pairs; `before` leads to the phase of the row, `key` is the key under test.
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("phase");
    QTest::addColumn<qint64>("count");
    QTest::addColumn<QString>("upperWords");
    QTest::addColumn<QString>("lowerWords");
    QTest::addColumn<QString>("lastWords");
    const QString lap2 = LF + "2周目";
    QTest::newRow("pair ↓ reveals") << ""
                                    << "↓"
                                    << "answer" << qint64(0) << english(0) << japanese(0) << "1/3";
    QTest::newRow("pair ← ignored") << "↓→"
                                    << "←"
                                    << "pair" << qint64(1) << english(1) << ""
                                    << "2/3";
    QTest::newRow("pair → ignored") << "↓→"
                                    << "→"
                                    << "pair" << qint64(1) << english(1) << ""
                                    << "2/3";
    QTest::newRow("pair ↑ at count 0 shows it again") << ""
                                                      << "↑"
                                                      << "pair" << qint64(0) << english(0) << ""
                                                      << "1/3";
    QTest::newRow("pair ↑ at count 1 ignored") << "↓→"
                                               << "↑"
                                               << "pair" << qint64(1) << english(1) << ""
                                               << "2/3";
    QTest::newRow("answer ↓ again") << "↓→↓"
                                    << "↓"
                                    << "answer" << qint64(1) << english(1) << japanese(1) << "2/3";
    QTest::newRow("answer ← to next pair") << "↓"
                                           << "←"
                                           << "pair" << qint64(1) << english(1) << ""
                                           << "2/3";
    QTest::newRow("answer ← closes lap") << "↓→↓→↓"
                                         << "←"
                                         << "lap start" << qint64(0) << lap2 << "スタート"
                                         << "66%正解";
    QTest::newRow("answer → to next pair") << "↓"
                                           << "→"
                                           << "pair" << qint64(1) << english(1) << ""
                                           << "2/3";
    QTest::newRow("answer → closes lap with a miss")
        << "↓←↓→↓"
        << "→"
        << "lap start" << qint64(0) << lap2 << "スタート"
        << "66%正解";
    QTest::newRow("answer → ends study") << "↓→↓→↓"
                                         << "→"
                                         << "finished" << qint64(0) << LF + "学習"
                                         << "終了"
                                         << "";
    QTest::newRow("answer ↑ at count 0 hides the answer")
        << "↓"
        << "↑"
        << "answer" << qint64(0) << english(0) << ""
        << "1/3";
    QTest::newRow("answer ↑ at count 0, then ← still taken")
        << "↓↑"
        << "←"
        << "pair" << qint64(1) << english(1) << ""
        << "2/3";
    QTest::newRow("answer ↑ at count 1 ignored")
        << "↓→↓"
        << "↑"
        << "answer" << qint64(1) << english(1) << japanese(1) << "2/3";
    QTest::newRow("lap start ↑ skips to first pending") << "↓→↓←↓←"
                                                        << "↑"
                                                        << "pair" << qint64(1) << english(1) << ""
                                                        << "1/2";
    QTest::newRow("lap start ↓ ignored") << "↓→↓←↓←"
                                         << "↓"
                                         << "lap start" << qint64(0) << lap2 << "スタート"
                                         << "33%正解";
    QTest::newRow("lap start ← ignored") << "↓→↓←↓←"
                                         << "←"
                                         << "lap start" << qint64(0) << lap2 << "スタート"
                                         << "33%正解";
    QTest::newRow("lap start → ignored") << "↓→↓←↓←"
                                         << "→"
                                         << "lap start" << qint64(0) << lap2 << "スタート"
                                         << "33%正解";
}

void TestQuizEngine::transitions() {
    QFETCH(QString, before);
    QFETCH(QString, key);
    QFETCH(QString, phase);
    QFETCH(qint64, count);
    QFETCH(QString, upperWords);
    QFETCH(QString, lowerWords);
    QFETCH(QString, lastWords);

    Quiz q(3);
    q.press(before);
    q.press(key);
    QCOMPARE(q.phase(), phase);
    QCOMPARE(q.state().count, count);
    QCOMPARE(q.texts().Upper_words, upperWords);
    QCOMPARE(q.texts().Lower_words, lowerWords);
    QCOMPARE(q.texts().Last_words, lastWords);
    checkHints(q, phase);
}

void TestQuizEngine::lapResults_data() {
    QTest::addColumn<int>("pairs");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("lastWords");
    QTest::addColumn<qint64>("nextLap"); // 0: the study is over
    QTest::addColumn<qint64>("nextLapPairs");
    QTest::newRow("1 of 3") << 3 << lap("rww") << "33%正解" << qint64(2) << qint64(2);
    QTest::newRow("2 of 3") << 3 << lap("wrr") << "66%正解" << qint64(2) << qint64(1);
    QTest::newRow("0 of 2") << 2 << lap("ww") << "0%正解" << qint64(2) << qint64(2);
    // 100%正解 is written and replaced by the end banner in the same step.
    QTest::newRow("3 of 3") << 3 << lap("rrr") << "" << qint64(0) << qint64(0);
    QTest::newRow("2 of 5, then 1 of 3 in lap 2")
        << 5 << lap("wwwrr") + "↑" + lap("wrw") << "33%正解" << qint64(3) << qint64(2);
    QTest::newRow("lap 3 of one pair") << 4 << lap("wwrr") + "↑" + lap("wr") + "↑" + lap("w")
                                       << "0%正解" << qint64(4) << qint64(1);
}

void TestQuizEngine::lapResults() {
    QFETCH(int, pairs);
    QFETCH(QString, keys);
    QFETCH(QString, lastWords);
    QFETCH(qint64, nextLap);
    QFETCH(qint64, nextLapPairs);

    Quiz q(pairs);
    q.press(keys);
    QCOMPARE(q.texts().Last_words, lastWords);
    QCOMPARE(q.state().last_problems, nextLapPairs);
    if (nextLap == 0) {
        QCOMPARE(q.phase(), QStringLiteral("finished"));
        QCOMPARE(q.state().lap_count, 1);
        QCOMPARE(q.state().own_line_index, 0);
        QCOMPARE(q.texts().Upper_words, LF + "学習");
        return;
    }
    QCOMPARE(q.phase(), QStringLiteral("lap start"));
    QCOMPARE(q.state().lap_count, nextLap);
    QCOMPARE(q.texts().Upper_words, LF + QString::number(nextLap) + "周目");
    QCOMPARE(q.texts().Lower_words, QStringLiteral("スタート"));
    QCOMPARE(std::count(q.answers().cbegin(), q.answers().cend(), 1), nextLapPairs);
    // The result stays until ↑ starts the lap.
    q.press(QStringLiteral("↓←→"));
    QCOMPARE(q.texts().Last_words, lastWords);
    q.press(QStringLiteral("↑"));
    QCOMPARE(q.texts().Last_words, "1/" + QString::number(nextLapPairs));
}

void TestQuizEngine::laterLapAsksOnlyTheMissedPairs() {
    Quiz q(10);
    q.press(lap("rrrwrrrwrr"));
    QCOMPARE(q.phase(), QStringLiteral("lap start"));
    QCOMPARE(q.state().count, 0);
    QVERIFY(!q.state().up_arrow_lock);

    q.press(QStringLiteral("↑"));
    QVERIFY(q.state().up_arrow_lock);
    QCOMPARE(q.state().count, 3);
    QCOMPARE(q.texts().Upper_words, english(3));
    QCOMPARE(q.texts().Last_words, QStringLiteral("1/2"));

    q.press(QStringLiteral("↓→"));
    QCOMPARE(q.state().count, 7);
    QCOMPARE(q.texts().Upper_words, english(7));
    QCOMPARE(q.texts().Last_words, QStringLiteral("2/2"));

    // Past pair 7 the step runs through 8 and 9 to the end and closes lap 2.
    q.press(QStringLiteral("↓←"));
    QCOMPARE(q.phase(), QStringLiteral("lap start"));
    QCOMPARE(q.texts().Last_words, QStringLiteral("50%正解"));
    QCOMPARE(q.texts().Upper_words, LF + "3周目");

    // Pair 3, answered → in lap 2, is not asked in lap 3.
    q.press(QStringLiteral("↑"));
    QCOMPARE(q.state().count, 7);
    QCOMPARE(q.texts().Last_words, QStringLiteral("1/1"));
    q.press(QStringLiteral("↓→"));
    QCOMPARE(q.phase(), QStringLiteral("finished"));
    QCOMPARE(q.answers(), QList<qint64>(10, 0));
}

void TestQuizEngine::finishedQuizIgnoresEveryKey_data() {
    QTest::addColumn<int>("pairs");
    QTest::addColumn<QString>("keys");
    QTest::newRow("one pair answered → at once") << 1 << "↓→";
    QTest::newRow("after two laps") << 2 << lap("wr") + "↑" + lap("r");
    QTest::newRow("empty list") << 0 << "";
}

void TestQuizEngine::finishedQuizIgnoresEveryKey() {
    QFETCH(int, pairs);
    QFETCH(QString, keys);

    Quiz q(pairs);
    q.press(keys);
    QCOMPARE(q.phase(), QStringLiteral("finished"));
    QCOMPARE(q.state().lap_count, 1);
    QCOMPARE(q.state().own_line_index, 0);
    const QList<qint64> answers = q.answers();
    q.press(QStringLiteral("↑↓←→↓↑"));
    QCOMPARE(q.phase(), QStringLiteral("finished"));
    QCOMPARE(q.texts().Upper_words, LF + "学習");
    QCOMPARE(q.texts().Lower_words, QStringLiteral("終了"));
    QCOMPARE(q.texts().Last_words, QString());
    checkHints(q, QStringLiteral("finished"));
    QCOMPARE(q.answers(), answers);
}

void TestQuizEngine::askedSideFollowsPlayingType() {
    Quiz q(3, 1);
    QCOMPARE(q.texts().Upper_words, japanese(0));
    q.press(QStringLiteral("↓"));
    QCOMPARE(q.texts().Lower_words, english(0));

    // The asked side is read at each show and reveal, not fixed at the start.
    q.delegate.PLAYING_TYPE = 0;
    q.press(QStringLiteral("↓"));
    QCOMPARE(q.texts().Lower_words, japanese(0));
    q.press(QStringLiteral("→"));
    QCOMPARE(q.texts().Upper_words, english(1));
    q.delegate.PLAYING_TYPE = 1;
    q.press(QStringLiteral("↓"));
    QCOMPARE(q.texts().Lower_words, english(1));
}

void TestQuizEngine::miscountRestartsEachLap() {
    Quiz q(3);
    q.press(lap("wwr") + "↑" + lap("wr") + "↑" + lap("r"));
    QCOMPARE(q.phase(), QStringLiteral("finished"));
    QCOMPARE(q.out.lines(),
             (QStringList{"3", "1", "2", "3", "miscount1", "miscount2", "miscount1"}));
}

void TestQuizEngine::randomKeysKeepTheInvariants() {
    constexpr qint64 pairs = 1000;
    Quiz q(pairs);
    QRandomGenerator random(20261206);
    const ArrowKey keys[] = {ArrowKey::Left, ArrowKey::Right, ArrowKey::Down, ArrowKey::Up};

    QSet<qint64> answeredRight;
    qint64 missesInLap = 0;
    qint64 lap = 1;
    qint64 lastCount = 0;
    int presses = 0;
    while (!q.state().all_arrows_lock) {
        QVERIFY2(++presses < 200000, "the study should end");
        const quiz::QuizState before = q.state();
        const ArrowKey key = keys[random.bounded(4)];
        q.engine.press(key);
        const quiz::QuizState& s = q.state();
        const quiz::QuizTexts& t = q.texts();

        // An answer is taken exactly when the answer was open.
        if (before.down_arrow && key == ArrowKey::Left)
            ++missesInLap;
        if (before.down_arrow && key == ArrowKey::Right)
            answeredRight.insert(before.count);
        if (before.down_arrow && (key == ArrowKey::Left || key == ArrowKey::Right))
            QVERIFY(!s.down_arrow);
        if (s.all_arrows_lock)
            break;

        QVERIFY(s.count >= 0 && s.count <= s.own_line_index);
        QCOMPARE(s.own_line_index, pairs);
        QCOMPARE(q.delegate.ANSWER_VALUE.size(), pairs);
        QVERIFY(s.correct_count + s.mistakes_count <= s.last_problems);

        if (s.next_lap_lock) {
            QCOMPARE(s.count, 0);
            QVERIFY(!s.down_arrow);
            if (!before.next_lap_lock) {
                // A lap has just closed: the next one asks exactly its misses.
                ++lap;
                QCOMPARE(s.lap_count, lap);
                QCOMPARE(s.last_problems, missesInLap);
                qint64 pending = 0;
                for (qint64 i = 0; i < pairs; ++i) {
                    const qint64 value = q.delegate.ANSWER_VALUE[i];
                    QVERIFY(value == 0 || value == 1);
                    QCOMPARE(value == 0, answeredRight.contains(i));
                    pending += value;
                }
                QCOMPARE(pending, s.last_problems);
                missesInLap = 0;
                lastCount = 0;
            }
            QCOMPARE(t.Upper_words, LF + QString::number(lap) + "周目");
            continue;
        }

        // A pair (or its answer) is on show: a pending pair, never one answered right,
        // and never one behind the previous in this lap.
        QVERIFY(s.count >= lastCount);
        lastCount = s.count;
        QCOMPARE(q.delegate.ANSWER_VALUE[s.count], 1);
        QVERIFY(!answeredRight.contains(s.count));
        QCOMPARE(t.Upper_words, english(s.count));
        QCOMPARE(t.Lower_info, QStringLiteral("↓"));
        QCOMPARE(t.Upper_info, QString());
        QCOMPARE(t.Last_words, QString::number(s.correct_count + s.mistakes_count + 1) + "/" +
                                   QString::number(s.last_problems));
        if (s.down_arrow && !t.Lower_words.isEmpty())
            QCOMPARE(t.Lower_words, japanese(s.count));
        else if (s.down_arrow)
            QCOMPARE(s.count, 0); // ↑ hid pair 0's answer
        else
            QCOMPARE(t.Lower_words, QString());
    }
    QVERIFY(lap > 2);
    QCOMPARE(answeredRight.size(), pairs);
    QCOMPARE(q.delegate.ANSWER_VALUE, QList<qint64>(pairs, 0));
}

// Each quiz captures standard output for its diagnostics, so the test log goes to standard
// error: a failure reported while a capture is on would otherwise be captured with them.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList arguments = app.arguments();
    if (!arguments.contains(QStringLiteral("-o")))
        arguments << QStringLiteral("-o") << QStringLiteral("/dev/stderr,txt");
    TestQuizEngine test;
    return QTest::qExec(&test, arguments);
}
#include "tst_quiz_engine.moc"
