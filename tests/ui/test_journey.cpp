// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The whole road of a study through the real main window: change the settings, import a
// file, look through the set-up screen, play it to the end and back, and play again. The
// keyboard drives where it is the point (where the focus lands on each screen, the import
// screen's Tab order and mnemonics, the quiz and what it gives a screen reader); clicks
// drive the rest.

#include "app/app_delegate.h"
#include "modal_driver.h"
#include "stdout_capture.h"
#include "test_home.h"
#include "ui/list_preview.h"
#include "ui/main_window.h"
#include "ui/segmented_control.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

class TestJourney : public QObject {
    Q_OBJECT
private slots:
    void fromATextFileToAFinishedStudy();

private:
    QWidget* screen() const { return window_->currentScreen(); }
    QString screenName() const { return screen()->metaObject()->className(); }
    QString label(const char* name) const {
        return screen()->findChild<QLabel*>(QLatin1String(name))->text();
    }
    // The focused widget's objectName, or its accessible name when it has none (a segment).
    static QString focus() {
        const QWidget* w = QApplication::focusWidget();
        return !w                          ? u"(none)"_qs
               : w->objectName().isEmpty() ? w->accessibleName()
                                           : w->objectName();
    }
    void key(QKeyCombination key) {
        QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
        QCoreApplication::processEvents();
    }
    // The quiz acts on releases, and keys go where the user's focus is: inside the quiz.
    void release(QList<Qt::Key> keys) {
        for (const Qt::Key k : keys) {
            QWidget* focus = QApplication::focusWidget();
            QVERIFY(focus == screen() || screen()->isAncestorOf(focus));
            QTest::keyRelease(focus, k);
        }
    }
    void click(const char* name, QList<ModalDriver::Step> dialogs = {});
    QList<int> settings() const {
        return {int(delegate_.PLAYING_TYPE), delegate_.SHUFFLE ? 0 : 1,
                delegate_.SPEAK_AUTOMATICALLY ? 0 : 1};
    }
    void changeSettings(const QList<int>& picked);
    void wrapsWithinTheWindow(QLabel* label);
    void load(const QString& list) {
        auto* lists = screen()->findChild<QComboBox*>(u"Words_lists"_qs);
        lists->setCurrentIndex(lists->findText(list));
        click("Words_list_determined_button");
    }
    void activate() { // no window manager hands activation back after a dialog
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    }

    AppDelegate delegate_;
    std::unique_ptr<MainWindow> window_;
};

void TestJourney::click(const char* name, QList<ModalDriver::Step> dialogs) {
    auto* button = screen()->findChild<QAbstractButton*>(QLatin1String(name));
    QVERIFY2(button && button->isVisible() && button->isEnabled(), name);
    ModalDriver driver(std::move(dialogs));
    QTest::mouseClick(button, Qt::LeftButton);
    QCoreApplication::processEvents();
    QVERIFY2(driver.done(), name);
    QCOMPARE(driver.unexpected(), 0);
}

// The panel opens on the values in force and a click on a segment writes its field; Escape
// closes the panel.
void TestJourney::changeSettings(const QList<int>& picked) {
    const QList<int> before = settings();
    QList<int> shown;
    click("Settings_button", {[&](QWidget* panel) {
              int i = 0;
              for (const char* name :
                   {"Answer_type_control", "Auto_shuffle_control", "Speech_control"}) {
                  auto* control = panel->findChild<SegmentedControl*>(QLatin1String(name));
                  shown << control->selectedSegment();
                  const QList<QPushButton*> segments = control->findChildren<QPushButton*>();
                  QTest::mouseClick(segments.value(picked[i++]), Qt::LeftButton);
              }
              QTest::keyClick(panel, Qt::Key_Escape);
              QVERIFY(!panel->isVisible());
          }});
    QCOMPARE(shown, before);
    QCOMPARE(settings(), picked);
    activate();
}

// A long word wraps within the label instead of running off both edges: ink on rows
// spanning at least two lines, none of it in the outermost columns.
void TestJourney::wrapsWithinTheWindow(QLabel* label) {
    QVERIFY(label->fontMetrics().horizontalAdvance(label->text()) > label->width());
    // What is painted is the layout that follows the new text.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QCoreApplication::processEvents();
    const QImage image = label->grab().toImage();
    const QRgb background = image.pixel(0, 0);
    int top = image.height(), bottom = -1, edgeInk = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != background) {
                top = qMin(top, y);
                bottom = y;
                edgeInk += x == 0 || x == image.width() - 1;
            }
    QVERIFY2(bottom - top > label->fontMetrics().height(), "the word is on one line: cut off");
    QCOMPARE(edgeInk, 0);
}

