#include "app/app_delegate.h"
#include "stdout_capture.h"
#include "test_home.h"
#include "ui/game_setting_view_controller.h"
#include "ui/game_view_controller.h"
#include "ui/main_window.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

// Drives the real set-up screen through its controls, its alert and its folder panel.
class TestGameSettingViewController : public QObject {
    Q_OBJECT

    std::unique_ptr<TestHome> home_;
    QStringList printedWhenShown_;
    std::unique_ptr<AppDelegate> delegate_;
    std::unique_ptr<GameSettingViewController> screen_;

    template <typename T> T* find(const char* name) {
        T* child = screen_->findChild<T*>(QLatin1String(name));
        if (!child)
            qFatal("no %s on the set-up screen", name);
        return child;
    }
    QComboBox* combo() { return find<QComboBox>("Words_lists"); }
    QWidget* preview() { return find<QWidget>("List_check_textfield"); }
    QString previewText() { return preview()->property("plainText").toString(); }
    void click(const char* button) { QTest::mouseClick(find<QPushButton>(button), Qt::LeftButton); }
    void choose(const QString& name) {
        combo()->setCurrentIndex(combo()->findText(name));
        QVERIFY(combo()->currentIndex() >= 0);
    }

    // Handles the next modal window of this test once it is up. The handler must close it;
    // whatever it leaves open is rejected, so that a failing test cannot hang.
    QTimer modalPoll_;
    std::function<void(QWidget*)> onModal_;

    void whenModal(std::function<void(QWidget*)> handle) {
        onModal_ = std::move(handle);
        modalPoll_.start(5);
    }
    void pollModal() {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        modalPoll_.stop();
        onModal_(modal);
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            dialog->reject();
    }

    void answerDelete(int key, QString* text = nullptr, QString* informative = nullptr,
                      QStringList* buttons = nullptr) {
        whenModal([=](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QVERIFY(box);
            if (text)
                *text = box->text();
            if (informative)
                *informative = box->informativeText();
            if (buttons)
                for (QAbstractButton* button : box->buttons())
                    buttons->append(button->text());
            QTest::keyClick(box, Qt::Key(key));
        });
    }

private slots:
    void initTestCase() {
        connect(&modalPoll_, &QTimer::timeout, this, &TestGameSettingViewController::pollModal);
    }

    void init() {
        home_ = std::make_unique<TestHome>();
        home_->makeListFolder();
        home_->writeFile(QStringLiteral("words_lists/a.txt"), "apple$りんご\r\nbook$本\r\n");
        home_->writeFile(QStringLiteral("words_lists/b.txt"), "cat$猫\n");
        words_lists_url() = QUrl::fromLocalFile(home_->listFolder());
        delegate_ = std::make_unique<AppDelegate>();
        delegate_->SHUFFLE = false;
        {
            StdoutCapture out;
            screen_ = std::make_unique<GameSettingViewController>(*delegate_);
            printedWhenShown_ = out.lines();
        }
        screen_->resize(760, 560);
        screen_->show();
        QVERIFY(QTest::qWaitForWindowExposed(screen_.get()));
    }
    void cleanup() {
        modalPoll_.stop();
        screen_.reset();
        home_.reset();
    }

    void firstShown() {
        QVERIFY(!combo()->isEditable());
        QCOMPARE(combo()->count(), 2);
        QCOMPARE(combo()->currentIndex(), -1);
        QCOMPARE(screen_->WORDS_LISTS.size(), 2);
        QVERIFY(!find<QPushButton>("Start_button")->isEnabled());
        QCOMPARE(find<QLineEdit>("path_textfield")->text(),
                 QUrl::fromLocalFile(home_->listFolder()).toString(QUrl::FullyEncoded) + u'/');
        QCOMPARE(previewText(), QString());
        QCOMPARE(printedWhenShown_, QStringList{find<QLineEdit>("path_textfield")->text()});
    }

    void arrowKeysDoNotLoad() {
        combo()->setFocus();
        QTest::keyClick(combo(), Qt::Key_Down);
        QVERIFY(combo()->currentIndex() >= 0);
        QCOMPARE(delegate_->WORDS_LIST_FOR_GAME, QString());
        QCOMPARE(previewText(), QString());
    }

    void determineLoads() {
        choose(QStringLiteral("a.txt"));
        click("Words_list_determined_button");
        QCOMPARE(previewText(), QStringLiteral("apple$りんご\r\nbook$本\r\n"));
        QCOMPARE(find<QLabel>("All_words_number")->text(), QStringLiteral("全2単語"));
        QVERIFY(find<QPushButton>("Start_button")->isEnabled());
        QCOMPARE(delegate_->english_words, QStringList({"apple", "book"}));
        QCOMPARE(delegate_->japanese_words, QStringList({"りんご", "本"}));
        QCOMPARE(combo()->currentText(), QStringLiteral("a.txt"));

        // A list that cannot be read keeps the preview and disables the start button.
        QFile::remove(home_->listFolder() + QStringLiteral("/b.txt"));
        choose(QStringLiteral("b.txt"));
        click("Words_list_determined_button");
        QCOMPARE(previewText(), QStringLiteral("apple$りんご\r\nbook$本\r\n"));
        QCOMPARE(find<QLabel>("All_words_number")->text(), QStringLiteral("全0単語"));
        QVERIFY(!find<QPushButton>("Start_button")->isEnabled());
    }

