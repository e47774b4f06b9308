// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/app_delegate.h"
#include "quiz/quiz_engine.h"
#include "stdout_capture.h"

#include <QtTest>
#include <random>

namespace {

const QString endBanner = QStringLiteral("|\n学習|終了|||");
QString lap(int number, const char* result) {
    return u"↑|\n%1周目|スタート||%2|"_qs.arg(number).arg(QString::fromUtf8(result));
}

QString numbers(const QList<qint64>& values, QStringView separator = {}) {
    QStringList texts;
    for (const qint64 value : values)
        texts.append(QString::number(value));
    return texts.join(separator);
}

} // namespace

class TestQuizEngine : public QObject {
    Q_OBJECT

private slots:
    // A quiz over `pairs` pairs (e0, j0), (e1, j1)..., played by keys: L R D U, 0 and 1 set
    // PLAYING_TYPE (a leading one before the quiz starts), spaces only group them; a leading t
    // types the English word, c chooses (ANSWER_MODE 1, 2), y answers right, n wrong ("x" or the
    // choice after the right one), e types spaces, g goes on. expected: the
    // six texts in screen order joined by '|', then count, lap_count, last_problems and
    // own_line_index; where asked, what a screen reader hears after the last key ("said:", and "+"
    // while the grading hint shows), and the lines printed, ANSWER_VALUE and the pairs missed in
    // lap 1 ("out:"), and the answer's result ("result:").
    void keys_data() {
        QTest::addColumn<int>("pairs");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, int pairs, const QString& keys, const QString& screen,
                            const char* after) {
            QTest::newRow(name) << pairs << keys << screen + u' ' + QString::fromUtf8(after);
        };
        row("start", 3, "", "|e0||↓|1/3|", "0 1 3 3 said:e0 out:3 1 2 3|111|");
        row("→ asks the next pair", 3, "DR", "|e1||↓|2/3|", "1 1 3 3 said:e1");
        row("lap 1 closes at 2 of 3", 3, "DR DL DR", lap(2, "66%正解"),
            "0 2 1 3 said:2周目 スタート 66%正解");
        row("↑ starts lap 2 at the missed pair", 3, "DR DL DR U", "|e1||↓|1/1|", "1 2 1 3 said:e1");
        row("finished: keys ignored", 3, "DR DL DR U DR D L R U", endBanner, "0 1 0 0 said:");

        row("pair: ← → ignored", 3, "DR L R", "|e1||↓|2/3|", "1 1 3 3 said:");
        row("pair: ↑ at count 0 shows it again", 3, "DL DR DR U 1 U", "|j0||↓|1/1|", "0 2 1 3");
        row("pair: ↑ at count 1 ignored", 3, "DR 1 U", "|e1||↓|2/3|", "1 1 3 3");
        row("answer: ↑ at count 0 hides it", 3, "D U", "|e0||↓|1/3|", "0 1 3 3 said:e0+");
        row("answer: ← taken after ↑ hid it", 3, "D U L", "|e1||↓|2/3|", "1 1 3 3");
        row("answer: ↑ at count 1 ignored", 3, "DR D U", "|e1|j1|↓|2/3|", "1 1 3 3");
        row("lap start: ↓ ← → ignored", 3, "DR DL DL D L R", lap(2, "33%正解"), "0 2 2 3");
        row("miscount restarts each lap", 3, "DR DL DL U DR DL U DR", endBanner,
            "0 1 0 0 out:3 1 2 3 miscount1 miscount2 miscount1|000|12");

        row("3 of 3: end banner", 3, "DR DR DR", endBanner, "0 1 0 0 said:学習 終了");
        row("lap 4 of one pair", 4, "DL DL DR DR U DL DR U DL", lap(4, "0%正解"), "0 4 1 4");
        const QString ten = QStringLiteral("DR DR DR DL DR DR DR DL DR DR");
        row("10: lap 2 closes", 10, ten + " U DR DL", lap(3, "50%正解"), "0 3 1 10");
        row("10: lap 3 asks pair 7 only", 10, ten + " U DR DL U", "|e7||↓|1/1|", "7 3 1 10");

        row("empty list", 0, "U D L R", endBanner, "0 1 0 0 out:0||");

        row("↓ reveals, PLAYING_TYPE read then", 3, "1 D 0 D", "|j0|j0|↓|1/3|", "0 1 3 3 said:j0+");

