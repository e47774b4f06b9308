// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The import's pass over UTF-8 bytes against the pass over the decoded text, which stays the
// reference: the same lines, the same decision and message for each line, and the same
// import as a whole (outcome, alerts and what the shared state holds when each is shown,
// shared state afterwards, standard output, files). Also the strict validation of the bytes
// read against the strict decoder.
#include "app/app_delegate.h"
#include "app/text.h"
#include "import/import_options.h"
#include "import/import_run.h"
#include "import/import_source.h"
#include "import/line_check.h"
#include "stdout_capture.h"
#include "test_home.h"

#include <QDir>
#include <QTest>

namespace {

const QStringList separators = {u","_qs, u";"_qs, u"@"_qs, u"$"_qs, u"\t"_qs};

// All that one import shows: the outcome, each alert with the state it is shown over, the
// state after, standard output (home folder as "~") and the files.
struct Observed {
    importer::ImportOutcome outcome;
    QStringList alerts;
    AppDelegate state;
    bool importOk = false;
    QByteArray printed;
    QMap<QString, QByteArray> files;
};

using Importer =
    std::function<importer::ImportOutcome(AppDelegate&, const importer::RejectionAlert&)>;

Observed observe(const QByteArray& counter, const QString& entry, const Importer& import) {
    TestHome home;
    if (entry != u"words_lists"_qs)
        home.makeListFolder();
    if (entry.endsWith(u'/'))
        QDir(home.path()).mkdir(entry);
    else if (!entry.isEmpty())
        home.writeFile(entry, "old$古い\n");
    if (!counter.isNull())
        home.writeFile(u"count.txt"_qs, counter);
    Observed seen;
    seen.state.formal_list = u"left over"_qs;
    {
        StdoutCapture out;
        seen.outcome = import(seen.state, [&](const QString& message) {
            seen.alerts << message << seen.state.formal_list
                        << QString::number(seen.state.LINE_INDEX);
        });
        seen.printed = out.bytes().replace(QFile::encodeName(home.path()), "~");
    }
    seen.importOk = importer::IMPORT_OK;
    seen.files = home.snapshot();
    return seen;
}

} // namespace

