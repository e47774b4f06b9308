// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The screens through their controls: the import screen's boxes, and the whole road of a
// study through the real main window.

#include "app/app_delegate.h"
#include "modal_driver.h"
#include "stdout_capture.h"
#include "test_home.h"
#include "ui/list_preview.h"
#include "ui/loading_view_controller.h"
#include "ui/main_window.h"
#include "ui/segmented_control.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QBitmap>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>

// Chooses path in the panel, which must ask for one existing file; gone: the file goes once
// chosen.
static ModalDriver::Step choose(const QString& path, bool gone = false) {
    return [=](QWidget* modal) {
        auto* panel = qobject_cast<QFileDialog*>(modal);
        const bool existingFile = panel && panel->fileMode() == QFileDialog::ExistingFile;
        choosePath(path)(modal);
        QVERIFY(existingFile && (!gone || QFile::remove(path)));
    };
}

// Sends a drag of the path onto the screen, and its drop if it is taken, with the dialogs it
// opens; whether it is taken and every dialog came.
static bool drop(QWidget* screen, const QString& path, QList<ModalDriver::Step> dialogs = {}) {
    ModalDriver driver(std::move(dialogs));
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    enter.ignore();
    QApplication::sendEvent(screen, &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    return enter.isAccepted() && QApplication::sendEvent(screen, &drop) &&
           QTest::qWaitFor([&] { return driver.done(); });
}

class TestScreens : public QObject {
    Q_OBJECT
private slots:
    // Runs first: Qt fixes the folder of its own settings when they are first used, and the
    // journey checks that a file panel writes none into its configuration folder.
    // Change the settings, import a file, look through the set-up screen, play it to the end
    // and back, and play again. The keyboard drives where it is the point (where the focus
    // lands on each screen, the import screen's Tab order and mnemonics, the quiz and what it
    // gives a screen reader); clicks drive the rest.
    void fromATextFileToAFinishedStudy();

    // The "ERROR!" box of a file that is not imported as it stands: its text, its buttons
    // (sorted), for a file in another encoding what its second button does ("taken":
    // pressed), and what was printed before it. bytes: null for a file gone once chosen.
    void errorBox_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("printed"); // in the last line printed before the box
        QTest::addColumn<QString>("buttons");
        const QByteArray sjis(QStringEncoder("Shift_JIS").encode(u"apple,りんご\n"));
        const auto utf16 = [](QStringConverter::Encoding encoding) {
            return QByteArray(QStringEncoder(encoding, QStringConverter::Flag::WriteBom)
                                  .encode(u"apple,りんご\n"));
        };
        const auto row = [](const char* name, const QByteArray& bytes, const QString& text,
                            const QString& printed = {}, const QString& buttons = u"OK"_qs) {
            QTest::newRow(name) << bytes << text << printed << buttons;
        };
        const QString unread = u"ファイルを読み込めませんでした"_qs;
        const QString notUtf8 = u"ファイルをUTF-8のテキストとして読み込めませんでした。"_qs;
        const QString sjisText = notUtf8 + u"Shift_JISのファイルとして読み込むこともできます。"_qs;
        const QString utf16Text = notUtf8 + u"UTF-16のファイルとして読み込むこともできます。"_qs;
        const QString resave = notUtf8 + u"UTF-8で保存し直してから読み込んでください。"_qs;
        const QByteArray line(1 << 20, 'x');
        const QString format = u" は正しいフォーマットに基づいて書かれていません。"_qs;
        const QString utf16Offer = u"OK|UTF-16として読み込む"_qs;
        row("BOM", u"\uFEFFa,b\n\uFEFFc,d"_qs.toUtf8(),
            u"2行目: 日本語と英語の順番が正しくありません。"_qs);
        row("1 MB line", "a,b\n" + line, u"2行目: "_qs + QString::fromLatin1(line) + format);
        row("10,000 characters", "a,b\n" + line.first(10000),
            u"2行目: "_qs + QString::fromLatin1(line.first(10000)) + format);
        row("markup", "<b>bold</b>,&lt;b&gt;  c,x",
            u"1行目: <b>bold</b>,&lt;b&gt;  c,x には2つ以上の,が含まれています。"_qs);
        row("gone", {}, unread + u"。"_qs, QString::fromLocal8Bit(std::strerror(ENOENT)));
        row("Shift_JIS taken", sjis, sjisText, unread, u"OK|Shift_JISとして読み込む"_qs);
        row("UTF-16 LE taken", utf16(QStringConverter::Utf16LE), utf16Text, unread, utf16Offer);
        row("UTF-16 with a lone surrogate", QByteArray::fromHex("fffe610000d8"), resave, unread);
        row("UTF-16 BE declined", utf16(QStringConverter::Utf16BE), utf16Text, unread, utf16Offer);
    }
    void errorBox() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QFETCH(QString, printed);
        QFETCH(QString, buttons);
        TestHome home;
        home.makeListFolder();
        home.writeFile(u"source.txt"_qs, bytes);
        AppDelegate state;
        LoadingViewController screen(state);
        // Only what the screen flushed itself counts as printed before the box.
        StdoutCapture out(StdoutCapture::AsWritten);
        ShownAlert error, completion;
        QStringList beforeTheBox;
        const bool taken = QByteArrayView(QTest::currentDataTag()).endsWith("taken");
        ModalDriver driver({choose(home.path() + u"/source.txt"_qs, bytes.isNull()),
                            [&](QWidget* modal) {
                                beforeTheBox = out.lines();
                                answerAlert(&error,
                                            taken ? buttons.section(u'|', 1) : u"OK"_qs)(modal);
                            },
                            answerAlert(&completion)});
        QTest::mouseClick(screen.findChild<QPushButton*>(u"Open_button"_qs), Qt::LeftButton);
        QCOMPARE(driver.unexpected(), 0);
        // Shown as it is, whole up to 10,000 characters of the line; beyond, abridged, and
        // said so.
        QVERIFY(error.plain);
        if (text.size() <= 12000)
            QCOMPARE(error.shown, text);
        else
            QVERIFY(error.shown.size() < 12000 && error.shown.startsWith(text.first(100)) &&
                    error.shown.endsWith(text.last(100)) && error.shown.contains(u"省略"_qs));
        // The failure's description was printed last before the box, and nothing after it.
        QVERIFY2(printed.isEmpty() ? beforeTheBox.isEmpty()
                                   : beforeTheBox.value(beforeTheBox.size() - 1).contains(printed),
                 qPrintable(beforeTheBox.join(u'\n')));
        if (!taken)
            QCOMPARE(out.lines(), beforeTheBox);
        // The box, and what its second button imported.
        QCOMPARE(QStringList({error.text, error.informativeText, error.buttons.join(u'|'),
                              completion.text, home.readFile(u"words_lists/Words_list_1.txt"_qs)}),
                 QStringList({u"ERROR!"_qs, text, buttons, taken ? u"読み込み完了"_qs : QString(),
                              taken ? u"apple$りんご\n"_qs : QString()}));
    }

