#include "app/app_delegate.h"
#include "settings/playing_settings.h"

#include <QTest>

#include <optional>

// Only segment 1 chooses the other value; every other index, no selection and a sender
// without segments choose the default, whatever the field held before.
class TestPlayingSettings : public QObject {
    Q_OBJECT
private slots:
    void answerType();
    void answerType_data() { mapping_data(); }
    void autoShuffle();
    void autoShuffle_data() { mapping_data(); }
    void segmentsShowTheValuesInForce();

private:
    // One table for both actions.
    static void mapping_data();
};

void TestPlayingSettings::mapping_data() {
    QTest::addColumn<std::optional<int>>("segment");
    QTest::addColumn<bool>("startsAtOther");
    QTest::addColumn<bool>("endsAtOther");

    const QList<std::pair<const char*, std::optional<int>>> segments = {
        {"segment 0", 0},
        {"segment 1", 1},
        {"segment 2", 2},
        {"no selection", -1},
        {"no segments", std::nullopt}};
    for (const auto& [name, segment] : segments) {
        for (const bool startsAtOther : {false, true}) {
            const QByteArray row =
                QByteArray(name) + (startsAtOther ? ", from the other value" : ", from default");
            QTest::newRow(row.constData()) << segment << startsAtOther << (segment == 1);
        }
    }
}

void TestPlayingSettings::answerType() {
    QFETCH(std::optional<int>, segment);
    QFETCH(bool, startsAtOther);
    QFETCH(bool, endsAtOther);

    AppDelegate delegate;
    delegate.PLAYING_TYPE = startsAtOther ? 1 : 0;
    settings::answerType(delegate, segment);
    QCOMPARE(delegate.PLAYING_TYPE, endsAtOther ? 1 : 0);
    QCOMPARE(delegate.SHUFFLE, true); // the other field is left alone
}

void TestPlayingSettings::autoShuffle() {
    QFETCH(std::optional<int>, segment);
    QFETCH(bool, startsAtOther);
    QFETCH(bool, endsAtOther);

    AppDelegate delegate;
    delegate.SHUFFLE = !startsAtOther;
    settings::autoShuffle(delegate, segment);
    QCOMPARE(delegate.SHUFFLE, !endsAtOther);
    QCOMPARE(delegate.PLAYING_TYPE, 0);
}

void TestPlayingSettings::segmentsShowTheValuesInForce() {
    AppDelegate delegate;
    QCOMPARE(settings::answerTypeSegment(delegate), 0);
    QCOMPARE(settings::autoShuffleSegment(delegate), 0);

    // What a segment shows must map back onto the same value.
    delegate.PLAYING_TYPE = 1;
    delegate.SHUFFLE = false;
    QCOMPARE(settings::answerTypeSegment(delegate), 1);
    QCOMPARE(settings::autoShuffleSegment(delegate), 1);
    AppDelegate copy;
    settings::answerType(copy, settings::answerTypeSegment(delegate));
    settings::autoShuffle(copy, settings::autoShuffleSegment(delegate));
    QCOMPARE(copy.PLAYING_TYPE, 1);
    QCOMPARE(copy.SHUFFLE, false);
}

QTEST_GUILESS_MAIN(TestPlayingSettings)
#include "test_playing_settings.moc"
