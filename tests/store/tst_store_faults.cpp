// The store under a failing file system: a list folder that is not a folder, a counter path
// that is a folder, and a full disk (RLIMIT_FSIZE in a child process) that stops the list write
// or the counter write half-way. After each, the store holds only whole files, no list was
// written over, the counter names no number whose list is missing, and the descriptions say
// what failed and why. The store is driven in the order an import uses it: counter read, next
// number, list write, and the counter write only after a written list.
#include "store/counter.h"
#include "store/list_file.h"
#include "store/locations.h"
#include "test_home.h"

#include <QDir>
#include <QTest>

#include <csignal>
#include <cstring>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// What each step of a save returned.
struct SaveSteps {
    store::CounterRead::Kind counter = store::CounterRead::Kind::Unreadable;
    QString counterDescription;
    store::ListWrite list;
    bool counterWritten = false;
    QString counterWriteError;
};

// The import's use of the store. count is the value an earlier read left (the shared COUNT);
// beforeCounterWrite runs between the list write and the counter write.
SaveSteps saveAsImportDoes(const QString& savedForm, qint64 count = 0,
                           const std::function<void()>& beforeCounterWrite = {}) {
    SaveSteps steps;
    const store::CounterRead read = store::readCounter();
    steps.counter = read.kind;
    steps.counterDescription = read.description;
    if (read.kind == store::CounterRead::Kind::Unparsable)
        return steps;
    if (read.kind == store::CounterRead::Kind::Value)
        count = read.value;
    const std::optional<qint64> next = store::nextNumber(count);
    if (!next)
        return steps;
    steps.list = store::writeNewList(*next, savedForm);
    if (steps.list.kind != store::ListWrite::Kind::Written)
        return steps;
    if (beforeCounterWrite)
        beforeCounterWrite();
    const platform::Status counted = store::writeCounter(steps.list.number);
    steps.counterWritten = counted.ok;
    steps.counterWriteError = counted.error;
    return steps;
}

// Limits the size of any file this process writes; a write past it fails with EFBIG instead
// of killing the process.
void limitFileSize(rlim_t bytes) {
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{bytes, bytes};
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
        ::_exit(3);
}

// Runs a save in a forked child (whose limits die with it) and brings its steps back.
SaveSteps saveInChild(const std::function<SaveSteps()>& save) {
    int fds[2];
    if (::pipe(fds) != 0)
        qFatal("pipe failed");
    const pid_t pid = ::fork();
    if (pid < 0)
        qFatal("fork failed");
    if (pid == 0) {
        ::close(fds[0]);
        const SaveSteps steps = save();
        const QByteArray report =
            QByteArray::number(int(steps.counter)) + '\x1f' + steps.counterDescription.toUtf8() +
            '\x1f' + QByteArray::number(int(steps.list.kind)) + '\x1f' +
            QByteArray::number(steps.list.number) + '\x1f' + steps.list.path.toUtf8() + '\x1f' +
            steps.list.description.toUtf8() + '\x1f' + (steps.counterWritten ? "1" : "0") + '\x1f' +
            steps.counterWriteError.toUtf8();
        const bool sent =
            ::write(fds[1], report.constData(), size_t(report.size())) == ssize_t(report.size());
        ::_exit(sent ? 0 : 4);
    }
    ::close(fds[1]);
    QByteArray report;
    char buffer[4096];
    for (ssize_t got; (got = ::read(fds[0], buffer, sizeof buffer)) != 0;)
        if (got > 0)
            report.append(buffer, got);
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        qFatal("the saving child failed");
    const QList<QByteArray> fields = report.split('\x1f');
    if (fields.size() != 8)
        qFatal("the saving child sent a broken report");
    SaveSteps steps;
    steps.counter = store::CounterRead::Kind(fields[0].toInt());
    steps.counterDescription = QString::fromUtf8(fields[1]);
    steps.list.kind = store::ListWrite::Kind(fields[2].toInt());
    steps.list.number = fields[3].toLongLong();
    steps.list.path = QString::fromUtf8(fields[4]);
    steps.list.description = QString::fromUtf8(fields[5]);
    steps.counterWritten = fields[6] == "1";
    steps.counterWriteError = QString::fromUtf8(fields[7]);
    return steps;
}

