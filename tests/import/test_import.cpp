// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The import: the pass over a text's lines, then the save into a temporary store
// (numbering, counter, naming and refusals) and a failing store (an entry of the wrong kind,
// a full disk as RLIMIT_FSIZE). Afterwards the store holds only whole files, nothing was
// written over, the counter names no list that was not written, and standard output says
// what failed, where and why.
#include "app/app_delegate.h"
#include "import/import_run.h"
#include "import/import_source.h"
#include "setup/list_export.h"
#include "stdout_capture.h"
#include "test_home.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using importer::LineLayout;
using Files = QMap<QString, QByteArray>;
Q_DECLARE_METATYPE(importer::LineLayout)
Q_DECLARE_METATYPE(setup::ExportType)

// An import into the store: the store before it (see the driver) and what changed in it
// afterwards, the typed name, the alert's text, what standard output holds, the text, the
// bytes a file may grow to, and whether standard output is a pipe whose reader has quit.
struct Case {
    Files before, changes;
    QString name, alert;
    QStringList said;
    QByteArray text;
    qint64 limit;
    bool outputGone;
};
Q_DECLARE_METATYPE(Case)

namespace {

// More than the diagnostics' buffer holds.
const QByteArray large = "word,単語\n"_qba.repeated(100'000);
const QString done = u"単語リストの読み込みが完了しました"_qs;

} // namespace

class ImportTest : public QObject {
    Q_OBJECT
private slots:
    // outcome: the saved form when every line is accepted, else the message.
    void pass_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<LineLayout>("layout");
        QTest::addColumn<QString>("outcome");
        const LineLayout ej{',', 0}, je{';', 1}, at{'@', 0}, tab{'\t', 1};
        const QString order = u"2行目: 日本語と英語の順番が正しくありません。"_qs;
        const QString format = u"2行目: %1 は正しいフォーマットに基づいて書かれていません。"_qs;
        const QString many = u"2行目: %1 には2つ以上の,が含まれています。"_qs;
        // Every line after a first accepted one, so that the number counts lines; %1 in the
        // outcome stands for the line.
        const auto row = [&](const char* name, const char* line, LineLayout layout,
                             const QString& outcome) {
            const QByteArray first = layout.sequenceCode == 0 ? "a,あ\n" : "あ,a\n";
            QTest::newRow(name) << (QByteArray(first).replace(',', layout.separator) + line)
                                << layout
                                << QString(outcome).replace(u"%1"_qs, QString::fromUtf8(line));
        };
        row("Japanese first", "りんご;apple", je, u"a$あ\napple$りんご\n"_qs);
        row("@, a comma kept", "b@い,う", at, u"a$あ\nb$い,う\n"_qs);
        row("tab, Japanese first, a comma kept", "い,う\tb", tab, u"a$あ\nb$い,う\n"_qs);
        row("three parts, tab", "い\ta\tb", tab,
            u"2行目: %1 には2つ以上のタブが含まれています。"_qs);
        row("three parts", "a,b,c", ej, many);
        row("three parts, Japanese first", "い;a;b", je,
            u"2行目: %1 には2つ以上の;が含まれています。"_qs);
        row("a $ in three parts", "a$,b,c", ej, many);
        row("one part", "apple", ej, format);
        row("Japanese where English comes first", "りんご,apple", ej, order);
        row("English where Japanese comes first", "apple;りんご", je, order);
        row("a full-width space is not ASCII", "\u3000a,り", ej, order);
        row("an accent is not ASCII", "été,夏", ej, order);
        row("a combining mark joins the first letter", "e\xcc\x81,夏", ej, order);
        row("a $ in a half", "US$,ドル", ej,
            u"2行目: %1 には使用できない文字「$」が含まれています。"_qs);
        row("an empty half", "apple,", ej, u"2行目: %1 には英語か日本語が入っていません。"_qs);
        row("markup and %1 stay text", "<b>%1</b>,x,y", ej, many);
        QTest::newRow("an empty line") << "a,あ\r\n\r\nb,い"_qba << ej << format.arg(QString());
        // English first, the halves as they stand, every line end; the final one starts no line.
        QTest::newRow("every line end") << "a,り\r\n x , \rc,3\u2028d,4\u0085e,5\u2029f,6\n"_qba
                                        << ej << u"a$り\n x $ \nc$3\nd$4\ne$5\nf$6\n"_qs;
        // The sample lists shipped with the program import as they stand.
        for (const QString& name : QDir(QStringLiteral(VERBOLIN_EXAMPLES)).entryList(QDir::Files)) {
            QFile file(QStringLiteral(VERBOLIN_EXAMPLES "/") + name);
            QVERIFY(file.open(QIODevice::ReadOnly));
            const char separator = ",;@"[name.contains(u"semicolon") + 2 * name.contains(u"_at")];
            QTest::newRow(qPrintable(name))
                << file.readAll() << LineLayout{separator, name.startsWith(u'j')} << QString();
        }
    }
    void pass() {
        QFETCH(QByteArray, text);
        QFETCH(LineLayout, layout);
        QFETCH(QString, outcome);
        const importer::CheckedText checked = importer::checkText(text, layout);
        // An empty outcome only asks that no line be rejected.
        const QString saved = outcome.isEmpty() ? QString() : QString::fromUtf8(checked.savedForm);
        QCOMPARE(checked.rejection.value_or(saved), outcome);
    }

