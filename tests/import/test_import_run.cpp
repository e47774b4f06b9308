// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/app_delegate.h"
#include "import/import_run.h"
#include "stdout_capture.h"
#include "test_home.h"

#include <QTest>

namespace {

// Runs an import, collecting the rejections shown.
importer::ImportOutcome run(AppDelegate& state, const std::optional<QString>& text,
                            const QString& name = {}, QStringList* shown = nullptr) {
    return importer::runImport(text, name, state, [&](const QString& message) {
        if (shown)
            shown->append(message);
    });
}

} // namespace

// The import from text to a saved list, on a temporary home folder.
class ImportRunTest : public QObject {
    Q_OBJECT
private slots:
    void savedForm_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("saved");
        QTest::newRow("no final end") << u"a,1\nb,2"_qs << "a$1\nb$2\n"_qba;
        QTest::newRow("final end") << u"a,1\nb,2\n"_qs << "a$1\nb$2\n"_qba;
        QTest::newRow("CR LF") << u"a,1\r\nb,2\r\n"_qs << "a$1\nb$2\n"_qba;
        QTest::newRow("mixed") << u"a,1\r\nb,2\rc,3\u2028d,4\u0085e,5\u2029f,6"_qs
                               << "a$1\nb$2\nc$3\nd$4\ne$5\nf$6\n"_qba;
        QTest::newRow("spaces") << u"apple , りんご "_qs << "apple $ りんご \n"_qba;
        QTest::newRow("empty halves") << u"x,\n,"_qs << "x$\n$\n"_qba;
    }
    void savedForm() {
        QFETCH(QString, text);
        QFETCH(QByteArray, saved);
        TestHome home;
        home.makeListFolder();
        AppDelegate state;
        StdoutCapture out;
        QCOMPARE(run(state, text).number, 1);
        QCOMPARE(home.readFile(u"words_lists/Words_list_1.txt"_qs), saved);
        // First the missing counter is described, then the saved form goes out as it is.
        const QByteArray printed = out.bytes();
        QVERIFY(printed.startsWith("ファイルを読み込めませんでした「"));
        QVERIFY(printed.endsWith("」: No such file or directory\n" + saved + "\n"));
        // Of the words, the shared state keeps only how many there were.
        const qsizetype pairs = saved.count('\n');
        QCOMPARE(state.LINE_INDEX, pairs);
        QCOMPARE(state.english_words, QStringList(pairs, QString()));
        QCOMPARE(state.japanese_words, QStringList(pairs, QString()));
        QVERIFY(state.formal_list.isEmpty());
    }

    // Before: count.txt (null: none), the list folder and one more entry (a folder if it ends
    // in "/"; a file named words_lists takes the folder's place). After: the alert's text, the
    // new list in words_lists (if any) and count.txt (null: unchanged).
    void store_data() {
        QTest::addColumn<QByteArray>("counter");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("alert");
        QTest::addColumn<QString>("saved");
        QTest::addColumn<QByteArray>("count");
        const QString done = u"単語リストの読み込みが完了しました"_qs;
        const auto as = [&](const QString& name) {
            return done + u"。\n単語リスト名は"_qs + name + u"です。"_qs;
        };
        const auto refused = [&](int n) {
            return done + u"が、同じファイル名の単語リストが存在したため、Words_list_"_qs +
                   QString::number(n) + u".txtとして読み込まれました。"_qs;
        };
        const auto unusable = [&](const QString& name) {
            return done + u"。\n単語リスト名「"_qs + name +
                   u"」は使えないため、Words_list_1.txtとして読み込まれました。"_qs;
        };
        const QString notSaved = u"単語リストを保存できませんでした。"_qs;
        const QString list1 = u"Words_list_1.txt"_qs;
        QTest::newRow("first") << QByteArray() << QString() << QString() << as(list1) << list1
                               << "1"_qba;
        QTest::newRow("41") << "41"_qba << QString() << QString() << as(u"Words_list_42.txt"_qs)
                            << u"Words_list_42.txt"_qs << "42"_qba;
        QTest::newRow("number taken")
            << "1"_qba << u"words_lists/Words_list_2.txt"_qs << QString()
            << as(u"Words_list_3.txt"_qs) << u"Words_list_3.txt"_qs << "3"_qba;
        QTest::newRow("named") << QByteArray() << QString() << u"fruit"_qs << as(u"fruit"_qs)
                               << u"fruit.txt"_qs << "1"_qba;
        QTest::newRow("spaces") << QByteArray() << QString() << u"  "_qs << as(u"  "_qs)
                                << u"  .txt"_qs << "1"_qba;
        QTest::newRow("name taken") << "6"_qba << u"words_lists/fruit.txt"_qs << u"fruit"_qs
                                    << refused(7) << u"Words_list_7.txt"_qs << "7"_qba;
        QTest::newRow("../x") << QByteArray() << QString() << u"../x"_qs << unusable(u"../x"_qs)
                              << list1 << "1"_qba;
        QTest::newRow("/tmp/x") << QByteArray() << QString() << u"/tmp/x"_qs
                                << unusable(u"/tmp/x"_qs) << list1 << "1"_qba;
        QTest::newRow("not a number")
            << "abc"_qba << QString() << u"x"_qs
            << u"count.txtの内容が数値ではないため、単語リストを保存できませんでした。"_qs
            << QString() << QByteArray();
        QTest::newRow("at the top")
            << "9223372036854775807"_qba << QString() << u"x"_qs
            << u"単語リストの番号が上限に達したため、保存できませんでした。"_qs << QString()
            << QByteArray();
        QTest::newRow("list folder a file") << QByteArray() << u"words_lists"_qs << u"x"_qs
                                            << notSaved << QString() << QByteArray();
        QTest::newRow("counter a folder")
            << QByteArray() << u"count.txt/"_qs << u"x"_qs << notSaved << list1 << QByteArray();
    }
    void store() {
        QFETCH(QByteArray, counter);
        QFETCH(QString, entry);
        QFETCH(QString, name);
        QFETCH(QString, alert);
        QFETCH(QString, saved);
        QFETCH(QByteArray, count);
        TestHome home;
        if (entry != u"words_lists"_qs)
            home.makeListFolder();
        if (entry.endsWith(u'/'))
            QDir(home.path()).mkdir(entry);
        else if (!entry.isEmpty())
            home.writeFile(entry, "old$古い\n");
        if (!counter.isNull())
            home.writeFile(u"count.txt"_qs, counter);
        QMap<QString, QByteArray> expected = home.snapshot();
        AppDelegate state;
        StdoutCapture out;
        QCOMPARE(importer::outcomeText(run(state, u"new,新しい\n"_qs, name)), alert);
        // Nothing is written but the new list and the counter.
        if (!saved.isEmpty())
            expected.insert(u"words_lists/"_qs + saved, "new$新しい\n");
        if (!count.isNull())
            expected.insert(u"count.txt"_qs, count);
        QCOMPARE(home.snapshot(), expected);
        // What was not saved stays in the shared state.
        QCOMPARE(state.formal_list.isEmpty(), !count.isNull());
        // A failure or a refused name is described last; a clean save ends with its form.
        QCOMPARE(out.bytes().endsWith("\n\n"), alert.contains(u"単語リスト名は"_qs));
    }

    // A prior import succeeded with two lines; then this text (or nothing, when not read).
    void nothingSaved_data() {
        QTest::addColumn<bool>("read");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<qint64>("lineIndex");
        QTest::newRow("nothing read") << false << QString() << QStringList() << 2LL;
        QTest::newRow("empty text") << true << QString() << QStringList() << 0LL;
        QTest::newRow("bad third line")
            << true << u"a,あ\nb,い\nc;う\nd,え\n"_qs
            << QStringList{u"3行目: c;う は正しいフォーマットに基づいて書かれていません。"_qs}
            << 0LL;
        QTest::newRow("empty line")
            << true << u"a,あ\r\n\r\nb,い"_qs
            << QStringList{u"2行目:  は正しいフォーマットに基づいて書かれていません。"_qs} << 0LL;
    }
    void nothingSaved() {
        QFETCH(bool, read);
        QFETCH(QString, text);
        QFETCH(QStringList, shown);
        QFETCH(qint64, lineIndex);
        TestHome home;
        home.makeListFolder();
        AppDelegate state;
        QCOMPARE(run(state, u"x,え\ny,お"_qs).number, 1);
        const QMap<QString, QByteArray> before = home.snapshot();
        StdoutCapture out;
        QStringList seen;
        const importer::ImportOutcome outcome =
            run(state, read ? std::optional(text) : std::nullopt, u"n"_qs, &seen);
        QCOMPARE(seen, shown);
        QCOMPARE(outcome.rejection, shown.value(0));
        QVERIFY(importer::outcomeText(outcome).isEmpty());
        QCOMPARE(home.snapshot(), before);
        QCOMPARE(out.bytes(), QByteArray());
        QCOMPARE(state.LINE_INDEX, lineIndex);
        QCOMPARE(importer::IMPORT_OK, lineIndex != 0);
        // The next import takes the next number.
        QCOMPARE(run(state, u"z,か"_qs).number, 2);
    }

    void millionLines() {
        TestHome home;
        home.makeListFolder();
        const qsizetype count = 1'000'000;
        QString text = u"word,単語\n"_qs.repeated(count - 1) + u"last line"_qs;
        AppDelegate state;
        QStringList shown;
        run(state, text, {}, &shown);
        QCOMPARE(
            shown,
            QStringList{
                u"1000000行目: last line は正しいフォーマットに基づいて書かれていません。"_qs});
        text.chop(9);
        StdoutCapture out;
        QCOMPARE(run(state, text).number, 1);
        QCOMPARE(home.readFile(u"words_lists/Words_list_1.txt"_qs),
                 "word$単語\n"_qba.repeated(count - 1));
    }
};

QTEST_GUILESS_MAIN(ImportRunTest)
#include "test_import_run.moc"
