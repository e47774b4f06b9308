#include "app/app_delegate.h"
#include "support/test_home.h"
#include "ui/main_window.h"
#include "ui/playing_setting.h"
#include "ui/segmented_control.h"

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

SegmentedControl* control(QWidget* panel, const char* name) {
    return panel->findChild<SegmentedControl*>(QLatin1String(name));
}

QPushButton* segment(SegmentedControl* control, int index) {
    return control->findChildren<QPushButton*>(Qt::FindDirectChildrenOnly).value(index);
}

} // namespace

class TestPlayingSetting : public QObject {
    Q_OBJECT
private slots:
    void showsTheValuesInForce_data();
    void showsTheValuesInForce();
    void clickingSegmentsWritesTheFields();
    void everyControlHasANameAndAKeyboardPath();
    void dialogClosesWithEnterAndEscape();
};

void TestPlayingSetting::showsTheValuesInForce_data() {
    QTest::addColumn<qint64>("playingType");
    QTest::addColumn<bool>("shuffle");
    QTest::addColumn<int>("answerSegment");
    QTest::addColumn<int>("shuffleSegment");
    QTest::newRow("defaults") << qint64(0) << true << 0 << 0;
    QTest::newRow("Japanese asked") << qint64(1) << true << 1 << 0;
    QTest::newRow("file order") << qint64(0) << false << 0 << 1;
    QTest::newRow("both changed") << qint64(1) << false << 1 << 1;
}

void TestPlayingSetting::showsTheValuesInForce() {
    QFETCH(qint64, playingType);
    QFETCH(bool, shuffle);
    QFETCH(int, answerSegment);
    QFETCH(int, shuffleSegment);

    TestHome home;
    AppDelegate delegate;
    delegate.PLAYING_TYPE = playingType;
    delegate.SHUFFLE = shuffle;
    PlayingSetting panel(delegate);
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));

    QCOMPARE(&panel.fromAppDelegate, &delegate);
    QCOMPARE(control(&panel, "Answer_type_control")->selectedSegment(), answerSegment);
    QCOMPARE(control(&panel, "Auto_shuffle_control")->selectedSegment(), shuffleSegment);
    QCOMPARE(delegate.PLAYING_TYPE, playingType);
    QCOMPARE(delegate.SHUFFLE, shuffle);
}

void TestPlayingSetting::clickingSegmentsWritesTheFields() {
    TestHome home;
    AppDelegate delegate;
    PlayingSetting panel(delegate);
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    SegmentedControl* answer = control(&panel, "Answer_type_control");
    SegmentedControl* order = control(&panel, "Auto_shuffle_control");
    QCOMPARE(answer->segmentCount(), 2);
    QCOMPARE(order->segmentCount(), 2);

    QTest::mouseClick(segment(answer, 1), Qt::LeftButton);
    QCOMPARE(delegate.PLAYING_TYPE, 1);
    QCOMPARE(delegate.SHUFFLE, true);
    QTest::mouseClick(segment(answer, 0), Qt::LeftButton);
    QCOMPARE(delegate.PLAYING_TYPE, 0);

    QTest::mouseClick(segment(order, 1), Qt::LeftButton);
    QCOMPARE(delegate.SHUFFLE, false);
    QCOMPARE(delegate.PLAYING_TYPE, 0);
    QTest::mouseClick(segment(order, 0), Qt::LeftButton);
    QCOMPARE(delegate.SHUFFLE, true);

    // The actions themselves: a sender without segments chooses the default.
    delegate.PLAYING_TYPE = 1;
    delegate.SHUFFLE = false;
    QObject notAControl;
    panel.Answer_type(&notAControl);
    panel.Auto_shuffle(&notAControl);
    QCOMPARE(delegate.PLAYING_TYPE, 0);
    QCOMPARE(delegate.SHUFFLE, true);
}

void TestPlayingSetting::everyControlHasANameAndAKeyboardPath() {
    TestHome home;
    AppDelegate delegate;
    PlayingSetting panel(delegate);
    for (const char* name : {"Answer_type_control", "Auto_shuffle_control"}) {
        SegmentedControl* c = control(&panel, name);
        QVERIFY(!c->accessibleName().isEmpty());
        for (int i = 0; i < c->segmentCount(); ++i) {
            QPushButton* button = segment(c, i);
            QVERIFY2(!button->accessibleName().isEmpty(), name);
            QVERIFY2(!button->accessibleName().contains(QLatin1Char('&')), name);
            QVERIFY2(button->text().contains(QLatin1Char('&')), name); // a mnemonic
            QVERIFY(button->focusPolicy() & Qt::TabFocus);
            QVERIFY(!button->autoDefault()); // Enter closes the dialog instead
        }
    }
}

void TestPlayingSetting::dialogClosesWithEnterAndEscape() {
    TestHome home;
    AppDelegate delegate;
    MainWindow window(delegate);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* settingsButton = window.currentScreen()->findChild<QPushButton*>("Settings_button");
    QVERIFY(settingsButton);

    // Runs `inDialog` once the modal settings dialog is up, then clicks the button that
    // opens it and returns when the dialog has closed.
    auto openSettings = [&](std::function<void(QDialog*)> inDialog) {
        bool ran = false;
        QTimer::singleShot(0, this, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            ran = true;
            inDialog(dialog);
        });
        QTest::mouseClick(settingsButton, Qt::LeftButton);
        QVERIFY(ran);
        QVERIFY(!QApplication::activeModalWidget());
    };

    openSettings([](QDialog* dialog) {
        SegmentedControl* answer = control(dialog, "Answer_type_control");
        QTest::mouseClick(segment(answer, 1), Qt::LeftButton);
        segment(answer, 1)->setFocus();
        QTest::keyClick(segment(answer, 1), Qt::Key_Return);
        if (dialog->isVisible()) {
            dialog->reject();
            QFAIL("Enter left the dialog open");
        }
    });
    QCOMPARE(delegate.PLAYING_TYPE, 1);

    openSettings([](QDialog* dialog) {
        QCOMPARE(control(dialog, "Answer_type_control")->selectedSegment(), 1);
        QTest::keyClick(segment(control(dialog, "Auto_shuffle_control"), 0), Qt::Key_Escape);
        if (dialog->isVisible()) {
            dialog->reject();
            QFAIL("Escape left the dialog open");
        }
    });
    QCOMPARE(delegate.PLAYING_TYPE, 1);
    QCOMPARE(delegate.SHUFFLE, true);
}

QTEST_MAIN(TestPlayingSetting)
#include "test_playing_setting.moc"
