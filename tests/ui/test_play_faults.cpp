// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The set-up screen and the quiz when the list changes under them: a list (or its folder)
// gone between the listing and the load, and a list replaced or deleted after it was loaded,
// before or while the quiz runs. Nothing crashes and the user is not misled: a list that
// cannot be read cannot be started, and a quiz asks the pairs it was started with.
#include "app/app_delegate.h"
#include "modal_driver.h"
#include "stdout_capture.h"
#include "test_home.h"
#include "ui/game_setting_view_controller.h"
#include "ui/main_window.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QTest>

#include <cstring>

namespace {

template <typename T> T* child(QWidget* screen, const char* name) {
    T* found = screen->findChild<T*>(QLatin1String(name));
    if (!found)
        qFatal("no %s on %s", name, screen->metaObject()->className());
    return found;
}

void click(QWidget* screen, const char* button) {
    auto* pressed = child<QPushButton>(screen, button);
    QVERIFY2(pressed->isEnabled(), button);
    QTest::mouseClick(pressed, Qt::LeftButton);
}

void selectList(QWidget* screen, const QString& name) {
    auto* lists = child<QComboBox>(screen, "Words_lists");
    lists->setCurrentIndex(lists->findText(name));
    QCOMPARE(lists->currentText(), name);
}

QString label(QWidget* screen, const char* name) {
    return child<QLabel>(screen, name)->text();
}

enum Change { ListDeleted, ListBecameAFolder, ListFolderBecameAFile, ListReplaced };

// Makes the change to the list quiz.txt in the list folder.
void change(Change what, const TestHome& home) {
    const QString list = home.listFolder() + u"/quiz.txt"_qs;
    if (what == ListFolderBecameAFile) {
        QVERIFY(QDir(home.listFolder()).removeRecursively());
        home.writeFile(u"words_lists"_qs, "a plain file");
    } else if (what == ListReplaced) { // as an editor saves: a new file moved over the old one
        QSaveFile file(list);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("x$エックス\n") > 0 && file.commit());
    } else {
        QVERIFY(QFile::remove(list));
        if (what == ListBecameAFolder)
            QVERIFY(QDir().mkdir(list));
    }
}

const QByteArray quizList = "apple$りんご\nbook$本\ncat$猫\n";

} // namespace

class TestPlayFaults : public QObject {
    Q_OBJECT

private slots:
    void listGoneBetweenListingAndLoading_data() {
        QTest::addColumn<int>("change");
        QTest::addColumn<int>("error");
        QTest::newRow("list deleted") << int(ListDeleted) << ENOENT;
        QTest::newRow("list replaced by a folder") << int(ListBecameAFolder) << EISDIR;
        QTest::newRow("list folder replaced by a plain file")
            << int(ListFolderBecameAFile) << ENOTDIR;
    }
    void listGoneBetweenListingAndLoading() {
        QFETCH(int, change);
        QFETCH(int, error);
        TestHome home;
        home.makeListFolder();
        home.writeFile(u"words_lists/earlier.txt"_qs, "sun$太陽\nmoon$月\n");
        home.writeFile(u"words_lists/quiz.txt"_qs, quizList);
        words_lists_url() = QUrl::fromLocalFile(home.listFolder());
        AppDelegate delegate;
        delegate.SHUFFLE = false;
        StdoutCapture quiet;
        GameSettingViewController screen(delegate);
        screen.show();
        selectList(&screen, u"earlier.txt"_qs);
        click(&screen, "Words_list_determined_button");
        QCOMPARE(delegate.LINE_INDEX, 2);

        ::change(Change(change), home);
        selectList(&screen, u"quiz.txt"_qs);
        StdoutCapture out;
        ModalDriver noDialog({});
        click(&screen, "Words_list_determined_button");

        QCOMPARE(noDialog.unexpected(), 0);
        QVERIFY(!child<QPushButton>(&screen, "Start_button")->isEnabled());
        QCOMPARE(label(&screen, "All_words_number"), u"全0単語"_qs);
        QCOMPARE(child<QWidget>(&screen, "List_check_textfield")->property("plainText").toString(),
                 u"sun$太陽\nmoon$月\n"_qs);
        QCOMPARE(delegate.LINE_INDEX, 0);
        QVERIFY(delegate.english_words.isEmpty() && delegate.japanese_words.isEmpty());
        // The location, then why it could not be read, once for each of the two reads.
        const QStringList lines = out.lines();
        QCOMPARE(lines.size(), 3);
        QVERIFY2(lines[1].contains(home.listFolder() + u"/quiz.txt"_qs), qPrintable(lines[1]));
        QVERIFY2(lines[1].contains(QString::fromLocal8Bit(std::strerror(error))),
                 qPrintable(lines[1]));
        QCOMPARE(lines[2], lines[1]);
        // The combo box still offers what the listing found.
        QCOMPARE(child<QComboBox>(&screen, "Words_lists")->count(), 2);
    }

    void quizKeepsThePairsItStartedWith_data() {
        QTest::addColumn<int>("change");
        QTest::addColumn<bool>("whilePlaying"); // else between the load and the start
        QTest::newRow("replaced before the start") << int(ListReplaced) << false;
        QTest::newRow("replaced while playing") << int(ListReplaced) << true;
        QTest::newRow("deleted while playing") << int(ListDeleted) << true;
    }
    void quizKeepsThePairsItStartedWith() {
        QFETCH(int, change);
        QFETCH(bool, whilePlaying);
        TestHome home;
        home.makeListFolder();
        home.writeFile(u"words_lists/quiz.txt"_qs, quizList);
        words_lists_url() = QUrl::fromLocalFile(home.listFolder());
        AppDelegate delegate;
        StdoutCapture out;
        MainWindow window(delegate);
        window.show();
        delegate.SHUFFLE = false;
        click(window.currentScreen(), "Setup_button");
        selectList(window.currentScreen(), u"quiz.txt"_qs);
        click(window.currentScreen(), "Words_list_determined_button");
        if (!whilePlaying)
            ::change(Change(change), home);
        click(window.currentScreen(), "Start_button");
        QWidget* quiz = window.currentScreen();
        QCOMPARE(quiz->metaObject()->className(), "GameViewController");

        const QStringList english{u"apple"_qs, u"book"_qs, u"cat"_qs};
        const QStringList japanese{u"りんご"_qs, u"本"_qs, u"猫"_qs};
        for (qsizetype i = 0; i < english.size(); ++i) {
            QCOMPARE(label(quiz, "Upper_words"), english[i]);
            QTest::keyRelease(quiz, Qt::Key_Down);
            if (whilePlaying && i == 0)
                ::change(Change(change), home);
            QCOMPARE(label(quiz, "Lower_words"), japanese[i]);
            QTest::keyRelease(quiz, Qt::Key_Right);
        }
        QCOMPARE(label(quiz, "Upper_words"), u"\n学習"_qs);
        QCOMPARE(label(quiz, "Lower_words"), u"終了"_qs);
        // Back on a fresh set-up screen, which lists the folder as it now is.
        click(quiz, "Back_button");
        QCOMPARE(window.currentScreen()->metaObject()->className(), "GameSettingViewController");
    }
};

QTEST_MAIN(TestPlayFaults)
#include "test_play_faults.moc"
