// A named pipe where a file is expected: a list in the list folder or the file chosen for an
// import (the counter's case is among the import's faults). Reading one waits for a writer that
// never comes, which would freeze the program; it must be refused like any file that cannot be
// read. Each read runs in a forked child that is stopped if it waits too long, so that a fault
// fails the test instead of hanging it.
#include "app/app_delegate.h"
#include "app/diagnostics.h"
#include "import/import_source.h"
#include "setup/list_loading.h"
#include "stdout_capture.h"
#include "test_home.h"

#include <QTest>
#include <QUrl>

#include <functional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Runs work in a forked child and returns its report; "(stopped)" when the child had to be
// stopped, still waiting after 20 s.
QByteArray inChild(const std::function<QByteArray()>& work) {
    platform::flushDiagnostics();
    int fds[2];
    if (::pipe(fds) != 0)
        qFatal("pipe failed");
    const pid_t pid = ::fork();
    if (pid < 0)
        qFatal("fork failed");
    if (pid == 0) {
        ::close(fds[0]);
        ::alarm(20);
        const QByteArray report = work();
        platform::flushDiagnostics();
        const bool sent =
            ::write(fds[1], report.constData(), size_t(report.size())) == ssize_t(report.size());
        ::_exit(sent ? 0 : 1);
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
    if (WIFSIGNALED(status))
        return "(stopped)";
    return report;
}

} // namespace

class TestSpecialFiles : public QObject {
    Q_OBJECT

private slots:
    void listThatIsAPipeIsNotRead() {
        TestHome home;
        home.makeListFolder();
        const QString pipe = home.listFolder() + u"/pipe.txt"_qs;
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        words_lists_url() = QUrl::fromLocalFile(home.listFolder());
        StdoutCapture out;

        const QByteArray report = inChild([] {
            AppDelegate delegate;
            delegate.english_words = {u"old"_qs};
            delegate.japanese_words = {u"古い"_qs};
            delegate.LINE_INDEX = 1;
            setup::SetupScreen screen;
            screen.items = {u"pipe.txt"_qs};
            screen.selectedIndex = 0;
            screen.preview = u"earlier$前\n"_qs;
            setup::loadSelectedList(delegate, screen);
            return QByteArray::number(screen.startEnabled) + '|' + screen.countText.toUtf8() + '|' +
                   screen.preview.toUtf8() + '|' + QByteArray::number(delegate.LINE_INDEX);
        });

        // As for a list that is gone: not startable, no pairs, the preview kept.
        QCOMPARE(report, u"0|全0単語|earlier$前\n|0"_qs.toUtf8());
        const QStringList lines = out.lines();
        QCOMPARE(lines.size(), 3);
        QVERIFY2(lines[1].contains(pipe), qPrintable(lines[1]));
        QCOMPARE(lines[2], lines[1]);
    }

    void sourceThatIsAPipeIsNotImported() {
        TestHome home;
        const QString pipe = home.path() + u"/source.txt"_qs;
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        StdoutCapture out;

        const QByteArray report = inChild([&] {
            const importer::SourceRead read = importer::readSource(pipe);
            return importer::sourceAlertText(read.kind).toUtf8();
        });

        QCOMPARE(QString::fromUtf8(report), u"ファイルを読み込めませんでした。"_qs);
        QCOMPARE(out.lines().size(), 1);
        QVERIFY2(out.lines()[0].contains(pipe), qPrintable(out.lines()[0]));
    }
};

QTEST_GUILESS_MAIN(TestSpecialFiles)
#include "tst_special_files.moc"
