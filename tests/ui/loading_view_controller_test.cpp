#include "app/app_delegate.h"
#include "import/import_options.h"
#include "import/line_check.h"
#include "modal_driver.h"
#include "stdout_capture.h"
#include "test_home.h"
#include "ui/loading_view_controller.h"
#include "ui/segmented_control.h"

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QSettings>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

QtMessageHandler testLog = nullptr;

// The offscreen platform warns at every message box it sizes. The warning would land in the
// captured standard output, among the lines the program printed.
void quietOffscreenWarning(QtMsgType type, const QMessageLogContext& context,
                           const QString& message) {
    if (message == QLatin1String("This plugin does not support propagateSizeHints()"))
        return;
    testLog(type, context, message);
}

using Shown = ShownAlert;

ModalDriver::Step choose(const QString& path) {
    return [path](QWidget* modal) {
        auto* panel = qobject_cast<QFileDialog*>(modal);
        QVERIFY(panel);
        QCOMPARE(panel->fileMode(), QFileDialog::ExistingFile);
        choosePath(path)(modal);
    };
}

ModalDriver::Step answer(Shown* shown, const QString& button = QStringLiteral("OK")) {
    return answerAlert(shown, button);
}

QPushButton* segment(LoadingViewController& screen, const char* control, int index) {
    auto* segments = screen.findChild<SegmentedControl*>(QLatin1String(control));
    return segments ? segments->findChildren<QPushButton*>().value(index) : nullptr;
}

} // namespace

// The import screen, driven through its controls, panel and boxes.
class LoadingViewControllerTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir settings_;

    // Opens the panel through Open_button and answers what follows.
    void openWith(LoadingViewController& screen, QList<ModalDriver::Step> steps) {
        ModalDriver driver(std::move(steps));
        QTest::mouseClick(screen.findChild<QPushButton*>(QStringLiteral("Open_button")),
                          Qt::LeftButton);
        QVERIFY(driver.done());
        QCOMPARE(driver.unexpected(), 0);
    }

