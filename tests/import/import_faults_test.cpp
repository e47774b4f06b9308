// The whole import (counter read, saved form, list write, counter write, naming) under a failing
// file system: a list folder that is no folder, a counter path that is a folder, and a full disk
// (RLIMIT_FSIZE in a forked child) that stops the list write or the counter write half-way.
// After each, the store holds only whole files, no list was written over, nothing was renamed,
// the counter names no list that was not written, the outcome's alert text is the one the
// screen shows, and standard output describes the failure last.
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
#include <sys/wait.h>
#include <unistd.h>

using Kind = importer::ImportOutcome::Kind;

Q_DECLARE_METATYPE(importer::ImportOutcome::Kind)

namespace {

// Everything below a folder, as relative path -> bytes (folders end in "/"), hidden entries
// included: a temporary file left behind shows up here.
QMap<QString, QByteArray> snapshot(const QString& root) {
    QMap<QString, QByteArray> files;
    const QDir base(root);
    const auto walk = [&](auto&& self, const QString& folder) -> void {
        for (const QFileInfo& info : QDir(folder).entryInfoList(
                 QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
            const QString path = base.relativeFilePath(info.filePath());
            if (info.isDir() && !info.isSymLink()) {
                files.insert(path + u'/', {});
                self(self, info.filePath());
            } else {
                QFile file(info.filePath());
                files.insert(path, file.open(QIODevice::ReadOnly) ? file.readAll() : "?"_qba);
            }
        }
    };
    walk(walk, root);
    return files;
}

QString reason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

importer::ImportOutcome run(AppDelegate& state, const QString& text, const QString& name) {
    return importer::runImport(text, name, state,
                               [](const QString& message) { QFAIL(qPrintable(message)); });
}

// What an import run in a child process returned and printed.
struct ChildImport {
    int killedBy = 0; // the signal that ended the child, or 0 when it exited
    Kind kind = Kind::NothingToReport;
    QStringList printed; // standard output, one entry a line
};

// Runs the core import in a forked child whose files may grow to limit bytes at most; a write
// past it fails with EFBIG (SIGXFSZ is ignored). The child runs no GUI: it reports the outcome
// through its exit status and its standard output through a pipe. With readerGone, nothing
// ever reads that pipe, as when the program's output goes to a program that has quit.
ChildImport importInChild(const QString& text, const QString& name, rlim_t limit,
                          bool readerGone = false) {
    platform::flushDiagnostics(); // nothing buffered may be printed twice
    int fds[2];
    if (::pipe(fds) != 0)
        qFatal("pipe failed");
    if (readerGone)
        ::close(fds[0]);
    const pid_t pid = ::fork();
    if (pid < 0)
        qFatal("fork failed");
    if (pid == 0) {
        if (!readerGone)
            ::close(fds[0]);
        ::dup2(fds[1], STDOUT_FILENO);
        ::close(fds[1]);
        // As a program started from a shell: a write without a reader raises SIGPIPE.
        ::signal(SIGPIPE, SIG_DFL);
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit size{limit, limit};
        if (::setrlimit(RLIMIT_FSIZE, &size) != 0)
            ::_exit(1);
        AppDelegate state;
        const importer::ImportOutcome outcome =
            importer::runImport(text, name, state, [](const QString&) { ::_exit(2); });
        platform::flushDiagnostics();
        ::_exit(10 + int(outcome.kind));
    }
    ::close(fds[1]);
    QByteArray out;
    if (!readerGone) {
        char buffer[65536];
        for (ssize_t got; (got = ::read(fds[0], buffer, sizeof buffer)) != 0;)
            if (got > 0)
                out.append(buffer, got);
        ::close(fds[0]);
    }
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
    QString printed = QString::fromUtf8(out);
    if (printed.endsWith(u'\n'))
        printed.chop(1);
    result.printed = printed.split(u'\n');
    return result;
}

importer::ImportOutcome outcomeOf(Kind kind) {
    importer::ImportOutcome outcome;
    outcome.kind = kind;
    return outcome;
}

// A text whose saved form is large enough that a small size limit stops its write part of
// the way.
QString largeText() {
    QString text;
    for (int i = 0; i < 4000; ++i)
        text += QStringLiteral("word%1,単語%1\n").arg(i);
    return text;
}

QString savedFormOf(const QString& text) {
    QString saved = text;
    return saved.replace(u',', u'$');
}

const QString notSaved = QStringLiteral("単語リストを保存できませんでした。");

} // namespace

class ImportFaultsTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        importer::resetSeparator();
        importer::IMPORT_OK = false;
    }

    void listFolderIsNoFolder_data() {
        QTest::addColumn<bool>("homeUnderAFile");
        QTest::newRow("list folder is a plain file") << false;
        QTest::newRow("home folder lies under a plain file") << true;
    }
    void listFolderIsNoFolder() {
        QFETCH(bool, homeUnderAFile);
        TestHome home;
        home.writeFile(u"count.txt"_qs, "4");
        if (homeUnderAFile) {
            home.writeFile(u"file"_qs, "not a folder");
            qputenv("HOME", QFile::encodeName(home.path() + u"/file/home"_qs));
        } else {
            home.writeFile(u"words_lists"_qs, "not a folder");
        }
        const QMap<QString, QByteArray> before = snapshot(home.path());
        AppDelegate state;
        StdoutCapture out;

        const importer::ImportOutcome outcome =
            run(state, u"apple,りんご\nbook,本\n"_qs, u"fruit"_qs);

        QCOMPARE(outcome.kind, Kind::WriteFailed);
        QCOMPARE(importer::outcomeText(outcome), notSaved);
        QCOMPARE(snapshot(home.path()), before);
        // The saved form, then why it could not be written: the list's path and the reason.
        const QStringList lines = out.lines();
        const qsizetype form = lines.indexOf(u"apple$りんご"_qs);
        QVERIFY2(form >= 0, qPrintable(lines.join(u'\n')));
        QCOMPARE(lines.mid(form),
                 (QStringList{u"apple$りんご"_qs, u"book$本"_qs, QString(), lines.last()}));
        QVERIFY2(lines.last().contains(QDir::homePath() + u"/words_lists/Words_list_"_qs),
                 qPrintable(lines.last()));
        QVERIFY2(lines.last().contains(reason(ENOTDIR)), qPrintable(lines.last()));
        // Under a plain file even the counter cannot be read: that is said first.
        QCOMPARE(form, homeUnderAFile ? 1 : 0);
        if (homeUnderAFile)
            QVERIFY2(lines.first().contains(reason(ENOTDIR)), qPrintable(lines.first()));
        // The pairs are kept for another try.
        QCOMPARE(state.formal_list, u"apple$りんご\nbook$本\n"_qs);
    }

    void counterPathIsAFolder() {
        TestHome home;
        home.makeListFolder();
        QDir(home.path()).mkdir(u"count.txt"_qs);
        home.writeFile(u"count.txt/inside"_qs, "kept");
        AppDelegate state;
        StdoutCapture out;

        const importer::ImportOutcome first = run(state, u"apple,りんご\n"_qs, u"fruit"_qs);

        QCOMPARE(first.kind, Kind::WriteFailed);
        QCOMPARE(importer::outcomeText(first), notSaved);
        const QStringList lines = out.lines();
        QCOMPARE(lines.size(), 4); // counter unreadable, saved form, counter not written
        QVERIFY2(lines[0].contains(home.counter()) && lines[0].contains(reason(EISDIR)),
                 qPrintable(lines[0]));
        QCOMPARE(lines.mid(1, 2), (QStringList{u"apple$りんご"_qs, QString()}));
        QVERIFY2(lines[3].contains(home.counter()), qPrintable(lines[3]));

        // A second import numbers from the same COUNT again, finds list 1 and takes 2.
        const importer::ImportOutcome second = run(state, u"book,本\n"_qs, u"fruit"_qs);
        QCOMPARE(second.kind, Kind::WriteFailed);
        // Both lists are whole, neither was renamed, the folder in the counter's place is kept.
        const QMap<QString, QByteArray> expected{
            {u"count.txt/"_qs, {}},
            {u"count.txt/inside"_qs, "kept"},
            {u"words_lists/"_qs, {}},
            {u"words_lists/Words_list_1.txt"_qs, u"apple$りんご\n"_qs.toUtf8()},
            {u"words_lists/Words_list_2.txt"_qs, u"book$本\n"_qs.toUtf8()},
        };
        QCOMPARE(snapshot(home.path()), expected);
    }

    void diskFullDuringTheListWrite_data() {
        QTest::addColumn<qint64>("limit");
        const qint64 size = savedFormOf(largeText()).toUtf8().size();
        QTest::newRow("no byte fits") << qint64(0);
        QTest::newRow("one block fits") << qint64(4096);
        QTest::newRow("all but the last byte fit") << size - 1;
    }
    void diskFullDuringTheListWrite() {
        QFETCH(qint64, limit);
        TestHome home;
        home.makeListFolder();
        // A counter behind the folder: list 2 exists already, so list 3 is the one written.
        home.writeFile(u"count.txt"_qs, "1");
        home.writeFile(u"words_lists/Words_list_1.txt"_qs, "one$一\n");
        home.writeFile(u"words_lists/Words_list_2.txt"_qs, "two$二\n");
        const QMap<QString, QByteArray> before = snapshot(home.path());
        const QString text = largeText();

        const ChildImport child = importInChild(text, u"big"_qs, rlim_t(limit));

        QCOMPARE(child.killedBy, 0);
        QCOMPARE(child.kind, Kind::WriteFailed);
        QCOMPARE(importer::outcomeText(outcomeOf(child.kind)), notSaved);
        // No part of list 3 is left, hidden or not; lists 1 and 2 and the counter stand.
        QCOMPARE(snapshot(home.path()), before);
        // The whole saved form went out before the write, then the failure.
        const QStringList expected = (savedFormOf(text) + u'\n').split(u'\n');
        QCOMPARE(child.printed.size(), expected.size());
        QCOMPARE(child.printed.first(expected.size() - 1), expected.first(expected.size() - 1));
        QVERIFY2(child.printed.last().contains(home.listFolder() + u"/Words_list_3.txt"_qs),
                 qPrintable(child.printed.last()));
        QVERIFY2(child.printed.last().contains(reason(EFBIG)), qPrintable(child.printed.last()));
    }

    void diskFullDuringTheCounterWrite_data() {
        // The new number has 19 digits, the list only 6 bytes: the limit lets the list through
        // and stops the counter.
        QTest::addColumn<qint64>("limit");
        QTest::newRow("no digit of the counter fits") << qint64(6);
        QTest::newRow("half of its digits fit") << qint64(10);
        QTest::newRow("all but its last digit fit") << qint64(18);
    }
    void diskFullDuringTheCounterWrite() {
        QFETCH(qint64, limit);
        TestHome home;
        home.makeListFolder();
        const QByteArray counter = "999999999999999999";
        home.writeFile(u"count.txt"_qs, counter);
        const QString written = u"words_lists/Words_list_1000000000000000000.txt"_qs;

        const ChildImport child = importInChild(u"a,あ\n"_qs, u"named"_qs, rlim_t(limit));

        QCOMPARE(child.killedBy, 0);
        QCOMPARE(child.kind, Kind::WriteFailed);
        QCOMPARE(importer::outcomeText(outcomeOf(child.kind)), notSaved);
        QCOMPARE(child.printed.size(), 3);
        QCOMPARE(child.printed.first(), u"a$あ"_qs);
        QVERIFY2(child.printed.last().contains(home.counter()), qPrintable(child.printed.last()));
        QVERIFY2(child.printed.last().contains(reason(EFBIG)), qPrintable(child.printed.last()));
        // The list is whole and keeps its number (nothing was renamed); the counter still
        // names the list before it, and no temporary file of either is left.
        const QMap<QString, QByteArray> after{
            {u"count.txt"_qs, counter},
            {u"words_lists/"_qs, {}},
            {written, u"a$あ\n"_qs.toUtf8()},
        };
        QCOMPARE(snapshot(home.path()), after);

        // Once there is room, the next import finds that number taken and takes the next.
        AppDelegate state;
        StdoutCapture out;
        const importer::ImportOutcome next = run(state, u"b,い\n"_qs, QString());
        QCOMPARE(next.kind, Kind::Completed);
        QCOMPARE(next.number, 1000000000000000001);
        QCOMPARE(home.readFile(written), u"a$あ\n"_qs.toUtf8());
        QCOMPARE(home.readFile(u"words_lists/Words_list_1000000000000000001.txt"_qs),
                 u"b$い\n"_qs.toUtf8());
        QCOMPARE(home.readFile(u"count.txt"_qs), "1000000000000000001"_qba);
    }

    void standardOutputGoneDuringTheImport() {
        TestHome home;
        home.makeListFolder();
        // A saved form of more than the diagnostics' buffer goes out before the list is
        // written, into a pipe that nobody reads any more.
        QString text;
        for (int i = 0; i < 100'000; ++i)
            text += QStringLiteral("word%1,単語%1\n").arg(i);

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
