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
#include <QTimer>
#include <QtTest>

namespace {

// Three pairs loaded, in a temporary home, with the diagnostics captured.
struct Loaded {
    TestHome home;
    StdoutCapture out;
    AppDelegate delegate;
    Loaded() {
        delegate.english_words = {"apple", "take care of", "<b>cat</b>"};
        delegate.japanese_words = {"りんご", "世話をする", "猫"};
        delegate.LINE_INDEX = 3;
    }
};

// The six labels in screen order joined by '|', then the lap bar as value/maximum.
QString shown(const QWidget* screen) {
    QStringList texts;
    for (const char* name :
         {"Upper_info", "Upper_words", "Lower_words", "Lower_info", "Last_words", "Key_detection"})
        texts << screen->findChild<QLabel*>(QLatin1String(name))->text();
    const auto* bar = screen->findChild<QProgressBar*>();
    return texts.join(u'|') + QStringLiteral(" %1/%2").arg(bar->value()).arg(bar->maximum());
}

// Keys L R D U released; in lower case, pressed and held down, so that the keyboard
// repeats it (the repeats come as release and press); any other letter is that key
// clicked. Spaces only group keys.
void send(QWidget* target, const QString& keys) {
    static const QString arrows = QStringLiteral("LRDU");
    const Qt::Key codes[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Down, Qt::Key_Up};
    for (const QChar c : keys) {
        const int arrow = arrows.indexOf(c.toUpper());
        if (c == u' ')
            continue;
        if (arrow < 0) {
            QTest::keyClick(target, Qt::Key(c.unicode()));
        } else if (c.isUpper()) {
            QTest::keyRelease(target, codes[arrow]);
        } else {
            QTest::keyPress(target, codes[arrow]);
            for (const bool press : {false, true, false, true})
                QTest::simulateEvent(target, press, codes[arrow], Qt::NoModifier, {}, true);
        }
    }
}

} // namespace

class TestGameViewController : public QObject {
    Q_OBJECT

private slots:
    void keys_data();
    void keys();
    void quizInTheMainWindow();
    void aLongWordIsShownWhole();
};

void TestGameViewController::keys_data() {
    QTest::addColumn<QString>("target"); // a widget inside the screen, or "outside" it
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("expected");
    auto row = [](const char* name, const char* target, const char* keys, const char* shown) {
        QTest::newRow(name) << target << keys << QString::fromUtf8(shown);
    };
    row("start", "", "", "|apple||↓|1/3| 0/3");
    row("↓ reveals", "", "D", "|apple|りんご|↓|1/3| 0/3");
    row("held ↓ acts at its release", "", "d", "|apple||↓|1/3| 0/3");
    row("held → acts at its release", "", "D r", "|apple|りんご|↓|1/3| 0/3");
    row("other keys ignored", "", "JKX", "|apple||↓|1/3| 0/3");
    row("markup is a word", "", "DR DL", "|<b>cat</b>||↓|3/3| 2/3");
    row("lap banner", "", "DR DL DR", "↑|\n2周目|スタート||66%正解| 0/1");
    row("end banner", "", "DR DL DR U DR", "|\n学習|終了||| 1/1");
    row("keys on Back_button", "Back_button", "DR D", "|take care of|世話をする|↓|2/3| 1/3");
    row("keys on a label", "Upper_words", "DL", "|take care of||↓|2/3| 1/3");
    row("keys outside the screen ignored", "outside", "D", "|apple||↓|1/3| 0/3");
}

void TestGameViewController::keys() {
    QFETCH(QString, target);
    QFETCH(QString, keys);
    QFETCH(QString, expected);

    Loaded loaded;
    QWidget window;
    (new QLineEdit(&window))->setObjectName(QStringLiteral("outside"));
    auto* screen = new GameViewController(loaded.delegate, &window);
    QWidget* widget = target.isEmpty() ? screen : window.findChild<QWidget*>(target);
    QVERIFY(widget);
    send(widget, keys);
    QCOMPARE(shown(screen), expected);
}

// The next key acts without a click: when the quiz opens, and after a dialog even if the
// focus was lost while it was in front. An input method would swallow the arrows, and a
// word is shown as it is, never as markup.
void TestGameViewController::quizInTheMainWindow() {
    Loaded loaded;
    MainWindow window(loaded.delegate);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.showQuiz();
    QWidget* screen = window.currentScreen();
    const QList<QWidget*> widgets = screen->findChildren<QWidget*>() << screen;
    for (QWidget* widget : widgets)
        QVERIFY2(!widget->testAttribute(Qt::WA_InputMethodEnabled),
                 qPrintable(widget->objectName()));
    for (QLabel* label : screen->findChildren<QLabel*>())
        QCOMPARE(label->textFormat(), Qt::PlainText);
    QVERIFY(screen->isAncestorOf(QApplication::focusWidget()) ||
            QApplication::focusWidget() == screen);
    send(QApplication::focusWidget(), QStringLiteral("D"));

    QApplication::focusWidget()->clearFocus();
    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    QMessageBox(QMessageBox::Information, "Verbolin", "x", QMessageBox::Ok, &window).exec();
    window.activateWindow(); // the window manager's part; the offscreen platform needs asking
    QTRY_VERIFY(window.isActiveWindow());
    QWidget* focus = QApplication::focusWidget();
    QVERIFY(focus == screen || screen->isAncestorOf(focus));
    send(focus, QStringLiteral("R"));
    QCOMPARE(shown(screen), QStringLiteral("|take care of||↓|2/3| 1/3"));
}

// A word with no break point, shown after a short one, wraps within the window instead of
// running off both edges.
void TestGameViewController::aLongWordIsShownWhole() {
    Loaded loaded;
    loaded.delegate.english_words[1] =
        u"Pneumonoultramicroscopicsilicovolcanoconiosis"_qs.repeated(2);
    MainWindow window(loaded.delegate);
    window.resize(760, 560);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.showQuiz();
    send(window.currentScreen(), u"DR"_qs);
    auto* label = window.currentScreen()->findChild<QLabel*>(u"Upper_words"_qs);
    QCOMPARE(label->text(), loaded.delegate.english_words[1]);
    QVERIFY(label->fontMetrics().horizontalAdvance(label->text()) > label->width());
    // What is painted is the layout that follows the new text.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QCoreApplication::processEvents();
    // Ink on rows spanning at least two lines, none of it in the outermost columns.
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

// Run with -o /dev/stderr,txt (ctest does): the captures of standard output would
// otherwise swallow a failure message.
QTEST_MAIN(TestGameViewController)
#include "test_game_view_controller.moc"
