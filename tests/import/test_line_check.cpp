// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/app_delegate.h"
#include "import/import_options.h"
#include "import/line_check.h"

#include <QTest>

// The decision for one line, and what the check does to the shared state.
class LineCheckTest : public QObject {
    Q_OBJECT
private slots:
    // outcome: "english$japanese" for an accepted line, else the message for
    // line 4.
    void decision_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<qint64>("sequenceCode");
        QTest::addColumn<QString>("outcome");
        const QString order = u"4行目: 日本語と英語の順番が正しくありません。"_qs;
        const auto many = [](const QString& line, const QString& separator) {
            return u"4行目: "_qs + line + u" には2つ以上の"_qs + separator +
                   u"が含まれています。"_qs;
        };
        const auto format = [](const QString& line) {
            return u"4行目: "_qs + line + u" は正しいフォーマットに基づいて書かれていません。"_qs;
        };
        const auto dollar = [](const QString& line) {
            return u"4行目: "_qs + line + u" には使用できない文字「$」が含まれています。"_qs;
        };
        // Both orders, first character of 0, 1 or more bytes, 1, 2 or 3 parts.
        QTest::newRow("EJ W1 P2") << u"apple,りんご"_qs << u","_qs << 0LL << u"apple$りんご"_qs;
        QTest::newRow("EJ W1 P3") << u"a,b,c"_qs << u","_qs << 0LL << many(u"a,b,c"_qs, u","_qs);
        QTest::newRow("EJ W1 P1") << u"apple"_qs << u","_qs << 0LL << format(u"apple"_qs);
        QTest::newRow("EJ W2 P2") << u"りんご,apple"_qs << u","_qs << 0LL << order;
        QTest::newRow("EJ W2 P3") << u"りんご,a,b"_qs << u","_qs << 0LL << order;
        QTest::newRow("EJ W2 P1") << u"りんご"_qs << u","_qs << 0LL << order;
        QTest::newRow("EJ W0") << QString() << u","_qs << 0LL
                               << u"4行目:  は正しいフォーマットに基づいて書かれていません。"_qs;
        QTest::newRow("JE W2 P2") << u"りんご;apple"_qs << u";"_qs << 1LL << u"apple$りんご"_qs;
        QTest::newRow("JE W2 P3") << u"りんご;a;b"_qs << u";"_qs << 1LL
                                  << u"4行目: りんご;a;b には2つ以上の;が含まれています。"_qs;
        QTest::newRow("JE W2 P1") << u"りんご"_qs << u";"_qs << 1LL << format(u"りんご"_qs);
        QTest::newRow("JE W1 P2") << u"apple;りんご"_qs << u";"_qs << 1LL << order;
        QTest::newRow("JE W1 P3") << u"a;b;c"_qs << u";"_qs << 1LL << order;
        QTest::newRow("JE W1 P1") << u"apple"_qs << u";"_qs << 1LL << order;
        QTest::newRow("JE W0") << QString() << u";"_qs << 1LL << format(QString());
        // The width is that of the first extended grapheme cluster in UTF-8.
        QTest::newRow("full-width space") << u"　a,り"_qs << u","_qs << 0LL << order;
        QTest::newRow("accented") << u"été,夏"_qs << u","_qs << 0LL << order;
        QTest::newRow("combining mark") << u"e\u0301,夏"_qs << u","_qs << 0LL << order;
        QTest::newRow("CR LF") << u"\r\nx,y"_qs << u","_qs << 1LL << u"y$\r\nx"_qs;
        // Parts are kept as they stand.
        QTest::newRow("empty half") << u"apple,"_qs << u","_qs << 0LL << u"apple$"_qs;
        QTest::newRow("only separators") << u",,,"_qs << u","_qs << 0LL << many(u",,,"_qs, u","_qs);
        QTest::newRow("spaces") << u"a , り"_qs << u","_qs << 0LL << u"a $ り"_qs;
        QTest::newRow("other separator") << u"a,り"_qs << u"@"_qs << 0LL << format(u"a,り"_qs);
        QTest::newRow("@") << u"a@り,ん"_qs << u"@"_qs << 0LL << u"a$り,ん"_qs;
        // A "$" in a half of a line that would be accepted.
        QTest::newRow("$ English") << u"US$,ドル"_qs << u","_qs << 0LL << dollar(u"US$,ドル"_qs);
        QTest::newRow("$ Japanese") << u"ド$;d"_qs << u";"_qs << 1LL << dollar(u"ド$;d"_qs);
        QTest::newRow("$ in 3 parts")
            << u"a$,b,c"_qs << u","_qs << 0LL << many(u"a$,b,c"_qs, u","_qs);
        // The general path, for a separator of more than one character.
        QTest::newRow("two-character separator")
            << u"a::り::"_qs << u"::"_qs << 0LL << many(u"a::り::"_qs, u"::"_qs);
        QTest::newRow("$ wrong order") << u"ド$ル,a"_qs << u","_qs << 0LL << order;
    }
    void decision() {
        QFETCH(QString, line);
        QFETCH(QString, separator);
        QFETCH(qint64, sequenceCode);
        QFETCH(QString, outcome);
        const importer::LineDecision d = importer::decideLine(line, separator, sequenceCode, 4);
        QCOMPARE(d.accepted ? d.english + u'$' + d.japanese : d.message, outcome);

        // The import's own pass must agree, on the saved line and on the message.
        AppDelegate state;
        state.SEQUENCE_CODE = sequenceCode;
        state.LINE_INDEX = 3;
        importer::SEPARATOR = separator;
        QString shown;
        const bool kept =
            importer::checkLineForSave(line, state, [&](const QString& m) { shown = m; });
        QCOMPARE(kept, d.accepted);
        QCOMPARE(kept ? state.formal_list.chopped(1) : shown, outcome);
        QCOMPARE(state.LINE_INDEX, kept ? 4 : 0);
    }

    void rejectionIsShownBeforeTheStateIsDiscarded() {
        importer::resetSeparator();
        AppDelegate state;
        QVERIFY(importer::checkLine(u"a,あ", state, {}));
        QVERIFY(importer::checkLine(u"b,い", state, {}));
        QStringList seen;
        QVERIFY(!importer::checkLine(u"c", state, [&](const QString& message) {
            seen << message << state.formal_list << QString::number(state.LINE_INDEX);
        }));
        QCOMPARE(seen, QStringList({u"3行目: c は正しいフォーマットに基づいて書かれていません。"_qs,
                                    u"a$あ\nb$い\n"_qs, u"2"_qs}));
        QCOMPARE(state.LINE_INDEX, 0);
        QVERIFY(!importer::IMPORT_OK);
        QVERIFY(state.english_words.isEmpty() && state.japanese_words.isEmpty());
        QVERIFY(state.formal_list.isEmpty());
    }
};

QTEST_GUILESS_MAIN(LineCheckTest)
#include "test_line_check.moc"
