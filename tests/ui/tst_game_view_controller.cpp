#include "app/app_delegate.h"
#include "stdout_capture.h"
#include "test_home.h"
#include "ui/game_view_controller.h"
#include "ui/main_window.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <QtTest>

#include <memory>

namespace {

const QString LF = QStringLiteral("\n");
const QStringList englishWords{"apple", "take care of", "<b>cat</b>"};
const QStringList japaneseWords{"りんご", "世話をする", "猫"};

Qt::Key keyOf(QChar arrow) {
    switch (arrow.unicode()) {
    case u'←':
        return Qt::Key_Left;
    case u'→':
        return Qt::Key_Right;
    case u'↓':
        return Qt::Key_Down;
    default:
        return Qt::Key_Up;
    }
}

// A quiz screen over three pairs, with its standard output captured.
struct Screen {
    TestHome home;
    StdoutCapture out;
    AppDelegate delegate;
    std::unique_ptr<GameViewController> screen;

    Screen() {
        delegate.english_words = englishWords;
        delegate.japanese_words = japaneseWords;
        delegate.LINE_INDEX = englishWords.size();
        screen = std::make_unique<GameViewController>(delegate);
    }

    QLabel* label(const char* name) const {
        return screen->findChild<QLabel*>(QLatin1String(name));
    }
    QString text(const char* name) const { return label(name)->text(); }
    QProgressBar* bar() const { return screen->findChild<QProgressBar*>(); }

    QWidget* target(const QString& objectName) const {
        return objectName.isEmpty() ? screen.get() : screen->findChild<QWidget*>(objectName);
    }

    void release(const QString& arrows, QWidget* target) {
        for (const QChar arrow : arrows)
            QTest::keyRelease(target, keyOf(arrow));
    }
};

// Sends a release (or press) that the keyboard repeats while the key is held down.
void autoRepeat(QWidget* target, Qt::Key key, bool press) {
    QTest::simulateEvent(target, press, key, Qt::NoModifier, QString(), true);
}

} // namespace

class TestGameViewController : public QObject {
    Q_OBJECT

private slots:
    void startShowsTheFirstPair();
    void keyReleasesDriveTheQuiz_data();
    void keyReleasesDriveTheQuiz();
    void heldKeyIsOneStep();
    void onlyArrowReleasesInsideTheScreenAct();
    void lapProgressFollowsTheLap();
    void controlsAreNamedAndTakeNoInputMethod();
    void focusComesBackAfterADialog();
    void quizFromTheMainWindowTakesKeysAtOnce();
};

void TestGameViewController::startShowsTheFirstPair() {
    Screen s;
    QCOMPARE(s.out.lines(), (QStringList{"3", "1", "2", "3"}));
    QCOMPARE(s.text("Upper_words"), QStringLiteral("apple"));
    QCOMPARE(s.text("Lower_words"), QString());
    QCOMPARE(s.text("Upper_info"), QString());
    QCOMPARE(s.text("Lower_info"), QStringLiteral("↓"));
    QCOMPARE(s.text("Last_words"), QStringLiteral("1/3"));
    QCOMPARE(s.text("Key_detection"), QString());
    QCOMPARE(s.delegate.ANSWER_VALUE, (QList<qint64>{1, 1, 1}));
    QVERIFY(s.screen->findChild<QPushButton*>(QStringLiteral("Back_button")));
}