private:
    QWidget* screen() const { return window_->currentScreen(); }
    template <typename T = QLabel> T* child(const char* name) const {
        return screen()->findChild<T*>(QLatin1String(name));
    }
    // Empty on a screen without it: a QTRY_COMPARE asks before the screen changes.
    QString label(const char* name) const { return child(name) ? child(name)->text() : QString(); }
    // Where the journey stands: the screen (without the "ViewController" of its name), the
    // focused widget (by its objectName, or its accessible name when it has none: a segment)
    // and the texts of the labels named.
    QString at(const QList<const char*>& labels = {}) const {
        const QWidget* w = QApplication::focusWidget();
        QStringList shown{screen()->metaObject()->className(), w ? w->objectName() : QString()};
        if (w && shown[1].isEmpty())
            shown[1] = w->accessibleName();
        for (const char* name : labels)
            shown << label(name);
        return shown.join(u'|').remove(u"ViewController"_qs);
    }
    // Presses the keys where the focus is (the quiz acts on their releases), then waits for
    // the journey to stand where expected.
    void expect(QList<QKeyCombination> keys, const QString& expected,
                const QList<const char*>& labels = {}) {
        press(keys);
        QTRY_COMPARE(at(labels), expected);
    }
    static void press(QList<QKeyCombination> keys) {
        for (const QKeyCombination k : keys) {
            QTest::keyClick(QApplication::focusWidget(), k.key(), k.keyboardModifiers());
            QCoreApplication::processEvents();
        }
    }
    void click(const char* name, QList<ModalDriver::Step> dialogs = {}) {
        auto* button = child<QAbstractButton>(name);
        QVERIFY2(button && button->isVisible() && button->isEnabled(), name);
        ModalDriver driver(std::move(dialogs));
        QTest::mouseClick(button, Qt::LeftButton);
        QCoreApplication::processEvents();
        QVERIFY2(driver.done(), name);
        QCOMPARE(driver.unexpected(), 0);
    }
    // The panel opens on the values in force (before) and a click on a segment writes its
    // field; Escape closes the panel.
    void changeSettings(const QList<int>& before, const QList<int>& picked) {
        QList<int> shown;
        click("Settings_button", {[&](QWidget* panel) {
                  for (auto* control : panel->findChildren<SegmentedControl*>()) {
                      shown << control->selectedSegment();
                      QTest::mouseClick(
                          control->findChildren<QPushButton*>().value(picked[shown.size() - 1]),
                          Qt::LeftButton);
                  }
                  QTest::keyClick(panel, Qt::Key_Escape);
                  QVERIFY(!panel->isVisible());
              }});
        QCOMPARE(shown << int(delegate_.PLAYING_TYPE) << !delegate_.SHUFFLE
                       << !delegate_.SPEAK_AUTOMATICALLY << int(delegate_.ANSWER_MODE),
                 before + picked);
        QTRY_COMPARE(at(), u"Start|Settings_button"_qs); // back where the panel was opened
    }
    void load(const char* list) {
        child<QComboBox>("Words_lists")->setCurrentText(QString::fromUtf8(list));
        click("Words_list_determined_button");
    }

    AppDelegate delegate_;
    std::unique_ptr<MainWindow> window_;
};

