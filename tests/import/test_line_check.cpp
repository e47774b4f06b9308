// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "import/line_check.h"

#include <QFile>
#include <QTest>

using importer::LineLayout;
Q_DECLARE_METATYPE(importer::LineLayout)

// The pass over a text's lines: the saved form of the lines accepted, or the message naming
// the first one rejected.
class LineCheckTest : public QObject {
    Q_OBJECT
private slots:
    // outcome: the saved form when every line is accepted, else the message.
    void pass_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<LineLayout>("layout");
        QTest::addColumn<QString>("outcome");
        const LineLayout ej{',', 0}, je{';', 1}, at{'@', 0};
        const QString order = u"2行目: 日本語と英語の順番が正しくありません。"_qs;
        const auto format = [](const QString& line) {
            return u"2行目: "_qs + line + u" は正しいフォーマットに基づいて書かれていません。"_qs;
        };
        const auto dollar = [](const QString& line) {
            return u"2行目: "_qs + line + u" には使用できない文字「$」が含まれています。"_qs;
        };
        // Every line after the first "a,あ" (or "あ;a"), so that the number counts lines.
        const auto row = [&](const char* name, const char* line, LineLayout layout,
                             const QString& outcome) {
            const QByteArray first = layout.sequenceCode == 0 ? "a,あ\n" : "あ;a\n";
            QTest::newRow(name) << (QByteArray(first).replace(',', layout.separator) + line)
                                << layout << outcome;
        };
        row("English first", "apple,りんご", ej, u"a$あ\napple$りんご\n"_qs);
        row("Japanese first", "りんご;apple", je, u"a$あ\napple$りんご\n"_qs);
        row("@, a comma kept", "b@い,う", at, u"a$あ\nb$い,う\n"_qs);
        row("halves as they stand", " x , ", ej, u"a$あ\n x $ \n"_qs);
        row("three parts", "a,b,c", ej, u"2行目: a,b,c には2つ以上の,が含まれています。"_qs);
        row("three parts, Japanese first", "い;a;b", je,
            u"2行目: い;a;b には2つ以上の;が含まれています。"_qs);
        row("one part", "apple", ej, format(u"apple"_qs));
        row("another separator", "a;b", ej, format(u"a;b"_qs));
        row("Japanese where English comes first", "りんご,apple", ej, order);
        row("English where Japanese comes first", "apple;りんご", je, order);
        row("a full-width space is not ASCII", "\u3000a,り", ej, order);
        row("an accent is not ASCII", "été,夏", ej, order);
        row("a combining mark joins the first letter", "e\xcc\x81,夏", ej, order);
        row("a $ in a half", "US$,ドル", ej, dollar(u"US$,ドル"_qs));
        row("a $ in three parts", "a$,b,c", ej,
            u"2行目: a$,b,c には2つ以上の,が含まれています。"_qs);
        row("markup and %1 stay text", "<b>%1</b>", ej, format(u"<b>%1</b>"_qs));
        QTest::newRow("an empty line") << "a,あ\r\n\r\nb,い"_qba << ej << format(QString());
        QTest::newRow("every line end") << "a,1\r\nb,2\rc,3\u2028d,4\u0085e,5\u2029f,6"_qba << ej
                                        << u"a$1\nb$2\nc$3\nd$4\ne$5\nf$6\n"_qs;
        QTest::newRow("a final line end starts no line") << "a,1\n"_qba << ej << u"a$1\n"_qs;
        QTest::newRow("no line") << QByteArray() << ej << QString();
        // The sample lists shipped with the program import as they stand.
        for (const auto& [name, separator] :
             {std::pair{"comma", ','}, {"semicolon", ';'}, {"at", '@'}})
            for (const qint64 code : {0, 1}) {
                QFile file(
                    QStringLiteral(VERBOLIN_EXAMPLES "/%1_%2.txt")
                        .arg(code ? u"japanese_first"_qs : u"english"_qs, QLatin1String(name)));
                QVERIFY(file.open(QIODevice::ReadOnly));
                const QByteArray text = file.readAll();
                QTest::addRow("%s", qPrintable(file.fileName()))
                    << text << LineLayout{separator, code} << QString();
            }
    }
    void pass() {
        QFETCH(QByteArray, text);
        QFETCH(LineLayout, layout);
        QFETCH(QString, outcome);
        const importer::CheckedText checked = importer::checkText(text, layout);
        if (checked.rejection)
            QCOMPARE(*checked.rejection, outcome);
        else if (!outcome.isEmpty())
            QCOMPARE(QString::fromUtf8(checked.savedForm), outcome);
        else
            QCOMPARE(checked.lines,
                     text.count('\n') + (text.endsWith('\n') || text.isEmpty() ? 0 : 1));
    }

    void exampleLine() {
        QCOMPARE(importer::exampleLine({'@', 1}), u"例: 日本語@英語"_qs);
        QCOMPARE(importer::exampleLine({';', 0}), u"例: 英語;日本語"_qs);
    }
};

QTEST_GUILESS_MAIN(LineCheckTest)
#include "test_line_check.moc"
