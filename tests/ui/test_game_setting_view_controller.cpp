// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/app_delegate.h"
#include "modal_driver.h"
#include "test_home.h"
#include "ui/game_setting_view_controller.h"
#include "ui/list_preview.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

// Drives the real set-up screen through its controls, its alert and its folder panel; the
// rules behind them are the core's and are tested there.
class TestGameSettingViewController : public QObject {
    Q_OBJECT
private slots:
    void loadDeleteAndChooseAFolder();
};

void TestGameSettingViewController::loadDeleteAndChooseAFolder() {
    TestHome home;
    home.makeListFolder();
    home.writeFile(u"words_lists/a.txt"_qs, "apple$りんご\r\nbook$本\r\n");
    home.writeFile(u"words_lists/b.txt"_qs,
                   QByteArray(2500, 'x') + "\n" + QByteArray("cat$猫\n").repeated(500));
    words_lists_url() = QUrl::fromLocalFile(home.listFolder());
    AppDelegate delegate;
    GameSettingViewController screen(delegate);
    screen.show();
    QVERIFY(QTest::qWaitForWindowExposed(&screen));
    auto* lists = screen.findChild<QComboBox*>(u"Words_lists"_qs);
    auto* preview = screen.findChild<ListPreview*>(u"List_check_textfield"_qs);
    auto* start = screen.findChild<QPushButton*>(u"Start_button"_qs);
    auto* path = screen.findChild<QLineEdit*>(u"path_textfield"_qs);
    const auto click = [&](const char* name, QList<ModalDriver::Step> steps = {}) {
        ModalDriver driver(std::move(steps));
        QTest::mouseClick(screen.findChild<QPushButton*>(QLatin1String(name)), Qt::LeftButton);
        QVERIFY(driver.done());
        QCOMPARE(driver.unexpected(), 0);
    };
    const auto load = [&](const QString& name) {
        lists->setCurrentIndex(lists->findText(name));
        click("Words_list_determined_button");
    };

    // Only the button loads: moving through the lists with the arrow keys does not.
    QVERIFY(lists->currentIndex() == -1 && !start->isEnabled());
    lists->setFocus();
    QTest::keyClick(lists, Qt::Key_Down);
    QVERIFY(lists->currentIndex() >= 0);
    QCOMPARE(delegate.WORDS_LIST_FOR_GAME, QString());
    load(u"a.txt"_qs);
    QCOMPARE(preview->toPlainText(), u"apple$りんご\r\nbook$本\r\n"_qs);
    QCOMPARE(screen.findChild<QLabel*>(u"All_words_number"_qs)->text(), u"全2単語"_qs);
    QVERIFY(start->isEnabled());

    // The preview cuts a line into rows of at most a thousand characters, scrolls by the
    // keyboard and shows a new text from its top.
    load(u"b.txt"_qs);
    QCOMPARE(preview->rowCount(), 503);
    QScrollBar* bar = preview->verticalScrollBar();
    preview->setFocus();
    QTest::keyClick(preview, Qt::Key_End, Qt::ControlModifier);
    QVERIFY(bar->value() > 0 && bar->value() == bar->maximum());
    load(u"a.txt"_qs);
    QCOMPARE(bar->value(), 0);

    // Deletion asks first; Escape means "Cancel" and Enter "YES".
    for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return}) {
        lists->setCurrentIndex(lists->findText(u"b.txt"_qs));
        QStringList shown; // the text, the informative text, the buttons in their order
        click("Delete_button", {[&](QWidget* modal) {
                  auto* box = qobject_cast<QMessageBox*>(modal);
                  shown << box->text() << box->informativeText();
                  for (QAbstractButton* button : box->buttons())
                      shown << button->text();
                  QTest::keyClick(box, key);
              }});
        QCOMPARE(shown,
                 QStringList({"単語リストの削除", "b.txtを削除しますか？", "YES", "Cancel"}));
        QCOMPARE(lists->findText(u"b.txt"_qs) >= 0, key == Qt::Key_Escape);
    }

    // A cancelled folder panel changes nothing; a chosen folder is listed, and
    // normal_path lists words_lists again.
    const QString defaultPath = path->text();
    click("Open_button", {choosePath(QString())});
    QCOMPARE(path->text(), defaultPath);
    const QString other = home.path() + u"/other"_qs;
    QVERIFY(QDir().mkdir(other));
    home.writeFile(u"other/o.txt"_qs, "o$1\n");
    click("Open_button", {choosePath(other)});
    QCOMPARE(path->text(), QUrl::fromLocalFile(other).toString(QUrl::FullyEncoded) + u'/');
    QVERIFY(lists->count() == 1 && lists->itemText(0) == u"o.txt"_qs);
    click("normal_path_button");
    QVERIFY(lists->count() == 1 && lists->itemText(0) == u"a.txt"_qs);
    QCOMPARE(path->text(), defaultPath);
}

QTEST_MAIN(TestGameSettingViewController)
#include "test_game_setting_view_controller.moc"
