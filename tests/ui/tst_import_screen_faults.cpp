// The import screen when the store fails under it: a list folder that is no folder, a counter
// path that is a folder, a counter at the largest number, every number up to the largest
// taken, a generated name taken by a file already there, and a dropped file gone before it is
// read. The real screen is driven through Open_button and its file panel, or a drop, and its
// box; the box must tell what happened, after the description went to standard output, and
// the store must keep only whole files.
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
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>

namespace {

QtMessageHandler testLog = nullptr;

// The offscreen platform warns at every message box it sizes; the warning would land among
// the captured lines.
void quietOffscreenWarning(QtMsgType type, const QMessageLogContext& context,
                           const QString& message) {
    if (message == QLatin1String("This plugin does not support propagateSizeHints()"))
        return;
    testLog(type, context, message);
}

// Everything below a folder, hidden entries included, as relative path -> bytes (folders end
// in "/").
QMap<QString, QByteArray> snapshot(const QString& root) {
    QMap<QString, QByteArray> files;
    const QDir base(root);
    const auto walk = [&](auto&& self, const QString& folder) -> void {
        for (const QFileInfo& info : QDir(folder).entryInfoList(
                 QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
            const QString path = base.relativeFilePath(info.filePath());
            if (info.isDir()) {
                files.insert(path + u'/', {});
                self(self, info.filePath());
            } else {
                QFile file(info.filePath());
                files.insert(path, file.open(QIODevice::ReadOnly) ? file.readAll() : "?"_qba);
            }
        }
    };
    walk(walk, root);
    return files;
}

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

enum Fault {
    ListFolderIsAFile,
    HomeUnderAFile,
    CounterIsAFolder,
    CounterAtTheLargest,
    EveryNumberTaken,
    GeneratedNameTaken,
};

const QString largest = QStringLiteral("9223372036854775807");

// Arranges the fault below root, where the file to import already lies.
void arrange(Fault fault, const TestHome& home) {
    switch (fault) {
    case ListFolderIsAFile:
        home.writeFile(u"words_lists"_qs, "not a folder");
        home.writeFile(u"count.txt"_qs, "4");
        return;
    case HomeUnderAFile:
        home.writeFile(u"file"_qs, "not a folder");
        qputenv("HOME", QFile::encodeName(home.path() + u"/file/home"_qs));
        return;
    case CounterIsAFolder:
        home.makeListFolder();
        QDir(home.path()).mkpath(u"count.txt/inside"_qs);
        return;
    case CounterAtTheLargest:
        home.makeListFolder();
        home.writeFile(u"count.txt"_qs, largest.toLatin1());
        return;
    case EveryNumberTaken:
        home.makeListFolder();
        home.writeFile(u"count.txt"_qs, "9223372036854775806");
        home.writeFile(u"words_lists/Words_list_"_qs + largest + u".txt"_qs, "old$古い\n");
        return;
    case GeneratedNameTaken:
        home.makeListFolder();
        home.writeFile(u"words_lists/Words_list_1.txt"_qs, "old$古い\n");
        return;
    }
}

} // namespace

class TestImportScreenFaults : public QObject {
    Q_OBJECT
    QTemporaryDir settings_;

private slots:
    void initTestCase() {
        // The file panel keeps settings of its own: never in the test's home folder.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings_.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings_.path());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(settings_.path()));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(settings_.path()));
        testLog = qInstallMessageHandler(quietOffscreenWarning);
    }

    void init() {
        importer::resetSeparator();
        importer::IMPORT_OK = false;
    }

