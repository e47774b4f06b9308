// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The import screen's alerts when the store or the dropped file fails under it: the box says
// "ERROR!" with the exact text and one "OK", and only after the failure's description reached
// standard output. What the store holds afterwards is the import's own test's concern.
#include "app/app_delegate.h"
#include "import/import_options.h"
#include "import/line_check.h"
#include "modal_driver.h"
#include "stdout_capture.h"
#include "test_home.h"
#include "ui/loading_view_controller.h"

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>

#include <cstring>

namespace {

// What has reached standard output so far, without flushing anything the program still
// holds: standard output is the capture file.
QStringList printedSoFar() {
    QFile out(QStringLiteral("/proc/self/fd/1"));
    if (!out.open(QIODevice::ReadOnly))
        return {u"(standard output cannot be read)"_qs};
    QString text = QString::fromUtf8(out.readAll());
    if (text.endsWith(u'\n'))
        text.chop(1);
    return text.split(u'\n');
}

} // namespace

class TestImportScreenFaults : public QObject {
    Q_OBJECT

private slots:
    void init() {
        importer::resetSeparator();
        importer::IMPORT_OK = false;
    }

    void failureIsToldAfterItsDescription_data() {
        QTest::addColumn<QByteArray>("listFolder"); // null: a folder; else a file of these bytes
        QTest::addColumn<QByteArray>("counter");    // null: none
        QTest::addColumn<bool>("sourceGone");       // deleted between the drag and the drop
        QTest::addColumn<QString>("text");          // of the box
        QTest::addColumn<QString>("described");     // in the last line printed before it
        const QString largest = u"9223372036854775807"_qs;
        QTest::newRow("list folder is a plain file")
            << "not a folder"_qba << QByteArray() << false
            << u"単語リストを保存できませんでした。"_qs
            << QString::fromLocal8Bit(std::strerror(ENOTDIR));
        QTest::newRow("counter holds no number")
            << QByteArray() << "forty"_qba << false
            << u"count.txtの内容が数値ではないため、単語リストを保存できませんでした。"_qs
            << u"/count.txt"_qs;
        QTest::newRow("counter at the largest number")
            << QByteArray() << largest.toLatin1() << false
            << u"単語リストの番号が上限に達したため、保存できませんでした。"_qs << largest;
        QTest::newRow("dropped file gone before it is read")
            << QByteArray() << QByteArray() << true << u"ファイルを読み込めませんでした。"_qs
            << QString::fromLocal8Bit(std::strerror(ENOENT));
    }
    void failureIsToldAfterItsDescription() {
        QFETCH(QByteArray, listFolder);
        QFETCH(QByteArray, counter);
        QFETCH(bool, sourceGone);
        QFETCH(QString, text);
        QFETCH(QString, described);
        TestHome home;
        home.writeFile(u"source.txt"_qs, "apple,りんご\nbook,本\n");
        if (listFolder.isNull())
            home.makeListFolder();
        else
            home.writeFile(u"words_lists"_qs, listFolder);
        if (!counter.isNull())
            home.writeFile(u"count.txt"_qs, counter);
        AppDelegate state;
        LoadingViewController screen(state);
        screen.show();
        QTest::keyClicks(screen.words_list_name, u"fruit"_qs);
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(home.path() + u"/source.txt"_qs)});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(&screen, &enter);
        QVERIFY(enter.isAccepted());
        if (sourceGone)
            QVERIFY(QFile::remove(home.path() + u"/source.txt"_qs));

        StdoutCapture out;
        ShownAlert shown;
        QStringList printedBeforeTheBox;
        const ModalDriver::Step answer = answerAlert(&shown);
        ModalDriver driver({[&](QWidget* box) {
            printedBeforeTheBox = printedSoFar();
            answer(box);
        }});
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&screen, &drop);
        QTRY_VERIFY(driver.done());
        QCOMPARE(driver.unexpected(), 0);

        QCOMPARE(shown.text, u"ERROR!"_qs);
        QCOMPARE(shown.informativeText, text);
        QCOMPARE(shown.buttons, QStringList{u"OK"_qs});
        // Everything was printed before the box, the failure's description last.
        QCOMPARE(out.lines(), printedBeforeTheBox);
        QVERIFY2(printedBeforeTheBox.last().contains(described),
                 qPrintable(printedBeforeTheBox.join(u'\n')));
        QVERIFY(!home.has(u"words_lists/fruit.txt"_qs));
    }
};

QTEST_MAIN(TestImportScreenFaults)
#include "test_import_screen_faults.moc"