void TestJourney::fromATextFileToAFinishedStudy() {
    // As main() does: the sound client keeps its own files there, not in the home folder.
    // The file panel's settings must not land there either: the program sends them elsewhere.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    // Speech is switched on below: no sound server, so that the journey stays silent.
    qputenv("PULSE_SERVER", "unix:/nonexistent/verbolin-test");
    TestHome home;
    QTemporaryDir sources;
    const QString source = sources.filePath(u"fruit source.txt"_qs);
    QFile file(source);
    // A word with no break point, asked after a short one.
    const QByteArray longWord =
        QByteArray("Pneumonoultramicroscopicsilicovolcanoconiosis").repeated(2);
    QVERIFY(file.open(QIODevice::WriteOnly) &&
            file.write("apple@りんご\r\n" + longWord + "@本\ncat@猫\n"));
    file.close();

    StdoutCapture out(StdoutCapture::AsWritten);
    window_ = std::make_unique<MainWindow>(delegate_);
    window_->show();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    QCOMPARE(focus(), u"Setup_button");
    changeSettings({0, 1, 0}); // the file's order

    // The import screen starts at the separator; Tab runs row by row, entering a segmented
    // control at its selected segment, as a radio group; an arrow picks the next segment,
    // Enter the focused one; a caption's mnemonic goes to its control's selected segment.
    key(Qt::ALT | Qt::Key_I);
    QTRY_COMPARE(screenName(), u"LoadingViewController");
    QCOMPARE(label("sepalations_label"), u"例: 英語,日本語"_qs);
    QStringList order;
    for (int i = 0; i < 6; ++i, key(Qt::Key_Tab))
        order << focus();
    QCOMPARE(order,
             u"カンマ 英語が先 words_list_name Open_button Back_button カンマ"_qs.split(u' '));
    key(Qt::ALT | Qt::Key_D);
    key(Qt::Key_Right);
    QCOMPARE(focus(), u"セミコロン");
    QCOMPARE(label("sepalations_label"), u"例: 英語;日本語");
    key(Qt::ALT | Qt::Key_R);
    QCOMPARE(focus(), u"英語が先");
    key(Qt::ALT | Qt::Key_D);
    QCOMPARE(focus(), u"セミコロン");
    QApplication::focusWidget()->nextInFocusChain()->setFocus(); // "@", not picked yet
    key(Qt::Key_Return);
    QCOMPARE(label("sepalations_label"), u"例: 英語@日本語");
    // Imported, English first with "@", under a typed name.
    QTest::keyClicks(screen()->findChild<QLineEdit*>(u"words_list_name"_qs), u"fruit"_qs);
    ShownAlert done;
    click("Open_button", {choosePath(source), answerAlert(&done)});
    QCOMPARE(done.text, u"読み込み完了"_qs);
    QCOMPARE(done.informativeText,
             u"単語リストの読み込みが完了しました。\n単語リスト名はfruitです。"_qs);
    QCOMPARE(home.readFile(u"words_lists/fruit.txt"_qs),
             "apple$りんご\n" + longWord + "$本\ncat$猫\n");
    activate();
    key(Qt::ALT | Qt::Key_B);
    QTRY_COMPARE(screenName(), u"StartViewController");
    QCOMPARE(focus(), u"Setup_button");

    // Set-up: nothing chosen on arrival; an arrow in the list box chooses but only the
    // button loads.
    const QByteArray longList = QByteArray(2500, 'x') + "\n" + QByteArray("c$猫\n").repeated(500);
    home.writeFile(u"words_lists/long.txt"_qs, longList);
    home.writeFile(u"words_lists/other.txt"_qs, "o$1\n" + longList);
    key(Qt::Key_Space);
    QTRY_COMPARE(screenName(), u"GameSettingViewController");
    QCOMPARE(focus(), u"Words_lists");
    auto* lists = screen()->findChild<QComboBox*>(u"Words_lists"_qs);
    QCOMPARE(lists->currentIndex(), -1);
    QVERIFY(!screen()->findChild<QPushButton*>(u"Start_button"_qs)->isEnabled());
    key(Qt::Key_Down);
    QVERIFY(lists->currentIndex() >= 0 && delegate_.WORDS_LIST_FOR_GAME.isEmpty());
    // The preview cuts a line into rows of at most a thousand characters, scrolls by the
    // keyboard and shows a new text from its top.
    auto* preview = screen()->findChild<ListPreview*>(u"List_check_textfield"_qs);
    load(u"long.txt"_qs);
    QCOMPARE(preview->rowCount(), 503);
    QScrollBar* bar = preview->verticalScrollBar();
    preview->setFocus();
    QTest::keyClick(preview, Qt::Key_End, Qt::ControlModifier);
    QVERIFY(bar->value() > 0 && bar->value() == bar->maximum());
    load(u"other.txt"_qs);
    QCOMPARE(bar->value(), 0);
    // Deletion asks first; Escape means "Cancel" and Enter "YES".
    for (const Qt::Key k : {Qt::Key_Escape, Qt::Key_Return}) {
        lists->setCurrentIndex(lists->findText(u"long.txt"_qs));
        QStringList shown; // the text, the informative text, the buttons in their order
        click("Delete_button", {[&](QWidget* modal) {
                  auto* box = qobject_cast<QMessageBox*>(modal);
                  shown << box->text() << box->informativeText();
                  for (QAbstractButton* button : box->buttons())
                      shown << button->text();
                  QTest::keyClick(box, k);
              }});
        QCOMPARE(shown,
                 QStringList({"単語リストの削除", "long.txtを削除しますか？", "YES", "Cancel"}));
        QCOMPARE(lists->findText(u"long.txt"_qs) >= 0, k == Qt::Key_Escape);
    }
    // A cancelled folder panel changes nothing; a chosen folder is listed, and normal_path
    // lists words_lists again.
    auto* path = screen()->findChild<QLineEdit*>(u"path_textfield"_qs);
    const QString defaultPath = path->text();
    click("Open_button", {choosePath(QString())});
    QCOMPARE(path->text(), defaultPath);
    click("Open_button", {choosePath(sources.path())});
    QCOMPARE(path->text(), QUrl::fromLocalFile(sources.path()).toString(QUrl::FullyEncoded) + u'/');
    QCOMPARE(lists->itemText(0), u"fruit source.txt"_qs);
    click("normal_path_button");
    QCOMPARE(path->text(), defaultPath);
    // The list box, Tab to the load button, Space loads; Alt+S starts.
    activate();
    lists->setFocus();
    lists->setCurrentIndex(-1);
    key(Qt::Key_Down);
    QCOMPARE(lists->currentText(), u"fruit.txt"_qs);
    key(Qt::Key_Tab);
    key(Qt::Key_Space);
    QCOMPARE(preview->toPlainText(),
             QString::fromUtf8("apple$りんご\n" + longWord + "$本\ncat$猫\n"));
    QCOMPARE(label("All_words_number"), u"全3単語"_qs);
    key(Qt::ALT | Qt::Key_S);
    QTRY_COMPARE(screenName(), u"GameViewController");
    QVERIFY(out.lines().contains(u"file://"_qs + home.path() + u"/words_lists/fruit.txt"_qs));

    // Play it in the file's order: a wrong answer in lap 1, then a clean lap 2. The quiz
    // holds the focus itself, and its name says what just changed.
    QWidget* quiz = screen();
    // A word is shown as it is, never as markup. Without a sound server the speak button is
    // disabled and says why, in one line printed for the run (checked after the second play).
    for (QLabel* label : quiz->findChildren<QLabel*>())
        QCOMPARE(label->textFormat(), Qt::PlainText);
    auto* speak = quiz->findChild<QPushButton*>("Speak_button");
    QVERIFY(!speak->isEnabled() && speak->toolTip().contains(u"pulseaudio"));
    QCOMPARE(QApplication::focusWidget(), quiz);
    QCOMPARE(quiz->accessibleName(), u"apple");
    QCOMPARE(label("Grading_hint"), QString());
    release({Qt::Key_Down});
    QCOMPARE(quiz->accessibleName(), u"りんご");
    QCOMPARE(label("Grading_hint"), u"← 知らない / → 知っている");
    release({Qt::Key_Left});
    QCOMPARE(out.lines().last(), u"miscount1"_qs);
    QCOMPARE(quiz->accessibleName(), QString::fromLatin1(longWord));
    wrapsWithinTheWindow(screen()->findChild<QLabel*>(u"Upper_words"_qs));
    release({Qt::Key_Down, Qt::Key_Right, Qt::Key_Down, Qt::Key_Right});
    QCOMPARE(label("Last_words"), u"66%正解"_qs);
    release({Qt::Key_Up, Qt::Key_Down, Qt::Key_Right});
    QCOMPARE(quiz->accessibleName(), u"学習 終了");
    QCOMPARE(QApplication::focusWidget(), quiz);

    // Back to the set-up screen and on to the start.
    key(Qt::ALT | Qt::Key_B);
    QTRY_COMPARE(screenName(), u"GameSettingViewController");
    QCOMPARE(focus(), u"Words_lists");
    key(Qt::ALT | Qt::Key_B);
    QTRY_COMPARE(screenName(), u"StartViewController");
    QCOMPARE(focus(), u"Setup_button");

    // Ask the Japanese side and play again: the quiz asks the pairs that were loaded, even
    // if the file changed before the start.
    changeSettings({1, 1, 1});
    click("Setup_button");
    load(u"fruit.txt"_qs);
    home.writeFile(u"words_lists/fruit.txt"_qs, "x$エ\n");
    click("Start_button");
    activate();
    QCOMPARE(label("Upper_words"), u"りんご"_qs);
    release({Qt::Key_Down});
    QCOMPARE(label("Lower_words"), u"apple"_qs);
    QCOMPARE(out.lines().filter(u"pulseaudio"_qs).size(), 1);

    // Nothing but the store was written in the home folder.
    QCOMPARE(QDir(home.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             (QStringList{u"count.txt"_qs, u"words_lists"_qs}));
    QVERIFY(!QFileInfo::exists(config.path() + u"/QtProject.conf"_qs));
    window_.reset();
}

QTEST_MAIN(TestJourney)
#include "test_journey.moc"
