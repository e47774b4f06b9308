// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/app_delegate.h"
#include "import/import_options.h"
#include "modal_driver.h"
#include "stdout_capture.h"
#include "test_home.h"
#include "ui/loading_view_controller.h"
#include "ui/segmented_control.h"

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QSettings>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

namespace {

QtMessageHandler testLog = nullptr;

// The offscreen platform warns at every message box it sizes; the warning would
// land in the captured standard output among the program's own lines.
void quietOffscreenWarning(QtMsgType type, const QMessageLogContext& context,
                           const QString& message) {
    if (message != QLatin1String("This plugin does not support propagateSizeHints()"))
        testLog(type, context, message);
}

// Chooses path in the panel, which must ask for one existing file.
ModalDriver::Step choose(const QString& path) {
    return [path](QWidget* modal) {
        auto* panel = qobject_cast<QFileDialog*>(modal);
        QVERIFY(panel);
        QCOMPARE(panel->fileMode(), QFileDialog::ExistingFile);
        choosePath(path)(modal);
    };
}

QPushButton* segment(LoadingViewController& screen, const char* control, int index) {
    auto* segments = screen.findChild<SegmentedControl*>(QLatin1String(control));
    return segments ? segments->findChildren<QPushButton*>().value(index) : nullptr;
}

const QString done = u"読み込み完了"_qs;
const QString notUtf8 = u"ファイルをUTF-8のテキストとして読み込めませんでした。"_qs;
const QString shiftJis = u"Shift_JISとして読み込む"_qs;
const QString sjisText = notUtf8 + u"Shift_JISのファイルとして読み込むこともできます。"_qs;

} // namespace

// The import screen, driven through its controls, panel and boxes.
class LoadingViewControllerTest : public QObject {
    Q_OBJECT
private:
    // Opens the panel through Open_button and answers what follows.
    void openWith(LoadingViewController& screen, QList<ModalDriver::Step> steps) {
        ModalDriver driver(std::move(steps));
        QTest::mouseClick(screen.findChild<QPushButton*>(u"Open_button"_qs), Qt::LeftButton);
        QVERIFY(driver.done());
        QCOMPARE(driver.unexpected(), 0);
    }

private slots:
    void initTestCase() {
        // The program keeps the file panel's settings out of the home folder by itself.
        qunsetenv("XDG_CONFIG_HOME");
        testLog = qInstallMessageHandler(quietOffscreenWarning);
    }

    void init() { importer::resetSeparator(); }

    void controlsShowTheValuesInForce() {
        AppDelegate state;
        importer::chooseSeparator(2);
        importer::chooseSequence(state, 1);
        // A load brings the separator back to "," and keeps the order.
        LoadingViewController screen(state);
        QCOMPARE(screen.words_list_name->placeholderText(), u"単語リスト名"_qs);
        QCOMPARE(screen.sepalations_label->text(), u"例: 日本語,英語"_qs);
        QVERIFY(segment(screen, "Separator_control", 0)->isChecked());
        QVERIFY(segment(screen, "Sequence_control", 1)->isChecked());
        QTest::mouseClick(segment(screen, "Separator_control", 2), Qt::LeftButton);
        QCOMPARE(screen.sepalations_label->text(), u"例: 日本語@英語"_qs);
        QTest::mouseClick(segment(screen, "Sequence_control", 0), Qt::LeftButton);
        QCOMPARE(state.SEQUENCE_CODE, 0);
        QCOMPARE(screen.sepalations_label->text(), u"例: 英語@日本語"_qs);
        // An action sent by something without segments means the first choice.
        QMetaObject::invokeMethod(&screen, "separations");
        QCOMPARE(screen.sepalations_label->text(), u"例: 英語,日本語"_qs);
    }