    // A spreadsheet's records by the file's name, as Excel and LibreOffice write them; outcome
    // as for pass.
    void records_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<LineLayout>("layout");
        QTest::addColumn<QString>("outcome");
        const LineLayout ej{',', 0}, je{'\t', 1}, semi{';', 0};
        const auto row = [](const char* name, const char* file, const QByteArray& text,
                            LineLayout layout, const char* outcome) {
            QTest::newRow(name) << QString::fromUtf8(file) << text << layout
                                << QString::fromUtf8(outcome);
        };
        row("Excel", "a.csv", "\"take care, please\",気をつける\r\n\"say \"\"hi\"\"\",挨拶する\r\n",
            ej, "take care, please$気をつける\nsay \"hi\"$挨拶する\n");
        row("Excel with ;, a line break in a cell", "A.CSV",
            "\"two\r\nlines\";\"二;行\"\r\n\"a \"\"b\"\"\";c", semi,
            "two lines$二;行\na \"b\"$c\n");
        row("LibreOffice, every cell quoted", "b.Tsv", "\"りんご\"\t\"apple\"\n\"本\"\tbook\n", je,
            "apple$りんご\nbook$本\n");
        row("a quote inside a plain cell stays", "c.csv", "5\" disk,ディスク", ej,
            "5\" disk$ディスク\n");
        row("a .txt keeps its quotes", "c.txt", "\"a\",b", ej, "\"a\"$b\n");
        row("three cells", "d.csv", "a,b\n\"x,\",y,z", ej,
            "2行目: x,,y,z には2つ以上の,が含まれています。");
        row("one cell, an empty line", "d.csv", "a,b\n\n", ej,
            "2行目:  は正しいフォーマットに基づいて書かれていません。");
        row("$ in a cell", "d.csv", "a,\"b$\"", ej,
            "1行目: a,b$ には使用できない文字「$」が含まれています。");
        row("never closed, named by its first line", "e.csv", "\"a\nb\",c\n\"d,e\nf,g\n", ej,
            "3行目: 「\"」で始まるセルが閉じられていません。");
        row("text after the closing quote", "e.csv", "\"a\"b,c", ej,
            "1行目: 「\"」で囲まれたセルの後に文字があります。");
        row("a NUL", "e.csv", "a,b\n\"c\",\"d\0\"\n"_qba, ej,
            "2行目: セルに使用できない文字（NUL）が含まれています。");
    }
    void records() {
        QFETCH(QString, file);
        QFETCH(QByteArray, text);
        QFETCH(LineLayout, layout);
        QFETCH(QString, outcome);
        const importer::CheckedText checked =
            importer::checkSource(text, layout, importer::formatOf(file, text));
        QCOMPARE(checked.rejection.value_or(QString::fromUtf8(checked.savedForm)), outcome);
    }

    // KWordQuiz's and Parley's files: outcome as for pass (empty: every entry read or skipped),
    // and how many entries were skipped for an empty side.
    void kvtml_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("outcome");
        QTest::addColumn<int>("skipped");
        // Version 2 with two identifiers (name, locale) and entries of two texts each.
        const auto v2 = [](const char* first, const char* second, const QByteArray& entries) {
            QByteArray entryXml;
            for (const QByteArray& entry : entries.split('|')) {
                const QList<QByteArray> texts = entry.split('/');
                entryXml += "<entry><translation id=\"0\"><text>" + texts[0] +
                            "</text></translation><translation id=\"1\"><text>" + texts.value(1) +
                            "</text></translation></entry>";
            }
            return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE kvtml PUBLIC "
                   "\"kvtml2.dtd\" \"http://edu.kde.org/kvtml/kvtml2.dtd\">\n<kvtml "
                   "version=\"2.0\"><identifiers><identifier id=\"0\">" +
                   QByteArray(first) + "</identifier><identifier id=\"1\">" + second +
                   "</identifier></identifiers><entries>" + entryXml + "</entries></kvtml>";
        };
        const auto row = [](const char* name, const QByteArray& text, const char* outcome,
                            int skipped = 0) {
            QTest::newRow(name) << text << QString::fromUtf8(outcome) << skipped;
        };
        const char* en = "<name>English</name><locale>English</locale>";
        const char* ja = "<name>Japanese</name><locale>Japanese</locale>";
        row("KWordQuiz, Japanese first", v2(ja, en, "りんご/apple|本/a\nbook"),
            "apple$りんご\na book$本\n");
        row("Parley",
            v2("<locale>ja</locale>", "<name>英語</name><locale>en_US</locale>", "猫/cat|/dog|犬/"),
            "cat$猫\n", 2);
        row("no language named: first and second", v2("<name>A</name>", "<name>B</name>", "x/y"),
            "x$y\n");
        row("only Japanese named", v2("<name>French</name>", "<name>日本語</name>", "été/夏|"),
            "1番目の単語: 日本語と英語の順番が正しくありません。");
        row("a $", v2(en, ja, "a/b|US$/ドル"),
            "2番目の単語: US$,ドル には使用できない文字「$」が含まれています。");
        row("version 1", "<kvtml><e><o l=\"ja\">水</o><t l=\"en\">water</t></e></kvtml>",
            "water$水\n");
        row("another encoding declared, UTF-8 given",
            "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><kvtml><e><o>water</o><t>水</t></e>"
            "</kvtml>",
            "water$水\n");
        row("a conjugation's text is not the word",
            "<kvtml><entries><entry><translation id=\"0\"><text>be</text><conjugation><text>"
            "am</text></conjugation></translation><translation id=\"1\"><text>いる</text>"
            "</translation></entry></entries></kvtml>",
            "be$いる\n");
        row("not XML", "apple,りんご", "kvtmlファイルのXMLが正しくありません（1行目）。");
        row("cut short", v2(en, ja, "a/b").chopped(20),
            "kvtmlファイルが途中で終わっています（3行目）。");
        row("a NUL", "<kvtml>\0</kvtml>"_qba, "kvtmlファイルのXMLが正しくありません（1行目）。");
        row("an entity bomb",
            "<!DOCTYPE kvtml [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;\">]>"
            "<kvtml>&b;</kvtml>",
            "kvtmlファイルに使えない実体宣言（ENTITY）が含まれています。");
        row("an external entity", "<!DOCTYPE kvtml SYSTEM \"x.dtd\"><kvtml>&x;</kvtml>",
            "kvtmlファイルに読み込めない実体参照「&x;」が含まれています。");
        row("100,000 elements deep", "<a>"_qba.repeated(100'000),
            "kvtmlファイルの要素の入れ子が深すぎます（1行目）。");
        row("no entries", "<kvtml version=\"2.0\"/>",
            "kvtmlファイルに単語が1つも含まれていません。");
        row("no entry with both sides", v2(en, ja, "a/|/b"),
            "kvtmlファイルに英語と日本語の両方がそろった単語がありません。", 2);
        // Every file that KWordQuiz ships imports.
        const QDir shipped(u"/usr/share/kwordquiz/examples"_qs);
        QVERIFY(shipped.entryList(QDir::Files).size() >= 4);
        for (const QString& name : shipped.entryList(QDir::Files)) {
            QFile file(shipped.filePath(name));
            QVERIFY(file.open(QIODevice::ReadOnly));
            row(qPrintable(name), file.readAll(), "");
        }
    }
    void kvtml() {
        QFETCH(QByteArray, text);
        QFETCH(QString, outcome);
        QFETCH(int, skipped);
        const importer::CheckedText checked =
            importer::checkSource(text, {',', 1}, importer::formatOf(u"a.KVTML"_qs, text));
        const QString saved = outcome.isEmpty() ? QString() : QString::fromUtf8(checked.savedForm);
        QCOMPARE(checked.rejection.value_or(saved), outcome);
        // A shipped file: every entry is a pair or skipped.
        QCOMPARE(checked.skipped,
                 outcome.isEmpty() ? text.count("<entry ") - checked.lines : skipped);
    }

    // A file read otherwise than line by line says how many pairs it gave, and how many
    // entries it left out.
    void otherFormatsCount() {
        TestHome home;
        home.makeListFolder();
        AppDelegate state;
        StdoutCapture out;
        const importer::ImportOutcome outcome =
            importer::finishImport(importer::checkKvtml("<kvtml><e><o>a</o><t>あ</t></e><e><o>b</o>"
                                                        "</e></kvtml>",
                                                        {}),
                                   {}, state, importer::SourceFormat::Kvtml);
        QCOMPARE(importer::outcomeText(outcome),
                 done + u"。\n単語リスト名はWords_list_1.txtです。\n1単語を読み込みました。"
                        u"（片方が空の単語1個は読み込みませんでした）"_qs);
    }

    // Anki's text export, whatever the file's name and the chosen separator (";", Japanese
    // first); outcome as for pass.
    void anki_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("outcome");
        const auto row = [](const char* name, const QByteArray& text, const char* outcome) {
            QTest::newRow(name) << text << QString::fromUtf8(outcome);
        };
        row("notes with columns",
            "#separator:tab\r\n#html:true\r\n#guid column:1\r\n"
            "#notetype column:2\r\n#deck column:3\r\nx1\tBasic\tDefault\t<b>猫</b>[sound:c.mp3]\t"
            "cat &amp; <i>kitten</i><br>kitty\ttag\r\n",
            "cat & kitten kitty$猫\n");
        row("a separator as itself, no html", "#separator:|\n#html:false\n犬<b>|dog\n",
            "dog$犬<b>\n");
        row("named by the line, headers counted", "#separator:Comma\n本,book\nbook,本\n",
            "3行目: 日本語と英語の順番が正しくありません。");
        row("entities", "#html:true\n&#x732B;&nbsp;&#29483;\t&quot;cat&quot;\n", "\"cat\"$猫 猫\n");
    }
    void anki() {
        QFETCH(QByteArray, text);
        QFETCH(QString, outcome);
        const importer::CheckedText checked =
            importer::checkSource(text, {';', 1}, importer::formatOf(u"notes.csv"_qs, text));
        QCOMPARE(checked.rejection.value_or(QString::fromUtf8(checked.savedForm)), outcome);
    }

    // A list exported to each type imports as the same saved form, byte for byte; the list is
    // long enough to be written in several pieces.
    void roundTrip_data() {
        QTest::addColumn<setup::ExportType>("type");
        QTest::newRow("CSV") << setup::ExportType::Csv;
        QTest::newRow("kvtml") << setup::ExportType::Kvtml;
        QTest::newRow("text") << setup::ExportType::Text;
    }
    void roundTrip() {
        QFETCH(setup::ExportType, type);
        QByteArray saved = "take care, please$気をつける\nsay \"hi\"$挨拶する\n x $<b>&amp;\n";
        for (int i = 0; i < 20000; ++i)
            saved += "word" + QByteArray::number(i) + "$単語\n";
        TestHome home;
        const QString path = home.path() + u'/' + setup::exportFileName(u"fruit.TXT"_qs, type);
        QVERIFY(setup::exportList(QString::fromUtf8(saved), type, path).ok);
        const importer::SourceRead file = importer::readSource(path);
        QCOMPARE(importer::checkSource(file.utf8, {',', 0}, importer::formatOf(path, file.utf8))
                     .savedForm,
                 saved);
    }

    void intoTheStore_data() {
        QTest::addColumn<Case>("c");
        const auto as = [](auto n) { return done + u"。\n単語リスト名は"_qs + n + u"です。"_qs; };
        const auto list = [](auto n) { return u"words_lists/Words_list_%1.txt"_qs.arg(n); };
        const QString notSaved = u"単語リストを保存できませんでした。"_qs;
        const QString overflow = u"単語リストの番号が上限に達したため、保存できませんでした。"_qs;
        const QString counter = u"count.txt"_qs, max = QString::number(LLONG_MAX);
        const QByteArray saved = "new$新しい\n";
        const auto row = [](const char* name, const Files& before, const QString& typed,
                            const QString& alert, const Files& changes, const QStringList& said,
                            const QByteArray& text = "new,新しい\n", qint64 limit = RLIM_INFINITY,
                            bool outputGone = false) {
            QTest::newRow(name) << Case{before, changes, typed, alert,
                                        said,   text,    limit, outputGone};
        };
        // Saved as file, with the counter at n.
        const auto named = [&](const char* name, const Files& before, const QString& typed,
                               const QString& alert, const QString& file, qint64 n) {
            row(name, before, typed, alert, {{file, saved}, {counter, QByteArray::number(n)}}, {});
        };
        const auto numbered = [&](const char* name, const Files& before, qint64 n) {
            named(name, before, {}, as(u"Words_list_%1.txt"_qs.arg(n)), list(n), n);
        };
        const QString refusal = u"」は使えないため、Words_list_1.txtとして読み込まれました。"_qs;
        const auto refused = [&](const char* name, const Files& before, const QString& typed) {
            named(name, before, typed, done + u"。\n単語リスト名「"_qs + typed + refusal, list(1),
                  1);
        };
        row("the first list", {}, {}, as(u"Words_list_1.txt"_qs),
            {{list(1), saved}, {counter, "1"}},
            {u"count.txt」: "_qs + qt_error_string(ENOENT), QString::fromUtf8(saved)});
        numbered("a counter with a byte-order mark", {{counter, "\uFEFF5\n"}}, 6);
        numbered("a number taken", {{counter, "1"}, {list(2), "x$y\n"}}, 3);
        // Read, the pipe would wait for a writer that never comes.
        numbered("the counter is a named pipe", {{counter, "|"}}, 1);
        named("a .txt ending is not doubled", {}, u"fruit.TXT"_qs, as(u"fruit.TXT"_qs),
              u"words_lists/fruit.txt"_qs, 1);
        named("an existing subfolder", {{u"words_lists/sub/"_qs, {}}}, u"sub/x"_qs, as(u"sub/x"_qs),
              u"words_lists/sub/x.txt"_qs, 1);
        named(
            "a name taken", {{counter, "6"}, {u"words_lists/fruit.txt"_qs, "x$y\n"}}, u"fruit"_qs,
            done +
                u"が、同じファイル名の単語リストが存在したため、Words_list_7.txtとして読み込まれました。"_qs,
            list(7), 7);
        refused("leaves through a link",
                {{u"outside/"_qs, {}}, {u"words_lists/in"_qs, "-> ../outside"}}, u"in/x"_qs);
        refused("a folder missing", {}, u"10/5小テスト"_qs);
        refused("a NUL would cut the name short", {}, QString(u"x.sh\u0000"_qs));
        row("a counter that is no number", {{counter, "abc"}}, u"x"_qs,
            u"count.txtの内容が数値ではないため、単語リストを保存できませんでした。"_qs, {},
            {counter});
        row("a counter at the top", {{counter, max.toUtf8()}}, {}, overflow, {}, {counter});
        row("the largest number taken",
            {{counter, QByteArray::number(LLONG_MAX - 1)}, {list(max), "x$y\n"}}, {}, overflow, {},
            {QString::fromUtf8(saved)});
        row("the list folder is a file", {{u"words_lists"_qs, "x"}, {counter, "4"}}, {}, notSaved,
            {}, {list(5), qt_error_string(ENOTDIR)});
        row("the counter is a folder", {{u"count.txt/inside"_qs, "kept"}}, {}, notSaved,
            {{list(1), saved}}, {counter, qt_error_string(EISDIR)});
        row("the disk full at once", {{counter, "1"}}, u"x"_qs, notSaved, {}, {}, large, 0);
        row("the disk full at the list's end", {{counter, "1"}}, u"x"_qs, notSaved, {}, {}, large,
            large.size() - 1);
        // The list fits, the 19-digit counter does not.
        row("the disk full during the counter", {{counter, "999999999999999999"}}, {}, notSaved,
            {{list(1000000000000000000), saved}}, {}, "new,新しい\n", 16);
        // More than the diagnostics' buffer goes out before the list is written: lost, unlike
        // the list.
        row("standard output gone", {}, u"big"_qs, as(u"big"_qs),
            {{u"words_lists/big.txt"_qs, QByteArray(large).replace(',', '$')}, {counter, "1"}}, {},
            large, RLIM_INFINITY, true);
        // A rejected line ends the import: nothing is saved or printed.
        row("a rejected line", {}, u"x"_qs,
            u"2行目: b;い は正しいフォーマットに基づいて書かれていません。"_qs, {}, {},
            "a,あ\nb;い\n");
        row("no line", {}, u"x"_qs, QString(), {}, {}, "");
    }
    void intoTheStore() {
        QFETCH(const Case, c);
        // The store before: the list folder unless an entry takes its place; a path ending in
        // "/" is a folder, "-> target" a link, "|" a named pipe, anything else a file.
        TestHome home;
        if (!c.before.contains(u"words_lists"_qs))
            home.makeListFolder();
        for (auto it = c.before.begin(); it != c.before.end(); ++it) {
            const QString path = home.path() + u'/' + it.key();
            QDir().mkpath(it.key().endsWith(u'/') ? path : QFileInfo(path).path());
            if (it.value().startsWith("-> "))
                QFile::link(QString::fromUtf8(it.value().sliced(3)), path);
            else if (it.value() == "|")
                ::mkfifo(QFile::encodeName(path).constData(), 0600);
            else if (!it.key().endsWith(u'/'))
                home.writeFile(it.key(), it.value());
        }
        Files expected = home.snapshot();
        expected.insert(c.changes);

        AppDelegate state;
        StdoutCapture out;
        int fds[2];
        if (c.outputGone && ::pipe(fds) == 0) {
            ::close(fds[0]);
            ::dup2(fds[1], STDOUT_FILENO);
            ::close(fds[1]);
        }
        // Files grow to limit bytes at most (a write past it fails with EFBIG, as the store
        // ignores SIGXFSZ), and SIGALRM ends a read that would wait forever.
        rlimit old{};
        ::getrlimit(RLIMIT_FSIZE, &old);
        const rlimit limited{rlim_t(c.limit), old.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limited);
        ::alarm(20);
        const QString shown = importer::outcomeText(
            importer::finishImport(importer::checkText(c.text, {}), c.name, state));
        ::alarm(0);
        ::setrlimit(RLIMIT_FSIZE, &old);
        const QString printed = QString::fromUtf8(out.bytes());
        QCOMPARE(shown, c.alert);
        QCOMPARE(home.snapshot(), expected);
        for (const QString& part : c.said)
            QVERIFY2(printed.contains(part), qPrintable(part + u" not in:\n"_qs + printed));
        // With a full disk the capture of the output is cut short, too.
        if (c.said.isEmpty() && !c.alert.contains(done) && c.limit == qint64(RLIM_INFINITY))
            QCOMPARE(printed, QString());
        // The shared state counts the pairs accepted and keeps the saved form of a list that
        // was not saved.
        const bool rejected = c.alert.contains(u"行目"_qs) || c.alert.isEmpty();
        QCOMPARE(state.LINE_INDEX, rejected ? 0 : c.text.count('\n'));
        QCOMPARE(!state.formal_list.isEmpty(), !rejected && !c.alert.contains(done));
    }
};

QTEST_GUILESS_MAIN(ImportTest)
#include "test_import.moc"
