// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The whole import over a temporary store: numbering, counter, naming and refusals, and a
// failing store (an entry of the wrong kind, a full disk as RLIMIT_FSIZE in a forked child).
// Afterwards the store holds only whole files, nothing was written over, the counter names
// no list that was not written, and standard output says what failed, where and why.
#include "app/app_delegate.h"
#include "import/import_run.h"
#include "import/import_source.h"
#include "platform/diagnostics.h"
#include "setup/list_loading.h"
#include "test_home.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <QUrl>

#include <csignal>
#include <cstring>
#include <functional>
#include <limits>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using Files = QMap<QString, QByteArray>;

namespace {

// What a forked child printed, and the report it printed last.
struct Child {
    int killedBy = 0; // the signal that ended it, or 0
    QStringList printed;
    QString report;
};

// Runs work in a forked child whose files may grow to limit bytes at most (a write past it
// fails with EFBIG, as the store ignores SIGXFSZ) and which is stopped after 20 s, so that a
// read that never returns fails the test instead of hanging it. With readerGone nobody reads
// its standard output, as when it goes to a program that has quit.
Child inChild(const std::function<QString()>& work, rlim_t limit = RLIM_INFINITY,
              bool readerGone = false) {
    platform::flushDiagnostics(); // nothing buffered may be printed twice
    int fds[2];
    if (::pipe(fds) != 0 || (readerGone && ::close(fds[0]) != 0))
        qFatal("pipe failed");
    if (const pid_t pid = ::fork(); pid == 0) {
        ::dup2(fds[1], STDOUT_FILENO);
        ::signal(SIGPIPE, SIG_DFL); // as started from a shell
        ::alarm(20);
        const rlimit size{limit, limit};
        ::setrlimit(RLIMIT_FSIZE, &size);
        const QByteArray report = work().toUtf8().replace('\n', "\\n");
        platform::flushDiagnostics();
        ::signal(SIGPIPE, SIG_IGN);
        ::_exit(::write(STDOUT_FILENO, report.constData(), size_t(report.size())) < 0 &&
                !readerGone);
    }
    ::close(fds[1]);
    QByteArray out;
    char buffer[65536];
    for (ssize_t got; !readerGone && (got = ::read(fds[0], buffer, sizeof buffer)) > 0;)
        out.append(buffer, got);
    if (!readerGone)
        ::close(fds[0]);
    int status = 0;
    ::wait(&status);
    Child child{
        WIFSIGNALED(status) ? WTERMSIG(status) : 0, QString::fromUtf8(out).split(u'\n'), {}};
    if (!child.killedBy && WEXITSTATUS(status) != 0)
        qFatal("the child failed (status %d)", status);
    child.report = child.printed.takeLast();
    return child;
}

// Lays entries out below home: a path ending in "/" is a folder, "-> target" a link, "|" a
// named pipe, anything else a file with those bytes.
void arrange(const TestHome& home, const Files& entries) {
    for (auto it = entries.begin(); it != entries.end(); ++it) {
        const QString path = home.path() + u'/' + it.key();
        QDir().mkpath(it.key().endsWith(u'/') ? path : QFileInfo(path).path());
        if (it.value().startsWith("-> "))
            QVERIFY(QFile::link(QString::fromUtf8(it.value().sliced(3)), path));
        else if (it.value() == "|")
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else if (!it.key().endsWith(u'/'))
            home.writeFile(it.key(), it.value());
    }
}

QString largeText(int lines) {
    QString text;
    for (int i = 0; i < lines; ++i)
        text += QStringLiteral("word%1,単語%1\n").arg(i);
    return text;
}

} // namespace