    void deleteAfterYes() {
        choose(QStringLiteral("a.txt"));
        click("Words_list_determined_button");
        choose(QStringLiteral("b.txt"));
        QString text;
        QString informative;
        QStringList buttons;
        answerDelete(Qt::Key_Return, &text, &informative, &buttons);
        click("Delete_button");
        QCOMPARE(text, QStringLiteral("単語リストの削除"));
        QCOMPARE(informative, QStringLiteral("b.txtを削除しますか？"));
        QCOMPARE(buttons, QStringList({"YES", "Cancel"}));
        QVERIFY(!home_->has(QStringLiteral("words_lists/b.txt")));
        QCOMPARE(combo()->count(), 1);
        QCOMPARE(combo()->currentIndex(), -1);
        QCOMPARE(previewText(), QString());
        QCOMPARE(find<QLabel>("All_words_number")->text(), QStringLiteral("全2単語"));
        QVERIFY(find<QPushButton>("Start_button")->isEnabled());
        QCOMPARE(delegate_->SELECTED_ITEM, QStringLiteral("b.txt"));
    }

    void escapeCancels() {
        choose(QStringLiteral("a.txt"));
        click("Words_list_determined_button");
        answerDelete(Qt::Key_Escape);
        click("Delete_button");
        QVERIFY(home_->has(QStringLiteral("words_lists/a.txt")));
        QCOMPARE(combo()->count(), 2);
        QCOMPARE(combo()->currentText(), QStringLiteral("a.txt"));
    }

    void deleteWithoutSelectionAsksNothing() {
        bool asked = false;
        whenModal([&](QWidget*) { asked = true; });
        click("Delete_button");
        QVERIFY(!asked);
        QCOMPARE(combo()->count(), 2);
    }

    void openChoosesAFolder() {
        const QString other = home_->path() + QStringLiteral("/other");
        QDir().mkdir(other);
        home_->writeFile(QStringLiteral("other/o.txt"), "o$1\n");
        whenModal([&](QWidget* modal) {
            auto* panel = qobject_cast<QFileDialog*>(modal);
            QVERIFY(panel);
            QCOMPARE(panel->fileMode(), QFileDialog::Directory);
            QVERIFY(panel->testOption(QFileDialog::ShowDirsOnly));
            QVERIFY(panel->testOption(QFileDialog::DontUseNativeDialog));
            QVERIFY(panel->testOption(QFileDialog::ReadOnly));
            panel->setDirectory(other);
            QMetaObject::invokeMethod(panel, "accept");
        });
        click("Open_button");
        QCOMPARE(words_lists_url().toLocalFile(), other);
        QCOMPARE(combo()->count(), 1);
        QCOMPARE(combo()->itemText(0), QStringLiteral("o.txt"));
        QCOMPARE(combo()->currentIndex(), -1);
        QVERIFY(find<QLineEdit>("path_textfield")->text().endsWith(QStringLiteral("/other/")));

        click("normal_path_button");
        QCOMPARE(words_lists_url().toLocalFile(), home_->listFolder());
        QCOMPARE(combo()->count(), 2);
        QCOMPARE(combo()->currentIndex(), -1);
    }

    void openCancelledChangesNothing() {
        choose(QStringLiteral("b.txt"));
        const QString path = find<QLineEdit>("path_textfield")->text();
        whenModal([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
        click("Open_button");
        QCOMPARE(words_lists_url().toLocalFile(), home_->listFolder());
        QCOMPARE(find<QLineEdit>("path_textfield")->text(), path);
        QCOMPARE(combo()->count(), 2);
        QCOMPARE(combo()->currentText(), QStringLiteral("b.txt"));
    }

    void previewScrollsByKeyboard() {
        QByteArray many;
        for (int i = 0; i < 2000; ++i)
            many += "w" + QByteArray::number(i) + "$語\n";
        home_->writeFile(QStringLiteral("words_lists/many.txt"), many);
        click("normal_path_button");
        choose(QStringLiteral("many.txt"));
        click("Words_list_determined_button");
        QCOMPARE(previewText().toUtf8(), many);
        auto* view = qobject_cast<QAbstractScrollArea*>(preview());
        QVERIFY(view);
        QScrollBar* bar = view->verticalScrollBar();
        QCOMPARE(bar->value(), 0);
        view->setFocus();
        QTest::keyClick(view, Qt::Key_PageDown);
        QVERIFY(bar->value() > 0);
        QTest::keyClick(view, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(bar->value(), bar->maximum());
        QTest::keyClick(view, Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(bar->value(), 0);
        // Writing into the preview changes nothing.
        QTest::keyClicks(view, QStringLiteral("typed"));
        QCOMPARE(previewText().toUtf8(), many);
    }

    void startLeadsToTheQuiz() {
        screen_.reset();
        MainWindow window(*delegate_);
        window.show();
        QTest::mouseClick(window.currentScreen()->findChild<QPushButton*>("Setup_button"),
                          Qt::LeftButton);
        QWidget* setup = window.currentScreen();
        QVERIFY(qobject_cast<GameSettingViewController*>(setup));
        auto* list = setup->findChild<QComboBox*>("Words_lists");
        list->setCurrentIndex(list->findText(QStringLiteral("a.txt")));
        QTest::mouseClick(setup->findChild<QPushButton*>("Words_list_determined_button"),
                          Qt::LeftButton);
        QTest::mouseClick(setup->findChild<QPushButton*>("Start_button"), Qt::LeftButton);
        QVERIFY(qobject_cast<GameViewController*>(window.currentScreen()));
    }
};

QTEST_MAIN(TestGameSettingViewController)
#include "tst_game_setting_view_controller.moc"