private slots:
    void initTestCase() {
        // The file dialog keeps its own settings; they must not land in the test home.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings_.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings_.path());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(settings_.path()));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(settings_.path()));
        testLog = qInstallMessageHandler(quietOffscreenWarning);
    }

    void init() {
        importer::resetSeparator();
        importer::IMPORT_OK = false;
        AppDelegate fresh;
        importer::chooseSequence(fresh, 0);
    }

    void showsTheValuesInForceWhenLoaded() {
        AppDelegate state;
        importer::chooseSeparator(2);
        importer::chooseSequence(state, 1);
        LoadingViewController screen(state);
        QCOMPARE(&screen.fromAppDelegate, &state);
        QCOMPARE(screen.words_list_name->placeholderText(), u"単語リスト名"_qs);
        QCOMPARE(importer::SEPARATOR, u","_qs);
        QCOMPARE(state.SEQUENCE_CODE, 1);
        QCOMPARE(screen.sepalations_label->text(), u"例: 日本語,英語"_qs);
        QVERIFY(segment(screen, "Separator_control", 0)->isChecked());
        QVERIFY(segment(screen, "Sequence_control", 1)->isChecked());
    }

    void choosingSegmentsRewritesTheExample() {
        AppDelegate state;
        LoadingViewController screen(state);
        QTest::mouseClick(segment(screen, "Separator_control", 2), Qt::LeftButton);
        QCOMPARE(screen.sepalations_label->text(), u"例: 英語@日本語"_qs);
        QTest::mouseClick(segment(screen, "Sequence_control", 1), Qt::LeftButton);
        QCOMPARE(importer::SEPARATOR, u"@"_qs);
        QCOMPARE(state.SEQUENCE_CODE, 1);
        QCOMPARE(screen.sepalations_label->text(), u"例: 日本語@英語"_qs);
        // An action sent by something that has no segments means the first choice.
        QMetaObject::invokeMethod(&screen, "separations");
        QCOMPARE(screen.sepalations_label->text(), u"例: 日本語,英語"_qs);
    }

    void importsAndNamesTheList() {
        TestHome home;
        home.makeListFolder();
        home.writeFile(u"source.txt"_qs, "りんご;apple\r\nみかん; orange\n");
        AppDelegate state;
        LoadingViewController screen(state);
        QTest::mouseClick(segment(screen, "Separator_control", 1), Qt::LeftButton);
        QTest::mouseClick(segment(screen, "Sequence_control", 1), Qt::LeftButton);
        QTest::keyClicks(screen.words_list_name, u"fruit"_qs);
        StdoutCapture out;
        Shown done;
        openWith(screen, {choose(home.path() + u"/source.txt"_qs), answer(&done)});
        QCOMPARE(done.text, u"読み込み完了"_qs);
        QCOMPARE(done.informativeText,
                 u"単語リストの読み込みが完了しました。\n単語リスト名はfruitです。"_qs);
        QCOMPARE(done.buttons, QStringList({u"OK"_qs}));
        QCOMPARE(home.readFile(u"words_lists/fruit.txt"_qs), "apple$りんご\n orange$みかん\n"_qba);
        QCOMPARE(home.readFile(u"count.txt"_qs), "1"_qba);
        QVERIFY(!home.has(u"words_lists/Words_list_1.txt"_qs));
        QVERIFY(!home.has(u".config"_qs));
        const QStringList lines = out.lines();
        QCOMPARE(lines.size(), 4);
        QVERIFY(lines[0].contains(u"count.txt"_qs));
        QCOMPARE(lines.mid(1), QStringList({u"apple$りんご"_qs, u" orange$みかん"_qs, QString()}));
        QCOMPARE(screen.ADD_WORDS_LIST, u"りんご;apple\r\nみかん; orange\n"_qs);

        // Cancelling the panel afterwards imports nothing and shows nothing.
        const QByteArray printed = out.bytes();
        openWith(screen, {choose(QString())});
        QCOMPARE(out.bytes(), printed);
        QVERIFY(!home.has(u"words_lists/Words_list_2.txt"_qs));
        QCOMPARE(home.readFile(u"count.txt"_qs), "1"_qba);
        QCOMPARE(state.LINE_INDEX, 2);
    }

    void rejectedLineShowsOnlyTheError() {
        TestHome home;
        home.makeListFolder();
        home.writeFile(u"count.txt"_qs, "7");
        home.writeFile(u"source.txt"_qs, "a,あ\nb,い\nc,う,え\nd,お\n");
        AppDelegate state;
        LoadingViewController screen(state);
        StdoutCapture out;
        Shown error;
        openWith(screen, {choose(home.path() + u"/source.txt"_qs), answer(&error)});
        QCOMPARE(error.text, u"ERROR!"_qs);
        QCOMPARE(error.informativeText, u"3行目: c,う,え には2つ以上の,が含まれています。"_qs);
        QCOMPARE(error.buttons, QStringList({u"OK"_qs}));
        QCOMPARE(home.readFile(u"count.txt"_qs), "7"_qba);
        QCOMPARE(QDir(home.listFolder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList());
        QCOMPARE(out.bytes(), QByteArray());
        QCOMPARE(state.LINE_INDEX, 0);
    }

    void megabyteLineKeepsTheWholeMessage() {
        TestHome home;
        home.makeListFolder();
        const QByteArray line(1 << 20, 'x');
        home.writeFile(u"source.txt"_qs, "a,b\n" + line + "\n");
        AppDelegate state;
        LoadingViewController screen(state);
        Shown error;
        bool excerptShown = false;
        const ModalDriver::Step read = answer(&error);
        openWith(screen, {choose(home.path() + u"/source.txt"_qs), [&](QWidget* modal) {
                              auto* excerpt = modal->findChild<QLabel*>(u"informative_excerpt"_qs);
                              excerptShown =
                                  excerpt && excerpt->isVisible() && excerpt->text().size() < 1000;
                              read(modal);
                          }});
        QCOMPARE(error.informativeText,
                 u"2行目: "_qs + QString::fromLatin1(line) +
                     u" は正しいフォーマットに基づいて書かれていません。"_qs);
        QVERIFY(excerptShown);
    }

    void unreadableFiles_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QStringList>("buttons");
        QTest::addColumn<QString>("alert");
        QTest::addColumn<bool>("imported");
        const QString notUtf8 = u"ファイルをUTF-8のテキストとして読み込めませんでした。"_qs;
        const QString shiftJis = u"Shift_JISとして読み込む"_qs;
        const QByteArray sjis(QStringEncoder("Shift_JIS").encode(u"apple,りんご\n"));
        QTest::newRow("not UTF-8")
            << "a,\xff\xfe\x80\xa0"_qba << u"OK"_qs << QStringList({u"OK"_qs})
            << notUtf8 + u"UTF-8で保存し直してから読み込んでください。"_qs << false;
        QTest::newRow("Shift_JIS declined")
            << sjis << u"OK"_qs << QStringList({u"OK"_qs, shiftJis})
            << notUtf8 + u"Shift_JISのファイルとして読み込むこともできます。"_qs << false;
        QTest::newRow("Shift_JIS accepted")
            << sjis << shiftJis << QStringList({u"OK"_qs, shiftJis})
            << notUtf8 + u"Shift_JISのファイルとして読み込むこともできます。"_qs << true;
    }
    void unreadableFiles() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, button);
        QFETCH(QStringList, buttons);
        QFETCH(QString, alert);
        QFETCH(bool, imported);
        TestHome home;
        home.makeListFolder();
        home.writeFile(u"source.txt"_qs, bytes);
        AppDelegate state;
        LoadingViewController screen(state);
        StdoutCapture out;
        Shown error;
        Shown done;
        QList<ModalDriver::Step> steps = {choose(home.path() + u"/source.txt"_qs),
                                          answer(&error, button)};
        if (imported)
            steps.append(answer(&done));
        openWith(screen, steps);
        QCOMPARE(error.text, u"ERROR!"_qs);
        QCOMPARE(error.informativeText, alert);
        QCOMPARE(error.buttons, buttons);
        QVERIFY(out.lines().value(0).startsWith(u"ファイルを読み込めませんでした「"_qs));
        if (imported) {
            QCOMPARE(done.text, u"読み込み完了"_qs);
            QCOMPARE(home.readFile(u"words_lists/Words_list_1.txt"_qs), "apple$りんご\n"_qba);
            QCOMPARE(state.LINE_INDEX, 1);
        } else {
            QVERIFY(!home.has(u"count.txt"_qs));
            QCOMPARE(state.LINE_INDEX, 0);
        }
    }

    void storeErrorIsShown() {
        TestHome home;
        home.makeListFolder();
        home.writeFile(u"count.txt"_qs, "forty-one");
        home.writeFile(u"source.txt"_qs, "a,あ\n");
        AppDelegate state;
        LoadingViewController screen(state);
        Shown error;
        openWith(screen, {choose(home.path() + u"/source.txt"_qs), answer(&error)});
        QCOMPARE(error.text, u"ERROR!"_qs);
        QCOMPARE(error.informativeText,
                 u"count.txtの内容が数値ではないため、単語リストを保存できませんでした。"_qs);
        QCOMPARE(home.readFile(u"count.txt"_qs), "forty-one"_qba);
        QCOMPARE(QDir(home.listFolder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList());
    }

    void droppedFile_data() {
        QTest::addColumn<bool>("present");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        QTest::newRow("text file")
            << true << u"読み込み完了"_qs
            << u"単語リストの読み込みが完了しました。\n単語リスト名はWords_list_1.txtです。"_qs;
        QTest::newRow("gone by the time it is read")
            << false << u"ERROR!"_qs << u"ファイルを読み込めませんでした。"_qs;
    }
    void droppedFile() {
        QFETCH(bool, present);
        QFETCH(QString, title);
        QFETCH(QString, text);
        TestHome home;
        home.makeListFolder();
        home.writeFile(u"dropped.txt"_qs, "sun,太陽");
        AppDelegate state;
        LoadingViewController screen(state);
        screen.show();
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(home.path() + u"/dropped.txt"_qs)});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(&screen, &enter);
        QVERIFY(enter.isAccepted());
        if (!present)
            QFile::remove(home.path() + u"/dropped.txt"_qs);
        Shown shown;
        ModalDriver driver({answer(&shown)});
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&screen, &drop);
        QTRY_VERIFY(driver.done());
        QCOMPARE(driver.unexpected(), 0);
        QCOMPARE(shown.text, title);
        QCOMPARE(shown.informativeText, text);
        QCOMPARE(shown.buttons, QStringList({u"OK"_qs}));
        QCOMPARE(home.readFile(u"words_lists/Words_list_1.txt"_qs),
                 present ? "sun$太陽\n"_qba : QByteArray());
    }

    void folderIsNotTakenByDrop() {
        TestHome home;
        AppDelegate state;
        LoadingViewController screen(state);
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(home.path())});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        enter.ignore();
        QApplication::sendEvent(&screen, &enter);
        QVERIFY(!enter.isAccepted());
    }
};

QTEST_MAIN(LoadingViewControllerTest)
#include "loading_view_controller_test.moc"
