// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/app_delegate.h"
#include "stdout_capture.h"
#include "test_home.h"
#include "ui/japanese_translations.h"
#include "ui/main_window.h"
#include "ui/start_view_controller.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QProcess>
#include <QTest>
#include <QTimer>

class TestAppStart : public QObject {
    Q_OBJECT
private slots:
    void sharedStateStartsEmpty();
    void listFolderUrlIsComputedOnceAndAssignable();
    void startScreenMakesSureTheListFolderExists_data();
    void startScreenMakesSureTheListFolderExists();
    void qtsOwnTextsAreJapanese();
    void withoutDisplayTheProgramSaysSoAndExits_data();
    void withoutDisplayTheProgramSaysSoAndExits();
    void aRunLeavesNothingButTheStore();
};

void TestAppStart::sharedStateStartsEmpty() {
    const AppDelegate d;
    QVERIFY(d.ANSWER_VALUE.isEmpty());
    QCOMPARE(d.SHUFFLE, true);
    QCOMPARE(d.PLAYING_TYPE, 0);
    QCOMPARE(d.LINE_INDEX, 0);
    QCOMPARE(d.SEQUENCE_CODE, 0);
    QVERIFY(d.english_words.isEmpty());
    QVERIFY(d.japanese_words.isEmpty());
    QCOMPARE(d.SELECTED_ITEM, QString());
    QCOMPARE(d.formal_list, QString());
    QCOMPARE(d.add_words, std::nullopt);
    QCOMPARE(d.COUNT, 0);
    QCOMPARE(d.WORDS_LIST_FOR_GAME, QString());
}

void TestAppStart::listFolderUrlIsComputedOnceAndAssignable() {
    QString firstHome;
    {
        TestHome home;
        firstHome = home.path();
        QCOMPARE(words_lists_url(), QUrl::fromLocalFile(home.path() + u"/words_lists"_qs));
    }
    TestHome other;
    // Only the first value is kept: a later HOME does not move the folder.
    QCOMPARE(words_lists_url(), QUrl::fromLocalFile(firstHome + u"/words_lists"_qs));
    words_lists_url() = QUrl::fromLocalFile(other.path());
    QCOMPARE(words_lists_url().toLocalFile(), other.path());
}

void TestAppStart::startScreenMakesSureTheListFolderExists_data() {
    QTest::addColumn<QString>("arrange");
    QTest::addColumn<bool>("folderAfter");
    QTest::addColumn<int>("linesPrinted");
    QTest::newRow("missing: created") << u"nothing"_qs << true << 0;
    QTest::newRow("present: untouched") << u"folder"_qs << true << 0;
    QTest::newRow("a file of that name counts as present") << u"file"_qs << false << 0;
    QTest::newRow("home folder missing: one line") << u"no home"_qs << false << 1;
}

void TestAppStart::startScreenMakesSureTheListFolderExists() {
    QFETCH(QString, arrange);
    QFETCH(bool, folderAfter);
    QFETCH(int, linesPrinted);
    TestHome home;
    if (arrange == u"folder") {
        home.makeListFolder();
        home.writeFile(u"words_lists/a.txt"_qs, "apple$りんご\n");
    } else if (arrange == u"file") {
        home.writeFile(u"words_lists"_qs, "not a folder");
    } else if (arrange == u"no home") {
        qputenv("HOME", QFile::encodeName(home.path() + u"/gone"_qs));
    }
    AppDelegate delegate;
    StdoutCapture out;
    StartViewController screen(delegate);
    const QStringList lines = out.lines();
    QCOMPARE(lines.size(), linesPrinted);
    if (linesPrinted > 0)
        QVERIFY(lines.first().contains(u"words_lists"_qs));
    QCOMPARE(QFileInfo(home.listFolder()).isDir(), folderAfter);
    if (arrange == u"folder")
        QCOMPARE(home.readFile(u"words_lists/a.txt"_qs), u"apple$りんご\n"_qs.toUtf8());
    if (arrange == u"file")
        QCOMPARE(home.readFile(u"words_lists"_qs), QByteArray("not a folder"));
    QVERIFY(screen.findChild<QAbstractButton*>(u"Import_button"_qs));
    QVERIFY(screen.findChild<QAbstractButton*>(u"Setup_button"_qs));
    QVERIFY(screen.findChild<QAbstractButton*>(u"Settings_button"_qs));
}

void TestAppStart::qtsOwnTextsAreJapanese() {
    QVERIFY(installJapaneseTranslations(*QCoreApplication::instance()));
    // The file panel's own labels, which the screens do not set themselves.
    QCOMPARE_NE(QCoreApplication::translate("QFileDialog", "Detail View"), u"Detail View"_qs);
    QCOMPARE_NE(QCoreApplication::translate("QFileSystemModel", "Date Modified"),
                u"Date Modified"_qs);
}

void TestAppStart::withoutDisplayTheProgramSaysSoAndExits_data() {
    QTest::addColumn<QString>("display");
    QTest::newRow("no display set") << QString();
    // A display number that no server answers, as a stale DISPLAY after ssh leaves it.
    int free = 7301;
    while (QFileInfo::exists(u"/tmp/.X11-unix/X"_qs + QString::number(free)))
        ++free;
    QTest::newRow("a display nobody answers") << u":"_qs + QString::number(free);
}

void TestAppStart::withoutDisplayTheProgramSaysSoAndExits() {
    QFETCH(QString, display);
    TestHome home;
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(u"DISPLAY"_qs);
    if (!display.isEmpty())
        env.insert(u"DISPLAY"_qs, display);
    env.remove(u"WAYLAND_DISPLAY"_qs);
    env.remove(u"QT_QPA_PLATFORM"_qs);
    env.insert(u"HOME"_qs, home.path());
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(VERBOLIN_EXECUTABLE), {});
    QVERIFY(process.waitForFinished(20000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 1);
    const QStringList err =
        QString::fromUtf8(process.readAllStandardError()).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(err.size(), 1);
    QVERIFY(err.first().contains(u"DISPLAY"_qs));
    QVERIFY(process.readAllStandardOutput().isEmpty());
    QVERIFY(!home.has(u"words_lists"_qs));
}

void TestAppStart::aRunLeavesNothingButTheStore() {
    TestHome home;
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"QT_QPA_PLATFORM"_qs, u"offscreen"_qs);
    env.insert(u"HOME"_qs, home.path());
    env.remove(u"XDG_CONFIG_HOME"_qs);
    env.remove(u"XDG_CACHE_HOME"_qs);
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(VERBOLIN_EXECUTABLE), {});
    QVERIFY(process.waitForStarted());
    // The program stays up until it is closed; give it time to show its first screen.
    QTRY_VERIFY_WITH_TIMEOUT(home.has(u"words_lists"_qs), 20000);
    QVERIFY(!process.waitForFinished(1000));
    process.terminate();
    QVERIFY(process.waitForFinished(20000));
    QCOMPARE(QDir(home.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{u"words_lists"_qs});
    QVERIFY(
        QDir(home.listFolder()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

QTEST_MAIN(TestAppStart)
#include "test_app_start.moc"
