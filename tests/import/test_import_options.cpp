// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/app_delegate.h"
#include "import/import_options.h"

#include <QTest>
#include <climits>

namespace {
constexpr int none = INT_MIN; // a sender without segments
std::optional<int> segment(int index) {
    return index == none ? std::nullopt : std::optional(index);
}
} // namespace

// The separator and order choices and the example line written from them.
class ImportOptionsTest : public QObject {
    Q_OBJECT
private slots:
    void exampleLine_data() {
        QTest::addColumn<int>("separatorSegment");
        QTest::addColumn<int>("sequenceSegment");
        QTest::addColumn<QString>("example");
        QTest::newRow(", EJ") << 0 << 0 << u"例: 英語,日本語"_qs;
        QTest::newRow("; EJ") << 1 << 0 << u"例: 英語;日本語"_qs;
        QTest::newRow("@ EJ") << 2 << 0 << u"例: 英語@日本語"_qs;
        QTest::newRow(", JE") << 0 << 1 << u"例: 日本語,英語"_qs;
        QTest::newRow("; JE") << 1 << 1 << u"例: 日本語;英語"_qs;
        QTest::newRow("@ JE") << 2 << 1 << u"例: 日本語@英語"_qs;
        QTest::newRow("separator 3") << 3 << 1 << u"例: 日本語,英語"_qs;
        QTest::newRow("separator -1") << -1 << 1 << u"例: 日本語,英語"_qs;
        QTest::newRow("no separator") << none << 1 << u"例: 日本語,英語"_qs;
        QTest::newRow("order 2") << 2 << 2 << u"例: 英語@日本語"_qs;
        QTest::newRow("order -1") << 1 << -1 << u"例: 英語;日本語"_qs;
        QTest::newRow("no order") << 1 << none << u"例: 英語;日本語"_qs;
    }
    void exampleLine() {
        QFETCH(int, separatorSegment);
        QFETCH(int, sequenceSegment);
        QFETCH(QString, example);
        const bool japaneseFirst = example.startsWith(u"例: 日本語"_qs);
        AppDelegate state;
        // Start from the other choices, so that a choice that changes nothing is caught.
        importer::chooseSeparator(separatorSegment == 0 ? 2 : 0);
        importer::chooseSequence(state, japaneseFirst ? 0 : 1);
        importer::chooseSeparator(segment(separatorSegment));
        importer::chooseSequence(state, segment(sequenceSegment));
        // The example line is written from SEPARATOR and sequence_example.
        QCOMPARE(importer::exampleLine(), example);
        QCOMPARE(state.SEQUENCE_CODE, japaneseFirst ? 1 : 0);
        // The segments that show the values in force lead back to the same values.
        QCOMPARE(importer::separatorForSegment(importer::segmentOfSeparator(importer::SEPARATOR)),
                 importer::SEPARATOR);
        QCOMPARE(importer::segmentOfSequenceCode(state.SEQUENCE_CODE), japaneseFirst ? 1 : 0);
    }
};

QTEST_GUILESS_MAIN(ImportOptionsTest)
#include "test_import_options.moc"
