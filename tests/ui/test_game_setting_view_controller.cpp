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
#include <memory>

// Drives the real set-up screen through its controls, its alert and its folder panel; the
// rules behind them are the core's and are tested there.
class TestGameSettingViewController : public QObject {
    Q_OBJECT

    std::unique_ptr<TestHome> home_;
    std::unique_ptr<AppDelegate> delegate_;
    std::unique_ptr<GameSettingViewController> screen_;

    template <typename T> T* find(const char* name) {
        T* child = screen_->findChild<T*>(QLatin1String(name));
        if (!child)
            qFatal("no %s on the set-up screen", name);
        return child;
    }
    QComboBox* combo() { return find<QComboBox>("Words_lists"); }
    ListPreview* previewArea() { return find<ListPreview>("List_check_textfield"); }
    QString preview() { return previewArea()->toPlainText(); }
    QString pathText() { return find<QLineEdit>("path_textfield")->text(); }
    void click(const char* button) { QTest::mouseClick(find<QPushButton>(button), Qt::LeftButton); }
    void choose(const QString& name) { combo()->setCurrentIndex(combo()->findText(name)); }
    // Runs a click during which the given modal dialogs open, and checks each was answered.
    void clickWith(const char* button, QList<ModalDriver::Step> steps) {
        ModalDriver driver(std::move(steps));
        click(button);
        QVERIFY(driver.done());
        QCOMPARE(driver.unexpected(), 0);
    }

private slots:
    void init() {
        home_ = std::make_unique<TestHome>();
        home_->makeListFolder();
        home_->writeFile(QStringLiteral("words_lists/a.txt"), "apple$りんご\r\nbook$本\r\n");
        home_->writeFile(QStringLiteral("words_lists/b.txt"),
                         QByteArray(2500, 'x') + "\n" + QByteArray("cat$猫\n").repeated(500));
        words_lists_url() = QUrl::fromLocalFile(home_->listFolder());
        delegate_ = std::make_unique<AppDelegate>();
        screen_ = std::make_unique<GameSettingViewController>(*delegate_);
        screen_->show();
        QVERIFY(QTest::qWaitForWindowExposed(screen_.get()));
    }
    void cleanup() {
        screen_.reset();
        home_.reset();
    }

    void loadsOnlyOnTheDetermineButton() {
        QVERIFY(!combo()->isEditable());
        QCOMPARE(combo()->count(), 2);
        QCOMPARE(combo()->currentIndex(), -1);
        QVERIFY(!find<QPushButton>("Start_button")->isEnabled());
        combo()->setFocus();
        QTest::keyClick(combo(), Qt::Key_Down);
        QVERIFY(combo()->currentIndex() >= 0);
        QCOMPARE(delegate_->WORDS_LIST_FOR_GAME, QString());
        choose(QStringLiteral("a.txt"));
        click("Words_list_determined_button");
        QCOMPARE(preview(), QStringLiteral("apple$りんご\r\nbook$本\r\n"));
        QCOMPARE(find<QLabel>("All_words_number")->text(), QStringLiteral("全2単語"));
        QVERIFY(find<QPushButton>("Start_button")->isEnabled());
        QCOMPARE(combo()->currentText(), QStringLiteral("a.txt"));

        // The preview cuts a line into rows of at most a thousand characters; it is
        // read-only, scrolls by the keyboard and shows a new text from its top.
        choose(QStringLiteral("b.txt"));
        click("Words_list_determined_button");
        QCOMPARE(previewArea()->rowCount(), 503);
        const QString text = preview();
        QScrollBar* bar = previewArea()->verticalScrollBar();
        previewArea()->setFocus();
        QTest::keyClick(previewArea(), Qt::Key_End, Qt::ControlModifier);
        QVERIFY(bar->value() > 0 && bar->value() == bar->maximum());
        QTest::keyClicks(previewArea(), QStringLiteral("typed"));
        QCOMPARE(preview(), text);
        choose(QStringLiteral("a.txt"));
        click("Words_list_determined_button");
        QCOMPARE(previewArea()->rowCount(), 2);
        QCOMPARE(bar->value(), 0);
    }

    void deleteAlert_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("removed");
        QTest::newRow("Enter: YES") << int(Qt::Key_Return) << true;
        QTest::newRow("Escape: Cancel") << int(Qt::Key_Escape) << false;
    }
    void deleteAlert() {
        QFETCH(int, key);
        QFETCH(bool, removed);
        choose(QStringLiteral("a.txt"));
        click("Words_list_determined_button");
        choose(QStringLiteral("b.txt"));
        QStringList shown; // the text, the informative text, the buttons in their order
        clickWith("Delete_button", {[&](QWidget* modal) {
                      auto* box = qobject_cast<QMessageBox*>(modal);
                      QVERIFY(box);
                      shown << box->text() << box->informativeText();
                      for (QAbstractButton* button : box->buttons())
                          shown << button->text();
                      QTest::keyClick(box, Qt::Key(key));
                  }});
        QCOMPARE(shown,
                 QStringList({"単語リストの削除", "b.txtを削除しますか？", "YES", "Cancel"}));
        QCOMPARE(home_->has(QStringLiteral("words_lists/b.txt")), !removed);
        QCOMPARE(combo()->count(), removed ? 1 : 2);
        QCOMPARE(combo()->currentText(), removed ? QString() : QStringLiteral("b.txt"));
        QCOMPARE(preview(), removed ? QString() : QStringLiteral("apple$りんご\r\nbook$本\r\n"));
    }

    void folderPanel() {
        choose(QStringLiteral("b.txt"));
        const QString path = pathText();
        clickWith("Open_button", {choosePath(QString())}); // cancelled: nothing changes
        QCOMPARE(pathText(), path);
        QCOMPARE(combo()->currentText(), QStringLiteral("b.txt"));
        const QString other = home_->path() + QStringLiteral("/other");
        QDir().mkdir(other);
        home_->writeFile(QStringLiteral("other/o.txt"), "o$1\n");
        clickWith("Open_button", {choosePath(other)});
        QCOMPARE(pathText(), QUrl::fromLocalFile(other).toString(QUrl::FullyEncoded) + '/');
        QCOMPARE(combo()->count(), 1);
        QCOMPARE(combo()->itemText(0), QStringLiteral("o.txt"));
        QCOMPARE(combo()->currentIndex(), -1);
        click("normal_path_button");
        QCOMPARE(combo()->count(), 2);
        QCOMPARE(combo()->currentIndex(), -1);
    }
};

QTEST_MAIN(TestGameSettingViewController)
#include "test_game_setting_view_controller.moc"
