#include "app/app_delegate.h"
#include "import/import_options.h"
#include "import/line_check.h"

#include <QTest>

// The decision for one line, and what the check does to the shared state.
class LineCheckTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        importer::resetSeparator();
        importer::IMPORT_OK = false;
    }

    void decision_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<qint64>("sequenceCode");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("japanese");
        QTest::addColumn<QString>("message");

        const QString order = u"4行目: 日本語と英語の順番が正しくありません。"_qs;
        const auto twoOrMore = [](const QString& line, const QString& separator) {
            return u"4行目: "_qs + line + u" には2つ以上の"_qs + separator +
                   u"が含まれています。"_qs;
        };
        const auto format = [](const QString& line) {
            return u"4行目: "_qs + line + u" は正しいフォーマットに基づいて書かれていません。"_qs;
        };
        const QString comma = u","_qs;
        const QString semicolon = u";"_qs;

        // English first.
        QTest::newRow("EJ W1 P2") << u"apple,りんご"_qs << comma << qint64(0) << true << u"apple"_qs
                                  << u"りんご"_qs << QString();
        QTest::newRow("EJ W1 P3") << u"apple,pie,りんご"_qs << comma << qint64(0) << false
                                  << QString() << QString()
                                  << twoOrMore(u"apple,pie,りんご"_qs, comma);
        QTest::newRow("EJ W1 P1") << u"apple"_qs << comma << qint64(0) << false << QString()
                                  << QString() << format(u"apple"_qs);
        QTest::newRow("EJ W2+ P2")
            << u"りんご,apple"_qs << comma << qint64(0) << false << QString() << QString() << order;
        QTest::newRow("EJ W2+ P3")
            << u"りんご,a,b"_qs << comma << qint64(0) << false << QString() << QString() << order;
        QTest::newRow("EJ W2+ P1")
            << u"りんご"_qs << comma << qint64(0) << false << QString() << QString() << order;
        QTest::newRow("EJ W0") << QString() << comma << qint64(0) << false << QString() << QString()
                               << u"4行目:  は正しいフォーマットに基づいて書かれていません。"_qs;
        // Japanese first.
        QTest::newRow("JE W2+ P2") << u"りんご;apple"_qs << semicolon << qint64(1) << true
                                   << u"apple"_qs << u"りんご"_qs << QString();
        QTest::newRow("JE W2+ P3")
            << u"りんご;a;b"_qs << semicolon << qint64(1) << false << QString() << QString()
            << u"4行目: りんご;a;b には2つ以上の;が含まれています。"_qs;
        QTest::newRow("JE W2+ P1") << u"りんご"_qs << semicolon << qint64(1) << false << QString()
                                   << QString() << format(u"りんご"_qs);
        QTest::newRow("JE W1 P2") << u"apple;りんご"_qs << semicolon << qint64(1) << false
                                  << QString() << QString() << order;
        QTest::newRow("JE W1 P3") << u"a;b;c"_qs << semicolon << qint64(1) << false << QString()
                                  << QString() << order;
        QTest::newRow("JE W1 P1") << u"apple"_qs << semicolon << qint64(1) << false << QString()
                                  << QString() << order;
        QTest::newRow("JE W0") << QString() << semicolon << qint64(1) << false << QString()
                               << QString()
                               << u"4行目:  は正しいフォーマットに基づいて書かれていません。"_qs;

        // What counts as beginning with English: the width of the first character only.
        QTest::newRow("space first") << u" apple,りんご"_qs << comma << qint64(0) << true
                                     << u" apple"_qs << u"りんご"_qs << QString();
        QTest::newRow("digit first")
            << u"1st,一番"_qs << comma << qint64(0) << true << u"1st"_qs << u"一番"_qs << QString();
        QTest::newRow("NUL first")
            << u"\0x,y"_qs << comma << qint64(0) << true << u"\0x"_qs << u"y"_qs << QString();
        QTest::newRow("full-width space first") << u"　apple,りんご"_qs << comma << qint64(0)
                                                << false << QString() << QString() << order;
        QTest::newRow("accented letter first")
            << u"été,夏"_qs << comma << qint64(0) << false << QString() << QString() << order;
        QTest::newRow("combining mark after ASCII")
            << u"e\u0301te,夏"_qs << comma << qint64(0) << false << QString() << QString() << order;
        QTest::newRow("CR LF first is one character of two bytes")
            << u"\r\nx,y"_qs << comma << qint64(1) << true << u"y"_qs << u"\r\nx"_qs << QString();
        QTest::newRow("accented letter, Japanese first")
            << u"été,summer"_qs << comma << qint64(1) << true << u"summer"_qs << u"été"_qs
            << QString();
        QTest::newRow("Japanese part first is not looked at")
            << u"a,りんご"_qs << comma << qint64(1) << false << QString() << QString() << order;

        // Parts are kept as they stand.
        QTest::newRow("separator at the end")
            << u"apple,"_qs << comma << qint64(0) << true << u"apple"_qs << QString() << QString();
        QTest::newRow("separator alone")
            << comma << comma << qint64(0) << true << QString() << QString() << QString();
        QTest::newRow("only separators") << u",,,"_qs << comma << qint64(0) << false << QString()
                                         << QString() << twoOrMore(u",,,"_qs, comma);
        QTest::newRow("space after separator") << u"apple, りんご"_qs << comma << qint64(0) << true
                                               << u"apple"_qs << u" りんご"_qs << QString();
        QTest::newRow("other separator chosen")
            << u"apple,りんご"_qs << u"@"_qs << qint64(0) << false << QString() << QString()
            << format(u"apple,りんご"_qs);
        QTest::newRow("at separator") << u"apple@り,ん"_qs << u"@"_qs << qint64(0) << true
                                      << u"apple"_qs << u"り,ん"_qs << QString();

        // Separators of other lengths take the general search.
        QTest::newRow("two-character separator")
            << u"a,b::り$ん"_qs << u"::"_qs << qint64(0) << false << QString() << QString()
            << u"4行目: a,b::り$ん"_qs + u" には使用できない文字「$」が含まれています。"_qs;
        QTest::newRow("two-character separator, accepted")
            << u"a,b::り,ん"_qs << u"::"_qs << qint64(0) << true << u"a,b"_qs << u"り,ん"_qs
            << QString();

        // A "$" in a half of a line that would be accepted.
        const QString dollar = u" には使用できない文字「$」が含まれています。"_qs;
        QTest::newRow("$ in English half")
            << u"US$,ドル"_qs << comma << qint64(0) << false << QString() << QString()
            << u"4行目: US$,ドル"_qs + dollar;
        QTest::newRow("$ in Japanese half")
            << u"ドル$;dollar"_qs << semicolon << qint64(1) << false << QString() << QString()
            << u"4行目: ドル$;dollar"_qs + dollar;
        QTest::newRow("$ in a line with three parts")
            << u"a$,b,c"_qs << comma << qint64(0) << false << QString() << QString()
            << twoOrMore(u"a$,b,c"_qs, comma);
        QTest::newRow("$ in a line in the wrong order")
            << u"ド$ル,a"_qs << comma << qint64(0) << false << QString() << QString() << order;
    }
    void decision() {
        QFETCH(QString, line);
        QFETCH(QString, separator);
        QFETCH(qint64, sequenceCode);
        QFETCH(bool, accepted);
        QFETCH(QString, english);
        QFETCH(QString, japanese);
        QFETCH(QString, message);
        const importer::LineDecision decision =
            importer::decideLine(line, separator, sequenceCode, 4);
        QCOMPARE(decision.accepted, accepted);
        QCOMPARE(decision.english, english);
        QCOMPARE(decision.japanese, japanese);
        QCOMPARE(decision.message, message);

        // The import's pass decides the same and writes the same saved line.
        AppDelegate state;
        state.SEQUENCE_CODE = sequenceCode;
        state.LINE_INDEX = 3;
        importer::SEPARATOR = separator;
        QString shown;
        QCOMPARE(importer::checkLineForSave(line, state, [&](const QString& m) { shown = m; }),
                 accepted);
        QCOMPARE(shown, message);
        QCOMPARE(state.formal_list, accepted ? english + u'$' + japanese + u'\n' : QString());
        QCOMPARE(state.LINE_INDEX, accepted ? 4 : 0);
    }

    void theExampleOfTheMessages() {
        QCOMPARE(importer::decideLine(u"apple,pie,りんご", u",", 0, 3).message,
                 u"3行目: apple,pie,りんご には2つ以上の,が含まれています。"_qs);
    }

    void acceptedLinesBuildTheSavedForm() {
        AppDelegate state;
        state.SEQUENCE_CODE = 1;
        importer::SEPARATOR = u"@"_qs;
        QVERIFY(importer::checkLine(u"りんご@apple", state, {}));
        QVERIFY(importer::checkLine(u"み かん@ orange ", state, {}));
        QVERIFY(importer::IMPORT_OK);
        QCOMPARE(state.LINE_INDEX, 2);
        QCOMPARE(state.english_words, QStringList({u"apple"_qs, u" orange "_qs}));
        QCOMPARE(state.japanese_words, QStringList({u"りんご"_qs, u"み かん"_qs}));
        QCOMPARE(state.formal_list, u"apple$りんご\n orange $み かん\n"_qs);
    }

    void rejectionIsShownBeforeTheStateIsDiscarded() {
        AppDelegate state;
        QVERIFY(importer::checkLine(u"a,あ", state, {}));
        QVERIFY(importer::checkLine(u"b,い", state, {}));
        int shown = 0;
        const bool goOn = importer::checkLine(u"c", state, [&](const QString& message) {
            ++shown;
            QCOMPARE(message, u"3行目: c は正しいフォーマットに基づいて書かれていません。"_qs);
            QCOMPARE(state.LINE_INDEX, 2);
            QCOMPARE(state.english_words.size(), 2);
            QVERIFY(importer::IMPORT_OK);
        });
        QVERIFY(!goOn);
        QCOMPARE(shown, 1);
        QCOMPARE(state.LINE_INDEX, 0);
        QVERIFY(!importer::IMPORT_OK);
        QVERIFY(state.english_words.isEmpty());
        QVERIFY(state.japanese_words.isEmpty());
        QVERIFY(state.formal_list.isEmpty());
    }
};

QTEST_GUILESS_MAIN(LineCheckTest)
#include "line_check_test.moc"