class ImportTest : public QObject {
    Q_OBJECT
private slots:
    // before: the store (see arrange), with HOME below the test's home at home. After the
    // import: the alert's text, what changed in the store, and what standard output says.
    void intoTheStore_data() {
        QTest::addColumn<Files>("before");
        QTest::addColumn<QString>("home");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("name");
        QTest::addColumn<qint64>("limit"); // bytes a file may grow to
        QTest::addColumn<QString>("alert");
        QTest::addColumn<Files>("changes");
        QTest::addColumn<QStringList>("said"); // standard output holds each of these
        const QString done = u"単語リストの読み込みが完了しました"_qs;
        const auto as = [&](const QString& name) {
            return done + u"。\n単語リスト名は"_qs + name + u"です。"_qs;
        };
        const auto unusable = [&](const QString& name) {
            return done + u"。\n単語リスト名「"_qs + name +
                   u"」は使えないため、Words_list_1.txtとして読み込まれました。"_qs;
        };
        const QString notSaved = u"単語リストを保存できませんでした。"_qs;
        const QString overflow = u"単語リストの番号が上限に達したため、保存できませんでした。"_qs;
        const Files folder{{u"words_lists/"_qs, {}}};
        const auto with = [&](Files files) { return files.insert(folder), files; };
        const QString text = u"new,新しい\n"_qs;
        const QByteArray saved = "new$新しい\n";
        const QString list1 = u"words_lists/Words_list_1.txt"_qs;
        const qint64 none = RLIM_INFINITY;
        const QString max = QString::number(std::numeric_limits<qint64>::max());
        const auto row = [&](const char* name, const Files& before, const QString& typed,
                             const QString& alert, const Files& changes, QStringList said) {
            QTest::newRow(name) << before << QString() << text << typed << none << alert << changes
                                << said;
        };
        const auto named = [&](const char* row_, const QString& typed, const QString& file) {
            row(row_, folder, typed, as(typed), {{file, saved}, {u"count.txt"_qs, "1"}},
                {QString::fromUtf8(saved)});
        };
        const auto refused = [&](const char* row_, const Files& before, const QString& typed) {
            row(row_, before, typed, unusable(typed), {{list1, saved}, {u"count.txt"_qs, "1"}},
                {QString::fromUtf8(saved)});
        };
        row("the first list", folder, {}, as(u"Words_list_1.txt"_qs),
            {{list1, saved}, {u"count.txt"_qs, "1"}},
            {u"count.txt」: No such file or directory"_qs, QString::fromUtf8(saved)});
        row("after list 41", with({{u"count.txt"_qs, "41"}}), {}, as(u"Words_list_42.txt"_qs),
            {{u"words_lists/Words_list_42.txt"_qs, saved}, {u"count.txt"_qs, "42"}}, {});
        row("a counter with a byte-order mark",
            with({{u"count.txt"_qs, "\xEF\xBB\xBF"
                                    "5\n"}}),
            {}, as(u"Words_list_6.txt"_qs),
            {{u"words_lists/Words_list_6.txt"_qs, saved}, {u"count.txt"_qs, "6"}}, {});
        row("a number taken",
            with({{u"count.txt"_qs, "1"}, {u"words_lists/Words_list_2.txt"_qs, "x$y\n"}}), {},
            as(u"Words_list_3.txt"_qs),
            {{u"words_lists/Words_list_3.txt"_qs, saved}, {u"count.txt"_qs, "3"}}, {});
        named("named", u"fruit"_qs, u"words_lists/fruit.txt"_qs);
        named("a .txt ending is not doubled", u"fruit.TXT"_qs, u"words_lists/fruit.txt"_qs);
        row("an existing subfolder", with({{u"words_lists/sub/"_qs, {}}}), u"sub/x"_qs,
            as(u"sub/x"_qs), {{u"words_lists/sub/x.txt"_qs, saved}, {u"count.txt"_qs, "1"}}, {});
        row("a name taken", with({{u"count.txt"_qs, "6"}, {u"words_lists/fruit.txt"_qs, "x$y\n"}}),
            u"fruit"_qs,
            done +
                u"が、同じファイル名の単語リストが存在したため、Words_list_7.txtとして読み込まれました。"_qs,
            {{u"words_lists/Words_list_7.txt"_qs, saved}, {u"count.txt"_qs, "7"}},
            {u"fruit.txt"_qs});
        refused("leaves by ..", folder, u"../x"_qs);
        refused("leaves through a link",
                with({{u"outside/"_qs, {}}, {u"words_lists/linkdir"_qs, "-> ../outside"}}),
                u"linkdir/x"_qs);
        refused("a folder missing", folder, u"10/5小テスト"_qs);
        refused("a NUL would cut the name short", folder, QString(u"x.sh\u0000"_qs));
        row("a counter that is no number", with({{u"count.txt"_qs, "abc"}}), u"x"_qs,
            u"count.txtの内容が数値ではないため、単語リストを保存できませんでした。"_qs, {},
            {u"count.txt"_qs});
        row("a counter at the top", with({{u"count.txt"_qs, max.toUtf8()}}), {}, overflow, {},
            {u"count.txt"_qs});
        row("the largest number taken",
            with({{u"count.txt"_qs, QByteArray::number(std::numeric_limits<qint64>::max() - 1)},
                  {u"words_lists/Words_list_"_qs + max + u".txt"_qs, "x$y\n"}}),
            {}, overflow, {}, {QString::fromUtf8(saved)});
        row("the list folder is a file", {{u"words_lists"_qs, "x"}, {u"count.txt"_qs, "4"}}, {},
            notSaved, {},
            {u"words_lists/Words_list_5.txt"_qs, QString::fromLocal8Bit(std::strerror(ENOTDIR))});
        QTest::newRow("the home folder lies under a file")
            << Files{{u"file"_qs, "x"}} << u"file/home"_qs << text << QString() << none << notSaved
            << Files{} << QStringList{u"file/home/words_lists/Words_list_1.txt"_qs};
        row("the counter is a folder", with({{u"count.txt/inside"_qs, "kept"}}), {}, notSaved,
            {{list1, saved}}, {u"count.txt"_qs, QString::fromLocal8Bit(std::strerror(EISDIR))});
        // Read, the pipe would wait for a writer that never comes.
        row("the counter is a named pipe", with({{u"count.txt"_qs, "|"}}), {},
            as(u"Words_list_1.txt"_qs), {{list1, saved}, {u"count.txt"_qs, "1"}}, {});
        const QString large = largeText(4000);
        const qint64 largeSize = large.toUtf8().size();
        for (const qint64 limit : {qint64(0), largeSize - 1})
            QTest::addRow("the disk full after %lld bytes of the list", limit)
                << with({{u"count.txt"_qs, "1"}}) << QString() << large << u"x"_qs << limit
                << notSaved << Files{}
                << QStringList{u"words_lists/Words_list_2.txt"_qs,
                               QString::fromLocal8Bit(std::strerror(EFBIG))};
        // The list fits, the 19-digit counter does not.
        QTest::newRow("the disk full during the counter")
            << with({{u"count.txt"_qs, "999999999999999999"}}) << QString() << text << QString()
            << qint64(16) << notSaved
            << Files{{u"words_lists/Words_list_1000000000000000000.txt"_qs, saved}}
            << QStringList{u"count.txt"_qs, QString::fromLocal8Bit(std::strerror(EFBIG))};
        // A rejected line ends the import: nothing is saved or printed.
        QTest::newRow("a rejected line")
            << folder << QString() << u"a,あ\nb;い\n"_qs << u"x"_qs << none
            << u"2行目: b;い は正しいフォーマットに基づいて書かれていません。"_qs << Files{}
            << QStringList();
        QTest::newRow("no line") << folder << QString() << QString() << u"x"_qs << none << QString()
                                 << Files{} << QStringList();
    }
    void intoTheStore() {
        QFETCH(Files, before);
        QFETCH(QString, home);
        QFETCH(QString, text);
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

        const Child child = inChild(
            [&] {
                AppDelegate state;
                const importer::ImportOutcome outcome =
                    importer::runImport(text.toUtf8(), {}, name, state);
                return importer::outcomeText(outcome) + u'|' + QString::number(state.LINE_INDEX) +
                       u'|' + state.formal_list;
            },
            rlim_t(limit));

        QCOMPARE(child.killedBy, 0);
        const QStringList report = child.report.split(u'|');
        QCOMPARE(report.value(0).replace(u"\\n"_qs, u"\n"_qs), alert);
        QCOMPARE(testHome.snapshot(), expected);
        const QString printed = child.printed.join(u'\n');
        for (const QString& part : said)
            QVERIFY2(printed.contains(part), qPrintable(part + u" not in:\n"_qs + printed));
        if (said.isEmpty() && !alert.contains(done()))
            QCOMPARE(printed, QString());
        // The shared state counts the pairs accepted and keeps the saved form of a list that
        // was not saved.
        const bool rejected = alert.contains(u"行目"_qs) || alert.isEmpty();
        QCOMPARE(report.value(1).toLongLong(), rejected ? 0 : text.count(u'\n'));
        QCOMPARE(!report.value(2).isEmpty(), !rejected && !alert.contains(done()));
    }

