#include "app/app_delegate.h"
#include "import/import_options.h"

#include <QTest>

// The separator and order choices and the example line written from them.
class ImportOptionsTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        importer::resetSeparator();
        AppDelegate fresh;
        importer::chooseSequence(fresh, 0);
    }

    void exampleLine_data() {
        QTest::addColumn<int>("separatorSegment");
        QTest::addColumn<int>("sequenceSegment");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<qint64>("sequenceCode");
        QTest::addColumn<QString>("example");
        QTest::newRow("comma, English first")
            << 0 << 0 << u","_qs << qint64(0) << u"例: 英語,日本語"_qs;
        QTest::newRow("semicolon, English first")
            << 1 << 0 << u";"_qs << qint64(0) << u"例: 英語;日本語"_qs;
        QTest::newRow("at, English first")
            << 2 << 0 << u"@"_qs << qint64(0) << u"例: 英語@日本語"_qs;
        QTest::newRow("comma, Japanese first")
            << 0 << 1 << u","_qs << qint64(1) << u"例: 日本語,英語"_qs;
        QTest::newRow("semicolon, Japanese first")
            << 1 << 1 << u";"_qs << qint64(1) << u"例: 日本語;英語"_qs;
        QTest::newRow("at, Japanese first")
            << 2 << 1 << u"@"_qs << qint64(1) << u"例: 日本語@英語"_qs;
        QTest::newRow("fourth separator segment")
            << 3 << 1 << u","_qs << qint64(1) << u"例: 日本語,英語"_qs;
        QTest::newRow("no separator segment")
            << -1 << 0 << u","_qs << qint64(0) << u"例: 英語,日本語"_qs;
        QTest::newRow("third order segment")
            << 2 << 2 << u"@"_qs << qint64(0) << u"例: 英語@日本語"_qs;
        QTest::newRow("no order segment")
            << 1 << -1 << u";"_qs << qint64(0) << u"例: 英語;日本語"_qs;
    }
    void exampleLine() {
        QFETCH(int, separatorSegment);
        QFETCH(int, sequenceSegment);
        QFETCH(QString, separator);
        QFETCH(qint64, sequenceCode);
        QFETCH(QString, example);
        AppDelegate state;
        // Start from the other order, so that a choice that changes nothing is caught.
        state.SEQUENCE_CODE = 1 - sequenceCode;
        importer::chooseSeparator(separatorSegment);
        importer::chooseSequence(state, sequenceSegment);
        QCOMPARE(importer::SEPARATOR, separator);
        QCOMPARE(state.SEQUENCE_CODE, sequenceCode);
        QCOMPARE(importer::exampleLine(), example);
        // The segments shown for the values in force lead back to the same values.
        QCOMPARE(importer::separatorForSegment(importer::segmentOfSeparator(separator)), separator);
        QCOMPARE(importer::sequenceCodeForSegment(importer::segmentOfSequenceCode(sequenceCode)),
                 sequenceCode);
    }

    void senderWithoutSegmentsMeansTheFirstChoice() {
        AppDelegate state;
        importer::chooseSeparator(2);
        importer::chooseSequence(state, 1);
        importer::chooseSeparator(std::nullopt);
        importer::chooseSequence(state, std::nullopt);
        QCOMPARE(importer::SEPARATOR, u","_qs);
        QCOMPARE(state.SEQUENCE_CODE, 0);
        QCOMPARE(importer::sequence_example, QStringList({u"英語"_qs, u"日本語"_qs}));
    }

    void resetKeepsTheOrder() {
        AppDelegate state;
        importer::chooseSeparator(2);
        importer::chooseSequence(state, 1);
        importer::resetSeparator();
        QCOMPARE(importer::SEPARATOR, u","_qs);
        QCOMPARE(state.SEQUENCE_CODE, 1);
        QCOMPARE(importer::exampleLine(), u"例: 日本語,英語"_qs);
    }
};

QTEST_GUILESS_MAIN(ImportOptionsTest)
#include "import_options_test.moc"