    void storeFailureIsToldAfterItsDescription_data() {
        QTest::addColumn<int>("fault");
        QTest::addColumn<QString>("name");       // typed into words_list_name
        QTest::addColumn<QString>("title");      // of the box
        QTest::addColumn<QString>("text");       // its informative text
        QTest::addColumn<QString>("described");  // in the last line printed before the box
        QTest::addColumn<QString>("newList");    // the list the import leaves, if any
        QTest::addColumn<QByteArray>("counter"); // count.txt afterwards; null: as it was
        const QString notSaved = u"単語リストを保存できませんでした。"_qs;
        const QString overflow = u"単語リストの番号が上限に達したため、保存できませんでした。"_qs;
        const QString notADirectory = QString::fromLocal8Bit(std::strerror(ENOTDIR));
        QTest::newRow("list folder is a plain file")
            << int(ListFolderIsAFile) << u"fruit"_qs << u"ERROR!"_qs << notSaved << notADirectory
            << QString() << QByteArray();
        QTest::newRow("home folder lies under a plain file")
            << int(HomeUnderAFile) << u"fruit"_qs << u"ERROR!"_qs << notSaved << notADirectory
            << QString() << QByteArray();
        QTest::newRow("counter path is a folder")
            << int(CounterIsAFolder) << u"fruit"_qs << u"ERROR!"_qs << notSaved
            << u"/count.txt」"_qs << u"words_lists/Words_list_1.txt"_qs << QByteArray();
        QTest::newRow("counter at the largest number")
            << int(CounterAtTheLargest) << u"fruit"_qs << u"ERROR!"_qs << overflow << largest
            << QString() << QByteArray();
        QTest::newRow("every number up to the largest taken")
            << int(EveryNumberTaken) << u"fruit"_qs << u"ERROR!"_qs << overflow
            << u"Words_list_"_qs + largest + u".txt"_qs << QString() << QByteArray();
        QTest::newRow("generated name taken")
            << int(GeneratedNameTaken) << QString() << u"読み込み完了"_qs
            << u"単語リストの読み込みが完了しました。\n単語リスト名はWords_list_2.txtです。"_qs
            << QString() << u"words_lists/Words_list_2.txt"_qs << "2"_qba;
    }
    void storeFailureIsToldAfterItsDescription() {
        QFETCH(int, fault);
        QFETCH(QString, name);
        QFETCH(QString, title);
        QFETCH(QString, text);
        QFETCH(QString, described);
        QFETCH(QString, newList);
        QFETCH(QByteArray, counter);
        TestHome home;
        home.writeFile(u"source.txt"_qs, "apple,りんご\nbook,本\n");
        arrange(Fault(fault), home);
        QMap<QString, QByteArray> expected = snapshot(home.path());
        if (!newList.isEmpty())
            expected.insert(newList, u"apple$りんご\nbook$本\n"_qs.toUtf8());
        if (!counter.isNull())
            expected.insert(u"count.txt"_qs, counter);

        AppDelegate state;
        LoadingViewController screen(state);
        QTest::keyClicks(screen.words_list_name, name);
        StdoutCapture out;
        ShownAlert shown;
        QStringList printedBeforeTheBox;
        const ModalDriver::Step answer = answerAlert(&shown);
        ModalDriver driver({choosePath(home.path() + u"/source.txt"_qs), [&](QWidget* box) {
                                printedBeforeTheBox = printedSoFar();
                                answer(box);
                            }});
        QTest::mouseClick(screen.findChild<QPushButton*>(u"Open_button"_qs), Qt::LeftButton);
        QVERIFY(driver.done());
        QCOMPARE(driver.unexpected(), 0);

        QCOMPARE(shown.text, title);
        QCOMPARE(shown.informativeText, text);
        QCOMPARE(shown.buttons, QStringList{u"OK"_qs});
        // The store holds what it held, plus at most the one whole new list; nothing renamed.
        QCOMPARE(snapshot(home.path()), expected);
        // Everything was printed before the box: the saved form whenever the numbering got
        // that far, and the failure's description last.
        QCOMPARE(out.lines(), printedBeforeTheBox);
        if (described.isEmpty()) {
            QCOMPARE(printedBeforeTheBox.last(), QString());
        } else {
            QVERIFY2(printedBeforeTheBox.last().contains(described),
                     qPrintable(printedBeforeTheBox.last()));
        }
        const bool numbered = fault != CounterAtTheLargest;
        QCOMPARE(printedBeforeTheBox.contains(u"book$本"_qs), numbered);
    }

    void sourceGoneBeforeItIsRead_data() {
        QTest::addColumn<bool>("becameAFolder");
        QTest::addColumn<int>("error");
        QTest::newRow("deleted") << false << ENOENT;
        QTest::newRow("replaced by a folder") << true << EISDIR;
    }
    void sourceGoneBeforeItIsRead() {
        QFETCH(bool, becameAFolder);
        QFETCH(int, error);
        TestHome home;
        home.makeListFolder();
        const QString source = home.path() + u"/dropped.txt"_qs;
        home.writeFile(u"dropped.txt"_qs, "sun,太陽\n");
        AppDelegate state;
        LoadingViewController screen(state);
        screen.show();
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(source)});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(&screen, &enter);
        QVERIFY(enter.isAccepted());
        QVERIFY(QFile::remove(source));
        if (becameAFolder)
            QVERIFY(QDir().mkdir(source));
        const QMap<QString, QByteArray> store = snapshot(home.path());

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
        QCOMPARE(shown.informativeText, u"ファイルを読み込めませんでした。"_qs);
        QCOMPARE(shown.buttons, QStringList{u"OK"_qs});
        // Why, on one line before the box, and nothing else.
        QCOMPARE(printedBeforeTheBox.size(), 1);
        QVERIFY2(printedBeforeTheBox[0].contains(source), qPrintable(printedBeforeTheBox[0]));
        QVERIFY2(printedBeforeTheBox[0].contains(QString::fromLocal8Bit(std::strerror(error))),
                 qPrintable(printedBeforeTheBox[0]));
        QCOMPARE(out.lines(), printedBeforeTheBox);
        QCOMPARE(snapshot(home.path()), store);
        QVERIFY(screen.ADD_WORDS_LIST.isEmpty());
    }
};

QTEST_MAIN(TestImportScreenFaults)
#include "tst_import_screen_faults.moc"