    void standardOutputGoneDuringTheImport() {
        TestHome home;
        home.makeListFolder();
        // More than the diagnostics' buffer goes out before the list is written.
        const QString text = largeText(100'000);
        const Child child = inChild(
            [&] {
                AppDelegate state;
                return importer::outcomeText(
                    importer::runImport(text.toUtf8(), {}, u"big"_qs, state));
            },
            RLIM_INFINITY, true);
        // The diagnostics are lost, the list is not.
        QCOMPARE(child.killedBy, 0);
        QCOMPARE(home.readFile(u"words_lists/big.txt"_qs), text.toUtf8().replace(',', '$'));
        QCOMPARE(home.readFile(u"count.txt"_qs), "1"_qba);
    }

    // A named pipe where a list or the file to import is expected must be refused like any
    // file that cannot be read, not waited on.
    void aNamedPipeIsNotRead() {
        TestHome home;
        home.makeListFolder();
        const QString pipe = home.listFolder() + u"/pipe.txt"_qs;
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        words_lists_url() = QUrl::fromLocalFile(home.listFolder());
        const Child child = inChild([&] {
            AppDelegate delegate;
            setup::SetupScreen screen;
            screen.items = {u"pipe.txt"_qs};
            screen.selectedIndex = 0;
            setup::loadSelectedList(delegate, screen);
            return QString::number(screen.startEnabled) + u'|' + screen.countText + u'|' +
                   importer::sourceAlertText(importer::readSource(pipe).kind);
        });
        QCOMPARE(child.report, u"0|全0単語|ファイルを読み込めませんでした。"_qs);
        QVERIFY2(child.printed.last().contains(pipe), qPrintable(child.printed.join(u'\n')));
    }

private:
    static QString done() { return u"読み込みが完了"_qs; }
};

QTEST_GUILESS_MAIN(ImportTest)
#include "test_import.moc"