void TestGameViewController::keyReleasesDriveTheQuiz_data() {
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("target"); // objectName inside the screen; empty: the screen
    QTest::addColumn<QString>("upperWords");
    QTest::addColumn<QString>("lowerWords");
    QTest::addColumn<QString>("upperInfo");
    QTest::addColumn<QString>("lowerInfo");
    QTest::addColumn<QString>("lastWords");
    QTest::newRow("↓ reveals") << "↓"
                               << ""
                               << "apple"
                               << "りんご"
                               << ""
                               << "↓"
                               << "1/3";
    QTest::newRow("markup shown as text") << "↓→↓←"
                                          << ""
                                          << "<b>cat</b>"
                                          << ""
                                          << ""
                                          << "↓"
                                          << "3/3";
    QTest::newRow("lap banner") << "↓→↓←↓→"
                                << "" << LF + "2周目"
                                << "スタート"
                                << "↑"
                                << ""
                                << "66%正解";
    QTest::newRow("end banner") << "↓→↓←↓→↑↓→"
                                << "" << LF + "学習"
                                << "終了"
                                << ""
                                << ""
                                << "";
    QTest::newRow("keys on the back button") << "↓→↓"
                                             << "Back_button"
                                             << "take care of"
                                             << "世話をする"
                                             << ""
                                             << "↓"
                                             << "2/3";
    QTest::newRow("keys on a label") << "↓←"
                                     << "Upper_words"
                                     << "take care of"
                                     << ""
                                     << ""
                                     << "↓"
                                     << "2/3";
}

void TestGameViewController::keyReleasesDriveTheQuiz() {
    QFETCH(QString, keys);
    QFETCH(QString, target);
    QFETCH(QString, upperWords);
    QFETCH(QString, lowerWords);
    QFETCH(QString, upperInfo);
    QFETCH(QString, lowerInfo);
    QFETCH(QString, lastWords);

    Screen s;
    QWidget* widget = s.target(target);
    QVERIFY(widget);
    s.release(keys, widget);
    QCOMPARE(s.text("Upper_words"), upperWords);
    QCOMPARE(s.text("Lower_words"), lowerWords);
    QCOMPARE(s.text("Upper_info"), upperInfo);
    QCOMPARE(s.text("Lower_info"), lowerInfo);
    QCOMPARE(s.text("Last_words"), lastWords);
    QCOMPARE(s.text("Key_detection"), QString());
}

void TestGameViewController::heldKeyIsOneStep() {
    Screen s;
    QWidget* screen = s.screen.get();
    // Held ↓: presses and the releases of the repeat do nothing; the last release acts.
    QTest::keyPress(screen, Qt::Key_Down);
    for (int i = 0; i < 3; ++i) {
        autoRepeat(screen, Qt::Key_Down, false);
        autoRepeat(screen, Qt::Key_Down, true);
    }
    QCOMPARE(s.text("Lower_words"), QString());
    QTest::keyRelease(screen, Qt::Key_Down);
    QCOMPARE(s.text("Lower_words"), QStringLiteral("りんご"));

    // Held →: one answer, not three.
    QTest::keyPress(screen, Qt::Key_Right);
    for (int i = 0; i < 3; ++i) {
        autoRepeat(screen, Qt::Key_Right, false);
        autoRepeat(screen, Qt::Key_Right, true);
    }
    QTest::keyRelease(screen, Qt::Key_Right);
    QCOMPARE(s.text("Upper_words"), QStringLiteral("take care of"));
    QCOMPARE(s.text("Last_words"), QStringLiteral("2/3"));
    QCOMPARE(s.delegate.ANSWER_VALUE, (QList<qint64>{0, 1, 1}));
}

void TestGameViewController::onlyArrowReleasesInsideTheScreenAct() {
    TestHome home;
    StdoutCapture out;
    AppDelegate delegate;
    delegate.english_words = englishWords;
    delegate.japanese_words = japaneseWords;
    delegate.LINE_INDEX = englishWords.size();
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* outside = new QLineEdit(&window);
    auto* screen = new GameViewController(delegate, &window);
    layout->addWidget(outside);
    layout->addWidget(screen);
    auto* lower = screen->findChild<QLabel*>(QStringLiteral("Lower_words"));

    QTest::keyRelease(outside, Qt::Key_Down);
    QCOMPARE(lower->text(), QString());
    for (const Qt::Key key : {Qt::Key_J, Qt::Key_Return, Qt::Key_PageDown, Qt::Key_Space})
        QTest::keyClick(screen, key);
    QCOMPARE(lower->text(), QString());
    QTest::keyRelease(screen, Qt::Key_Down);
    QCOMPARE(lower->text(), QStringLiteral("りんご"));
}

