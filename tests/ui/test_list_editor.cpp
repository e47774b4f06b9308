// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The editor's wiring, walked through the real main window: from the set-up screen into the
// editor, the edits by keys and buttons, the questions of a save and of leaving, and back to
// a set-up screen and a quiz that have the fixed list.
#include "app/app_delegate.h"
#include "modal_driver.h"
#include "test_home.h"
#include "ui/main_window.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

class TestListEditor : public QObject {
    Q_OBJECT
private slots:
    void walk() {
        TestHome home;
        home.makeListFolder();
        home.writeFile(u"words_lists/fruit.txt"_qs, "apple$りんご\nbok$本\n");
        AppDelegate delegate;
        delegate.SHUFFLE = false;
        MainWindow window(delegate);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const auto find = [&](const char* name) {
            return window.currentScreen()->findChild<QWidget*>(QString::fromLatin1(name));
        };
        const auto click = [&](const char* name) {
            QTest::mouseClick(qobject_cast<QPushButton*>(find(name)), Qt::LeftButton);
            QApplication::processEvents(); // the old screen goes
        };
        const auto text = [&](const char* name) {
            return qobject_cast<QLabel*>(find(name))->text();
        };
        // Replaces the text of the cell being edited.
        const auto type = [](const QString& text, Qt::Key end, Qt::KeyboardModifiers with = {}) {
            auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
            editor->selectAll();
            editor->insert(text);
            QTest::keyClick(editor, end, with);
            QApplication::processEvents(); // Enter commits the cell after the key
        };
        // Does what opens an alert, answers it and gives its text.
        const auto answer = [](const QString& button, const std::function<void()>& open) {
            ShownAlert shown;
            ModalDriver driver({answerAlert(&shown, button)});
            open();
            return QTest::qWaitFor([&] { return driver.done(); }) ? shown.text : QString();
        };
        click("Setup_button");
        QVERIFY(!find("Edit_button")->isEnabled());
        auto* lists = qobject_cast<QComboBox*>(find("Words_lists"));
        lists->setCurrentIndex(lists->findText(u"fruit.txt"_qs));
        click("Words_list_determined_button");
        click("Edit_button");

        auto* table = qobject_cast<QTableView*>(find("Pairs_table"));
        QVERIFY(table && table->hasFocus());
        QCOMPARE(table->currentIndex(), table->model()->index(0, 0));
        table->setCurrentIndex(table->model()->index(1, 0));
        QTest::keyClick(table, Qt::Key_F2);
        type(u"book"_qs, Qt::Key_Return);
        // Added after the current row; Enter in the last Japanese cell adds one more, which
        // Escape takes back while it is empty.
        click("Add_pair_button");
        type(u"cat"_qs, Qt::Key_Tab);
        type(u"猫"_qs, Qt::Key_Return);
        QCOMPARE(table->model()->rowCount(), 4);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QCOMPARE(table->model()->rowCount(), 3);
        table->selectRow(0);
        click("Remove_pairs_button");
        QTest::keyClick(table, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(table->model()->index(0, 0).data().toString(), u"apple"_qs);

        // Ctrl+S with the cell's new text still in its editor.
        table->setCurrentIndex(table->model()->index(2, 1));
        QTest::keyClick(table, Qt::Key_F2);
        type(u"ねこ"_qs, Qt::Key_S, Qt::ControlModifier);
        const QByteArray saved = "apple$りんご\nbook$本\ncat$ねこ\n";
        QCOMPARE(home.readFile(u"words_lists/fruit.txt"_qs), saved);
        QCOMPARE(text("Editor_message"), u"保存しました"_qs);
        // Another program wrote the list meanwhile: overwritten only when asked to.
        home.writeFile(u"words_lists/fruit.txt"_qs, "x$y\n");
        QCOMPARE(
            answer(u"上書き"_qs, [&] { QTest::keyClick(table, Qt::Key_S, Qt::ControlModifier); }),
            u"単語リスト「fruit.txt」はほかのプログラムで変更されています。上書きしますか？"_qs);
        QCOMPARE(home.readFile(u"words_lists/fruit.txt"_qs), saved);

        // A bad pair, marked and not kept, by the answer to leaving.
        click("Add_pair_button");
        type(u"りんご"_qs, Qt::Key_Return);
        QVERIFY(!find("Save_list_button")->isEnabled());
        QCOMPARE(text("Editor_message"), u"4行目: 日本語と英語の順番が正しくありません。"_qs);
        QCOMPARE(answer(u"保存しない"_qs, [&] { click("Editor_back_button"); }),
                 u"変更を保存しますか？"_qs);
        QCOMPARE(text("All_words_number"), u"全3単語"_qs);
        click("Start_button");
        QCOMPARE(delegate.english_words, QStringList({u"apple"_qs, u"book"_qs, u"cat"_qs}));
        QCOMPARE(text("Upper_words"), u"apple"_qs);
    }
};

QTEST_MAIN(TestListEditor)
#include "test_list_editor.moc"
