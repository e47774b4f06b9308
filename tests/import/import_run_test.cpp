#include "app/app_delegate.h"
#include "import/import_options.h"
#include "import/import_run.h"
#include "import/import_source.h"
#include "stdout_capture.h"
#include "test_home.h"

#include <QDir>
#include <QElapsedTimer>
#include <QStringEncoder>
#include <QTest>

using importer::Completion;
using Kind = importer::ImportOutcome::Kind;

Q_DECLARE_METATYPE(Completion)
Q_DECLARE_METATYPE(importer::ImportOutcome::Kind)

namespace {

// Everything below the home folder, as relative path -> bytes (folders end in "/").
QMap<QString, QByteArray> snapshot(const TestHome& home) {
    QMap<QString, QByteArray> files;
    QDir root(home.path());
    const auto walk = [&](auto&& self, const QString& relative) -> void {
        const QDir dir(home.path() + u'/' + relative);
        for (const QFileInfo& info :
             dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) {
            const QString path = root.relativeFilePath(info.filePath());
            if (info.isDir()) {
                files.insert(path + u'/', {});
                self(self, path);
            } else {
                files.insert(path, home.readFile(path));
            }
        }
    };
    walk(walk, QString());
    return files;
}

importer::ImportOutcome run(AppDelegate& state, const QString& text, const QString& name = {},
                            QStringList* shown = nullptr) {
    return importer::runImport(text, name, state, [&](const QString& message) {
        if (shown)
            shown->append(message);
    });
}

} // namespace