QStringList entries(const QString& folder) {
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// A list large enough that a small size limit stops its write part of the way.
QString largeSavedForm() {
    QString text;
    for (int i = 0; i < 4000; ++i)
        text += QStringLiteral("word%1$単語%1\n").arg(i);
    return text;
}

const char* const oldList = "old$古い\n";

QString reason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

class TestStoreFaults : public QObject {
    Q_OBJECT

private slots:
    void listFolderThatIsNotAFolder_data() {
        QTest::addColumn<bool>("homeUnderAFile");
        QTest::newRow("list folder is a plain file") << false;
        QTest::newRow("home folder lies under a plain file") << true;
    }
    void listFolderThatIsNotAFolder() {
        QFETCH(bool, homeUnderAFile);
        TestHome home;
        if (homeUnderAFile) {
            home.writeFile(QStringLiteral("file"), "not a folder");
            qputenv("HOME", QFile::encodeName(home.path() + QStringLiteral("/file/home")));
        } else {
            home.writeFile(QStringLiteral("words_lists"), "not a folder");
        }

        const SaveSteps steps = saveAsImportDoes(QStringLiteral("apple$りんご\n"));

        QCOMPARE(steps.list.kind, store::ListWrite::Kind::Failed);
        QVERIFY2(steps.list.description.contains(store::unnamedListPath(1)),
                 qPrintable(steps.list.description));
        QVERIFY2(steps.list.description.contains(reason(ENOTDIR)),
                 qPrintable(steps.list.description));
        // Nothing was written: the plain file is as it was and no counter appeared.
        QCOMPARE(entries(home.path()), QStringList{homeUnderAFile ? QStringLiteral("file")
                                                                  : QStringLiteral("words_lists")});
        QCOMPARE(
            home.readFile(homeUnderAFile ? QStringLiteral("file") : QStringLiteral("words_lists")),
            QByteArray("not a folder"));
    }

    void counterPathThatIsAFolder() {
        TestHome home;
        home.makeListFolder();
        QDir(home.path()).mkpath(QStringLiteral("count.txt"));
        home.writeFile(QStringLiteral("count.txt/inside"), "kept");

        const SaveSteps first = saveAsImportDoes(QStringLiteral("apple$りんご\n"));

        // Unreadable, not unparsable: the number starts from COUNT, the list is written...
        QCOMPARE(first.counter, store::CounterRead::Kind::Unreadable);
        QVERIFY2(first.counterDescription.contains(home.counter()),
                 qPrintable(first.counterDescription));
        QCOMPARE(first.list.kind, store::ListWrite::Kind::Written);
        QCOMPARE(first.list.number, 1);
        // ...and the counter write fails, naming the counter and the reason.
        QVERIFY(!first.counterWritten);
        QVERIFY2(first.counterWriteError.contains(home.counter()),
                 qPrintable(first.counterWriteError));
        QCOMPARE(entries(home.counter()), QStringList{QStringLiteral("inside")});
        QCOMPARE(home.readFile(QStringLiteral("count.txt/inside")), QByteArray("kept"));

        // The next save numbers from the same COUNT again and must not write over list 1.
        const SaveSteps second = saveAsImportDoes(QStringLiteral("book$本\n"));
        QCOMPARE(second.list.kind, store::ListWrite::Kind::Written);
        QCOMPARE(second.list.number, 2);
        QCOMPARE(home.readFile(QStringLiteral("words_lists/Words_list_1.txt")),
                 QByteArray("apple$りんご\n"));
        QCOMPARE(home.readFile(QStringLiteral("words_lists/Words_list_2.txt")),
                 QByteArray("book$本\n"));
        QCOMPARE(entries(home.path()),
                 (QStringList{QStringLiteral("count.txt"), QStringLiteral("words_lists")}));
    }

    void diskFullDuringTheListWrite_data() {
        QTest::addColumn<int>("limit");
        QTest::newRow("no byte fits") << 0;
        QTest::newRow("one block fits") << 4096;
        QTest::newRow("all but the last byte fit") << int(largeSavedForm().toUtf8().size() - 1);
    }
    void diskFullDuringTheListWrite() {
        QFETCH(int, limit);
        TestHome home;
        home.makeListFolder();
        home.writeFile(QStringLiteral("words_lists/Words_list_1.txt"), oldList);
        home.writeFile(QStringLiteral("count.txt"), "1");
        const QString savedForm = largeSavedForm();

        const SaveSteps steps = saveInChild([&] {
            limitFileSize(rlim_t(limit));
            return saveAsImportDoes(savedForm);
        });

        QCOMPARE(steps.counter, store::CounterRead::Kind::Value);
        QCOMPARE(steps.list.kind, store::ListWrite::Kind::Failed);
        QVERIFY2(steps.list.description.contains(store::unnamedListPath(2)),
                 qPrintable(steps.list.description));
        QVERIFY2(steps.list.description.contains(reason(EFBIG)),
                 qPrintable(steps.list.description));
        QVERIFY(!steps.counterWritten);
        // No part of the new list is left, hidden or not; the old list and the counter stand.
        QCOMPARE(entries(home.listFolder()), QStringList{QStringLiteral("Words_list_1.txt")});
        QCOMPARE(home.readFile(QStringLiteral("words_lists/Words_list_1.txt")),
                 QByteArray(oldList));
        QCOMPARE(entries(home.path()),
                 (QStringList{QStringLiteral("count.txt"), QStringLiteral("words_lists")}));
        QCOMPARE(home.readFile(QStringLiteral("count.txt")), QByteArray("1"));
    }

    void diskFullDuringTheCounterWrite_data() {
        QTest::addColumn<int>("limit");
        QTest::newRow("no byte of the counter fits") << 0;
        QTest::newRow("one of its two digits fits") << 1;
    }
    void diskFullDuringTheCounterWrite() {
        QFETCH(int, limit);
        TestHome home;
        home.makeListFolder();
        home.writeFile(QStringLiteral("words_lists/Words_list_9.txt"), oldList);
        home.writeFile(QStringLiteral("count.txt"), "9");
        const QString savedForm = largeSavedForm();

        const SaveSteps steps = saveInChild(
            [&] { return saveAsImportDoes(savedForm, 0, [&] { limitFileSize(rlim_t(limit)); }); });

        QCOMPARE(steps.list.kind, store::ListWrite::Kind::Written);
        QCOMPARE(steps.list.number, 10);
        QVERIFY(!steps.counterWritten);
        QVERIFY2(steps.counterWriteError.contains(home.counter()),
                 qPrintable(steps.counterWriteError));
        QVERIFY2(steps.counterWriteError.contains(reason(EFBIG)),
                 qPrintable(steps.counterWriteError));
        // The list is whole, the counter still names a list that exists, and no temporary
        // file of the counter is left beside it.
        QCOMPARE(home.readFile(QStringLiteral("words_lists/Words_list_10.txt")),
                 savedForm.toUtf8());
        QCOMPARE(home.readFile(QStringLiteral("count.txt")), QByteArray("9"));
        QCOMPARE(entries(home.path()),
                 (QStringList{QStringLiteral("count.txt"), QStringLiteral("words_lists")}));

        // The next save gets 10 from the counter again, finds it taken and writes 11.
        const SaveSteps next = saveAsImportDoes(QStringLiteral("book$本\n"));
        QCOMPARE(next.list.number, 11);
        QVERIFY(next.counterWritten);
        QCOMPARE(home.readFile(QStringLiteral("words_lists/Words_list_10.txt")),
                 savedForm.toUtf8());
        QCOMPARE(home.readFile(QStringLiteral("words_lists/Words_list_9.txt")),
                 QByteArray(oldList));
        QCOMPARE(home.readFile(QStringLiteral("count.txt")), QByteArray("11"));
        QCOMPARE(entries(home.listFolder()), (QStringList{QStringLiteral("Words_list_10.txt"),
                                                          QStringLiteral("Words_list_11.txt"),
                                                          QStringLiteral("Words_list_9.txt")}));
    }
};

QTEST_APPLESS_MAIN(TestStoreFaults)
#include "tst_store_faults.moc"
