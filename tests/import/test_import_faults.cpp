// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The whole import (counter read, list write, counter write) under a failing store: a list
// folder that is no folder, a counter that is a folder or a named pipe, and a full disk
// (RLIMIT_FSIZE in a forked child) that stops the list write or the counter write half-way.
// After each, the store holds only whole files, no list was written over, the counter names no
// list that was not written, and standard output says what failed, where and why. Also the
// reads that must not wait forever on a named pipe, and output that nobody reads.
#include "app/app_delegate.h"
#include "app/diagnostics.h"
#include "import/import_options.h"
#include "import/import_run.h"
#include "import/import_source.h"
#include "setup/list_loading.h"
#include "stdout_capture.h"
#include "test_home.h"

#include <QDir>
#include <QTest>
#include <QUrl>

#include <csignal>
#include <cstring>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using Kind = importer::ImportOutcome::Kind;
using Files = QMap<QString, QByteArray>;

Q_DECLARE_METATYPE(importer::ImportOutcome::Kind)

namespace {

// What a forked child printed, and the report it printed last.
struct Child {
    int killedBy = 0; // the signal that ended it, or 0
    QStringList printed;
    QString report;
};

// Runs work in a forked child whose files may grow to limit bytes at most (a write past it
// fails with EFBIG, as the store ignores SIGXFSZ) and which is stopped after 20 s of waiting, so
// that a read that never returns fails the test instead of hanging it. With readerGone nobody reads
// its standard output, as when it goes to a program that has quit.
Child inChild(const std::function<QByteArray()>& work, rlim_t limit = RLIM_INFINITY,
              bool readerGone = false) {
    platform::flushDiagnostics(); // nothing buffered may be printed twice
    int fds[2];
    if (::pipe(fds) != 0)
        qFatal("pipe failed");
    if (readerGone)
        ::close(fds[0]);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(fds[1], STDOUT_FILENO);
        ::signal(SIGPIPE, SIG_DFL); // as started from a shell
        ::alarm(20);
        const rlimit size{limit, limit};
        if (::setrlimit(RLIMIT_FSIZE, &size) != 0)
            ::_exit(1);
        const QByteArray report = work();
        platform::flushDiagnostics();
        ::signal(SIGPIPE, SIG_IGN);
        if (::write(STDOUT_FILENO, report.constData(), size_t(report.size())) < 0)
            ::_exit(readerGone ? 0 : 2);
        ::_exit(0);
    }
    ::close(fds[1]);
    QByteArray out;
    char buffer[65536];
    for (ssize_t got; !readerGone && (got = ::read(fds[0], buffer, sizeof buffer)) != 0;)
        if (got > 0)
            out.append(buffer, got);
    if (!readerGone)
        ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    Child child;
    if (WIFSIGNALED(status))
        child.killedBy = WTERMSIG(status);
    else if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        qFatal("the child failed (status %d)", status);
    child.printed = QString::fromUtf8(out).split(u'\n');
    child.report = child.printed.takeLast();
    return child;
}

QByteArray import(const QString& text, const QString& name) {
    AppDelegate state;
    return QByteArray::number(int(importer::runImport(text, name, state, {}).kind));
}

QString largeText(int lines) {
    QString text;
    for (int i = 0; i < lines; ++i)
        text += QStringLiteral("word%1,単語%1\n").arg(i);
    return text;
}

QString savedFormOf(QString text) {
    return text.replace(u',', u'$');
}

enum Fault {
    ListFolderIsAFile,
    HomeUnderAFile,
    CounterIsAFolder,
    CounterIsAPipe,
    Counter1,
    Counter999
};