void TestScreens::fromATextFileToAFinishedStudy() {
    // As main() does: the sound client keeps its own files there, not in the home folder.
    // The file panel's settings must not land there either: the program sends them elsewhere.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    // Speech is switched on below: no sound server, so that the journey stays silent.
    qputenv("PULSE_SERVER", "unix:/nonexistent/verbolin-test");
    TestHome home;
    QTemporaryDir sources;
    QFile source(sources.filePath(u"fruit source.txt"_qs));
    // Japanese first, and a word with no break point asked after a short one.
    const QByteArray longWord =
        QByteArray("Pneumonoultramicroscopicsilicovolcanoconiosis").repeated(2);
    QVERIFY(source.open(QIODevice::WriteOnly) &&
            source.write("りんご@apple\r\n本@" + longWord + "\n猫@cat\n") && source.flush());

    StdoutCapture out(StdoutCapture::AsWritten);
    window_ = std::make_unique<MainWindow>(delegate_);
    window_->show();
    expect({}, u"Start|Setup_button"_qs);       // once the window is active
    changeSettings({0, 0, 1, 0}, {1, 1, 0, 0}); // Japanese asked, in the file's order

    // The import screen starts at the separator; Tab runs row by row, entering a segmented
    // control at its selected segment, as a radio group; an arrow picks the next segment,
    // Enter the focused one; a caption's mnemonic goes to its control's selected segment.
    const QList<const char*> example{"sepalations_label"};
    expect({Qt::ALT | Qt::Key_I}, u"Loading|カンマ|例: 英語,日本語"_qs, example);
    // At the window's smallest size every text is whole: the screen scrolls instead.
    window_->resize(window_->minimumSize());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    for (const QLabel* l : screen()->findChildren<QLabel*>())
        QVERIFY2(l->height() >= l->heightForWidth(l->width()), qPrintable(l->text()));
    QString order;
    for (int i = 0; i < 6; ++i, press({Qt::Key_Tab}))
        order += at().section(u'|', 1) + u' ';
    QCOMPARE(order, u"カンマ 英語が先 words_list_name Open_button Back_button カンマ "_qs);
    expect({Qt::ALT | Qt::Key_D, Qt::Key_Right}, u"Loading|セミコロン|例: 英語;日本語"_qs, example);
    expect({Qt::ALT | Qt::Key_R, Qt::Key_Right}, u"Loading|日本語が先|例: 日本語;英語"_qs, example);
    expect({Qt::ALT | Qt::Key_D}, u"Loading|セミコロン"_qs);
    QApplication::focusWidget()->nextInFocusChain()->setFocus(); // "@", not picked yet
    expect({Qt::Key_Return}, u"Loading|アットマーク|例: 日本語@英語"_qs, example);
    expect({Qt::Key_Right}, u"Loading|タブ|例: 日本語→英語"_qs, example);
    expect({Qt::Key_Left}, u"Loading|アットマーク|例: 日本語@英語"_qs, example);
    // Imported, Japanese first with "@", under a typed name (loaded below), from a file
    // dropped on the screen (a folder is not taken).
    auto* name = child<QLineEdit>("words_list_name");
    QCOMPARE(name->placeholderText(), u"単語リスト名"_qs);
    QTest::keyClicks(name, u"fruit"_qs);
    ShownAlert done;
    QVERIFY(!drop(screen(), sources.path()) &&
            drop(screen(), source.fileName(), {answerAlert(&done)}));
    QTRY_COMPARE(at(), u"Loading|アットマーク"_qs);
    // Back, and here again: the separator is "," again, the order as chosen.
    expect({Qt::ALT | Qt::Key_B}, u"Start|Setup_button"_qs);
    expect({Qt::ALT | Qt::Key_I}, u"Loading|カンマ|例: 日本語,英語"_qs, example);
    expect({Qt::ALT | Qt::Key_B}, u"Start|Setup_button"_qs);

    // Set-up: nothing chosen on arrival; an arrow in the list box chooses but only the
    // button loads.
    const QByteArray longList = QByteArray(2500, 'x') + "\n" + QByteArray("c$猫\n").repeated(500);
    home.writeFile(u"words_lists/long.txt"_qs, longList);
    home.writeFile(u"words_lists/other.txt"_qs, "o$1\n" + longList);
    expect({Qt::Key_Space}, u"GameSetting|Words_lists"_qs);
    auto* lists = child<QComboBox>("Words_lists");
    QVERIFY(lists->currentIndex() == -1 && !child<QPushButton>("Start_button")->isEnabled());
    press({Qt::Key_Down});
    QVERIFY(lists->currentIndex() >= 0 && delegate_.WORDS_LIST_FOR_GAME.isEmpty());
    // A screen reader still reads the box's name, and the chosen entry as its value.
    const QAccessibleInterface* read = QAccessible::queryAccessibleInterface(lists);
    QCOMPARE(read->text(QAccessible::Name) + u'|' + read->text(QAccessible::Value),
             u"単語リスト|"_qs + lists->currentText());
    // The preview cuts a line into rows of at most a thousand characters, scrolls by the
    // keyboard and shows a new text from its top.
    auto* preview = child<ListPreview>("List_check_textfield");
    load("long.txt");
    QCOMPARE(preview->rowCount(), 503);
    QScrollBar* bar = preview->verticalScrollBar();
    preview->setFocus();
    press({Qt::CTRL | Qt::Key_End});
    QVERIFY(bar->value() > 0 && bar->value() == bar->maximum());
    load("other.txt");
    QCOMPARE(bar->value(), 0);
    // Deletion asks first; Escape means "Cancel" and Enter "YES".
    for (const Qt::Key k : {Qt::Key_Escape, Qt::Key_Return}) {
        lists->setCurrentText(u"long.txt"_qs);
        QStringList shown; // the text, the informative text, the default and Escape buttons
        click("Delete_button", {[&](QWidget* modal) {
                  auto* box = qobject_cast<QMessageBox*>(modal);
                  shown << box->text() << box->informativeText() << box->defaultButton()->text()
                        << box->escapeButton()->text();
                  QTest::keyClick(box, k);
              }});
        QCOMPARE(shown << QString::number(lists->findText(u"long.txt"_qs) >= 0),
                 QStringList({"単語リストの削除", "long.txtを削除しますか？", "YES", "Cancel",
                              k == Qt::Key_Escape ? "1" : "0"}));
    }
    // A chosen folder is listed, and normal_path lists words_lists again.
    auto* path = child<QLineEdit>("path_textfield");
    const QString defaultPath = path->text();
    click("Open_button", {choosePath(sources.path())});
    QTRY_COMPARE(at(), u"GameSetting|Open_button"_qs);
    QCOMPARE(path->text() + lists->itemText(0),
             QUrl::fromLocalFile(sources.path()).toString(QUrl::FullyEncoded) +
                 u"/fruit source.txt"_qs);
    click("normal_path_button");
    QCOMPARE(path->text(), defaultPath);
    // The list box, Tab to the load button, Space loads; Alt+S starts.
    lists->setCurrentText(u"fruit.txt"_qs);
    lists->setFocus();
    press({Qt::Key_Tab, Qt::Key_Space});
    QCOMPARE(preview->toPlainText() + label("All_words_number"),
             QString::fromUtf8("apple$りんご\n" + longWord + "$本\ncat$猫\n全3単語"));
    // Export, as CSV unless another type is chosen; replacing a file asks first.
    const QString exported = sources.filePath(u"fruit.csv"_qs);
    QVERIFY(QFile(exported).open(QIODevice::WriteOnly));
    ShownAlert replace;
    click("Export_button", {choosePath(exported), answerAlert(&replace, u"YES"_qs)});
    QTRY_COMPARE(at(), u"GameSetting|Export_button"_qs);
    QFile written(exported);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(replace.informativeText.toUtf8() + written.readAll(),
             "fruit.csvはすでにあります。置き換えますか？\xEF\xBB\xBF"
             "apple,りんご\r\n" +
                 longWord + ",本\r\ncat,猫\r\n");
    expect({Qt::ALT | Qt::Key_S}, u"Game|Game"_qs);

    // Play it, Japanese asked: a wrong answer in lap 1, then a clean lap 2. The quiz holds
    // the focus itself. A word is shown as it is, never as markup. Without a sound server
    // the speak button is disabled and says why, in one line printed for the run (checked
    // after the second play).
    for (QLabel* label : screen()->findChildren<QLabel*>())
        QCOMPARE(label->textFormat(), Qt::PlainText);
    auto* speak = child<QPushButton>("Speak_button");
    QVERIFY(!speak->isEnabled() && speak->toolTip().contains(u"pulseaudio"));
    press({Qt::Key_Down});
    QCOMPARE(screen()->accessibleName() + label("Grading_hint"), u"apple← 知らない / → 知っている");
    press({Qt::Key_Left, Qt::Key_Down});
    // A long word wraps within the label instead of running off both edges: its ink (the
    // pixels unlike the corner's) spans at least two lines, off the outermost columns.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QLabel* answer = child("Lower_words");
    const QImage image = answer->grab().toImage();
    const QRect ink =
        QRegion(QBitmap::fromImage(image.createMaskFromColor(image.pixel(0, 0)))).boundingRect();
    QVERIFY2(ink.height() > answer->fontMetrics().height() && ink.left() > 0 &&
                 ink.right() < image.width() - 1,
             "cut off");
    press({Qt::Key_Right, Qt::Key_Down, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down, Qt::Key_Right});
    QCOMPARE(at({"Upper_words"}), u"Game|Game|\n学習");

    // Back to the set-up screen and on to the start.
    expect({Qt::ALT | Qt::Key_B}, u"GameSetting|Words_lists"_qs);
    expect({Qt::ALT | Qt::Key_B}, u"Start|Setup_button"_qs);

    // English asked, but typed this time (which asks the Japanese side), and play again: the
    // quiz asks the pairs that were loaded, even if the file changed before the start.
    changeSettings({1, 1, 0, 0}, {0, 1, 1, 1});
    click("Setup_button");
    load("fruit.txt");
    home.writeFile(u"words_lists/fruit.txt"_qs, "x$エ\n");
    click("Start_button");
    QTest::keyClicks(QApplication::focusWidget(), u"Apple"_qs);
    press({Qt::Key_Return});
    QCOMPARE(at({"Upper_words", "Lower_words"}), u"Game|Answer_field|りんご|apple");
    QCOMPARE(out.lines().filter(u"pulseaudio"_qs).size(), 1);

    // Nothing but the store was written in the home folder.
    QCOMPARE(QDir(home.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             (QStringList{u"count.txt"_qs, u"words_lists"_qs}));
    QVERIFY(!QFileInfo::exists(config.path() + u"/QtProject.conf"_qs));
    window_.reset();
}

QTEST_MAIN(TestScreens)
#include "test_screens.moc"
