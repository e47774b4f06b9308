// The whole import (counter read, list write, counter write) under a failing store: a list
// folder that is no folder, a counter that is a folder or a named pipe, and a full disk
// (RLIMIT_FSIZE in a forked child) that stops the list write or the counter write half-way.
// After each, the store holds only whole files, no list was written over, the counter names no
// list that was not written, and standard output says what failed, where and why.
#include "app/app_delegate.h"
#include "app/diagnostics.h"
#include "import/import_options.h"
#include "import/import_run.h"
#include "stdout_capture.h"
#include "test_home.h"

#include <QDir>
#include <QTest>

#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using Kind = importer::ImportOutcome::Kind;
using Files = QMap<QString, QByteArray>;

Q_DECLARE_METATYPE(importer::ImportOutcome::Kind)

namespace {

// Everything below a folder as relative path -> bytes, hidden entries included (folders end
// in "/", anything but a plain file or folder reads "special").
Files snapshot(const QString& root) {
    Files files;
    const QDir base(root);
    const auto walk = [&](auto&& self, const QString& folder) -> void {
        for (const QFileInfo& info : QDir(folder).entryInfoList(
                 QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
            const QString path = base.relativeFilePath(info.filePath());
            QFile file(info.filePath());
            if (info.isDir() && !info.isSymLink()) {
                files.insert(path + u'/', {});
                self(self, info.filePath());
            } else if (!info.isFile() || info.isSymLink()) {
                files.insert(path, "special");
            } else {
                files.insert(path, file.open(QIODevice::ReadOnly) ? file.readAll() : "?");
            }
        }
    };
    walk(walk, root);
    return files;
}

// What an import run in a child process returned and printed.
struct ChildImport {
    int killedBy = 0; // the signal that ended the child, or 0 when it exited
    Kind kind = Kind::NothingToReport;
    QStringList printed;
};

// Runs the import in a forked child whose files may grow to limit bytes at most (a write past
// it fails with EFBIG: SIGXFSZ is ignored) and which is stopped after 20 s of waiting. With
// readerGone nobody reads its standard output, as when it goes to a program that has quit.
ChildImport importInChild(const QString& text, const QString& name, rlim_t limit,
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
        ::signal(SIGXFSZ, SIG_IGN);
        ::alarm(20);
        const rlimit size{limit, limit};
        if (::setrlimit(RLIMIT_FSIZE, &size) != 0)
            ::_exit(1);
        AppDelegate state;
        const auto outcome = importer::runImport(text, name, state, [](const QString&) {});
        platform::flushDiagnostics();
        ::_exit(10 + int(outcome.kind));
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
    ChildImport result;
    if (WIFSIGNALED(status)) {
        result.killedBy = WTERMSIG(status);
        return result;
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) < 10)
        qFatal("the importing child failed (status %d)", status);
    result.kind = Kind(WEXITSTATUS(status) - 10);
    result.printed = QString::fromUtf8(out).split(u'\n');
    result.printed.removeLast(); // after the last line feed
    return result;
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
        Files expected = snapshot(home.path());
        expected.insert(changes);

        const ChildImport child = importInChild(text, u"named"_qs, rlim_t(limit));

        QCOMPARE(child.killedBy, 0);
        QCOMPARE(child.kind, kind);
        // Only whole files: what was there, plus at most the one whole new list, unrenamed
        // unless completed, and a counter that names no list that was not written.
        Files after = snapshot(home.path());
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
        AppDelegate state;
        importer::runImport(u"b,い\n"_qs, QString(), state, {});
        after.insert(again, u"b$い\n"_qs.toUtf8());
        after.remove(u"count.txt"_qs);
        Files next = snapshot(home.path());
        next.remove(u"count.txt"_qs);
        QCOMPARE(next, after);
    }

    void standardOutputGoneDuringTheImport() {
        TestHome home;
        home.makeListFolder();
        // More than the diagnostics' buffer goes out before the list is written.
        const QString text = largeText(100'000);

        const ChildImport child = importInChild(text, u"big"_qs, RLIM_INFINITY, true);

        // The diagnostics are lost, the list is not.
        QCOMPARE(child.killedBy, 0);
        QCOMPARE(child.kind, Kind::Completed);
        QCOMPARE(home.readFile(u"words_lists/big.txt"_qs), savedFormOf(text).toUtf8());
        QCOMPARE(home.readFile(u"count.txt"_qs), "1"_qba);
    }
};

QTEST_GUILESS_MAIN(ImportFaultsTest)
#include "import_faults_test.moc"