void arrange(Fault fault, const TestHome& home) {
    if (fault == HomeUnderAFile) {
        home.writeFile(u"file"_qs, "not a folder");
        qputenv("HOME", QFile::encodeName(home.path() + u"/file/home"_qs));
    } else if (fault == ListFolderIsAFile) {
        home.writeFile(u"words_lists"_qs, "not a folder");
        home.writeFile(u"count.txt"_qs, "4");
    } else {
        home.makeListFolder();
    }
    if (fault == CounterIsAFolder && QDir(home.path()).mkdir(u"count.txt"_qs))
        home.writeFile(u"count.txt/inside"_qs, "kept");
    if (fault == CounterIsAPipe)
        QCOMPARE(::mkfifo(QFile::encodeName(home.counter()).constData(), 0600), 0);
    if (fault == Counter1) { // list 2 exists already, so list 3 is the one written
        home.writeFile(u"count.txt"_qs, "1");
        home.writeFile(u"words_lists/Words_list_1.txt"_qs, "one$一\n");
        home.writeFile(u"words_lists/Words_list_2.txt"_qs, "two$二\n");
    }
    if (fault == Counter999) // a 19-digit next number, a list of 6 bytes
        home.writeFile(u"count.txt"_qs, "999999999999999999");
}

const QString big = u"words_lists/Words_list_1000000000000000000.txt"_qs;

} // namespace

class ImportFaultsTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        importer::resetSeparator();
        importer::IMPORT_OK = false;
    }

    void storeFault_data() {
        QTest::addColumn<int>("fault");
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("limit"); // bytes a file may grow to
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<Files>("changes"); // to the store, on top of what it held
        QTest::addColumn<int>("line");      // where the failure is described: -1 last
        QTest::addColumn<QString>("path");  // the line names it (below the test's home)...
        QTest::addColumn<int>("error");     // ...and this reason
        QTest::addColumn<QString>("again"); // a second import without a limit writes this list
        const QString small = u"apple,りんご\nbook,本\n"_qs;
        const QByteArray smallSaved = savedFormOf(small).toUtf8();
        const QString large = largeText(4000);
        const qint64 none = RLIM_INFINITY;
        QTest::newRow("list folder is a plain file")
            << int(ListFolderIsAFile) << small << none << Kind::WriteFailed << Files{} << -1
            << u"words_lists/Words_list_5.txt"_qs << ENOTDIR << QString();
        QTest::newRow("home folder lies under a plain file")
            << int(HomeUnderAFile) << small << none << Kind::WriteFailed << Files{} << -1
            << u"file/home/words_lists/Words_list_1.txt"_qs << ENOTDIR << QString();
        QTest::newRow("counter is a folder")
            << int(CounterIsAFolder) << small << none << Kind::WriteFailed
            << Files{{u"words_lists/Words_list_1.txt"_qs, smallSaved}} << 0 << u"count.txt"_qs
            << EISDIR << u"words_lists/Words_list_2.txt"_qs;
        QTest::newRow("counter is a named pipe")
            << int(CounterIsAPipe) << small << none << Kind::Completed
            << Files{{u"words_lists/named.txt"_qs, smallSaved}, {u"count.txt"_qs, "1"}} << 0
            << u"count.txt"_qs << 0 << QString();
        for (const qint64 limit :
             {qint64(0), qint64(4096), qint64(savedFormOf(large).toUtf8().size() - 1)})
            QTest::addRow("disk full after %lld bytes of the list", limit)
                << int(Counter1) << large << limit << Kind::WriteFailed << Files{} << -1
                << u"words_lists/Words_list_3.txt"_qs << EFBIG
                << u"words_lists/Words_list_3.txt"_qs;
        for (const qint64 limit : {6, 10, 18}) // the list fits, the counter does not
            QTest::addRow("disk full after %lld bytes of the counter", limit)
                << int(Counter999) << u"a,あ\n"_qs << limit << Kind::WriteFailed
                << Files{{big, u"a$あ\n"_qs.toUtf8()}} << -1 << u"count.txt"_qs << EFBIG
                << u"words_lists/Words_list_1000000000000000001.txt"_qs;
    }
    void storeFault() {
        QFETCH(int, fault);
        QFETCH(QString, text);
        QFETCH(qint64, limit);
        QFETCH(Kind, kind);
        QFETCH(Files, changes);
        QFETCH(int, line);
        QFETCH(QString, path);
        QFETCH(int, error);
        QFETCH(QString, again);
        TestHome home;
        arrange(Fault(fault), home);
        Files expected = home.snapshot();
        expected.insert(changes);

        const Child child = inChild([&] { return import(text, u"named"_qs); }, rlim_t(limit));

        QCOMPARE(child.killedBy, 0);
        QCOMPARE(Kind(child.report.toInt()), kind);
        // Only whole files: what was there, plus at most the one whole new list, unrenamed
        // unless completed, and a counter that names no list that was not written.
        Files after = home.snapshot();
        QCOMPARE(after, expected);
        // The saved form went out before the write, and the failure is described.
        const QString printed = child.printed.join(u'\n') + u'\n';
        QVERIFY2(printed.contains(savedFormOf(text) + u'\n'), qPrintable(printed));
        const QString said = child.printed.value(line < 0 ? child.printed.size() - 1 : line);
        QVERIFY2(said.contains(home.path() + u'/' + path), qPrintable(said));
        if (error)
            QVERIFY2(said.contains(QString::fromLocal8Bit(std::strerror(error))), qPrintable(said));

        // A second import, with room, takes the next free number and writes over nothing.
        if (again.isEmpty())
            return;
        StdoutCapture quiet;
        import(u"b,い\n"_qs, QString());
        after.insert(again, u"b$い\n"_qs.toUtf8());
        after.remove(u"count.txt"_qs);
        Files next = home.snapshot();
        next.remove(u"count.txt"_qs);
        QCOMPARE(next, after);
    }

    void standardOutputGoneDuringTheImport() {
        TestHome home;
        home.makeListFolder();
        // More than the diagnostics' buffer goes out before the list is written.
        const QString text = largeText(100'000);

        const Child child = inChild([&] { return import(text, u"big"_qs); }, RLIM_INFINITY, true);

        // The diagnostics are lost, the list is not.
        QCOMPARE(child.killedBy, 0);
        QCOMPARE(home.readFile(u"words_lists/big.txt"_qs), savedFormOf(text).toUtf8());
        QCOMPARE(home.readFile(u"count.txt"_qs), "1"_qba);
    }

    // A named pipe where a list or the file to import is expected: reading it would wait for a
    // writer that never comes. It must be refused like any file that cannot be read.
    void listThatIsAPipeIsNotLoaded() {
        TestHome home;
        home.makeListFolder();
        const QString pipe = home.listFolder() + u"/pipe.txt"_qs;
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        words_lists_url() = QUrl::fromLocalFile(home.listFolder());

        const Child child = inChild([] {
            AppDelegate delegate;
            delegate.english_words = {u"old"_qs};
            delegate.japanese_words = {u"古い"_qs};
            setup::SetupScreen screen;
            screen.items = {u"pipe.txt"_qs};
            screen.selectedIndex = 0;
            screen.preview = u"earlier"_qs;
            setup::loadSelectedList(delegate, screen);
            return QByteArray::number(screen.startEnabled) + '|' + screen.countText.toUtf8() + '|' +
                   screen.preview.toUtf8() + '|' +
                   QByteArray::number(delegate.english_words.size());
        });

        // As for a list that is gone: not startable, no pairs, the preview kept, and why.
        QCOMPARE(child.report, u"0|全0単語|earlier|0"_qs);
        QCOMPARE(child.printed.size(), 3);
        QVERIFY2(child.printed[1].contains(pipe), qPrintable(child.printed[1]));
    }

    void sourceThatIsAPipeIsNotImported() {
        TestHome home;
        const QString pipe = home.path() + u"/source.txt"_qs;
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);

        const Child child = inChild(
            [&] { return importer::sourceAlertText(importer::readSource(pipe).kind).toUtf8(); });

        QCOMPARE(child.report, u"ファイルを読み込めませんでした。"_qs);
        QCOMPARE(child.printed.size(), 1);
        QVERIFY2(child.printed[0].contains(pipe), qPrintable(child.printed[0]));
    }
};

QTEST_GUILESS_MAIN(ImportFaultsTest)
#include "test_import_faults.moc"
