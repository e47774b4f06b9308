// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/app_delegate.h"
#include "modal_driver.h"
#include "stdout_capture.h"
#include "test_home.h"
#include "ui/loading_view_controller.h"

#include <QApplication>
#include <QFileDialog>
#include <QPushButton>
#include <QStringEncoder>
#include <QTest>

#include <cstring>

namespace {

// Chooses path in the panel, which must ask for one existing file; gone: the file goes once
// chosen.
ModalDriver::Step choose(const QString& path, bool gone = false) {
    return [=](QWidget* modal) {
        auto* panel = qobject_cast<QFileDialog*>(modal);
        const bool existingFile = panel && panel->fileMode() == QFileDialog::ExistingFile;
        choosePath(path)(modal);
        QVERIFY(existingFile && (!gone || QFile::remove(path)));
    };
}

} // namespace

// The import screen, driven through its panel and boxes.
class LoadingViewControllerTest : public QObject {
    Q_OBJECT
private slots:
    // The "ERROR!" box of a file that is not imported as it stands: its text, its buttons,
    // for a file in another encoding what its second button does ("taken": pressed), and
    // what was printed before it. bytes: null for a file gone once chosen.
    void errorBox_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("printed"); // in the last line printed before the box
        QTest::addColumn<QString>("offer");   // the second button
        const QByteArray sjis(QStringEncoder("Shift_JIS").encode(u"apple,りんご\n"));
        const auto utf16 = [](QStringConverter::Encoding encoding) {
            return QByteArray(QStringEncoder(encoding, QStringConverter::Flag::WriteBom)
                                  .encode(u"apple,りんご\n"));
        };
        const auto row = [](const char* name, const QByteArray& bytes, const QString& text,
                            const QString& printed = {}, const QString& offer = {}) {
            QTest::newRow(name) << bytes << text << printed << offer;
        };
        const QString unread = u"ファイルを読み込めませんでした"_qs;
        const QString notUtf8 = u"ファイルをUTF-8のテキストとして読み込めませんでした。"_qs;
        const QString sjisText = notUtf8 + u"Shift_JISのファイルとして読み込むこともできます。"_qs;
        const QString utf16Text = notUtf8 + u"UTF-16のファイルとして読み込むこともできます。"_qs;
        const QString resave = notUtf8 + u"UTF-8で保存し直してから読み込んでください。"_qs;
        const QByteArray line(1 << 20, 'x');
        const QString format = u" は正しいフォーマットに基づいて書かれていません。"_qs;
        const QString sjisOffer = u"Shift_JISとして読み込む"_qs,
                      utf16Offer = u"UTF-16として読み込む"_qs;
        row("BOM", u"\uFEFFa,b\n\uFEFFc,d"_qs.toUtf8(),
            u"2行目: 日本語と英語の順番が正しくありません。"_qs);
        row("1 MB line", "a,b\n" + line, u"2行目: "_qs + QString::fromLatin1(line) + format);
        row("10,000 characters", "a,b\n" + line.first(10000),
            u"2行目: "_qs + QString::fromLatin1(line.first(10000)) + format);
        row("markup", "<b>bold</b>,&lt;b&gt;  c,x",
            u"1行目: <b>bold</b>,&lt;b&gt;  c,x には2つ以上の,が含まれています。"_qs);
        row("gone", {}, unread + u"。"_qs, QString::fromLocal8Bit(std::strerror(ENOENT)));
        row("not UTF-8", "a,\xff\xfe\x80\xa0", resave, unread);
        row("Shift_JIS declined", sjis, sjisText, unread, sjisOffer);
        row("Shift_JIS taken", sjis, sjisText, unread, sjisOffer);
        row("UTF-16 LE taken", utf16(QStringConverter::Utf16LE), utf16Text, unread, utf16Offer);
        row("UTF-16 with a lone surrogate", QByteArray::fromHex("fffe610000d8"), resave, unread);
        row("UTF-16 BE declined", utf16(QStringConverter::Utf16BE), utf16Text, unread, utf16Offer);
    }
    void errorBox() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QFETCH(QString, printed);
        QFETCH(QString, offer);
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
                                answerAlert(&error, taken ? offer : u"OK"_qs)(modal);
                            },
                            answerAlert(&completion)});
        QTest::mouseClick(screen.findChild<QPushButton*>(u"Open_button"_qs), Qt::LeftButton);
        QCOMPARE(driver.unexpected(), 0);
        QCOMPARE(
            QStringList({error.text, error.informativeText}) + error.buttons,
            QStringList({u"ERROR!"_qs, text, u"OK"_qs, offer}).mid(0, offer.isEmpty() ? 3 : 4));
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
        QCOMPARE(completion.text, taken ? u"読み込み完了"_qs : QString());
        QCOMPARE(home.readFile(u"words_lists/Words_list_1.txt"_qs),
                 taken ? "apple$りんご\n"_qba : QByteArray());
    }
};

QTEST_MAIN(LoadingViewControllerTest)
#include "test_loading_view_controller.moc"
