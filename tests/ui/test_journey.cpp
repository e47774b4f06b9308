// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The whole road of a study, through the real main window and its buttons only: import a
// file, load it, play it to the end, change the settings and play again.

#include "app/app_delegate.h"
#include "modal_driver.h"
#include "stdout_capture.h"
#include "test_home.h"
#include "ui/main_window.h"
#include "ui/segmented_control.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

class TestJourney : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void fromATextFileToAFinishedStudy();

private:
    QWidget* screen() const { return window_->currentScreen(); }
    template <typename T = QWidget> T* find(const char* name) const {
        T* widget = screen()->findChild<T*>(QLatin1String(name));
        if (!widget)
            qWarning("no %s on %s", name, screen()->metaObject()->className());
        return widget;
    }
    QString label(const char* name) const { return find<QLabel>(name)->text(); }
    void click(const char* name, QList<ModalDriver::Step> dialogs = {});
    void clickSegment(QWidget* within, const char* control, int index);
    void changeSettings(int answerType, int shuffle);
    void key(Qt::Key key);
    void loadAndStart(const QString& list);

    QTemporaryDir config_;
    std::unique_ptr<MainWindow> window_;
};

void TestJourney::initTestCase() {
    // As main() does: the sound client keeps its own files there, not in the home folder.
    // The file panel's settings must not land there either: the program sends them elsewhere.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config_.path()));
}

void TestJourney::click(const char* name, QList<ModalDriver::Step> dialogs) {
    auto* button = find<QAbstractButton>(name);
    QVERIFY(button);
    QVERIFY2(button->isVisible() && button->isEnabled(), name);
    ModalDriver driver(std::move(dialogs));
    QTest::mouseClick(button, Qt::LeftButton);
    QCoreApplication::processEvents();
    QVERIFY2(driver.done(), name);
    QCOMPARE(driver.unexpected(), 0);
}

void TestJourney::clickSegment(QWidget* within, const char* control, int index) {
    auto* segments = within->findChild<SegmentedControl*>(QLatin1String(control));
    QVERIFY(segments);
    QPushButton* button = segments->findChildren<QPushButton*>().value(index);
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(segments->selectedSegment(), index);
}

void TestJourney::changeSettings(int answerType, int shuffle) {
    click("Settings_button", {[&](QWidget* modal) {
              clickSegment(modal, "Answer_type_control", answerType);
              clickSegment(modal, "Auto_shuffle_control", shuffle);
              auto* close = modal->findChild<QPushButton*>(u"Close_button"_qs);
              QVERIFY(close);
              close->click();
          }});
}

void TestJourney::key(Qt::Key k) {
    // Keys go where the user's focus is: somewhere inside the quiz screen.
    QWidget* focus = QApplication::focusWidget();
    QVERIFY(focus == screen() || screen()->isAncestorOf(focus));
    QTest::keyRelease(focus, k);
}

void TestJourney::loadAndStart(const QString& list) {
    click("Setup_button");
    QCOMPARE(screen()->metaObject()->className(), "GameSettingViewController");
    auto* lists = find<QComboBox>("Words_lists");
    QVERIFY(lists);
    QCOMPARE(lists->currentIndex(), -1);
    lists->setCurrentIndex(lists->findText(list));
    QCOMPARE(lists->currentText(), list);
    click("Words_list_determined_button");
    QCOMPARE(label("All_words_number"), u"全3単語"_qs);
    click("Start_button");
    QCOMPARE(screen()->metaObject()->className(), "GameViewController");
    // No window manager hands activation back after the settings dialog: do as one would.
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
}