// The import from text to a saved list, on a temporary home folder.
class ImportRunTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        importer::resetSeparator();
        importer::IMPORT_OK = false;
    }

    void savedForm_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<qint64>("sequenceCode");
        QTest::addColumn<QByteArray>("saved");
        QTest::newRow("comma, English first")
            << u"apple,りんご"_qs << u","_qs << qint64(0) << "apple$りんご\n"_qba;
        QTest::newRow("semicolon, Japanese first")
            << u"りんご;apple"_qs << u";"_qs << qint64(1) << "apple$りんご\n"_qba;
        QTest::newRow("three lines")
            << u"a,1\nb,2\nc,3"_qs << u","_qs << qint64(0) << "a$1\nb$2\nc$3\n"_qba;
        QTest::newRow("final line end")
            << u"a,1\nb,2\nc,3\n"_qs << u","_qs << qint64(0) << "a$1\nb$2\nc$3\n"_qba;
        QTest::newRow("mixed line ends")
            << u"a,1\r\nb,2\rc,3\u2028d,4\u0085e,5\u2029f,6\r\n"_qs << u","_qs << qint64(0)
            << "a$1\nb$2\nc$3\nd$4\ne$5\nf$6\n"_qba;
        QTest::newRow("space before the separator")
            << u"apple ,りんご"_qs << u","_qs << qint64(0) << "apple $りんご\n"_qba;
        QTest::newRow("empty halves") << u"x@\n@"_qs << u"@"_qs << qint64(0) << "x$\n$\n"_qba;
    }
    void savedForm() {
        QFETCH(QString, text);
        QFETCH(QString, separator);
        QFETCH(qint64, sequenceCode);
        QFETCH(QByteArray, saved);
        TestHome home;
        home.makeListFolder();
        AppDelegate state;
        state.SEQUENCE_CODE = sequenceCode;
        importer::SEPARATOR = separator;
        StdoutCapture out;
        const importer::ImportOutcome outcome = run(state, text);
        QCOMPARE(outcome.kind, Kind::Completed);
        QCOMPARE(home.readFile(u"words_lists/Words_list_1.txt"_qs), saved);
        QCOMPARE(home.readFile(u"count.txt"_qs), "1"_qba);
        // The missing counter is described, then the saved form goes out as it is.
        const QByteArray printed = out.bytes();
        QVERIFY(printed.startsWith("ファイルを読み込めませんでした「"));
        QVERIFY(printed.endsWith("」: No such file or directory\n" + saved + "\n"));
        QCOMPARE(printed.count('\n'), saved.count('\n') + 2);
        // What stays of the words in the shared state: only how many there were.
        const qint64 pairs = saved.count('\n');
        QCOMPARE(state.LINE_INDEX, pairs);
        QCOMPARE(state.english_words, QStringList(pairs, QString()));
        QCOMPARE(state.japanese_words, QStringList(pairs, QString()));
        QVERIFY(state.formal_list.isEmpty());
        QVERIFY(importer::IMPORT_OK);
    }

    void numbering_data() {
        QTest::addColumn<QByteArray>("counter"); // null: no count.txt
        QTest::addColumn<QString>("existing");   // a list already in the folder
        QTest::addColumn<QString>("name");
        QTest::addColumn<Completion>("completion");
        QTest::addColumn<qint64>("number");
        QTest::addColumn<QString>("savedAs");
        QTest::newRow("first list") << QByteArray() << QString() << QString() << Completion::Unnamed
                                    << qint64(1) << u"words_lists/Words_list_1.txt"_qs;
        QTest::newRow("counter 41") << "41"_qba << QString() << QString() << Completion::Unnamed
                                    << qint64(42) << u"words_lists/Words_list_42.txt"_qs;
        QTest::newRow("hand-edited counter")
            << " 41\n"_qba << QString() << QString() << Completion::Unnamed << qint64(42)
            << u"words_lists/Words_list_42.txt"_qs;
        QTest::newRow("negative counter")
            << "-3"_qba << QString() << QString() << Completion::Unnamed << qint64(-2)
            << u"words_lists/Words_list_-2.txt"_qs;
        QTest::newRow("generated name taken")
            << "1"_qba << u"Words_list_2.txt"_qs << QString() << Completion::Unnamed << qint64(3)
            << u"words_lists/Words_list_3.txt"_qs;
        QTest::newRow("name free") << QByteArray() << QString() << u"fruit"_qs << Completion::Named
                                   << qint64(1) << u"words_lists/fruit.txt"_qs;
        QTest::newRow("name taken")
            << "6"_qba << u"fruit.txt"_qs << u"fruit"_qs << Completion::MoveRefused << qint64(7)
            << u"words_lists/Words_list_7.txt"_qs;
        QTest::newRow("name of spaces")
            << QByteArray() << QString() << u"  "_qs << Completion::Named << qint64(1)
            << u"words_lists/  .txt"_qs;
        QTest::newRow("name leaving the folder")
            << QByteArray() << QString() << u"../x"_qs << Completion::MoveRefused << qint64(1)
            << u"words_lists/Words_list_1.txt"_qs;
        QTest::newRow("absolute name")
            << QByteArray() << QString() << u"/tmp/x"_qs << Completion::MoveRefused << qint64(1)
            << u"words_lists/Words_list_1.txt"_qs;
    }
    void numbering() {
        QFETCH(QByteArray, counter);
        QFETCH(QString, existing);
        QFETCH(QString, name);
        QFETCH(Completion, completion);
        QFETCH(qint64, number);
        QFETCH(QString, savedAs);
        TestHome home;
        home.makeListFolder();
        if (!counter.isNull())
            home.writeFile(u"count.txt"_qs, counter);
        if (!existing.isEmpty())
            home.writeFile(u"words_lists/"_qs + existing, "old$古い\n");
        AppDelegate state;
        StdoutCapture out;
        const importer::ImportOutcome outcome = run(state, u"new,新しい\n"_qs, name);
        QCOMPARE(outcome.kind, Kind::Completed);
        QCOMPARE(outcome.completion, completion);
        QCOMPARE(outcome.number, number);
        QCOMPARE(home.readFile(u"count.txt"_qs), QByteArray::number(number));
        QCOMPARE(home.readFile(savedAs), "new$新しい\n"_qba);
        if (!existing.isEmpty())
            QCOMPARE(home.readFile(u"words_lists/"_qs + existing), "old$古い\n"_qba);
        // Nothing else was written anywhere: the list, the counter and what was there.
        QCOMPARE(snapshot(home).size(), 3 + (existing.isEmpty() ? 0 : 1));
        // A refused name is described last, after the saved form.
        const QStringList lines = out.lines();
        QCOMPARE(lines.contains(u"new$新しい"_qs), true);
        if (completion == Completion::MoveRefused)
            QVERIFY(lines.last().contains(u"移動できませんでした"_qs) ||
                    lines.last().contains(u"名前に使えません"_qs));
        else
            QCOMPARE(lines.last(), QString());
    }

    void completionText_data() {
        QTest::addColumn<Completion>("completion");
        QTest::addColumn<QString>("text");
        QTest::newRow("empty name")
            << Completion::Unnamed
            << u"単語リストの読み込みが完了しました。\n単語リスト名はWords_list_12.txtです。"_qs;
        QTest::newRow("move refused")
            << Completion::MoveRefused
            << u"単語リストの読み込みが完了しましたが、同じファイル名の単語リストが存在したため、"
               u"Words_list_12.txtとして読み込まれました。"_qs;
        QTest::newRow("moved")
            << Completion::Named
            << u"単語リストの読み込みが完了しました。\n単語リスト名はfruitです。"_qs;
    }
    void completionText() {
        QFETCH(Completion, completion);
        QFETCH(QString, text);
        QCOMPARE(importer::completionText(completion, 12, u"fruit"_qs), text);
    }

    void storeFailures_data() {
        QTest::addColumn<bool>("listFolder");
        QTest::addColumn<QByteArray>("counter");
        QTest::addColumn<bool>("counterIsFolder");
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("alert");
        QTest::addColumn<QStringList>("written"); // files the import leaves behind
        QTest::newRow("counter not a number")
            << true << "abc"_qba << false << Kind::CounterUnparsable
            << u"count.txtの内容が数値ではないため、単語リストを保存できませんでした。"_qs
            << QStringList();
        QTest::newRow("counter at the largest number")
            << true << "9223372036854775807"_qba << false << Kind::NumberOverflow
            << u"単語リストの番号が上限に達したため、保存できませんでした。"_qs << QStringList();
        QTest::newRow("list folder missing")
            << false << QByteArray() << false << Kind::WriteFailed
            << u"単語リストを保存できませんでした。"_qs << QStringList();
        QTest::newRow("counter cannot be written")
            << true << QByteArray() << true << Kind::WriteFailed
            << u"単語リストを保存できませんでした。"_qs
            << QStringList({u"words_lists/Words_list_1.txt"_qs});
    }
    void storeFailures() {
        QFETCH(bool, listFolder);
        QFETCH(QByteArray, counter);
        QFETCH(bool, counterIsFolder);
        QFETCH(Kind, kind);
        QFETCH(QString, alert);
        QFETCH(QStringList, written);
        TestHome home;
        if (listFolder)
            home.makeListFolder();
        if (!counter.isNull())
            home.writeFile(u"count.txt"_qs, counter);
        if (counterIsFolder)
            QDir(home.path()).mkdir(u"count.txt"_qs);
        const QMap<QString, QByteArray> before = snapshot(home);
        AppDelegate state;
        StdoutCapture out;
        const importer::ImportOutcome outcome = run(state, u"a,あ\n"_qs, u"named"_qs);
        QCOMPARE(outcome.kind, kind);
        QCOMPARE(importer::outcomeText(outcome), alert);
        QMap<QString, QByteArray> after = snapshot(home);
        for (const QString& file : written)
            QCOMPARE(after.take(file), "a$あ\n"_qba);
        QCOMPARE(after, before);
        // The problem is described on standard output, last.
        QVERIFY(!out.lines().isEmpty());
        QVERIFY(!out.lines().last().isEmpty());
        // Nothing was cleared that the user might still want.
        QCOMPARE(state.formal_list, u"a$あ\n"_qs);
    }

    void rejectedFileChangesNothingInTheStore() {
        TestHome home;
        home.makeListFolder();
        home.writeFile(u"count.txt"_qs, "5");
        const QMap<QString, QByteArray> before = snapshot(home);
        AppDelegate state;
        StdoutCapture out;
        QStringList shown;
        const importer::ImportOutcome outcome =
            run(state, u"a,あ\nb,い\nc;う\nd,え\n"_qs, u"x"_qs, &shown);
        QCOMPARE(outcome.kind, Kind::Rejected);
        const QString message = u"3行目: c;う は正しいフォーマットに基づいて書かれていません。"_qs;
        QCOMPARE(shown, QStringList({message}));
        QCOMPARE(outcome.rejection, message);
        QVERIFY(importer::outcomeText(outcome).isEmpty());
        QCOMPARE(snapshot(home), before);
        QCOMPARE(out.bytes(), QByteArray());
        QCOMPARE(state.LINE_INDEX, 0);
        QVERIFY(state.english_words.isEmpty() && state.japanese_words.isEmpty());
        QVERIFY(!importer::IMPORT_OK);
    }

    void emptyLineInTheMiddleIsRejected() {
        TestHome home;
        home.makeListFolder();
        AppDelegate state;
        QStringList shown;
        QCOMPARE(run(state, u"a,あ\r\n\r\nb,い"_qs, {}, &shown).kind, Kind::Rejected);
        QCOMPARE(shown,
                 QStringList({u"2行目:  は正しいフォーマットに基づいて書かれていません。"_qs}));
        QVERIFY(!home.has(u"count.txt"_qs));
    }

    void nothingToImport_data() {
        QTest::addColumn<bool>("read");
        QTest::addColumn<QString>("text");
        QTest::newRow("nothing read") << false << QString();
        QTest::newRow("empty text") << true << QString();
    }
    void nothingToImport() {
        QFETCH(bool, read);
        QFETCH(QString, text);
        TestHome home;
        home.makeListFolder();
        AppDelegate state;
        StdoutCapture out;
        QCOMPARE(run(state, u"a,あ\nb,い"_qs).kind, Kind::Completed);
        const QMap<QString, QByteArray> before = snapshot(home);
        const QByteArray printed = out.bytes();
        const std::optional<QString> source = read ? std::optional(text) : std::nullopt;
        const importer::ImportOutcome outcome =
            importer::runImport(source, {}, state, [](const QString&) { QFAIL("no alert"); });
        QCOMPARE(outcome.kind, Kind::NothingToReport);
        QCOMPARE(snapshot(home), before);
        QCOMPARE(out.bytes(), printed);
        // A panel that was cancelled leaves the last import's state as it was.
        QCOMPARE(state.LINE_INDEX, read ? 0 : 2);
        QCOMPARE(importer::IMPORT_OK, !read);
    }

    void secondImportCountsAgainFromOne() {
        TestHome home;
        home.makeListFolder();
        AppDelegate state;
        QCOMPARE(run(state, u"a,あ\nb,い"_qs).number, 1);
        QCOMPARE(state.COUNT, 0); // the counter did not exist yet
        QStringList shown;
        QCOMPARE(run(state, u"c,う\nd"_qs, {}, &shown).kind, Kind::Rejected);
        QCOMPARE(shown.value(0).left(4), u"2行目:"_qs);
        const importer::ImportOutcome third = run(state, u"e,え"_qs);
        QCOMPARE(third.number, 2);
        QCOMPARE(state.COUNT, 1);
        QCOMPARE(home.readFile(u"words_lists/Words_list_2.txt"_qs), "e$え\n"_qba);
    }

    void readSource_data() {
        QTest::addColumn<QByteArray>("bytes"); // null: no file at all
        QTest::addColumn<importer::SourceRead::Kind>("kind");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("alert");
        const QString notUtf8 = u"ファイルをUTF-8のテキストとして読み込めませんでした。"_qs;
        QTest::newRow("UTF-8") << "a,\xe3\x81\x82\n"_qba << importer::SourceRead::Kind::Text
                               << u"a,あ\n"_qs << QString();
        QTest::newRow("byte-order mark")
            << "\xef\xbb\xbf"
               "a,b"_qba
            << importer::SourceRead::Kind::Text << u"a,b"_qs << QString();
        QTest::newRow("byte-order mark later")
            << "a,b\n\xef\xbb\xbf"
               "c,d"_qba
            << importer::SourceRead::Kind::Text << u"a,b\n\uFEFFc,d"_qs << QString();
        QTest::newRow("missing") << QByteArray() << importer::SourceRead::Kind::Unreadable
                                 << QString() << u"ファイルを読み込めませんでした。"_qs;
        QTest::newRow("Shift_JIS")
            << QByteArray(QStringEncoder("Shift_JIS").encode(u"りんご,apple\n"))
            << importer::SourceRead::Kind::ShiftJis << u"りんご,apple\n"_qs
            << notUtf8 + u"Shift_JISのファイルとして読み込むこともできます。"_qs;
        QTest::newRow("neither") << "a,\xff\xfe\x80\xa0"_qba << importer::SourceRead::Kind::NotUtf8
                                 << QString()
                                 << notUtf8 + u"UTF-8で保存し直してから読み込んでください。"_qs;
    }
    void readSource() {
        QFETCH(QByteArray, bytes);
        QFETCH(importer::SourceRead::Kind, kind);
        QFETCH(QString, text);
        QFETCH(QString, alert);
        TestHome home;
        if (!bytes.isNull())
            home.writeFile(u"source.txt"_qs, bytes);
        StdoutCapture out;
        const importer::SourceRead read = importer::readSource(home.path() + u"/source.txt"_qs);
        QCOMPARE(read.kind, kind);
        QCOMPARE(read.text, text);
        QCOMPARE(importer::sourceAlertText(kind), alert);
        // A file that was not read as UTF-8 is described on standard output.
        const QStringList lines = out.lines();
        QCOMPARE(lines.size(), kind == importer::SourceRead::Kind::Text ? 0 : 1);
        if (!lines.isEmpty())
            QCOMPARE(lines.first(), read.description);
    }

    void byteOrderMarkOnlyAtTheStart() {
        TestHome home;
        home.makeListFolder();
        home.writeFile(u"source.txt"_qs, "\xef\xbb\xbf"
                                         "a,b\n\xef\xbb\xbf"
                                         "c,d");
        AppDelegate state;
        QStringList shown;
        const importer::SourceRead read = importer::readSource(home.path() + u"/source.txt"_qs);
        QCOMPARE(run(state, read.text, {}, &shown).kind, Kind::Rejected);
        QCOMPARE(shown, QStringList({u"2行目: 日本語と英語の順番が正しくありません。"_qs}));
    }

    void millionLinesWithABadLastLine() {
        TestHome home;
        home.makeListFolder();
        const qsizetype count = 1'000'000;
        const QString good = u"word,単語\n"_qs;
        QString text;
        text.reserve(good.size() * count);
        for (qsizetype i = 1; i < count; ++i)
            text += good;
        text += u"last line"_qs;
        AppDelegate state;
        QStringList shown;
        QCOMPARE(run(state, text, {}, &shown).kind, Kind::Rejected);
        QCOMPARE(shown, QStringList({u"1000000行目: last line は正しいフォーマットに基づいて"
                                     u"書かれていません。"_qs}));
        QVERIFY(!home.has(u"count.txt"_qs));
        text.chop(9);
        StdoutCapture out;
        const importer::ImportOutcome outcome = run(state, text);
        QCOMPARE(outcome.kind, Kind::Completed);
        QCOMPARE(state.LINE_INDEX, count - 1);
        QCOMPARE(home.readFile(u"words_lists/Words_list_1.txt"_qs).size(),
                 (count - 1) * qsizetype(sizeof("word$単語\n") - 1));
    }
};

QTEST_GUILESS_MAIN(ImportRunTest)
#include "import_run_test.moc"
