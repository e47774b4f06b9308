// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/app_delegate.h"
#include "modal_driver.h"
#include "support/test_home.h"
#include "ui/main_window.h"
#include "ui/playing_setting.h"
#include "ui/segmented_control.h"

#include <QDialog>
#include <QPushButton>
#include <QTest>

namespace {

// The button of one segment of a control of the panel.
QPushButton* segment(QWidget* panel, const char* control, int index) {
    return panel->findChild<SegmentedControl*>(QLatin1String(control))
        ->findChildren<QPushButton*>(Qt::FindDirectChildrenOnly)
        .value(index);
}

} // namespace

class TestPlayingSetting : public QObject {
    Q_OBJECT
private slots:
    void settingsDialog_data();
    void settingsDialog();
};

void TestPlayingSetting::settingsDialog_data() {
    QTest::addColumn<qint64>("playingType");
    QTest::addColumn<bool>("shuffle");
    QTest::addColumn<Qt::Key>("closingKey");
    QTest::newRow("defaults, Enter") << qint64(0) << true << Qt::Key_Return;
    QTest::newRow("Japanese asked, Escape") << qint64(1) << true << Qt::Key_Escape;
    QTest::newRow("file order, Enter") << qint64(0) << false << Qt::Key_Return;
}

// The panel opens on the values in force without writing them; a click on a segment
// writes its field at once; a sender without segments chooses the defaults. A segment
// is no default button, so Enter on it closes the dialog as Escape does.
void TestPlayingSetting::settingsDialog() {
    QFETCH(qint64, playingType);
    QFETCH(bool, shuffle);
    QFETCH(Qt::Key, closingKey);

    TestHome home;
    AppDelegate delegate;
    delegate.PLAYING_TYPE = playingType;
    delegate.SHUFFLE = shuffle;
    MainWindow window(delegate);
    window.show();
    // A failed check returns from this lambda only: the dialog is closed in any case.
    const auto checkPanel = [&](QWidget* dialog) {
        const int answerShown = int(playingType);
        const int orderShown = shuffle ? 0 : 1;
        QVERIFY(segment(dialog, "Answer_type_control", answerShown)->isChecked());
        QVERIFY(segment(dialog, "Auto_shuffle_control", orderShown)->isChecked());
        QVERIFY(segment(dialog, "Speech_control", 1)->isChecked()); // silent at start
        QCOMPARE(delegate.PLAYING_TYPE, playingType);
        QCOMPARE(delegate.SHUFFLE, shuffle);

        QTest::mouseClick(segment(dialog, "Answer_type_control", 1 - answerShown), Qt::LeftButton);
        QCOMPARE(delegate.PLAYING_TYPE, 1 - playingType);
        QCOMPARE(delegate.SHUFFLE, shuffle);
        QTest::mouseClick(segment(dialog, "Auto_shuffle_control", 1 - orderShown), Qt::LeftButton);
        QCOMPARE(delegate.SHUFFLE, !shuffle);
        QTest::mouseClick(segment(dialog, "Speech_control", 0), Qt::LeftButton);
        QCOMPARE(delegate.SPEAK_AUTOMATICALLY, true);
        QCOMPARE(delegate.PLAYING_TYPE, 1 - playingType);

        QObject notAControl;
        dialog->findChild<PlayingSetting*>()->Answer_type(&notAControl);
        dialog->findChild<PlayingSetting*>()->Auto_shuffle(&notAControl);
        QCOMPARE(delegate.PLAYING_TYPE, 0);
        QCOMPARE(delegate.SHUFFLE, true);
    };
    bool closedByKey = false;
    ModalDriver driver({[&](QWidget* dialog) {
        checkPanel(dialog);
        QPushButton* other = segment(dialog, "Answer_type_control", 1);
        other->setFocus();
        QTest::keyClick(other, closingKey);
        closedByKey = !dialog->isVisible();
        if (!closedByKey)
            static_cast<QDialog*>(dialog)->reject();
    }});
    QTest::mouseClick(window.currentScreen()->findChild<QPushButton*>("Settings_button"),
                      Qt::LeftButton);
    QVERIFY(driver.done());
    QVERIFY(closedByKey);
    QCOMPARE(driver.unexpected(), 0);
    QCOMPARE(delegate.PLAYING_TYPE, 0); // the closing key is no click on the segment
}

QTEST_MAIN(TestPlayingSetting)
#include "test_playing_setting.moc"