    // The panel, then a cancelled panel, then a dropped file, on one screen.
    void importsCancelsAndTakesADrop() {
        TestHome home;
        home.makeListFolder();
        home.writeFile(u"source.txt"_qs, "りんご;apple\r\nみかん; orange\n");
        AppDelegate state;
        LoadingViewController screen(state);
        QTest::mouseClick(segment(screen, "Separator_control", 1), Qt::LeftButton);
        QTest::mouseClick(segment(screen, "Sequence_control", 1), Qt::LeftButton);
        QTest::keyClicks(screen.words_list_name, u"fruit"_qs);
        StdoutCapture out;
        ShownAlert shown;
        openWith(screen, {choose(home.path() + u"/source.txt"_qs), answerAlert(&shown)});
        QCOMPARE(shown.text, done);
        QCOMPARE(shown.informativeText,
                 u"単語リストの読み込みが完了しました。\n単語リスト名はfruitです。"_qs);
        QCOMPARE(shown.buttons, QStringList{u"OK"_qs});
        QCOMPARE(home.readFile(u"words_lists/fruit.txt"_qs), "apple$りんご\n orange$みかん\n"_qba);
        QCOMPARE(home.readFile(u"count.txt"_qs), "1"_qba);
        QVERIFY(!home.has(u"words_lists/Words_list_1.txt"_qs) && !home.has(u".config"_qs));
        const QStringList lines = out.lines();
        QCOMPARE(lines.size(), 4);
        QVERIFY(lines[0].contains(u"count.txt"_qs));
        QCOMPARE(lines.mid(1), QStringList({u"apple$りんご"_qs, u" orange$みかん"_qs, QString()}));

        // Cancelling the panel afterwards imports nothing and shows nothing.
        openWith(screen, {choose(QString())});
        QCOMPARE(out.lines(), lines);
        QCOMPARE(home.readFile(u"count.txt"_qs), "1"_qba);

        // A folder dragged onto the screen is not taken; a text file dropped is
        // imported.
        home.writeFile(u"dropped.txt"_qs, "太陽;sun");
        screen.words_list_name->clear();
        screen.show();
        for (const QString& path : {home.path(), home.path() + u"/dropped.txt"_qs}) {
            QMimeData data;
            data.setUrls({QUrl::fromLocalFile(path)});
            QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton,
                                  Qt::NoModifier);
            enter.ignore();
            QApplication::sendEvent(&screen, &enter);
            QCOMPARE(enter.isAccepted(), path != home.path());
            if (!enter.isAccepted())
                continue;
            ModalDriver driver({answerAlert(&shown)});
            QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(&screen, &drop);
            QTRY_VERIFY(driver.done());
            QCOMPARE(driver.unexpected(), 0);
        }
        QCOMPARE(shown.informativeText,
                 u"単語リストの読み込みが完了しました。\n単語リスト名はWords_list_2.txtです。"_qs);
        QCOMPARE(home.readFile(u"words_lists/Words_list_2.txt"_qs), "sun$太陽\n"_qba);
    }

    // The "ERROR!" box of a file that is not imported as it stands: its text, its
    // buttons, the first line printed (if any) and, for a Shift_JIS file, what
    // its second button does. bytes: null for a file gone by the time it is read.
    void errorBox_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("counter");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("printed");
        QTest::addColumn<QString>("press");
        const QByteArray sjis(QStringEncoder("Shift_JIS").encode(u"apple,りんご\n"));
        const QString unread = u"ファイルを読み込めませんでした"_qs;
        const QByteArray line(1 << 20, 'x');
        QTest::newRow("rejected line")
            << "a,あ\nb,い\nc,う,え\n"_qba << QByteArray()
            << u"3行目: c,う,え には2つ以上の,が含まれています。"_qs << QString() << u"OK"_qs;
        QTest::newRow("BOM") << u"\uFEFFa,b\n\uFEFFc,d"_qs.toUtf8() << QByteArray()
                             << u"2行目: 日本語と英語の順番が正しくありません。"_qs << QString()
                             << u"OK"_qs;
        QTest::newRow("1 MB line") << "a,b\n" + line << QByteArray()
                                   << u"2行目: "_qs + QString::fromLatin1(line) +
                                          u" は正しいフォーマットに基づいて書かれていません。"_qs
                                   << QString() << u"OK"_qs;
        QTest::newRow("10,000 characters")
            << "a,b\n" + line.first(10000) << QByteArray()
            << u"2行目: "_qs + QString::fromLatin1(line.first(10000)) +
                   u" は正しいフォーマットに基づいて書かれていません。"_qs
            << QString() << u"OK"_qs;
        QTest::newRow("markup")
            << "<b>bold</b>,&lt;b&gt;  c,x"_qba << QByteArray()
            << u"1行目: <b>bold</b>,&lt;b&gt;  c,x には2つ以上の,が含まれています。"_qs << QString()
            << u"OK"_qs;
        QTest::newRow("gone") << QByteArray() << QByteArray() << unread + u"。"_qs << unread
                              << u"OK"_qs;
        QTest::newRow("not UTF-8")
            << "a,\xff\xfe\x80\xa0"_qba << QByteArray()
            << notUtf8 + u"UTF-8で保存し直してから読み込んでください。"_qs << unread << u"OK"_qs;
        QTest::newRow("Shift_JIS declined")
            << sjis << QByteArray() << sjisText << unread << u"OK"_qs;
        QTest::newRow("Shift_JIS taken") << sjis << QByteArray() << sjisText << unread << shiftJis;
        QTest::newRow("store error")
            << "apple,りんご\n"_qba
            << "forty-one"_qba
            << u"count.txtの内容が数値ではないため、単語リストを保存できませんでした。"_qs
            << u"count.txt"_qs << u"OK"_qs;
    }
    void errorBox() {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, counter);
        QFETCH(QString, text);
        QFETCH(QString, printed);
        QFETCH(QString, press);
        TestHome home;
        home.makeListFolder();
        const QString source = home.path() + u"/source.txt"_qs;
        home.writeFile(u"source.txt"_qs, bytes);
        if (!counter.isNull())
            home.writeFile(u"count.txt"_qs, counter);
        AppDelegate state;
        LoadingViewController screen(state);
        StdoutCapture out;
        ShownAlert error;
        ShownAlert completion;
        const bool taken = press == shiftJis;
        QList<ModalDriver::Step> steps = {
            [&](QWidget* modal) {
                choose(source)(modal);
                if (bytes.isNull())
                    QFile::remove(source);
            },
            [&](QWidget* modal) {
                const bool offered = modal->findChildren<QPushButton*>().size() > 1;
                answerAlert(&error, offered ? press : u"OK"_qs)(modal);
            }};
        if (taken)
            steps.append(answerAlert(&completion));
        openWith(screen, steps);
        QCOMPARE(error.text, u"ERROR!"_qs);
        QCOMPARE(error.informativeText, text);
        const QStringList buttons = {u"OK"_qs, shiftJis};
        QCOMPARE(error.buttons, buttons.first(text == sjisText ? 2 : 1));
        // Shown as it is, whole up to 10,000 characters of the line; beyond, abridged, and said so.
        QVERIFY(error.plain);
        if (text.size() <= 12000)
            QCOMPARE(error.shown, text);
        else
            QVERIFY(error.shown.size() < 12000 && error.shown.startsWith(text.first(100)) &&
                    error.shown.endsWith(text.last(100)) && error.shown.contains(u"省略"_qs));
        QVERIFY(printed.isEmpty() ? out.lines().isEmpty() : out.lines().value(0).contains(printed));
        QCOMPARE(completion.text, taken ? done : QString());
        QCOMPARE(home.readFile(u"words_lists/Words_list_1.txt"_qs),
                 taken ? "apple$りんご\n"_qba : QByteArray());
    }
};

QTEST_MAIN(LoadingViewControllerTest)
#include "test_loading_view_controller.moc"