        const QString type = u"英語で入力してください"_qs;
        row("typed: wrong, after keys that do nothing", 3, "t D e g n", type + "|j0|e0||1/3|",
            "0 1 3 3 said:不正解 e0 【e】 【0】+ result:不正解: x\n【e】 【0】");
        row("typed: to the end", 3, "t yg ng yg U yg", endBanner,
            "0 1 0 0 out:3 1 2 3 miscount1|000|1");
        row("chosen: right", 3, "c D y", "|e0|j0||1/3|", "0 1 3 3 said:正解+ result:正解");
        row("chosen: to the end", 3, "c yg n R g yg U yg", endBanner,
            "0 1 0 0 out:3 1 2 3 miscount1|000|1");
    }
    void keys() {
        QFETCH(int, pairs);
        QFETCH(QString, keys);
        QFETCH(QString, expected);
        StdoutCapture out;
        AppDelegate delegate;
        for (int i = 0; i < pairs; ++i) {
            delegate.english_words.append(u'e' + QString::number(i));
            delegate.japanese_words.append(u'j' + QString::number(i));
        }
        delegate.LINE_INDEX = pairs;
        // A stale status, as an earlier quiz leaves it: start() must rebuild it.
        delegate.ANSWER_VALUE = {0, 0, 0, 0, 0};
        quiz::QuizEngine engine(delegate);
        delegate.PLAYING_TYPE = keys.startsWith(u'1'); // a leading digit holds from the start
        delegate.ANSWER_MODE = keys.startsWith(u't') ? 1 : keys.startsWith(u'c') ? 2 : 0;
        engine.start();
        for (const QChar c : keys) {
            if (c.isDigit())
                delegate.PLAYING_TYPE = c.digitValue();
            if (u"yne"_qs.contains(c)) {
                engine.choose((engine.rightChoice() + (c == u'n')) %
                              qMax(engine.choices().size(), 1));
                engine.answerTyped(c == u'y'   ? delegate.english_words.value(engine.state().count)
                                   : c == u'n' ? u"x"_qs
                                               : u"  "_qs);
            }
            if (c == u'g')
                engine.goOn();
            if (const qsizetype arrow = u"LRDU"_qs.indexOf(c); arrow >= 0) // ArrowKey's order
                engine.press(quiz::ArrowKey(arrow));
        }
        const quiz::QuizTexts& t = engine.texts();
        const quiz::QuizState& s = engine.state();
        QString actual = QStringList{t.Upper_info, t.Upper_words, t.Lower_words,
                                     t.Lower_info, t.Last_words,  t.Key_detection}
                             .join(u'|') +
                         u' ' +
                         numbers({s.count, s.lap_count, s.last_problems, s.own_line_index}, u" ");
        if (expected.contains(u" said:"))
            actual +=
                u" said:"_qs + engine.announcement() + (engine.gradingHint().isEmpty() ? "" : "+");
        if (expected.contains(u" out:"))
            actual += u" out:"_qs + out.lines().join(u' ') + u'|' + numbers(delegate.ANSWER_VALUE) +
                      u'|' + numbers(engine.missedPairs());
        if (expected.contains(u" result:"))
            actual += u" result:"_qs + t.Answer_result;
        QCOMPARE(actual, expected);
    }

    // Typed English words: the right one, what was typed, whether they count as the same, and
    // the right one spelled out with the letters that differ marked.
    void typedAnswer_data() {
        QTest::addColumn<QString>("right");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("same");
        QTest::addColumn<QString>("spelled");
        for (const auto& [right, typed, same, spelled] :
             {std::tuple{"apple", "ａｐｐｌｅ", true, "a p p l e"},
              {"take care  of", "\u3000take care of ", true, "t a k e ／ c a r e ／ o f"},
              {"Hello!", "hello", true, "H e l l o 【!】"},
              {"Why", "wHY？", true, "W h y"},
              {"apple", "aple", false, "a p 【p】 l e"},
              {"apple", "apples", false, "a p p l e"},
              {"apple", "ap ple", false, "a p p l e"},
              {"apple", "apple..", false, "a p p l e"},
              {"apple", "apple,", false, "a p p l e"},
              {"café", "cafe", false, "c a f 【é】"},
              {"take care", "take-care", false, "t a k e 【／】 c a r e"}})
            QTest::addRow("%s / %s", right, typed)
                << QString::fromUtf8(right) << QString::fromUtf8(typed) << same
                << QString::fromUtf8(spelled);
    }
    void typedAnswer() {
        QFETCH(QString, right);
        QFETCH(QString, typed);
        QTEST(quiz::sameAnswer(typed, right), "same");
        QTEST(quiz::spelledOut(typed, right), "spelled");
    }

    // The choices of a pair, drawn with a seeded generator, over lists of 1, 2, 3, 4 and 1000
    // pairs: the right answer once, distinct texts, as many as the list has up to four, and the
    // right one in every place.
    void choices() {
        std::mt19937_64 seeded(25);
        const quiz::RandomBelow draw = [&](quint64 bound) { return seeded() % bound; };
        QStringList thousand, threeTexts;
        for (int i = 0; i < 1000; ++i) {
            thousand << QString::number(i);
            threeTexts << QString(u"aaaaabbcc"[qMax(0, i - 991)]); // two rare texts, twice each
        }
        const QList<QStringList> lists{
            {"a"},    {"a", "b"}, {"a", "b", "a"}, {"a", "b", "c", "d"}, {"a", "b", "c", "b"},
            thousand, threeTexts};
        for (qsizetype list = 0; list < lists.size(); ++list) {
            const QStringList& answers = lists[list];
            const qsizetype offered = QList{1, 2, 2, 4, 3, 4, 3}[list];
            QList<qsizetype> places(offered);
            for (qsizetype run = 0, right = 0; run < 2000;
                 ++run, right = run * 7 % answers.size()) {
                const QStringList choices = quiz::choicesFor(answers, right, draw);
                QCOMPARE((QList{QSet(choices.begin(), choices.end()).size(), choices.size()}),
                         QList<qsizetype>(2, offered));
                ++places[choices.indexOf(answers[right])];
            }
            QVERIFY2(*std::min_element(places.begin(), places.end()) > 1000 / offered,
                     qPrintable(numbers(places)));
        }
    }
};

// Run with -o /dev/stderr,txt (ctest does): the capture of standard output would otherwise
// swallow a failure message.
QTEST_GUILESS_MAIN(TestQuizEngine)
#include "test_quiz_engine.moc"