void TestJourney::fromATextFileToAFinishedStudy() {
    TestHome home;
    QTemporaryDir sources;
    QFile source(sources.filePath(u"fruit source.txt"_qs));
    QVERIFY(source.open(QIODevice::WriteOnly));
    source.write(u"apple,りんご\r\nbook,本\ncat,猫\n"_qs.toUtf8());
    source.close();

    AppDelegate delegate;
    StdoutCapture out(StdoutCapture::AsWritten);
    window_ = std::make_unique<MainWindow>(delegate);
    window_->show();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    QVERIFY(QFileInfo(home.listFolder()).isDir());

    // Import, English first with ",", under a typed name.
    click("Import_button");
    QCOMPARE(screen()->metaObject()->className(), "LoadingViewController");
    clickSegment(screen(), "Separator_control", 0);
    clickSegment(screen(), "Sequence_control", 0);
    QCOMPARE(label("sepalations_label"), u"例: 英語,日本語"_qs);
    QTest::keyClicks(find<QLineEdit>("words_list_name"), u"fruit"_qs);
    ShownAlert done;
    click("Open_button", {choosePath(source.fileName()), answerAlert(&done)});
    QCOMPARE(done.text, u"読み込み完了"_qs);
    QCOMPARE(done.informativeText,
             u"単語リストの読み込みが完了しました。\n単語リスト名はfruitです。"_qs);
    QCOMPARE(done.buttons, QStringList{u"OK"_qs});
    QCOMPARE(home.readFile(u"words_lists/fruit.txt"_qs),
             u"apple$りんご\nbook$本\ncat$猫\n"_qs.toUtf8());
    QCOMPARE(home.readFile(u"count.txt"_qs), QByteArray("1"));
    QVERIFY(!home.has(u"words_lists/Words_list_1.txt"_qs));
    QStringList lines = out.lines();
    QVERIFY(lines.contains(u"apple$りんご"_qs) && lines.contains(u"cat$猫"_qs));
    click("Back_button");
    QCOMPARE(screen()->metaObject()->className(), "StartViewController");

    // Play it in the file's order: a wrong answer in lap 1, then a clean lap 2.
    changeSettings(0, 1);
    QCOMPARE(delegate.SHUFFLE, false);
    loadAndStart(u"fruit.txt"_qs);
    QVERIFY(out.lines().contains(u"file://"_qs + home.path() + u"/words_lists/fruit.txt"_qs));
    QCOMPARE(label("Upper_words"), u"apple"_qs);
    QCOMPARE(label("Last_words"), u"1/3"_qs);
    key(Qt::Key_Down);
    QCOMPARE(label("Lower_words"), u"りんご"_qs);
    key(Qt::Key_Left);
    QCOMPARE(out.lines().last(), u"miscount1"_qs);
    QCOMPARE(label("Upper_words"), u"book"_qs);
    key(Qt::Key_Down);
    key(Qt::Key_Right);
    key(Qt::Key_Down);
    key(Qt::Key_Right);
    QCOMPARE(label("Last_words"), u"66%正解"_qs);
    QCOMPARE(label("Upper_words"), u"\n2周目"_qs);
    QCOMPARE(label("Lower_words"), u"スタート"_qs);
    QCOMPARE(label("Upper_info"), u"↑"_qs);
    key(Qt::Key_Up);
    QCOMPARE(label("Upper_words"), u"apple"_qs);
    QCOMPARE(label("Last_words"), u"1/1"_qs);
    key(Qt::Key_Down);
    key(Qt::Key_Right);
    QCOMPARE(label("Upper_words"), u"\n学習"_qs);
    QCOMPARE(label("Lower_words"), u"終了"_qs);
    QCOMPARE(label("Last_words"), QString());

    // Leave, ask the Japanese side, and play again.
    click("Back_button");
    QCOMPARE(screen()->metaObject()->className(), "GameSettingViewController");
    click("Back_button");
    changeSettings(1, 1);
    QCOMPARE(delegate.PLAYING_TYPE, 1);
    loadAndStart(u"fruit.txt"_qs);
    QCOMPARE(label("Upper_words"), u"りんご"_qs);
    key(Qt::Key_Down);
    QCOMPARE(label("Lower_words"), u"apple"_qs);

    // Nothing but the store was written in the home folder.
    QCOMPARE(QDir(home.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             (QStringList{u"count.txt"_qs, u"words_lists"_qs}));
    QVERIFY(!QFileInfo::exists(config_.path() + u"/QtProject.conf"_qs));
    window_.reset();
}

QTEST_MAIN(TestJourney)
#include "test_journey.moc"
