// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The import: the pass over a text's lines, then the save into a temporary store
// (numbering, counter, naming and refusals) and a failing store (an entry of the wrong kind,
// a full disk as RLIMIT_FSIZE). Afterwards the store holds only whole files, nothing was
// written over, the counter names no list that was not written, and standard output says
// what failed, where and why.
#include "app/app_delegate.h"
#include "import/import_run.h"
#include "platform/diagnostics.h"
#include "stdout_capture.h"
#include "test_home.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using importer::LineLayout;
using Files = QMap<QString, QByteArray>;
Q_DECLARE_METATYPE(importer::LineLayout)

namespace {

// Lets files grow to limit bytes at most while it lives (a write past it fails with EFBIG, as
// the store ignores SIGXFSZ), and gives 20 s before SIGALRM ends a read that would wait
// forever.
struct Limits {
    rlimit old{};
    explicit Limits(rlim_t limit) {
        ::getrlimit(RLIMIT_FSIZE, &old);
        const rlimit limited{limit, old.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limited);
        ::alarm(20);
    }
    ~Limits() {
        ::alarm(0);
        ::setrlimit(RLIMIT_FSIZE, &old);
    }
};

// Lays entries out below home: a path ending in "/" is a folder, "-> target" a link, "|" a
// named pipe, anything else a file with those bytes.
void arrange(const TestHome& home, const Files& entries) {
    for (auto it = entries.begin(); it != entries.end(); ++it) {
        const QString path = home.path() + u'/' + it.key();
        QDir().mkpath(it.key().endsWith(u'/') ? path : QFileInfo(path).path());
        if (it.value().startsWith("-> "))
            QFile::link(QString::fromUtf8(it.value().sliced(3)), path);
        else if (it.value() == "|")
            ::mkfifo(QFile::encodeName(path).constData(), 0600);
        else if (!it.key().endsWith(u'/'))
            home.writeFile(it.key(), it.value());
    }
}

QByteArray largeText(int lines) {
    QByteArray text;
    for (int i = 0; i < lines; ++i)
        text += "word" + QByteArray::number(i) + ",単語\n";
    return text;
}

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
        const LineLayout ej{',', 0}, je{';', 1}, at{'@', 0};
        const QString order = u"2行目: 日本語と英語の順番が正しくありません。"_qs;
        const auto format = [](const QString& line) {
            return u"2行目: "_qs + line + u" は正しいフォーマットに基づいて書かれていません。"_qs;
        };
        const auto many = [](const QString& line, QChar separator) {
            return u"2行目: "_qs + line + u" には2つ以上の"_qs + separator +
                   u"が含まれています。"_qs;
        };
        // Every line after a first accepted one, so that the number counts lines.
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
        row("three parts", "a,b,c", ej, many(u"a,b,c"_qs, u','));
        row("three parts, Japanese first", "い;a;b", je, many(u"い;a;b"_qs, u';'));
        row("a $ in three parts", "a$,b,c", ej, many(u"a$,b,c"_qs, u','));
        row("one part", "apple", ej, format(u"apple"_qs));
        row("another separator", "a;b", ej, format(u"a;b"_qs));
        row("Japanese where English comes first", "りんご,apple", ej, order);
        row("English where Japanese comes first", "apple;りんご", je, order);
        row("a full-width space is not ASCII", "\u3000a,り", ej, order);
        row("an accent is not ASCII", "été,夏", ej, order);
        row("a combining mark joins the first letter", "e\xcc\x81,夏", ej, order);
        row("a $ in a half", "US$,ドル", ej,
            u"2行目: US$,ドル には使用できない文字「$」が含まれています。"_qs);
        row("markup and %1 stay text", "<b>%1</b>", ej, format(u"<b>%1</b>"_qs));
        QTest::newRow("an empty line") << "a,あ\r\n\r\nb,い"_qba << ej << format(QString());
        QTest::newRow("every line end") << "a,1\r\nb,2\rc,3\u2028d,4\u0085e,5\u2029f,6"_qba << ej
                                        << u"a$1\nb$2\nc$3\nd$4\ne$5\nf$6\n"_qs;
        QTest::newRow("a final line end starts no line") << "a,1\n"_qba << ej << u"a$1\n"_qs;
        // The sample lists shipped with the program import as they stand.
        for (const char* name :
             {"english_comma", "english_semicolon", "english_at", "japanese_first_comma",
              "japanese_first_semicolon", "japanese_first_at"}) {
            QFile file(QStringLiteral(VERBOLIN_EXAMPLES "/%1.txt").arg(QLatin1String(name)));
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray text = file.readAll();
            const char separator = QByteArrayView(name).endsWith("comma")       ? ','
                                   : QByteArrayView(name).endsWith("semicolon") ? ';'
                                                                                : '@';
            QTest::newRow(name) << text << LineLayout{separator, name[0] == 'j'} << QString();
        }
    }
    void pass() {
        QFETCH(QByteArray, text);
        QFETCH(LineLayout, layout);
        QFETCH(QString, outcome);
        const importer::CheckedText checked = importer::checkText(text, layout);
        if (outcome.isEmpty()) // every line accepted
            QCOMPARE(checked.lines, text.count('\n') + (text.endsWith('\n') ? 0 : 1));
        else
            QCOMPARE(checked.rejection.value_or(QString::fromUtf8(checked.savedForm)), outcome);
    }

    // before: the store (see arrange); HOME set below the test's home to home. After the
    // import: the alert's text, what changed in the store, and what standard output holds.
    void intoTheStore_data() {
        QTest::addColumn<Files>("before");
        QTest::addColumn<QString>("home");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("name");
        QTest::addColumn<qint64>("limit"); // bytes a file may grow to
        QTest::addColumn<QString>("alert");
        QTest::addColumn<Files>("changes");
        QTest::addColumn<QStringList>("said");
        const auto as = [](const QString& name) {
            return done + u"。\n単語リスト名は"_qs + name + u"です。"_qs;
        };
        const QString notSaved = u"単語リストを保存できませんでした。"_qs;
        const QString overflow = u"単語リストの番号が上限に達したため、保存できませんでした。"_qs;
        const QString counter = u"count.txt"_qs, max = QString::number(LLONG_MAX);
        const auto list = [](const QString& n) {
            return u"words_lists/Words_list_"_qs + n + u".txt"_qs;
        };
        const auto error = [](int e) { return QString::fromLocal8Bit(std::strerror(e)); };
        const auto with = [](Files files) { return files.insert(u"words_lists/"_qs, {}), files; };
        const QByteArray text = "new,新しい\n", saved = "new$新しい\n";
        const QString savedText = QString::fromUtf8(saved);
        const auto row = [&](const char* name, const Files& before, const QString& typed,
                             const QString& alert, const Files& changes, const QStringList& said,
                             qint64 limit = RLIM_INFINITY, const QByteArray& text_ = {}) {
            QTest::newRow(name) << before << QString() << (text_.isNull() ? text : text_) << typed
                                << limit << alert << changes << said;
        };
        const auto named = [&](const char* name, const Files& before, const QString& typed,
                               const QString& alert, const QString& file, const QString& count) {
            row(name, before, typed, alert, {{file, saved}, {counter, count.toUtf8()}},
                {savedText});
        };
        const auto refused = [&](const char* name, const Files& before, const QString& typed) {
            named(name, before, typed,
                  done + u"。\n単語リスト名「"_qs + typed +
                      u"」は使えないため、Words_list_1.txtとして読み込まれました。"_qs,
                  list(u"1"_qs), u"1"_qs);
        };
        row("the first list", with({}), {}, as(u"Words_list_1.txt"_qs),
            {{list(u"1"_qs), saved}, {counter, "1"}},
            {u"count.txt」: "_qs + error(ENOENT), savedText});
        named("after list 41", with({{counter, "41"}}), {}, as(u"Words_list_42.txt"_qs),
              list(u"42"_qs), u"42"_qs);
        named("a counter with a byte-order mark",
              with({{counter, "\xEF\xBB\xBF"
                              "5\n"}}),
              {}, as(u"Words_list_6.txt"_qs), list(u"6"_qs), u"6"_qs);
        named("a number taken", with({{counter, "1"}, {list(u"2"_qs), "x$y\n"}}), {},
              as(u"Words_list_3.txt"_qs), list(u"3"_qs), u"3"_qs);
        named("named", with({}), u"fruit"_qs, as(u"fruit"_qs), u"words_lists/fruit.txt"_qs,
              u"1"_qs);
        named("a .txt ending is not doubled", with({}), u"fruit.TXT"_qs, as(u"fruit.TXT"_qs),
              u"words_lists/fruit.txt"_qs, u"1"_qs);
        named("an existing subfolder", with({{u"words_lists/sub/"_qs, {}}}), u"sub/x"_qs,
              as(u"sub/x"_qs), u"words_lists/sub/x.txt"_qs, u"1"_qs);
        named(
            "a name taken", with({{counter, "6"}, {u"words_lists/fruit.txt"_qs, "x$y\n"}}),
            u"fruit"_qs,
            done +
                u"が、同じファイル名の単語リストが存在したため、Words_list_7.txtとして読み込まれました。"_qs,
            list(u"7"_qs), u"7"_qs);
        refused("leaves by ..", with({}), u"../x"_qs);
        refused("leaves through a link",
                with({{u"outside/"_qs, {}}, {u"words_lists/in"_qs, "-> ../outside"}}), u"in/x"_qs);
        refused("a folder missing", with({}), u"10/5小テスト"_qs);
        refused("a NUL would cut the name short", with({}), QString(u"x.sh\u0000"_qs));
        row("a counter that is no number", with({{counter, "abc"}}), u"x"_qs,
            u"count.txtの内容が数値ではないため、単語リストを保存できませんでした。"_qs, {},
            {counter});
        row("a counter at the top", with({{counter, max.toUtf8()}}), {}, overflow, {}, {counter});
        row("the largest number taken",
            with({{counter, QByteArray::number(LLONG_MAX - 1)}, {list(max), "x$y\n"}}), {},
            overflow, {}, {savedText});
        row("the list folder is a file", {{u"words_lists"_qs, "x"}, {counter, "4"}}, {}, notSaved,
            {}, {list(u"5"_qs), error(ENOTDIR)});
        QTest::newRow("the home folder lies under a file")
            << Files{{u"file"_qs, "x"}} << u"file/home"_qs << text << QString()
            << qint64(RLIM_INFINITY) << notSaved << Files{}
            << QStringList{u"file/home/"_qs + list(u"1"_qs)};
        row("the counter is a folder", with({{u"count.txt/inside"_qs, "kept"}}), {}, notSaved,
            {{list(u"1"_qs), saved}}, {counter, error(EISDIR)});
        // Read, the pipe would wait for a writer that never comes.
        named("the counter is a named pipe", with({{counter, "|"}}), {}, as(u"Words_list_1.txt"_qs),
              list(u"1"_qs), u"1"_qs);
        const QByteArray large = largeText(4000);
        for (const qint64 limit : {qint64(0), large.size() - 1})
            row(limit ? "the disk full at the list's end" : "the disk full at once",
                with({{counter, "1"}}), u"x"_qs, notSaved, {}, {}, limit, large);
        // The list fits, the 19-digit counter does not.
        row("the disk full during the counter", with({{counter, "999999999999999999"}}), {},
            notSaved, {{list(u"1000000000000000000"_qs), saved}}, {}, 16);
        // A rejected line ends the import: nothing is saved or printed.
        row("a rejected line", with({}), u"x"_qs,
            u"2行目: b;い は正しいフォーマットに基づいて書かれていません。"_qs, {}, {},
            RLIM_INFINITY, "a,あ\nb;い\n");
        row("no line", with({}), u"x"_qs, QString(), {}, {}, RLIM_INFINITY, "");
    }
    void intoTheStore() {
        QFETCH(Files, before);
        QFETCH(QString, home);
        QFETCH(QByteArray, text);
        QFETCH(QString, name);
        QFETCH(qint64, limit);
        QFETCH(QString, alert);
        QFETCH(Files, changes);
        QFETCH(QStringList, said);
        TestHome testHome;
        arrange(testHome, before);
        if (!home.isEmpty())
            qputenv("HOME", QFile::encodeName(testHome.path() + u'/' + home));
        Files expected = testHome.snapshot();
        expected.insert(changes);

        AppDelegate state;
        StdoutCapture out;
        QString shown;
        {
            const Limits limits{rlim_t(limit)};
            shown = importer::outcomeText(importer::runImport(text, {}, name, state));
        }
        // With a full disk the capture of the output is cut short, too.
        const QString printed =
            rlim_t(limit) == RLIM_INFINITY ? QString::fromUtf8(out.bytes()) : QString();
        QCOMPARE(shown, alert);
        QCOMPARE(testHome.snapshot(), expected);
        for (const QString& part : said)
            QVERIFY2(printed.contains(part), qPrintable(part + u" not in:\n"_qs + printed));
        if (said.isEmpty() && !alert.contains(done))
            QCOMPARE(printed, QString());
        // The shared state counts the pairs accepted and keeps the saved form of a list that
        // was not saved.
        const bool rejected = alert.contains(u"行目"_qs) || alert.isEmpty();
        QCOMPARE(state.LINE_INDEX, rejected ? 0 : text.count('\n'));
        QCOMPARE(!state.formal_list.isEmpty(), !rejected && !alert.contains(done));
    }

    void standardOutputGoneDuringTheImport() {
        TestHome home;
        home.makeListFolder();
        // More than the diagnostics' buffer goes out before the list is written, to a reader
        // that has quit.
        const QByteArray text = largeText(100'000);
        int fds[2];
        QCOMPARE(::pipe(fds), 0);
        ::close(fds[0]);
        platform::flushDiagnostics();
        const int saved = ::dup(STDOUT_FILENO);
        ::dup2(fds[1], STDOUT_FILENO);
        AppDelegate state;
        importer::runImport(text, {}, u"big"_qs, state);
        platform::flushDiagnostics();
        ::dup2(saved, STDOUT_FILENO);
        ::close(saved);
        ::close(fds[1]);
        // The diagnostics are lost, the list is not.
        QCOMPARE(home.readFile(u"words_lists/big.txt"_qs), QByteArray(text).replace(',', '$'));
        QCOMPARE(home.readFile(u"count.txt"_qs), "1"_qba);
    }
};

QTEST_GUILESS_MAIN(ImportTest)
#include "test_import.moc"