void TestGameViewController::lapProgressFollowsTheLap() {
    Screen s;
    QProgressBar* bar = s.bar();
    QVERIFY(bar);
    QCOMPARE(bar->maximum(), 3);
    QCOMPARE(bar->value(), 0);
    s.release(QStringLiteral("↓→↓←"), s.screen.get());
    QCOMPARE(bar->value(), 2);
    s.release(QStringLiteral("↓→↑"), s.screen.get());
    QCOMPARE(bar->maximum(), 1);
    QCOMPARE(bar->value(), 0);
    s.release(QStringLiteral("↓→"), s.screen.get());
    QCOMPARE(bar->value(), bar->maximum());
}

void TestGameViewController::controlsAreNamedAndTakeNoInputMethod() {
    Screen s;
    QVERIFY(!s.screen->testAttribute(Qt::WA_InputMethodEnabled));
    const QList<QWidget*> widgets = s.screen->findChildren<QWidget*>();
    QVERIFY(widgets.size() >= 8);
    for (QWidget* widget : widgets) {
        QVERIFY2(!widget->accessibleName().isEmpty(), qPrintable(widget->objectName()));
        QVERIFY2(!widget->testAttribute(Qt::WA_InputMethodEnabled),
                 qPrintable(widget->objectName()));
    }
    for (QLabel* label : s.screen->findChildren<QLabel*>())
        QCOMPARE(label->textFormat(), Qt::PlainText);
}

void TestGameViewController::focusComesBackAfterADialog() {
    Screen s;
    s.screen->show();
    s.screen->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(s.screen.get()));
    QVERIFY(s.screen->isAncestorOf(QApplication::focusWidget()) ||
            QApplication::focusWidget() == s.screen.get());
    // Whatever had the focus may lose it while another window is in front.
    QApplication::focusWidget()->clearFocus();

    QTimer::singleShot(0, [] {
        if (QWidget* box = QApplication::activeModalWidget())
            box->close();
    });
    QMessageBox box(QMessageBox::Information, QStringLiteral("Verbolin"), QStringLiteral("x"),
                    QMessageBox::NoButton, s.screen.get());
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
    // The window manager hands the window back (the offscreen platform needs asking).
    s.screen->activateWindow();
    QTRY_VERIFY(s.screen->isActiveWindow());

    QWidget* focus = QApplication::focusWidget();
    QVERIFY(focus == s.screen.get() || s.screen->isAncestorOf(focus));
    QTest::keyRelease(focus, Qt::Key_Down);
    QCOMPARE(s.text("Lower_words"), QStringLiteral("りんご"));
}

void TestGameViewController::quizFromTheMainWindowTakesKeysAtOnce() {
    TestHome home;
    StdoutCapture out;
    AppDelegate delegate;
    delegate.english_words = englishWords;
    delegate.japanese_words = japaneseWords;
    delegate.LINE_INDEX = englishWords.size();
    MainWindow window(delegate);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.showQuiz();
    auto* screen = qobject_cast<GameViewController*>(window.currentScreen());
    QVERIFY(screen);

    // No click: the key goes wherever the focus is, which must be inside the quiz.
    QWidget* focus = QApplication::focusWidget();
    QVERIFY(focus == screen || screen->isAncestorOf(focus));
    QTest::keyRelease(focus, Qt::Key_Down);
    QCOMPARE(screen->findChild<QLabel*>(QStringLiteral("Lower_words"))->text(),
             QStringLiteral("りんご"));
}

// The screens print diagnostics, captured from standard output, so the test log goes to
// standard error: a failure reported while a capture is on would be captured with them.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Verbolin"));
    QStringList arguments = app.arguments();
    if (!arguments.contains(QStringLiteral("-o")))
        arguments << QStringLiteral("-o") << QStringLiteral("/dev/stderr,txt");
    TestGameViewController test;
    return QTest::qExec(&test, arguments);
}

#include "tst_game_view_controller.moc"