class ImportBytesTest : public QObject {
    Q_OBJECT
private slots:
    void lines_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QString();
        QTest::newRow("LF") << u"a\nb\n"_qs;
        QTest::newRow("no final end") << u"a\nb"_qs;
        QTest::newRow("CR LF, CR, empty lines") << u"a\r\n\r\nb\r\r\n\n"_qs;
        QTest::newRow("lone ends") << u"\n"_qs;
        QTest::newRow("lone CR at the end") << u"x\r"_qs;
        QTest::newRow("NEL, LS, PS") << u"a\u0085b\u2028\u2029c\u2029"_qs;
        QTest::newRow("near misses") << u"\u2027\u202A\u0080\u0084\u00C2\u00E2\u2080"_qs;
        QTest::newRow("after wide characters") << u"é\u2028り\u0085\U0001F600\r"_qs;
    }
    void lines() {
        QFETCH(QString, text);
        const QByteArray bytes = text.toUtf8();
        QStringList fromBytes;
        platform::forEachLineUtf8(bytes, [&](QByteArrayView line) {
            fromBytes << platform::textOfUtf8(line);
            return true;
        });
        QCOMPARE(fromBytes, platform::lines(text));
    }

    void lineDecision_data() {
        QTest::addColumn<QString>("line");
        QTest::newRow("English first") << u"apple,りんご"_qs;
        QTest::newRow("Japanese first") << u"りんご;apple"_qs;
        QTest::newRow("three parts") << u"a,b;c@d$e\tf,g;h@i$j\tk"_qs;
        QTest::newRow("empty") << QString();
        QTest::newRow("separators only") << u",;@$\t"_qs;
        QTest::newRow("one part") << u"apple"_qs;
        QTest::newRow("$ first half") << u"US$,ドル;x@y\tz"_qs;
        QTest::newRow("$ second half") << u"d,ド$ル;e@f\tg"_qs;
        QTest::newRow("$ third part") << u"a,b,$;c;$@d@$"_qs;
        QTest::newRow("ASCII then kana") << u"aあ,b;c@d\te"_qs;
        QTest::newRow("combining acute") << u"e\u0301,夏;s@t\tu"_qs;
        QTest::newRow("many combining marks")
            << u"a"_qs + QString(100, QChar(0x0301)) + u",b;c@d\te"_qs;
        QTest::newRow("zero-width joiner") << u"a\u200D,b;c"_qs;
        QTest::newRow("emoji modifier") << u"a\U0001F3FB,b;c"_qs;
        QTest::newRow("keycap") << u"1\uFE0F\u20E3,one;x"_qs;
        QTest::newRow("next line control") << u"a\u0085,b;c"_qs;
        QTest::newRow("BOM first") << u"\uFEFFa,b;c@d"_qs;
        QTest::newRow("BOM second") << u"a\uFEFF,b;c@d"_qs;
        QTest::newRow("CR LF first") << u"\r\nx,y;z"_qs;
        QTest::newRow("space first") << u" ,x;y@z\tw"_qs;
        QTest::newRow("ideographic space") << u"　a,り;x"_qs;
        QTest::newRow("outside the BMP") << u"\U0001F600,smile;x@y"_qs;
        QTest::newRow("noncharacter") << u"\uFFFE,x;y"_qs;
    }
    void lineDecision() {
        QFETCH(QString, line);
        const QByteArray bytes = line.toUtf8();
        for (const QString& separator : separators) {
            for (const qint64 order : {0LL, 1LL}) {
                const importer::LineDecision text =
                    importer::decideLine(line, separator, order, 12);
                const importer::Utf8LineVerdict fromBytes =
                    importer::judgeLineUtf8(bytes, char(separator[0].unicode()), order, 12);
                const QByteArray context = separator.toUtf8() + " order " +
                                           QByteArray::number(order) + ": " + text.message.toUtf8();
                QVERIFY2(fromBytes.accepted == text.accepted, context.constData());
                QCOMPARE(fromBytes.message, text.message);
                QCOMPARE(fromBytes.english.toByteArray(), text.english.toUtf8());
                QCOMPARE(fromBytes.japanese.toByteArray(), text.japanese.toUtf8());
            }
        }
    }

    // Both passes on the same text, in homes arranged alike. counter: count.txt (null: none);
    // entry: a file or (ending in "/") a folder set up beforehand.
    void wholeImport_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<qint64>("order");
        QTest::addColumn<QByteArray>("counter");
        QTest::addColumn<QString>("entry");
        const QString mixed = u"a,1\r\nb,2\rc,3\u2028d,4\u0085e,5\u2029f,6"_qs;
        QTest::newRow("mixed ends") << mixed << u","_qs << 0LL << QByteArray() << QString();
        QTest::newRow("final end, counter 41")
            << u"apple , りんご \nx,\n,\n"_qs << u","_qs << 0LL << "41"_qba << QString();
        QTest::newRow("Japanese first")
            << u"りんご;apple\n\U0001F600;smile"_qs << u";"_qs << 1LL << QByteArray() << QString();
        QTest::newRow("BOM begins a later line")
            << u"a,b\n\uFEFFc,d"_qs << u","_qs << 1LL << QByteArray() << QString();
        QTest::newRow("BOM begins the first half")
            << u"\uFEFF日@x\n"_qs << u"@"_qs << 1LL << QByteArray() << QString();
        QTest::newRow("rejected first")
            << u"a\nb,c"_qs << u","_qs << 0LL << QByteArray() << QString();
        QTest::newRow("rejected last")
            << u"a,1\nb,2\nc,3,4\n"_qs << u","_qs << 0LL << QByteArray() << QString();
        QTest::newRow("rejected $")
            << u"a,1\nUS$,ドル"_qs << u","_qs << 0LL << QByteArray() << QString();
        QTest::newRow("rejected $ in the second half")
            << u"a,1\nb,ド$ル\n"_qs << u","_qs << 0LL << QByteArray() << QString();
        QTest::newRow("$ as the separator")
            << u"a$1\nb$2$\n"_qs << u"$"_qs << 0LL << QByteArray() << QString();
        QTest::newRow("wrong order after combining mark")
            << u"a,b\ne\u0301,c"_qs << u","_qs << 0LL << QByteArray() << QString();
        QTest::newRow("empty line")
            << u"a,b\n\nc,d"_qs << u","_qs << 0LL << QByteArray() << QString();
        QTest::newRow("no lines") << QString() << u","_qs << 0LL << QByteArray() << QString();
        QTest::newRow("only a line end")
            << u"\r\n"_qs << u","_qs << 0LL << QByteArray() << QString();
        QTest::newRow("two-character separator")
            << u"a::り\nb::る::"_qs << u"::"_qs << 0LL << QByteArray() << QString();
        QTest::newRow("separator outside ASCII")
            << u"a、り\nb、る"_qs << u"、"_qs << 0LL << QByteArray() << QString();
        // The save fails after the pass: formal_list keeps the saved form.
        QTest::newRow("counter not a number")
            << u"a,り\nb,る"_qs << u","_qs << 0LL << "abc"_qba << QString();
        QTest::newRow("counter at the top")
            << u"a,り"_qs << u","_qs << 0LL << "9223372036854775807"_qba << QString();
        QTest::newRow("list folder a file")
            << u"\uFEFFり,a"_qs << u","_qs << 1LL << QByteArray() << u"words_lists"_qs;
        QTest::newRow("counter a folder")
            << u"a,り"_qs << u","_qs << 0LL << QByteArray() << u"count.txt/"_qs;
        QTest::newRow("number taken")
            << u"a,り"_qs << u","_qs << 0LL << "1"_qba << u"words_lists/Words_list_2.txt"_qs;
    }
    void wholeImport() {
        QFETCH(QString, text);
        QFETCH(QString, separator);
        QFETCH(qint64, order);
        QFETCH(QByteArray, counter);
        QFETCH(QString, entry);
        importer::SEPARATOR = separator;
        const QString name = u"named"_qs;
        const Observed reference =
            observe(counter, entry, [&](AppDelegate& state, const importer::RejectionAlert& a) {
                state.SEQUENCE_CODE = order;
                return importer::runImport(text, name, state, a);
            });
        const Observed fromBytes =
            observe(counter, entry, [&](AppDelegate& state, const importer::RejectionAlert& a) {
                state.SEQUENCE_CODE = order;
                return importer::runImportUtf8(text.toUtf8(), name, state, a);
            });
        importer::resetSeparator();

        QCOMPARE(int(fromBytes.outcome.kind), int(reference.outcome.kind));
        QCOMPARE(fromBytes.outcome.rejection, reference.outcome.rejection);
        QCOMPARE(int(fromBytes.outcome.completion), int(reference.outcome.completion));
        QCOMPARE(fromBytes.outcome.number, reference.outcome.number);
        QCOMPARE(fromBytes.outcome.name, reference.outcome.name);
        QCOMPARE(fromBytes.alerts, reference.alerts);
        QCOMPARE(fromBytes.importOk, reference.importOk);
        QCOMPARE(fromBytes.state.LINE_INDEX, reference.state.LINE_INDEX);
        QCOMPARE(fromBytes.state.english_words, reference.state.english_words);
        QCOMPARE(fromBytes.state.japanese_words, reference.state.japanese_words);
        QCOMPARE(fromBytes.state.formal_list, reference.state.formal_list);
        QCOMPARE(fromBytes.state.COUNT, reference.state.COUNT);
        QCOMPARE(fromBytes.printed, reference.printed);
        QCOMPARE(fromBytes.files, reference.files);
    }

    void noTextChangesNothing() {
        AppDelegate state;
        state.LINE_INDEX = 5;
        state.formal_list = u"kept"_qs;
        const importer::ImportOutcome outcome =
            importer::runImportUtf8(std::nullopt, QString(), state, {});
        QCOMPARE(int(outcome.kind), int(importer::ImportOutcome::Kind::NothingToReport));
        QCOMPARE(state.LINE_INDEX, 5);
        QCOMPARE(state.formal_list, u"kept"_qs);
    }

    // The validator agrees with the strict decoder, and the file's bytes kept for the import
    // are the decoded text's bytes (one leading byte-order mark dropped).
    void validation_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("ASCII, longer than a word") << "apple,ringo\nbanana,banana\n"_qba;
        QTest::newRow("every length") << "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF"
                                         "\xF0\x90\x80\x80\xF4\x8F\xBF\xBF"_qba;
        QTest::newRow("BOM") << "\xEF\xBB\xBF"
                                "a,b"_qba;
        QTest::newRow("two BOMs") << "\xEF\xBB\xBF\xEF\xBB\xBF"
                                     "a,b"_qba;
        QTest::newRow("BOM only") << "\xEF\xBB\xBF"_qba;
        QTest::newRow("noncharacters") << "\xEF\xBF\xBE\xEF\xB7\x90"_qba;
        QTest::newRow("overlong 2") << "abcdefgh\xC0\x80"_qba;
        QTest::newRow("overlong C1") << "\xC1\xBF"_qba;
        QTest::newRow("overlong 3") << "\xE0\x9F\xBF"_qba;
        QTest::newRow("overlong 4") << "\xF0\x8F\xBF\xBF"_qba;
        QTest::newRow("surrogate low end") << "\xED\xA0\x80"_qba;
        QTest::newRow("surrogate high end") << "x\xED\xBF\xBFy"_qba;
        QTest::newRow("last before surrogates") << "\xED\x9F\xBF"_qba;
        QTest::newRow("above U+10FFFF") << "\xF4\x90\x80\x80"_qba;
        QTest::newRow("F5") << "\xF5\x80\x80\x80"_qba;
        QTest::newRow("FF") << "a\xFF"_qba;
        QTest::newRow("lone continuation") << "\x80"_qba;
        QTest::newRow("truncated 2 at the end") << "abc\xC3"_qba;
        QTest::newRow("truncated 3 at the end") << "abcdefghijk\xE3\x81"_qba;
        QTest::newRow("truncated 4 before ASCII") << "\xF0\x9F\x98,x"_qba;
        QTest::newRow("bad third byte") << "\xE3\x81\xC1"_qba;
        QTest::newRow("bad fourth byte") << "\xF0\x9F\x98\x28"_qba;
        QTest::newRow("invalid after eight ASCII") << "01234567\x80"_qba;
    }
    void validation() {
        QFETCH(QByteArray, bytes);
        const std::optional<QString> decoded = platform::decodeUtf8(bytes);
        QCOMPARE(platform::isValidUtf8(bytes), decoded.has_value());

        TestHome home;
        home.writeFile(u"in.txt"_qs, bytes);
        StdoutCapture out;
        const importer::SourceRead read = importer::readSource(home.path() + u"/in.txt"_qs);
        if (decoded) {
            QCOMPARE(int(read.kind), int(importer::SourceRead::Kind::Text));
            QCOMPARE(read.utf8, decoded->toUtf8());
            QCOMPARE(platform::textOfUtf8(read.utf8), *decoded);
        } else {
            QVERIFY(read.kind == importer::SourceRead::Kind::NotUtf8 ||
                    read.kind == importer::SourceRead::Kind::ShiftJis);
        }
    }
};

QTEST_GUILESS_MAIN(ImportBytesTest)
#include "test_import_bytes.moc"
