// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

// From the start screen to the end of a study and back, by keys alone, through the real
// main window: where the focus lands on each screen, the Tab order of the import screen,
// a segment picked by Enter, and what the quiz screen gives a screen reader to say.

#include "app/app_delegate.h"
#include "stdout_capture.h"
#include "test_home.h"
#include "ui/main_window.h"

#include <QApplication>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

class TestKeyboard : public QObject {
    Q_OBJECT
private slots:
    void startToEndAndBack();

private:
    // The focused widget's objectName, or its accessible name when it has none (a segment).
    static QString focus() {
        const QWidget* w = QApplication::focusWidget();
        return !w                          ? QStringLiteral("(none)")
               : w->objectName().isEmpty() ? w->accessibleName()
                                           : w->objectName();
    }
    QString screenName() const { return window_->currentScreen()->metaObject()->className(); }
    void keys(QKeyCombination key, int times = 1) {
        for (int i = 0; i < times; ++i)
            QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
        QCoreApplication::processEvents();
    }
    // The quiz acts on releases.
    void arrow(Qt::Key key) { QTest::keyRelease(QApplication::focusWidget(), key); }

    std::unique_ptr<MainWindow> window_;
};

void TestKeyboard::startToEndAndBack() {
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    TestHome home;
    home.makeListFolder();
    home.writeFile(QStringLiteral("words_lists/fruit.txt"), "apple$りんご\nbook$本\n");
    StdoutCapture out;
    AppDelegate delegate;
    delegate.SHUFFLE = false; // the file's order, so that the words come as written
    window_ = std::make_unique<MainWindow>(delegate);
    window_->show();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    QCOMPARE(focus(), u"Setup_button");

    // The import screen starts at the separator; Tab runs row by row, entering a segmented
    // control at its selected segment, as a radio group; an arrow picks the next segment,
    // Enter the focused one; a caption's mnemonic goes to its control's selected segment.
    keys(Qt::ALT | Qt::Key_I);
    QTRY_COMPARE(screenName(), u"LoadingViewController");
    QCOMPARE(focus(), u"カンマ");
    QStringList order;
    for (int i = 0; i < 6; ++i, keys(Qt::Key_Tab))
        order << focus();
    QCOMPARE(order,
             QString::fromUtf8("カンマ 英語が先 words_list_name Open_button Back_button カンマ")
                 .split(u' '));
    const auto example = [this] {
        return window_->currentScreen()->findChild<QLabel*>(u"sepalations_label"_qs)->text();
    };
    keys(Qt::ALT | Qt::Key_D);
    keys(Qt::Key_Right);
    QCOMPARE(focus(), u"セミコロン");
    QCOMPARE(example(), u"例: 英語;日本語");
    keys(Qt::ALT | Qt::Key_R);
    QCOMPARE(focus(), u"英語が先");
    keys(Qt::ALT | Qt::Key_D);
    QCOMPARE(focus(), u"セミコロン");
    QApplication::focusWidget()->nextInFocusChain()->setFocus(); // "@", not picked yet
    keys(Qt::Key_Return);
    QCOMPARE(example(), u"例: 英語@日本語");
    keys(Qt::ALT | Qt::Key_B);
    QTRY_COMPARE(screenName(), u"StartViewController");
    QCOMPARE(focus(), u"Setup_button");

    // Set-up: the list box; choose the list, load it, start.
    keys(Qt::Key_Space);
    QTRY_COMPARE(screenName(), u"GameSettingViewController");
    QCOMPARE(focus(), u"Words_lists");
    keys(Qt::Key_Down);
    keys(Qt::Key_Tab);
    keys(Qt::Key_Space);
    keys(Qt::ALT | Qt::Key_S);
    QTRY_COMPARE(screenName(), u"GameViewController");

    // The quiz holds the focus itself, and its name says what just changed.
    QWidget* quiz = window_->currentScreen();
    QCOMPARE(QApplication::focusWidget(), quiz);
    QCOMPARE(quiz->accessibleName(), u"apple");
    auto* hint = quiz->findChild<QLabel*>(u"Grading_hint"_qs);
    QCOMPARE(hint->text(), QString());
    arrow(Qt::Key_Down);
    QCOMPARE(quiz->accessibleName(), u"りんご");
    QCOMPARE(hint->text(), u"← 知らない / → 知っている");
    arrow(Qt::Key_Right);
    QCOMPARE(quiz->accessibleName(), u"book");
    arrow(Qt::Key_Down);
    arrow(Qt::Key_Right);
    QCOMPARE(quiz->accessibleName(), u"学習 終了");
    QCOMPARE(QApplication::focusWidget(), quiz);

    // Back to the set-up screen and on to the start.
    keys(Qt::ALT | Qt::Key_B);
    QTRY_COMPARE(screenName(), u"GameSettingViewController");
    QCOMPARE(focus(), u"Words_lists");
    keys(Qt::ALT | Qt::Key_B);
    QTRY_COMPARE(screenName(), u"StartViewController");
    QCOMPARE(focus(), u"Setup_button");
    window_.reset();
}

QTEST_MAIN(TestKeyboard)
#include "test_keyboard.moc"
